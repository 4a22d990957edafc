// The stylus in the edit view: hit testing, caret placement, drag selection and double taps.
// The window procedure adds focus, capture, the tap-and-hold gesture and the context menu.
#pragma once

#include "view/EditView.h"

// The cell boundary nearest to a point of the client area: visual row and column.
struct ViewHit {
  int row = 0;
  int column = 0;
};
ViewHit HitTest(const EditView& view, int x, int y);

// A press: places the caret (extending with Shift, or keeping a selection under a context
// gesture) and starts tracking unless it is a context gesture. Returns whether the context
// menu is to be shown.
bool OnPress(EditView& view, int x, int y, bool shift, bool contextGesture);
// A move while tracking extends the selection to the point.
void OnDrag(EditView& view, int x, int y);
// The release that ends tracking; an empty selection made by a simple tap ends. Returns
// whether tracking ended (the capture is then released).
bool OnRelease(EditView& view, int x, int y);
// A double tap: the visual row in the margin, else the word at the point. False when the
// double tap is to be handled as a press (Shift in the text area).
bool OnDoubleTap(EditView& view, int x, int y, bool shift);
