// Stylus presses, drags, releases and double taps in the edit view.
#include "view/Mouse.h"

#include "syntax/RowCursor.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "text/Line.h"
#include "view/Caret.h"
#include "view/Movement.h"

namespace {

// Puts the caret on the hit's row (clamped to the document) at the hit's column.
void MoveCaretTo(EditView& view, const ViewHit& hit) {
  int row = hit.row;
  TextPos& caret = view.caret;
  caret.line = LineOfRow(*view.document, row);
  caret.segment = row - RowsBefore(*view.document, caret.line);
  SetColumn(caret, hit.column);
}

// Moves the caret to the point and extends or starts the selection there.
void PlaceCaret(EditView& view, const ViewHit& hit, bool extend) {
  const TextPos previous = view.caret;
  MoveCaretTo(view, hit);
  UpdateCaret(view, previous, extend, caretRowMove);
  view.desiredColumn = view.caret.visualColumn;
}

}  // namespace

ViewHit HitTest(const EditView& view, int x, int y) {
  ViewHit hit;
  const int width = view.characterWidth > 0 ? view.characterWidth : 1;
  const int height = view.lineHeight > 0 ? view.lineHeight : 1;
  hit.column = (x - view.leftMargin + width / 2) / width + view.firstColumn;
  hit.row = y / height + view.firstRow;
  return hit;
}

bool OnPress(EditView& view, int x, int y, bool shift, bool contextGesture) {
  const bool extend = (shift && !contextGesture) || (contextGesture && view.selectionActive);
  const ViewHit hit = HitTest(view, x, y);
  if (hit.column >= 0 && !(contextGesture && view.selectionActive)) PlaceCaret(view, hit, extend);
  if (contextGesture) return true;
  view.tracking = true;
  return false;
}

void OnDrag(EditView& view, int x, int y) {
  if (!view.tracking) return;
  const ViewHit hit = HitTest(view, x, y);
  if (hit.column >= 0) PlaceCaret(view, hit, true);
}

bool OnRelease(EditView& view, int, int) {
  if (!view.tracking) return false;
  if (view.selectionActive && SamePlace(view.anchor, view.caret)) view.selectionActive = false;
  view.tracking = false;
  return true;
}

bool OnDoubleTap(EditView& view, int x, int y, bool shift) {
  if (x < view.leftMargin) {
    if (shift) return true;
    RowStart(view.caret);
    const TextPos rowStart = view.caret;
    RowEnd(view.caret);
    UpdateCaret(view, rowStart, true, caretRowMove);
    view.desiredColumn = view.caret.visualColumn;
    return true;
  }
  if (shift) return false;
  MoveCaretTo(view, HitTest(view, x, y));
  TextPos& caret = view.caret;
  if (IsWordCharacter(caret, CharAt(caret))) MoveRight(caret);
  WordLeft(caret);
  const TextPos wordStart = caret;
  const Line& line = view.document->lines[caret.line];
  while (caret.index < line.Length() && IsWordCharacter(caret, line.CharAt(caret.index)))
    caret.index = NextCharacter(line, caret.index);
  Normalize(caret);
  UpdateCaret(view, wordStart, true, caretRowMove);
  view.desiredColumn = caret.visualColumn;
  return true;
}
