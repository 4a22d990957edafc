// Caret updates, invalidation of the selection, scrolling and the scroll bars.
#include "view/Caret.h"

#include <algorithm>
#include <string>

#include "text/Cells.h"
#include "text/Document.h"
#include "text/Edit.h"
#include "text/Line.h"

namespace {

bool Wrapped(const EditView& view) { return view.document->settings.wordwrap; }

// True when a lone first half of a surrogate pair stands before pos.
bool AwaitsLowSurrogate(const TextPos& pos) {
  const Line& line = pos.document->lines[pos.line];
  return cells::IsHighSurrogate(cells::Unit(line.CharAt(pos.index - 1))) &&
         !cells::IsLowSurrogate(cells::Unit(line.CharAt(pos.index)));
}

PixelRect ClientRect(const EditView& view) {
  PixelRect rect;
  view.surface->ClientSize(rect.right, rect.bottom);
  return rect;
}

// After a scroll that may not have happened (the bars clamp), the caret must still go to its
// new place.
void PlaceCaretUnlessScrolled(EditView& view, int oldFirstRow, int oldFirstColumn) {
  if (view.firstRow == oldFirstRow && view.firstColumn == oldFirstColumn) {
    HideViewCaret(view);
    ShowCaretAt(view);
  }
}

// Sets a bar's position and returns where the bar put it.
int SetBarPosition(EditView& view, ScrollBar bar, int pos) {
  ScrollBarState state;
  state.pos = pos;
  view.surface->SetScrollBar(bar, scrollPos, state);
  return view.surface->GetScrollBar(bar).pos;
}

}  // namespace

bool IsPosVisible(const EditView& view, const TextPos& pos, int& dx, int& dy) {
  const int row = AbsoluteRow(pos);
  if (row < view.firstRow)
    dy = row - view.firstRow;
  else if (row >= view.firstRow + view.visibleRows)
    dy = row - view.firstRow - view.visibleRows + 1;
  else
    dy = 0;
  const int column = pos.visualColumn;
  if (column < view.firstColumn)
    dx = column - view.firstColumn;
  else if (column >= view.firstColumn + view.visibleColumns)
    dx = column - view.visibleColumns - view.firstColumn + 1;
  else
    dx = 0;
  return dx == 0 && dy == 0;
}

void KeepPlaceInNewText(EditView& view) {
  view.selectionActive = false;
  view.findHitSelected = false;
  SetPos(view.caret, view.caret.index, view.caret.line);
  view.anchor = view.caret;
}

void TakeDesiredColumn(EditView& view) { view.desiredColumn = view.caret.visualColumn; }

void ShowLineNumber(EditView& view) {
  if (view.frame && view.onScreen) view.frame->SetLineNumberText(std::to_wstring(view.caret.line + 1));
}

void InvalidateBetween(EditView& view, const TextPos& a, const TextPos& b) {
  int row1 = AbsoluteRow(a), row2 = AbsoluteRow(b);
  int column1 = a.visualColumn, column2 = b.visualColumn;
  if (row2 < row1 || (row2 == row1 && column2 < column1)) {
    std::swap(row1, row2);
    std::swap(column1, column2);
  }
  PixelRect rect;
  rect.top = (row1 - view.firstRow) * view.lineHeight;
  rect.bottom = (row2 - view.firstRow + 1) * view.lineHeight;
  if (row1 == row2) {
    rect.left = (column1 - view.firstColumn) * view.characterWidth + view.leftMargin;
    rect.right = (column2 - view.firstColumn) * view.characterWidth + view.leftMargin;
  } else {
    rect.left = view.leftMargin;
    rect.right = view.leftMargin + (view.visibleColumns + 1) * view.characterWidth;
  }
  view.surface->Invalidate(rect, false);
  if (view.frame) view.frame->RefreshCommandStates();
}

