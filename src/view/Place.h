// Where a view stands in its text, taken when its document closes and given back when the file
// opens again.
#pragma once

#include "config/Session.h"

struct EditView;

// The view's caret, selection anchor and first row and column shown.
ViewPlace PlaceOfView(const EditView& view);
// Puts the caret, the selection and the scroll position back where place says, brought into the
// text as it is now (a line or index beyond it goes to the last one, a position inside a
// character to its start). On screen (the view laid out and shown) the scroll position is
// brought into the scroll range and the caret onto the screen; a view not on screen is left
// for showing it to do that, and its window is not touched.
void ReturnToPlace(EditView& view, const ViewPlace& place, bool onScreen);
