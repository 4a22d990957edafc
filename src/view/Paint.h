// Painting the edit view: which runs, in which colours, go into which cells of a band of rows.
// The drawing itself is the painter's (GDI in the FEDIT window, a recorder in tests).
#pragma once

#include "text/ColourRun.h"
#include "view/EditView.h"

// Screen rows [firstRow, endRow) from screen column firstColumn, columnCount wide.
struct PaintBand {
  int firstColumn = 0;
  int firstRow = 0;
  int columnCount = 0;
  int endRow = 0;
};

class RowPainter {
 public:
  virtual ~RowPainter() = default;
  // One run at a cell; kinds 14 and 15 are selected blanks and selected text.
  virtual void DrawRun(int screenColumn, int screenRow, const ColourRun& run) = 0;
  // The mark sign of a screen row, or the empty margin cell.
  virtual void DrawMarkMargin(int screenRow, bool marked) = 0;
  // Clears rect with the background: the rows below the end of the document.
  virtual void FillBackground(const PixelRect& rect) = 0;
};

// The band a paint rectangle needs: whole rows, full width.
PaintBand BandForRect(const EditView& view, const PixelRect& paint);

// Draws the band's rows of the document, with the selection, the mark margin and the fill
// below the last row. Hides the caret meanwhile and shows it at the end.
void PaintRows(EditView& view, RowPainter& painter, const PaintBand& band);
