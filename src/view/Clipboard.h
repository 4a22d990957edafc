// Copy, cut and paste between the edit view and the clipboard (UTF-16 text only).
#pragma once

#include <string>

#include "view/EditView.h"

// The selection as the clipboard holds it: line ends as carriage return and line feed, NUL
// characters left out.
std::wstring SelectionText(const EditView& view);

// Each returns whether the clipboard was written (or, for paste, read). Failures change
// nothing and show nothing.
bool CopySelection(EditView& view, const std::wstring& prefix);  // IDM_COPY with ""
bool CutSelection(EditView& view, const std::wstring& prefix);   // IDM_CUT with "", Shift+Delete
bool PasteClipboard(EditView& view);                              // IDM_PASTE
// IDM_COPYAPPEND, IDM_CUTAPPEND with cut.
bool CopyAppend(EditView& view, bool cut);
