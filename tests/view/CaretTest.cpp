// Caret updates, invalidation, scroll policies, scroll bars and the wheel of the edit view.
#include <gtest/gtest.h>

#include "FakeSurface.h"
#include "syntax/SyntaxDef.h"
#include "text/Edit.h"
#include "text/Line.h"
#include "view/Caret.h"
#include "view/CaretCommands.h"
#include "view/Editing.h"
#include "view/Grid.h"

namespace {

std::vector<std::wstring> NumberedLines(int count, const std::wstring& text = L"line") {
  std::vector<std::wstring> lines;
  for (int i = 0; i < count; ++i) lines.push_back(text + std::to_wstring(i));
  return lines;
}

TEST(CaretTest, HorizontalScrollMovesInStepsOfTenColumns) {
  struct Case {
    int startIndex;
    void (*move)(EditView&, bool);
    int firstColumn;
    int startColumn = 0;
  } cases[] = {
      {19, MoveCharRight, 10},  // caret column 20 with 20 visible columns
      {0, MoveRowEnd, 82},      // column 100 asks for 90; the bar stops at 82
      {39, MoveCharRight, 30},
      {25, MoveRowStart, 0},    // back within the first screen
      {30, MoveCharLeft, 10, 30},  // one column left of the screen: shown near the right edge
      {35, MoveRowStart, 0, 30},
  };
  for (const Case& c : cases) {
    ViewFixture f({std::wstring(100, L'x')}, 20, 5);
    f.view.firstColumn = c.startColumn;
    f.Place(0, c.startIndex);
    f.surface.Forget();
    c.move(f.view, false);
    EXPECT_EQ(f.view.firstColumn, c.firstColumn) << "from index " << c.startIndex;
    const std::size_t scrolls = c.firstColumn != c.startColumn ? 1 : 0;
    ASSERT_EQ(f.surface.scrolled.size(), scrolls) << "from index " << c.startIndex;
    if (scrolls) {
      EXPECT_EQ(f.surface.scrolled[0].dx, (c.startColumn - c.firstColumn) * 8);
      EXPECT_EQ(f.surface.scrolled[0].dy, 0);
    }
    int dx = 0, dy = 0;
    EXPECT_TRUE(IsPosVisible(f.view, f.view.caret, dx, dy));
  }
}

TEST(CaretTest, WrappedViewIgnoresHorizontalMisses) {
  ViewFixture f({L"abcdefghij klmnopqrst uvw"}, 10, 5, PlainSettings(true));
  f.Place(0, 10);  // the end of the first row: column 10, one past the last visible cell
  MoveCharLeft(f.view, false);
  MoveCharRight(f.view, false);
  EXPECT_EQ(f.view.firstColumn, 0);
  EXPECT_TRUE(f.surface.scrolled.empty());
  // The caret still goes where the caret is.
  EXPECT_EQ(f.surface.caretX, 10 + 10 * 8);
}

TEST(CaretTest, CentringPolicyAndPreviousPositionOutOfView) {
  ViewFixture f(NumberedLines(100), 20, 10);
  // A jump with the centring policy to a far line puts it in the middle.
  TextPos previous = f.view.caret;
  SetPos(f.view.caret, 0, 50);
  UpdateCaret(f.view, previous, false, caretCentre);
  EXPECT_EQ(f.view.firstRow, 45);
  // A jump to a line already visible does not scroll.
  previous = f.view.caret;
  SetPos(f.view.caret, 0, 53);
  UpdateCaret(f.view, previous, false, caretCentre);
  EXPECT_EQ(f.view.firstRow, 45);
  // Moving from a place that is out of view centres whatever the policy asked for.
  ScrollRows(f.view, -40);
  ASSERT_EQ(f.view.firstRow, 5);
  MoveRowDown(f.view, false);  // caret to line 54, previous line 53 not visible either
  EXPECT_EQ(f.view.firstRow, 54 - 5);
}

TEST(CaretTest, PageDownKeepsTheScreenRowUntilTheBarClamps) {
  ViewFixture f(NumberedLines(100), 20, 10);
  f.Place(3, 2);
  MovePageDown(f.view, false);
  EXPECT_EQ(f.view.caret.line, 13);
  EXPECT_EQ(f.view.firstRow, 10);
  EXPECT_EQ(f.view.caret.index, 2);  // the desired column
  // Near the end the bar stops at 90 (100 rows, 10 on the page): the caret row moves down.
  ScrollRows(f.view, 72);  // first row 82
  f.Place(85, 2);
  MovePageDown(f.view, false);
  EXPECT_EQ(f.view.caret.line, 95);
  EXPECT_EQ(f.view.firstRow, 90);
  EXPECT_EQ(f.surface.caretY, 5 * 16);
  MovePageDown(f.view, false);
  EXPECT_EQ(f.view.caret.line, 99);
  EXPECT_EQ(f.view.firstRow, 90);
  MovePageUp(f.view, false);
  EXPECT_EQ(f.view.caret.line, 89);
  EXPECT_EQ(f.view.firstRow, 80);
}

TEST(CaretTest, WheelScrollsOneRowPerFortyAndKeepsTheRest) {
  ViewFixture f(NumberedLines(100), 20, 10);
  ScrollRows(f.view, 10);
  ResetWheel();
  OnMouseWheel(f.view, 120);
  EXPECT_EQ(f.view.firstRow, 7);
  OnMouseWheel(f.view, -60);
  EXPECT_EQ(f.view.firstRow, 8);
  OnMouseWheel(f.view, -20);  // with the -20 kept from before
  EXPECT_EQ(f.view.firstRow, 9);
  OnMouseWheel(f.view, 39);
  EXPECT_EQ(f.view.firstRow, 9);
  ResetWheel();
}

TEST(CaretTest, ScrollBarRequests) {
  struct Case { ScrollBar bar; int code; int expected; } cases[] = {
      {ScrollBar::vertical, scrollPageUp, 10},   {ScrollBar::vertical, scrollBottom, 90},
      {ScrollBar::vertical, scrollEnd, 20},      {ScrollBar::horizontal, scrollPageDown, 5},
      {ScrollBar::horizontal, scrollBottom, 84},  // 102 columns: max 88, page 5
  };
  for (const Case& c : cases) {
    ViewFixture f(NumberedLines(100, std::wstring(100, L'x')), 20, 10);
    ScrollRows(f.view, 20);
    OnScrollBar(f.view, c.bar, c.code);
    const int now = c.bar == ScrollBar::vertical ? f.view.firstRow : f.view.firstColumn;
    EXPECT_EQ(now, c.expected) << "code " << c.code;
  }
  ViewFixture f(NumberedLines(100), 20, 10);
  f.surface.bars[static_cast<int>(ScrollBar::vertical)].trackPos = 33;
  OnScrollBar(f.view, ScrollBar::vertical, scrollThumbTrack);
  EXPECT_EQ(f.view.firstRow, 33);
  // Scrolling leaves the caret where it is in the text.
  EXPECT_EQ(f.view.caret.line, 0);
}

TEST(CaretTest, ShiftRightInvalidatesOneCellAndShiftLeftLeavesAnEmptySelection) {
  ViewFixture f({L"alpha beta", L"gamma"}, 20, 10);
  f.Place(1, 2);
  MoveCharRight(f.view, true);
  ASSERT_EQ(f.surface.invalidated.size(), 1u);
  EXPECT_EQ(f.surface.invalidated[0], (PixelRect{10 + 2 * 8, 16, 10 + 3 * 8, 32}));
  EXPECT_TRUE(f.view.selectionActive);
  EXPECT_EQ(f.frame.refreshes, 1);
  f.surface.Forget();
  MoveCharLeft(f.view, true);
  EXPECT_TRUE(f.view.selectionActive);
  EXPECT_TRUE(SamePlace(f.view.anchor, f.view.caret));
  ASSERT_EQ(f.surface.invalidated.size(), 1u);
  EXPECT_EQ(f.surface.invalidated[0], (PixelRect{10 + 2 * 8, 16, 10 + 3 * 8, 32}));
}

TEST(CaretTest, PlainMoveClearsTheWholeOldSelection) {
  ViewFixture f(NumberedLines(30), 20, 10);
  f.Select(1, 2, 4, 3);
  MoveDocumentEnd(f.view, false);
  EXPECT_FALSE(f.view.selectionActive);
  ASSERT_FALSE(f.surface.invalidated.empty());
  // Rows 1 to 4 over the whole text area, wherever the caret went.
  EXPECT_EQ(f.surface.invalidated[0], (PixelRect{10, 16, 10 + 21 * 8, 80}));
  EXPECT_TRUE(SamePlace(f.view.anchor, f.view.caret));
  EXPECT_EQ(f.frame.lineNumber, L"30");
}

TEST(CaretTest, AfterEditRepaintsTheChangedRowsAndScrollsTheRest) {
  ViewFixture f(NumberedLines(20), 20, 10);
  // Deleting lines 2 to 5 away: rows 1 and 2 repainted, the rest moves up three rows.
  f.Select(2, 1, 5, 1);
  DeleteForward(f.view);
  const int width = f.surface.width;
  ASSERT_FALSE(f.surface.invalidated.empty());
  EXPECT_EQ(f.surface.invalidated[0], (PixelRect{0, 16, width, 3 * 16 + 1}));
  ASSERT_EQ(f.surface.scrolled.size(), 1u);
  EXPECT_EQ(f.surface.scrolled[0], (FakeSurface::Scrolled{0, -3 * 16, {0, 3 * 16, width, 160}}));
  EXPECT_EQ(f.document->LineCount(), 17);
  EXPECT_EQ(f.view.caret.line, 2);
  EXPECT_EQ(f.view.caret.index, 1);
  EXPECT_FALSE(f.view.selectionActive);
  EXPECT_EQ(f.surface.Bar(ScrollBar::vertical).max, 16);

  // A line break moves the rest down one row.
  f.surface.Forget();
  Enter(f.view);
  ASSERT_EQ(f.surface.scrolled.size(), 1u);
  EXPECT_EQ(f.surface.scrolled[0].dy, 16);
  EXPECT_EQ(f.view.caret.line, 3);
}

TEST(CaretTest, EditBelowTheWindowScrollsTheCaretIntoView) {
  ViewFixture f(NumberedLines(20), 20, 10);
  f.Place(9, 5);
  Enter(f.view);
  EXPECT_EQ(f.view.caret.line, 10);
  EXPECT_EQ(f.view.firstRow, 1);
  EXPECT_EQ(f.surface.caretY, 9 * 16);
}

TEST(CaretTest, CellSizeBelowOnePixelKeepsTheGrid) {
  ViewFixture f(NumberedLines(5), 20, 10);
  SetCellSize(f.view, 8, 0);
  EXPECT_EQ(f.view.lineHeight, 16);
  EXPECT_EQ(f.view.visibleRows, 10);
  SetCellSize(f.view, 8, -3);
  EXPECT_EQ(f.view.lineHeight, 16);
  OnViewSize(f.view, f.surface.width, 200);
  EXPECT_EQ(f.view.visibleRows, 12);
  OnViewSize(f.view, f.surface.width, 0);  // minimised
  EXPECT_EQ(f.view.visibleRows, 12);

  // A view that never had a cell size gets one pixel rather than none.
  FakeSurface surface;
  surface.width = 100;
  surface.height = 50;
  Document document;
  EditView fresh;
  fresh.Attach(document, surface, nullptr);
  SetCellSize(fresh, 0, -4);
  EXPECT_EQ(fresh.characterWidth, 1);
  EXPECT_EQ(fresh.lineHeight, 1);
  EXPECT_EQ(fresh.visibleRows, 50);
}

TEST(CaretTest, GridFollowsTheWindowSize) {
  struct Case { bool wrap; int width; int columns; bool relaid; } cases[] = {
      {false, 10 + 2 + 30 * 8, 30, false},  // unwrapped: never rewrapped
      {true, 10 + 2 + 20 * 8 + 7, 20, false},  // less than a cell wider: same columns
      {true, 10 + 2 + 30 * 8, 30, true},
      {true, 10 + 2 + 8 - 1, 0, true},  // narrower than one cell
      {true, 0, 20, false},             // minimised
  };
  for (const Case& c : cases) {
    ViewFixture f({std::wstring(50, L'x')}, 20, 10, PlainSettings(c.wrap));
    const int wrapBefore = f.document->wrapWidth;
    f.surface.width = c.width;
    OnViewSize(f.view, c.width, 160);
    EXPECT_EQ(f.view.visibleColumns, c.columns) << c.width;
    EXPECT_EQ(f.document->wrapWidth != wrapBefore, c.relaid) << c.width;
  }
  // A size that arrives before the font is measured is left to the measuring.
  ViewFixture f({L"x"}, 20, 10);
  EditView early;
  early.Attach(*f.document, f.surface, nullptr);
  OnViewSize(early, 100, 100);
  EXPECT_FALSE(early.metricsValid);
  // Cells measured while the window has no width or height leave the view unmeasured.
  for (auto [width, height] : {std::pair{0, 100}, std::pair{100, 0}}) {
    f.surface.width = width;
    f.surface.height = height;
    SetCellSize(early, 8, 16);
    EXPECT_FALSE(early.metricsValid);
  }
  // Scrolled in steps of a quarter of the width, the bar reaches a step beyond the widest line.
  ViewFixture wide({std::wstring(24, L'x')}, 20, 10, PlainSettings(false));
  EXPECT_EQ(wide.surface.Bar(ScrollBar::horizontal).max, 10);
  // A line wider than the view by less than a step is still shown to its end.
  ViewFixture near({std::wstring(45, L'x')}, 40, 10, PlainSettings(false));
  MoveRowEnd(near.view, false);
  EXPECT_LT(near.view.caret.visualColumn - near.view.firstColumn, near.view.visibleColumns);
  // Wrapped, nothing lies beyond the right edge: the page covers the whole bar.
  ViewFixture wrapped({std::wstring(24, L'x')}, 20, 10, PlainSettings(true));
  const ScrollBarState& bar = wrapped.surface.Bar(ScrollBar::horizontal);
  EXPECT_GT(bar.page, bar.max - bar.min);
}

TEST(CaretTest, SwitchingHighlightingOnRecomputesTheLineStates) {
  SyntaxDef c;
  c.commentBegin = L"/*";
  c.commentEnd = L"*/";
  c.wordFirstSet = {{L'a', L'z'}};
  c.wordSet = {{L'a', L'z'}};
  ViewFixture f({L"x /* open", L"still", L"*/ y"}, 20, 10, PlainSettings(true));
  DocClass highlighted = PlainSettings(true);  // same tab size, wrap and indent
  highlighted.hassyntax = true;
  highlighted.syntax = &c;
  ApplyLayoutSettings(f.view, highlighted);
  EXPECT_EQ(lineState::Code(f.document->lines[0].State()), 5);
  EXPECT_EQ(lineState::Code(f.document->lines[1].State()), 14);
  EXPECT_EQ(lineState::Code(f.document->lines[2].State()), 4);
  EXPECT_EQ(f.document->highlighter, &c);
  EXPECT_EQ(f.surface.invalidatedAll, 1);
  // Only colours differ: nothing is laid out again.
  DocClass recoloured = highlighted;
  recoloured.colours[0] = 0x123456;
  f.document->lines[1].SetState(0);
  ApplyLayoutSettings(f.view, recoloured);
  EXPECT_EQ(lineState::Code(f.document->lines[1].State()), 0);
  EXPECT_EQ(f.view.docClass.colours[0], 0x123456u);
  // Highlighting switched on with a new tab size: the new layout already computes the states.
  ViewFixture g({L"x /* open", L"still", L"*/ y"}, 20, 10, PlainSettings(true));
  highlighted.tabsize = 8;
  ApplyLayoutSettings(g.view, highlighted);
  EXPECT_EQ(lineState::Code(g.document->lines[1].State()), 14);
}

}  // namespace
