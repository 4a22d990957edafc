// Drawing the view's runs, mark signs and background with GDI.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "config/DocClass.h"
#include "text/Cells.h"
#include "text/Document.h"
#include "view/Paint.h"
#include "view/ViewWindowWin32.h"

namespace {

class GdiPainter final : public RowPainter {
 public:
  GdiPainter(ViewWindow& view, HDC dc) : view_(view), dc_(dc) {}

  void DrawRun(int column, int row, const ColourRun& run) override {
    const int x = view_.leftMargin + column * view_.characterWidth;
    const int y = row * view_.lineHeight;
    switch (run.kind) {
      case runBlank:
        FillRect(dc_, &Cells(column, row, run.length), view_.backgroundBrush.Get());
        break;
      case runPlain:
        Text(x, y, run);
        break;
      case runSelectedBlank: {
        SaveDC(dc_);
        SetBkColor(dc_, GetSysColor(COLOR_HIGHLIGHT));
        const platform::GdiObject<HBRUSH> brush(CreateSolidBrush(GetBkColor(dc_)));
        FillRect(dc_, &Cells(column, row, run.length), brush.Get());
        RestoreDC(dc_, -1);
        break;
      }
      case runSelectedText:
        SaveDC(dc_);
        SetBkColor(dc_, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(dc_, GetSysColor(COLOR_HIGHLIGHTTEXT));
        Text(x, y, run);
        RestoreDC(dc_, -1);
        break;
      default:
        SaveDC(dc_);
        SetTextColor(dc_, view_.docClass.colours[static_cast<std::size_t>(run.kind - 2)]);
        Text(x, y, run);
        RestoreDC(dc_, -1);
        break;
    }
  }

  void DrawMarkMargin(int row, bool marked) override { ::DrawMarkMargin(view_, dc_, row, marked); }

  void FillBackground(const PixelRect& rect) override {
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    FillRect(dc_, &area, view_.backgroundBrush.Get());
  }

 private:
  // The cells of a blank run, one pixel more to the right and below, overlapping the next.
  const RECT& Cells(int column, int row, int length) {
    cells_ = {view_.leftMargin + column * view_.characterWidth, row * view_.lineHeight,
              view_.leftMargin + (column + length) * view_.characterWidth + 1,
              (row + 1) * view_.lineHeight + 1};
    return cells_;
  }
  void Text(int x, int y, const ColourRun& run) {
    const wchar_t* text = run.text + run.index;
    const auto length = static_cast<std::size_t>(run.length);
    // Latin text, and text whose glyphs the font has itself, in the font's own advances, as it
    // always was drawn.
    const bool latin = HighestUnit(text, length) < cells::firstSpecialUnit;
    const bool singleCells = latin || AllSingleCells(text, length);
    if (latin || (singleCells && view_.cellText.DrawnByFont(dc_, view_.font.Get(), text, run.length))) {
      ExtTextOutW(dc_, x, y, ETO_OPAQUE | ETO_CLIPPED, nullptr, text, static_cast<UINT>(length),
                  nullptr);
      return;
    }
    // Other text of one unit to a cell: each character on its cell, whatever face the system
    // takes its glyph from, and in the order of the text whatever its direction.
    if (singleCells) {
      if (advances_.size() < length) advances_.resize(length);
      std::fill_n(advances_.begin(), length, view_.characterWidth);
      ExtTextOutW(dc_, x, y, ETO_OPAQUE | ETO_CLIPPED | ETO_IGNORELANGUAGE, nullptr, text,
                  static_cast<UINT>(length), advances_.data());
      return;
    }
    view_.cellText.Draw(dc_, view_.font.Get(), x, y, view_.characterWidth, view_.lineHeight, text,
                        run.length);
  }

  ViewWindow& view_;
  HDC dc_;
  RECT cells_{};
  std::vector<INT> advances_;  // one cell each
};

}  // namespace

void DrawMarkMargin(ViewWindow& view, HDC dc, int screenRow, bool marked) {
  if (!dc) {
    const platform::WindowDc own(view.window);
    if (own.Get()) DrawMarkMargin(view, own.Get(), screenRow, marked);
    return;
  }
  if (marked) {
    constexpr int signSize = 6;
    const platform::MemoryDc source(CreateCompatibleDC(dc));
    const platform::SelectedObject sign(source.Get(), view.markSign.Get());
    BitBlt(dc, 0, screenRow * view.lineHeight + ((view.lineHeight - signSize) >> 1), signSize,
           signSize, source.Get(), 0, 0, SRCCOPY);
  } else {
    const RECT cell{0, screenRow * view.lineHeight, view.leftMargin,
                    (screenRow + 1) * view.lineHeight};
    FillRect(dc, &cell, view.backgroundBrush.Get());
  }
}

void PaintView(ViewWindow& view, HDC dc, const RECT& paint) {
  const PaintBand band = BandForRect(view, {paint.left, paint.top, paint.right, paint.bottom});
  if (band.endRow <= band.firstRow) return;
  const platform::SelectedObject font(dc, view.font.Get());
  GdiPainter painter(view, dc);
  PaintRows(view, painter, band);
}
