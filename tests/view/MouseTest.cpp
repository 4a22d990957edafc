// Stylus hits, taps, drags, double taps and the tap-and-hold gesture in the edit view.
#include <gtest/gtest.h>

#include "FakeSurface.h"
#include "view/Mouse.h"

namespace {

// The pixel at the left edge of column c, row r of the fixture's 8 x 16 grid, plus dx.
int X(int column, int dx = 0) { return 10 + column * 8 + dx; }
int Y(int row) { return row * 16 + 5; }

void Tap(EditView& view, int x, int y, bool shift = false) {
  OnPress(view, x, y, shift, false);
  OnRelease(view, x, y);
}

TEST(MouseTest, TapsSnapToTheNearestCellBoundary) {
  struct Case { int x; int y; int line; int index; } cases[] = {
      {X(2, 5), Y(0), 0, 3},   // right half of the third cell: after it
      {X(2, 3), Y(0), 0, 2},   // left half: before it
      {X(0, -6), Y(1), 1, 0},  // in the margin
      {X(40), Y(1), 1, 5},     // beyond the line end
      {X(3), Y(9), 2, 3},      // below the last line: the last row, at the column
      {X(30), Y(9), 2, 4},     // or at its end
      {X(3), Y(2), 2, 3},      // inside the tab of "ab\tc" (columns 2 to 3): after it
  };
  for (const Case& c : cases) {
    ViewFixture f({L"abcdef", L"ghijk", L"ab\tc"}, 20, 10);
    Tap(f.view, c.x, c.y);
    EXPECT_EQ(f.view.caret.line, c.line) << c.x << "," << c.y;
    EXPECT_EQ(f.view.caret.index, c.index) << c.x << "," << c.y;
    EXPECT_FALSE(f.view.selectionActive);
    EXPECT_FALSE(f.view.tracking);
  }
}

TEST(MouseTest, TapsOnWideCharactersLandBeforeOrAfterThemWhole) {
  // "a", a wide ideograph on columns 1 and 2, "b" with a mark on column 3.
  struct Case { int x; int index; } cases[] = {
      {X(1, 3), 1},   // the left half of the ideograph's first cell: before it
      {X(1, 5), 2},   // past it: the column inside the ideograph lands after it
      {X(3, 5), 4},   // the right half of "b": after its mark
      {X(3, 2), 2},
  };
  for (const Case& c : cases) {
    ViewFixture f({L"a\u4E2Db\u0301c"}, 20, 10);
    Tap(f.view, c.x, Y(0));
    EXPECT_EQ(f.view.caret.index, c.index) << c.x;
  }
}

TEST(MouseTest, ShiftTapAndDragSelect) {
  ViewFixture f({L"abcdef", L"ghijk"}, 20, 10);
  f.Place(0, 1);
  Tap(f.view, X(3), Y(1), true);
  EXPECT_TRUE(f.view.selectionActive);
  EXPECT_EQ(f.view.anchor.index, 1);
  EXPECT_EQ(f.view.caret.line, 1);
  EXPECT_EQ(f.view.caret.index, 3);

  f.Place(0, 0);
  EXPECT_FALSE(OnPress(f.view, X(1), Y(0), false, false));  // no context menu
  OnDrag(f.view, X(4), Y(0));
  OnDrag(f.view, X(5), Y(1));
  OnRelease(f.view, X(5), Y(1));
  EXPECT_TRUE(f.view.selectionActive);
  EXPECT_EQ(f.view.anchor.index, 1);
  EXPECT_EQ(f.view.caret.line, 1);
  EXPECT_EQ(f.view.caret.index, 5);
  // Moves without a press do nothing.
  OnDrag(f.view, X(0), Y(0));
  EXPECT_EQ(f.view.caret.index, 5);
  // A drag back to where it began leaves no selection.
  OnPress(f.view, X(1), Y(0), false, false);
  OnDrag(f.view, X(4), Y(0));
  OnDrag(f.view, X(1), Y(0));
  OnRelease(f.view, X(1), Y(0));
  EXPECT_FALSE(f.view.selectionActive);
}

TEST(MouseTest, DraggingAboveTheWindowScrollsByWholeRows) {
  std::vector<std::wstring> lines(50, L"text");
  ViewFixture f(lines, 20, 10);
  ScrollRows(f.view, 20);
  f.Place(25, 0);
  OnPress(f.view, X(1), Y(5), false, false);
  OnDrag(f.view, X(1), -5);  // less than a row above: still the first visible row
  EXPECT_EQ(f.view.caret.line, 20);
  EXPECT_EQ(f.view.firstRow, 20);
  OnDrag(f.view, X(1), -2 * 16);  // two rows above
  EXPECT_EQ(f.view.caret.line, 18);
  EXPECT_EQ(f.view.firstRow, 18);
  OnDrag(f.view, X(1), -2 * 16);  // each move scrolls again
  EXPECT_EQ(f.view.firstRow, 16);
  OnRelease(f.view, 0, 0);
}

TEST(MouseTest, DoubleTaps) {
  struct Case { int x; bool shift; bool handled; int from; int to; } cases[] = {
      {X(5, 2), false, true, 4, 9},   // on "quick"
      {X(9, 2), false, true, 4, 9},   // on the space after it
      {X(0, 1), false, true, 0, 3},   // on "The"
      {X(0), false, true, 0, 3},      // on the margin's right edge: the text
      {X(12), false, true, 10, 15},   // on the last word of the line
      {X(0, -6), false, true, 0, 15}, // in the margin: the whole row
      {X(5), true, false, -1, -1},    // Shift in the text: a press
  };
  for (const Case& c : cases) {
    ViewFixture f({L"The quick brown", L"fox"}, 20, 10);
    Tap(f.view, c.x, Y(0));
    EXPECT_EQ(OnDoubleTap(f.view, c.x, Y(0), c.shift), c.handled);
    if (!c.handled) continue;
    EXPECT_TRUE(f.view.selectionActive);
    EXPECT_EQ(f.view.anchor.index, c.from) << c.x;
    EXPECT_EQ(f.view.caret.index, c.to) << c.x;
    EXPECT_FALSE(f.view.tracking);
  }
}

TEST(MouseTest, TapAndHoldKeepsASelectionOrMovesTheCaret) {
  ViewFixture f({L"abcdef", L"ghijk"}, 20, 10);
  f.Select(0, 1, 0, 4);
  EXPECT_TRUE(OnPress(f.view, X(2), Y(1), false, true));
  EXPECT_TRUE(f.view.selectionActive);
  EXPECT_EQ(f.view.caret.index, 4);
  EXPECT_EQ(f.view.caret.line, 0);
  EXPECT_FALSE(f.view.tracking);

  f.Place(0, 0);
  EXPECT_TRUE(OnPress(f.view, X(2), Y(1), false, true));
  EXPECT_FALSE(f.view.selectionActive);
  EXPECT_EQ(f.view.caret.line, 1);
  EXPECT_EQ(f.view.caret.index, 2);
  // Shift does not make a tap-and-hold select.
  EXPECT_TRUE(OnPress(f.view, X(4), Y(0), true, true));
  EXPECT_FALSE(f.view.selectionActive);
  EXPECT_EQ(f.view.caret.index, 4);
}

}  // namespace