void UpdateCaret(EditView& view, TextPos previous, bool extend, int policy) {
  view.findHitSelected = false;
  KeepCharacterWhole(view.caret, IsBefore(previous, view.caret));
  const TextPos oldAnchor = view.anchor;
  if (!view.selectionActive) {
    if (extend) {
      view.selectionActive = true;
      view.anchor = previous;
      InvalidateBetween(view, view.anchor, view.caret);
    } else {
      view.anchor = view.caret;
    }
  } else if (!extend) {
    view.selectionActive = false;
    view.anchor = view.caret;
    InvalidateBetween(view, oldAnchor, previous);
  } else {
    InvalidateBetween(view, previous, view.caret);
  }

  int dx = 0, dy = 0;
  bool scroll = !IsPosVisible(view, view.caret, dx, dy);
  if (Wrapped(view)) {
    scroll = dy != 0;
    dx = 0;
  }
  if (!scroll) {
    HideViewCaret(view);
    ShowCaretAt(view);
  } else {
    int previousDx = 0, previousDy = 0;
    if (!IsPosVisible(view, previous, previousDx, previousDy)) policy = caretCentre | caretJump;
    const int oldFirstRow = view.firstRow, oldFirstColumn = view.firstColumn;
    if (dy != 0) {
      if (policy & caretKeepScreenRow)
        ScrollRows(view, AbsoluteRow(view.caret) - AbsoluteRow(previous));
      else if (policy & caretCentre)
        ScrollRows(view, AbsoluteRow(view.caret) - view.visibleRows / 2 - view.firstRow);
      else
        ScrollRows(view, dy);
    }
    if (dx != 0) {
      const int excess = view.caret.visualColumn - view.visibleColumns;
      const int newFirst = excess >= 0 ? (excess / 10 + 1) * 10 : 0;
      ScrollColumns(view, newFirst - view.firstColumn);
    }
    PlaceCaretUnlessScrolled(view, oldFirstRow, oldFirstColumn);
  }
  ShowLineNumber(view);
}

void AfterEdit(EditView& view, const ChangeRecord& change) {
  if (change.firstRow == -1) return;
  // What was selected is no longer the hit a find selected: Replace must search again.
  view.findHitSelected = false;
  const PixelRect client = ClientRect(view);
  PixelRect band{0, (change.firstRow - view.firstRow) * view.lineHeight, client.right,
                 (change.lastRow - view.firstRow + 1) * view.lineHeight + 1};
  view.surface->Invalidate(band, false);
  if (change.rowDelta != 0) {
    PixelRect below{0, (change.lastRow - view.firstRow + 1) * view.lineHeight, client.right,
                    client.bottom};
    if (below.top < below.bottom)
      view.surface->Scroll(0, change.rowDelta * view.lineHeight, below);
  }
  view.selectionActive = false;
  SetPos(view.caret, change.endIndex, change.endLine);
  // The change may have joined what follows it to the character before it (a letter typed
  // before a mark, a tab deleted between them): the caret goes after that character. A lone
  // first half of a pair is the first of the two characters typed for one: the second goes
  // right after it.
  if (!AwaitsLowSurrogate(view.caret)) KeepCharacterWhole(view.caret, true);
  view.anchor = view.caret;
  UpdateScrollBars(view);

  int dx = 0, dy = 0;
  if (IsPosVisible(view, view.caret, dx, dy)) {
    HideViewCaret(view);
    ShowCaretAt(view);
  } else {
    const int oldFirstRow = view.firstRow, oldFirstColumn = view.firstColumn;
    if (dy != 0) ScrollRows(view, dy);
    if (dx != 0 && !Wrapped(view)) ScrollColumns(view, dx);
    PlaceCaretUnlessScrolled(view, oldFirstRow, oldFirstColumn);
  }
  ShowLineNumber(view);
  if (view.frame) view.frame->RefreshCommandStates();
}

void ScrollRows(EditView& view, int delta) {
  const int old = view.firstRow;
  const int now = SetBarPosition(view, ScrollBar::vertical, old + delta);
  if (now == old) return;
  view.firstRow = now;
  HideViewCaret(view);
  view.surface->Scroll(0, (old - now) * view.lineHeight, ClientRect(view));
  view.surface->UpdateNow();
  ShowCaretAt(view);
}

