// What the painter draws into which cells: runs, the selection laid over them, the mark
// margin and the fill below the document.
#include <gtest/gtest.h>

#include <cwctype>
#include <map>

#include "FakeSurface.h"
#include "text/Cells.h"
#include "text/Line.h"
#include "view/Caret.h"
#include "view/Paint.h"

namespace {

// Draws into a grid of characters: text as it is, blanks as '.', selected text and blanks as
// upper-case letters and '#'. Margins record the marked rows.
class GridPainter final : public RowPainter {
 public:
  std::map<int, std::wstring> rows;  // screen row -> cells
  std::map<int, bool> margins;       // screen row -> marked
  std::vector<PixelRect> fills;
  int runs = 0;

  // Text goes into the cells of its characters: a character's first unit in its first cell,
  // '~' in the second cell of a wide one; its other units (marks, a pair's second half) are
  // left out.
  void DrawRun(int column, int row, const ColourRun& run) override {
    ++runs;
    std::wstring& cells = rows[row];
    if (cells.size() < static_cast<std::size_t>(column + run.cells))
      cells.resize(static_cast<std::size_t>(column + run.cells), L'?');
    const bool blank = run.kind == runBlank || run.kind == runSelectedBlank;
    const std::wstring_view text(run.text + run.index, static_cast<std::size_t>(blank ? 0 : run.length));
    int cell = column;
    for (std::size_t i = 0; i < text.size();) {
      const CharacterSpan character = CharacterAt(text, i);
      const wchar_t first = text[i];
      cells[static_cast<std::size_t>(cell)] =
          run.kind == runSelectedText ? static_cast<wchar_t>(towupper(first)) : first;
      for (int k = 1; k < character.cells; ++k) cells[static_cast<std::size_t>(cell + k)] = L'~';
      cell += character.cells;
      i += static_cast<std::size_t>(character.units);
    }
    if (blank) {
      for (int k = 0; k < run.cells; ++k)
        cells[static_cast<std::size_t>(column + k)] = run.kind == runBlank ? L'.' : L'#';
    } else {
      EXPECT_EQ(cell - column, run.cells) << "the cells of a run's characters";
    }
  }
  void DrawMarkMargin(int row, bool marked) override { margins[row] = marked; }
  void FillBackground(const PixelRect& rect) override { fills.push_back(rect); }

