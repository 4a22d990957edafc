// Caret moves of the edit view with their scroll policies, select all and Escape.
#include "view/CaretCommands.h"

#include "view/Caret.h"
#include "view/Movement.h"

namespace {

template <typename Step>
void Move(EditView& view, bool extend, int policy, bool horizontal, Step step) {
  const TextPos previous = view.caret;
  step(view.caret);
  UpdateCaret(view, previous, extend, policy);
  if (horizontal) TakeDesiredColumn(view);
}

// Vertical moves aim at the desired column and keep it.
void MoveVertically(EditView& view, bool extend, int rows, int policy) {
  const int column = view.desiredColumn;
  Move(view, extend, policy, false, [&](TextPos& pos) { MoveRows(pos, rows, column); });
}

}  // namespace

void MoveCharLeft(EditView& view, bool extend) { Move(view, extend, caretCharMove, true, CharLeft); }
void MoveCharRight(EditView& view, bool extend) { Move(view, extend, caretCharMove, true, CharRight); }
void MoveWordLeft(EditView& view, bool extend) { Move(view, extend, caretJump, true, WordLeft); }
void MoveWordRight(EditView& view, bool extend) { Move(view, extend, caretJump, true, WordRight); }
void MoveRowStart(EditView& view, bool extend) { Move(view, extend, caretJump, true, RowStart); }
void MoveRowEnd(EditView& view, bool extend) { Move(view, extend, caretJump, true, RowEnd); }
void MoveDocumentStart(EditView& view, bool extend) {
  Move(view, extend, caretJump, true, DocumentStart);
}
void MoveDocumentEnd(EditView& view, bool extend) { Move(view, extend, caretJump, true, DocumentEnd); }

void MoveRowUp(EditView& view, bool extend) { MoveVertically(view, extend, -1, caretRowMove); }
void MoveRowDown(EditView& view, bool extend) { MoveVertically(view, extend, 1, caretRowMove); }
void MovePageUp(EditView& view, bool extend) {
  MoveVertically(view, extend, -view.visibleRows, caretKeepScreenRow);
}
void MovePageDown(EditView& view, bool extend) {
  MoveVertically(view, extend, view.visibleRows, caretKeepScreenRow);
}

void SelectAll(EditView& view) {
  MoveDocumentStart(view, false);
  MoveDocumentEnd(view, true);
}

bool EndSelection(EditView& view) {
  if (!view.selectionActive) return false;
  view.selectionActive = false;
  InvalidateBetween(view, view.anchor, view.caret);
  return true;
}
