// The view's character grid and laying its document out for it.
#include "view/Grid.h"

#include <algorithm>

#include "config/Classify.h"
#include "config/DocClass.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "view/Caret.h"

namespace {

// The width the document is wrapped to: the visible columns once they are known. Before, a
// layout keeps the width the document has (the wrap width of a new document, when word wrap
// was off), so that no narrow wrap is ever computed for a window not measured yet.
int WrapWidthFor(const EditView& view) {
  if (view.metricsValid) return view.visibleColumns;
  const int current = view.document->wrapWidth;
  return current == Document::noWrapWidth ? Document::initialWrapWidth : current;
}

}  // namespace

int ColumnsForWidth(const EditView& view, int width) {
  if (view.characterWidth <= 0) return view.visibleColumns;
  return std::max(0, (width - view.caretWidth - view.leftMargin) / view.characterWidth);
}

void SetCellSize(EditView& view, int characterWidth, int lineHeight) {
  // A cell must be at least one pixel each way: every row and column computation divides by
  // it. Without a usable size the view keeps the one it had.
  view.characterWidth = characterWidth > 0 ? characterWidth : std::max(1, view.characterWidth);
  view.lineHeight = lineHeight > 0 ? lineHeight : std::max(1, view.lineHeight);
  int width = 0, height = 0;
  view.surface->ClientSize(width, height);
  if (width <= 0 || height <= 0) return;
  view.visibleColumns = ColumnsForWidth(view, width);
  view.visibleRows = height / view.lineHeight;
  view.metricsValid = true;
}

void OnViewSize(EditView& view, int width, int height) {
  if (!view.metricsValid || width <= 0 || height <= 0) return;
  const int columns = ColumnsForWidth(view, width);
  if (columns != view.visibleColumns) {
    view.visibleColumns = columns;
    Document& document = *view.document;
    if (document.settings.wordwrap) Relayout(document, document.settings, columns);
  }
  view.visibleRows = height / view.lineHeight;
  UpdateScrollBars(view);
  Normalize(view.caret);
  Normalize(view.anchor);
}

namespace {

// After the document was laid out anew: positions, caret and scroll bars follow.
void AfterLayout(EditView& view, const TextClass& settings) {
  Normalize(view.caret);
  Normalize(view.anchor);
  if (settings.wordwrap) view.firstColumn = 0;
  UpdateCaret(view, view.caret, view.selectionActive, caretKeepScreenRow);
  UpdateScrollBars(view);
}

}  // namespace

bool RelayoutView(EditView& view, const TextClass& settings) {
  if (!Relayout(*view.document, settings, WrapWidthFor(view))) return false;
  AfterLayout(view, settings);
  return true;
}

void ApplyLayoutSettings(EditView& view, const DocClass& settings) {
  Document& document = *view.document;
  const bool highlightingChanged = document.highlighter != HighlightingOf(settings);
  // Installed first, so that a new layout computes the highlighter states with it.
  document.highlighter = HighlightingOf(settings);
  const bool relaid = RelayoutView(view, settings);
  GiveClass(document, settings);
  view.docClass = settings;
  if (!relaid && highlightingChanged) {
    LayoutDocument(document);
    AfterLayout(view, settings);
  }
  view.surface->InvalidateAll(true);
}