  // The row with the blank cells that only fill the line's end taken off.
  std::wstring Row(int row) const {
    auto found = rows.find(row);
    if (found == rows.end()) return L"<none>";
    std::wstring cells = found->second;
    while (!cells.empty() && cells.back() == L'.') cells.pop_back();
    return cells;
  }
};

GridPainter PaintAll(ViewFixture& f) {
  GridPainter painter;
  PaintRows(f.view, painter, BandForRect(f.view, {0, 0, f.surface.width, f.surface.height}));
  return painter;
}

TEST(PaintTest, RowsBelowTheDocumentAreFilledOnce) {
  ViewFixture f({L"ab", L"", L"c"}, 10, 6);
  const GridPainter painter = PaintAll(f);
  EXPECT_EQ(painter.Row(0), L"ab");
  EXPECT_EQ(painter.Row(1), L"");
  EXPECT_EQ(painter.Row(2), L"c");
  EXPECT_EQ(painter.rows.size(), 3u);
  EXPECT_EQ(painter.margins.size(), 3u);
  // Every row is drawn across all visible columns and one more.
  EXPECT_EQ(painter.rows.at(0).size(), 11u);
  ASSERT_EQ(painter.fills.size(), 1u);
  EXPECT_EQ(painter.fills[0], (PixelRect{0, 3 * 16, f.surface.width, 7 * 16 + 1}));
  EXPECT_EQ(f.surface.caretHides, 0);
  EXPECT_TRUE(f.view.caretShown);

  ViewFixture empty({L""}, 10, 6);
  const GridPainter one = PaintAll(empty);
  EXPECT_EQ(one.rows.size(), 1u);
}

TEST(PaintTest, SelectionIsHighlightedBetweenItsColumns) {
  struct Case { At anchor, caret; std::vector<std::wstring> rows; } cases[] = {
      {{0, 1}, {0, 3}, {L"aBCdef", L"ghij", L"klm"}},
      {{0, 3}, {0, 1}, {L"aBCdef", L"ghij", L"klm"}},
      {{0, 4}, {2, 1}, {L"abcdEF", L"GHIJ", L"Klm"}},
      // Ending at index 0 of a line highlights nothing on that line.
      {{0, 4}, {1, 0}, {L"abcdEF", L"ghij", L"klm"}},
      // An active, empty selection shows nothing.
      {{1, 2}, {1, 2}, {L"abcdef", L"ghij", L"klm"}},
  };
  for (const Case& c : cases) {
    ViewFixture f({L"abcdef", L"ghij", L"klm"}, 10, 6);
    f.Select(c.anchor.line, c.anchor.index, c.caret.line, c.caret.index);
    const GridPainter painter = PaintAll(f);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(painter.Row(row), c.rows[static_cast<std::size_t>(row)]);
  }
}

TEST(PaintTest, TabsAreBlankRunsHighlightedInsideTheSelection) {
  ViewFixture f({L"a\tb\tc"}, 12, 3);
  EXPECT_EQ(PaintAll(f).Row(0), L"a...b...c");
  f.Select(0, 0, 0, 3);
  EXPECT_EQ(PaintAll(f).Row(0), L"A###B...c");
}

TEST(PaintTest, HorizontalScrollInsideATabOrARun) {
  ViewFixture f({L"ab\tcdefghijklmnopqrstuvwxyz0123456789", L"0123456789abcdefghijklmnopqrstuvwxyz"}, 10, 3);
  ScrollColumns(f.view, 3);  // column 3 lies inside the tab (columns 2 to 3)
  ASSERT_EQ(f.view.firstColumn, 3);
  const GridPainter painter = PaintAll(f);
  EXPECT_EQ(painter.Row(0), L".cdefghijkl");
  EXPECT_EQ(painter.Row(1), L"3456789abcd");
}

TEST(PaintTest, WideAndCombinedCharactersFillTheirCellsAndSelectWhole) {
  // An ideograph on two cells, "e" and a mark on one, an emoji on two, then "x".
  ViewFixture f({L"\u4E2De\u0301\xD83D\xDE00x"}, 12, 3);
  EXPECT_EQ(PaintAll(f).Row(0), L"\u4E2D~e\xD83D~x");
  f.Select(0, 1, 0, 5);  // "e" with its mark and the emoji
  EXPECT_EQ(PaintAll(f).Row(0), L"\u4E2D~E\xD83D~x");
  // Scrolled into the second cell of an ideograph: that cell is blank.
  ViewFixture scrolled({L"\u4E2Dabcdefghijklmnopqrstuvwxyz"}, 10, 3);
  ScrollColumns(scrolled.view, 1);
  ASSERT_EQ(scrolled.view.firstColumn, 1);
  EXPECT_EQ(PaintAll(scrolled).Row(0), L".abcdefghij");
}

TEST(PaintTest, ContinuationRowsStartWithTheirIndentAndOnlyTheFirstRowShowsTheMark) {
  DocClass settings = PlainSettings(true);
  ViewFixture f({L"  abcd efgh ijkl", L"next"}, 10, 6, settings);
  f.document->lines[0].SetState(lineState::markBit);
  const GridPainter painter = PaintAll(f);
  EXPECT_EQ(painter.Row(0), L"  abcd ");
  EXPECT_EQ(painter.Row(1), L"....efgh ");
  EXPECT_EQ(painter.Row(2), L"....ijkl");
  EXPECT_EQ(painter.Row(3), L"next");
  EXPECT_EQ(painter.margins, (std::map<int, bool>{{0, true}, {1, false}, {2, false}, {3, false}}));
  // A selection over the rows of a wrapped line highlights middle rows from column 0.
  f.Select(0, 4, 0, 14);
  const GridPainter selected = PaintAll(f);
  EXPECT_EQ(selected.Row(0), L"  abCD ");
  EXPECT_EQ(selected.Row(1), L"####EFGH ");
  EXPECT_EQ(selected.Row(2), L"####IJkl");
}

}  // namespace
