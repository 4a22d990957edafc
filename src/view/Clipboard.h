// Copy, cut and paste between the edit view and the clipboard (UTF-16 text only).
#pragma once

#include <string>

#include "view/EditView.h"

// The selection as the clipboard holds it: line ends as carriage return and line feed, NUL
// characters left out.
std::wstring SelectionText(const EditView& view);

// Each returns whether the clipboard was written (or, for paste, read). Failures change
// nothing and show nothing.
bool CopySelection(EditView& view, const std::wstring& prefix);  // 32781 with ""
bool CutSelection(EditView& view, const std::wstring& prefix);   // 32782 with "", Shift+Delete
bool PasteClipboard(EditView& view);                              // 32784
bool CopyAppend(EditView& view, bool cut);                        // 32786, 32787 with cut