void ScrollColumns(EditView& view, int delta) {
  const int old = view.firstColumn;
  const int now = SetBarPosition(view, ScrollBar::horizontal, old + delta);
  if (now == old) return;
  view.firstColumn = now;
  HideViewCaret(view);
  PixelRect area = ClientRect(view);
  area.left = view.leftMargin;
  view.surface->Scroll((old - now) * view.characterWidth, 0, area);
  view.surface->UpdateNow();
  ShowCaretAt(view);
}

void UpdateScrollBars(EditView& view) {
  ViewSurface& surface = *view.surface;
  ScrollBarState vertical{0, view.document->TotalRows() - 1, view.visibleRows, view.firstRow, 0};
  surface.SetScrollBar(ScrollBar::vertical, scrollAll, vertical);
  const int row = surface.GetScrollBar(ScrollBar::vertical).pos;
  if (row != view.firstRow) ScrollRows(view, row - view.firstRow);

  const int step = std::max(1, view.visibleColumns / 4);
  const int r = view.document->widestLine - view.visibleColumns + 1;
  ScrollBarState horizontal;
  if (Wrapped(view)) {
    view.firstColumn = 0;
    horizontal.max = r;
    horizontal.page = r + 1;
  } else {
    // The bar reaches a page beyond the widest line, so its end can always be shown.
    horizontal.page = std::min(step, r);
    horizontal.max = r + horizontal.page;
  }
  horizontal.pos = view.firstColumn;
  surface.SetScrollBar(ScrollBar::horizontal, scrollAll, horizontal);
  const ScrollBarState set = surface.GetScrollBar(ScrollBar::horizontal);
  // The bar's own page: what the bar shows, after its clamping.
  view.horizontalPage = set.page;
  if (set.pos != view.firstColumn) ScrollColumns(view, set.pos - view.firstColumn);
}

void ShowCaretAt(EditView& view) {
  if (!view.onScreen) return;
  const int x = view.leftMargin + (view.caret.visualColumn - view.firstColumn) * view.characterWidth;
  const int y = (AbsoluteRow(view.caret) - view.firstRow) * view.lineHeight;
  view.surface->SetCaretPos(x, y);
  view.caretShown = true;
  view.surface->ShowCaret();
}

void HideViewCaret(EditView& view) {
  if (!view.onScreen) return;
  view.caretShown = false;
  view.surface->HideCaret();
}

void OnScrollBar(EditView& view, ScrollBar bar, int code) {
  const ScrollBarState state = view.surface->GetScrollBar(bar);
  int delta = 0;
  switch (code) {
    case scrollLineUp: delta = -1; break;
    case scrollLineDown: delta = 1; break;
    case scrollPageUp: delta = -state.page; break;
    case scrollPageDown: delta = state.page; break;
    case scrollThumbTrack: delta = state.trackPos - state.pos; break;
    case scrollTop: delta = state.min - state.pos; break;
    case scrollBottom: delta = state.max - state.pos; break;
    default: return;
  }
  if (bar == ScrollBar::vertical)
    ScrollRows(view, delta);
  else
    ScrollColumns(view, delta);
}

namespace {
int wheelAccumulator = 0;  // what the wheel turned beyond the last whole notch
constexpr int wheelNotch = 40;
}  // namespace

void OnMouseWheel(EditView& view, int wheelDelta) {
  wheelAccumulator += wheelDelta;
  while (wheelAccumulator >= wheelNotch) {
    OnScrollBar(view, ScrollBar::vertical, scrollLineUp);
    wheelAccumulator -= wheelNotch;
  }
  while (wheelAccumulator <= -wheelNotch) {
    OnScrollBar(view, ScrollBar::vertical, scrollLineDown);
    wheelAccumulator += wheelNotch;
  }
}

void ResetWheel() { wheelAccumulator = 0; }
