// Taking and giving back a view's place in its text.
#include "view/Place.h"

#include <algorithm>

#include "text/Document.h"
#include "text/TextPos.h"
#include "view/Caret.h"
#include "view/EditView.h"

namespace {

TextPos PositionIn(Document& document, int line, int index) {
  TextPos pos(document);
  SetPos(pos, index, line);
  KeepCharacterWhole(pos, false);
  return pos;
}

}  // namespace

ViewPlace PlaceOfView(const EditView& view) {
  const TextPos& anchor = view.selectionActive ? view.anchor : view.caret;
  return ViewPlace{view.caret.line, view.caret.index, anchor.line, anchor.index,
                   view.firstRow, view.firstColumn};
}

void ReturnToPlace(EditView& view, const ViewPlace& place, bool onScreen) {
  Document& document = *view.document;
  const TextPos anchor = PositionIn(document, place.anchorLine, place.anchorIndex);
  const TextPos caret = PositionIn(document, place.caretLine, place.caretIndex);
  view.firstRow = std::clamp(place.firstRow, 0, document.TotalRows() - 1);
  // No column beyond the widest line can be scrolled to; a wrapped text has none to scroll.
  view.firstColumn =
      document.settings.wordwrap ? 0 : std::clamp(place.firstColumn, 0, document.widestLine);
  view.anchor = anchor;
  if (!onScreen) {
    view.caret = caret;
    view.selectionActive = !SamePlace(anchor, caret);
    TakeDesiredColumn(view);
    return;
  }
  // Whatever the bars scroll and paint meanwhile sees positions inside the text.
  view.selectionActive = false;
  view.caret = anchor;
  // The scroll bars bring the first row and column into their range.
  UpdateScrollBars(view);
  view.surface->InvalidateAll(false);
  // The selection runs from the anchor to the caret, as if the caret had been moved there with
  // Shift held; a caret still off screen (a smaller window) is brought into view.
  view.caret = caret;
  UpdateCaret(view, anchor, !SamePlace(anchor, caret), caretJump);
  TakeDesiredColumn(view);
}
