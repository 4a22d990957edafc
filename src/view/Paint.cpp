// The painter's walk over a band of visual rows: runs from the row cursor, cut at the
// selection, the mark margin and the fill below the document.
#include "view/Paint.h"

#include <algorithm>

#include "syntax/RowCursor.h"
#include "text/Document.h"
#include "text/Cells.h"
#include "text/Layout.h"
#include "text/Line.h"
#include "view/Caret.h"

namespace {

// The selected columns [start, end) of one visual row; empty when start >= end.
struct ColumnRange {
  int start = 0;
  int end = 0;
};

struct Selection {
  bool active = false;
  TextPos start;
  TextPos end;
  int startRow = 0;
  int endRow = 0;
};

Selection SelectionOf(const EditView& view) {
  Selection selection;
  if (!view.selectionActive) return selection;
  selection.active = true;
  const bool anchorFirst = !IsBefore(view.caret, view.anchor);
  selection.start = anchorFirst ? view.anchor : view.caret;
  selection.end = anchorFirst ? view.caret : view.anchor;
  selection.startRow = AbsoluteRow(selection.start);
  selection.endRow = AbsoluteRow(selection.end);
  return selection;
}

// The visual column at the end of the cursor's row.
int RowEndColumn(const TextPos& cursor) {
  TextPos end = cursor;
  end.index = cursor.document->lines[cursor.line].SegmentEnd(cursor.segment);
  ComputeVisualColumn(end);
  return end.visualColumn;
}

ColumnRange SelectedColumns(const Selection& selection, const TextPos& cursor, int row) {
  if (!selection.active || row < selection.startRow || row > selection.endRow) return {};
  ColumnRange range;
  range.start = row == selection.startRow ? selection.start.visualColumn : 0;
  range.end = row == selection.endRow ? selection.end.visualColumn : RowEndColumn(cursor);
  return range;
}

int SelectedKind(int kind) { return kind == runBlank ? runSelectedBlank : runSelectedText; }

// The units of a run's text that fill its first cells cells (a character that reaches beyond
// them counts whole).
int UnitsOfCells(const ColourRun& run, int cells) {
  if (cells <= 0) return 0;
  if (cells >= run.cells) return run.length;
  if (run.kind == runBlank || run.kind == runSelectedBlank) return cells;
  const std::wstring_view text(run.text + run.index, static_cast<std::size_t>(run.length));
  return SpanOfCells(text, 0, text.size(), cells).units;
}

// Draws a run that starts at absolute column start, cut into the parts before, inside and
// after the selected columns.
void DrawCut(RowPainter& painter, int screenColumn, int screenRow, const ColourRun& run,
             int start, const ColumnRange& selected) {
  const int end = start + run.cells;
  const int cuts[4] = {start, std::clamp(selected.start, start, end),
                       std::clamp(std::max(selected.end, selected.start), start, end), end};
  for (int piece = 0; piece < 3; ++piece) {
    const int cells = cuts[piece + 1] - cuts[piece];
    if (cells <= 0) continue;
    const int from = UnitsOfCells(run, cuts[piece] - start);
    ColourRun part = run;
    part.index = run.index + from;
    part.length = UnitsOfCells(run, cuts[piece + 1] - start) - from;
    part.cells = cells;
    if (piece == 1) part.kind = SelectedKind(run.kind);
    painter.DrawRun(screenColumn + (cuts[piece] - start), screenRow, part);
  }
}

}  // namespace

PaintBand BandForRect(const EditView& view, const PixelRect& paint) {
  PaintBand band;
  if (!view.metricsValid || view.lineHeight <= 0) return band;
  if (paint.right <= 0 || paint.bottom <= 0) return band;
  band.firstColumn = 0;
  band.firstRow = std::max(0, paint.top) / view.lineHeight;
  band.columnCount = view.visibleColumns;
  band.endRow = paint.bottom / view.lineHeight + 1;
  return band;
}

void PaintRows(EditView& view, RowPainter& painter, const PaintBand& band) {
  HideViewCaret(view);
  Document& document = *view.document;
  const int firstColumn = band.firstColumn + view.firstColumn;
  const int firstRow = view.firstRow + band.firstRow;
  const int endRow = view.firstRow + band.endRow;
  const int lastRow = std::min(endRow, document.TotalRows());
  const bool atLeftEdge = band.firstColumn == 0;
  const Selection selection = SelectionOf(view);

  if (firstRow < lastRow) {
    TextPos cursor;
    OpenRowCursor(cursor, document, firstRow, firstColumn);
    for (int row = firstRow; row < lastRow; ++row) {
      const int screenRow = row - view.firstRow;
      const Line& line = document.lines[cursor.line];
      const ColumnRange selected = SelectedColumns(selection, cursor, row);
      if (atLeftEdge)
        painter.DrawMarkMargin(screenRow, cursor.segment == 0 && line.Marked());

      int c = 0;
      int remaining = band.columnCount + 1;
      const int startColumn = SegmentStartColumn(document, line, cursor.segment);
      const bool indentRun = atLeftEdge && startColumn > 0 && cursor.visualColumn <= startColumn;
      // The left edge may fall inside a tab: the cursor then stands after it, and the rest of
      // the tab is blank.
      if (!indentRun && cursor.visualColumn > firstColumn) {
        const int cells = std::min(cursor.visualColumn - firstColumn, remaining);
        ColourRun gap{runBlank, cursor.index, cells, line.Data(), cells};
        DrawCut(painter, band.firstColumn, screenRow, gap, firstColumn, selected);
        c += cells;
        remaining -= cells;
      }
      bool rowStart = atLeftEdge;
      while (remaining > 0) {
        const ColourRun run = NextRun(cursor, rowStart, remaining);
        rowStart = false;
        if (run.cells <= 0) break;
        DrawCut(painter, band.firstColumn + c, screenRow, run, firstColumn + c, selected);
        c += run.cells;
      }
      if (!NextRow(cursor, firstColumn)) break;
    }
    CloseRowCursor(cursor);
  }

  if (document.TotalRows() < endRow) {
    int width = 0, height = 0;
    view.surface->ClientSize(width, height);
    painter.FillBackground(
        {0, (lastRow - view.firstRow) * view.lineHeight, width, band.endRow * view.lineHeight + 1});
  }
  ShowCaretAt(view);
}
