// Caret placement, selection bookkeeping, invalidation and scrolling of the edit view: where
// every caret move and every edit ends.
#pragma once

#include "text/TextPos.h"
#include "view/EditView.h"

struct ChangeRecord;

// Whether pos is inside the view; dy and dx say by how many rows and columns it lies outside
// (negative above or left of it), 0 when inside.
bool IsPosVisible(const EditView& view, const TextPos& pos, int& dx, int& dy);

// After the caret has been moved from previous: keeps the selection consistent (extend: the
// move extends it), invalidates the cells whose look changed, scrolls the caret into view by
// policy (CaretChangeFlags) and moves the system caret. Horizontal movers then set the
// desired column themselves.
void UpdateCaret(EditView& view, TextPos previous, bool extend, int policy);

// After an edit, undo or redo: repaints the changed rows, moves the rest of the window by the
// row delta, ends the selection and puts the caret at the end of the change. Nothing happens
// for a record with firstRow -1.
void AfterEdit(EditView& view, const ChangeRecord& change);

// After the document's text was replaced under the view (its file read again): the caret keeps
// its line and index as far as the new text has them, and the selection ends. The first row
// shown stays, brought into the text when the view is set up again.
void KeepPlaceInNewText(EditView& view);

// The caret's visual column becomes the one vertical moves aim at: after horizontal moves
// and edits.
void TakeDesiredColumn(EditView& view);

// The find bar's line number field follows the caret line.
void ShowLineNumber(EditView& view);

// Invalidates the cells between two positions: one strip on a single row, or whole rows.
void InvalidateBetween(EditView& view, const TextPos& a, const TextPos& b);

// Scroll the view by rows or columns as far as the scroll bars allow; the caret stays where it
// is in the text.
void ScrollRows(EditView& view, int delta);
void ScrollColumns(EditView& view, int delta);

// Sets both scroll bars from the document's size and the scroll position, scrolling when a
// bar had to clamp the position.
void UpdateScrollBars(EditView& view);

// Shows the system caret at the caret position, or hides it.
void ShowCaretAt(EditView& view);
void HideViewCaret(EditView& view);

// A scroll-bar request (ScrollCode) for one of the view's bars.
void OnScrollBar(EditView& view, ScrollBar bar, int code);
// A wheel message: whole notches of 40 scroll one row each; the rest is kept for the next
// message (process-wide).
void OnMouseWheel(EditView& view, int wheelDelta);
// Forgets the kept rest of the wheel.
void ResetWheel();
