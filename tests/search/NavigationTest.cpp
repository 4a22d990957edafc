// Marks, goto line and bracket matching on a view over the recording surface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/Navigation.h"
#include "text/Line.h"
#include "view/Caret.h"
#include "view/FakeSurface.h"

namespace {

At CaretOf(const EditView& view) { return {view.caret.line, view.caret.index}; }

bool Marked(const ViewFixture& f, int line) {
  return f.document->lines[line].Marked();
}

void MarkLines(ViewFixture& f, std::initializer_list<int> lines) {
  for (int line : lines) {
    f.Place(line, 0);
    ToggleMark(f.view);
  }
}

TEST(NavigationTest, ToggleMarkRedrawsTheMarginOfTheLinesFirstRowAtOnce) {
  ViewFixture f({L"a", L"bbbbbbbbbbbbbbbbbbbb", L"c"}, 10, 10, PlainSettings(true));
  f.Place(1, 15);  // on the second row of the wrapped line
  ToggleMark(f.view);
  EXPECT_TRUE(Marked(f, 1));
  ASSERT_EQ(f.surface.invalidated.size(), 1u);
  EXPECT_EQ(f.surface.invalidated[0], (PixelRect{0, 16, 10, 32}));
  EXPECT_EQ(f.surface.updates, 1);
  ToggleMark(f.view);
  EXPECT_FALSE(Marked(f, 1));
}

TEST(NavigationTest, NextAndPreviousMarkFollowTheirWrapRules) {
  struct Case {
    const char* what;
    std::vector<int> marks;
    At caret;
    bool next;
    At expected;
  } cases[] = {
      {"next from above", {3}, {1, 1}, true, {3, 0}},
      {"next wraps", {1}, {3, 1}, true, {1, 0}},
      {"next wraps round to the line before", {2}, {3, 1}, true, {2, 0}},
      {"next from the only mark stays", {2}, {2, 1}, true, {2, 1}},
      {"previous from line 0 wraps to the last mark", {1, 3}, {0, 0}, false, {3, 0}},
      {"previous from the only mark stays", {2}, {2, 1}, false, {2, 1}},
      {"previous from the only mark on the last line", {4}, {4, 1}, false, {4, 0}},
      {"previous finds the nearest before", {0, 2}, {3, 0}, false, {2, 0}},
  };
  for (const Case& c : cases) {
    ViewFixture f({L"l0", L"l1", L"l2", L"l3", L"l4"}, 20, 10);
    for (int line : c.marks) MarkLines(f, {line});
    f.Select(c.caret.line, 0, c.caret.line, c.caret.index);
    if (c.next) {
      NextMark(f.view);
    } else {
      PrevMark(f.view);
    }
    EXPECT_EQ(CaretOf(f.view), c.expected) << c.what;
  }
  // Next Mark without a hit still ends the selection; Prev Mark leaves it.
  ViewFixture f({L"l0", L"l1"}, 20, 10);
  f.Select(0, 0, 0, 2);
  PrevMark(f.view);
  EXPECT_TRUE(f.view.selectionActive);
  NextMark(f.view);
  EXPECT_FALSE(f.view.selectionActive);
}

TEST(NavigationTest, ClearMarksLeavesNoMarkAndRepaintsTheMargin) {
  ViewFixture f({L"a", L"b", L"c"}, 20, 10);
  MarkLines(f, {0, 2});
  f.surface.Forget();
  ClearMarks(f.view);
  for (int line = 0; line < 3; ++line) EXPECT_FALSE(Marked(f, line)) << line;
  ASSERT_EQ(f.surface.invalidated.size(), 1u);
  EXPECT_EQ(f.surface.invalidated[0].right, 10);
  EXPECT_GE(f.surface.invalidated[0].bottom, 160);
  f.surface.Forget();
  ClearMarks(f.view);  // no mark left: nothing to repaint
  EXPECT_TRUE(f.surface.invalidated.empty());
}

TEST(NavigationTest, GotoLineNumbersAreBroughtIntoTheDocument) {
  Lines lines(50, L"text");
  ViewFixture f(lines, 20, 10);
  for (auto [number, line] : {std::pair{3, 2}, {99, 49}, {0, 0}, {-4, 0}}) {
    f.Place(10, 2);
    GotoLine(f.view, LineOfNumber(f.view, number));
    EXPECT_EQ(CaretOf(f.view), (At{line, 0})) << number;
    EXPECT_FALSE(f.view.selectionActive) << number;  // a jump selects nothing
  }
  // Far away the target line is centred.
  GotoLine(f.view, 40);
  EXPECT_EQ(f.view.firstRow, 40 - 5);
}

TEST(NavigationTest, GotoPlaceCentresItsRowEvenWhenItWasInView) {
  Lines lines(50, L"text");
  struct Case { int firstRow, line, index; At caret; int expectedFirstRow; } cases[] = {
      {12, 20, 2, {20, 2}, 15},   // in view, low on the screen
      {0, 8, 9, {8, 4}, 3},       // an index beyond the line: its end
      {0, 2, 0, {2, 0}, 0},       // the view cannot scroll above the first line
      {0, 30, -1, {30, 0}, 25},   // off screen
      {0, 99, 0, {49, 0}, 40},    // beyond the document: its last line, at the bottom
  };
  for (const Case& c : cases) {
    ViewFixture f(lines, 20, 10);
    ScrollRows(f.view, c.firstRow);
    ASSERT_EQ(f.view.firstRow, c.firstRow);
    GotoPlace(f.view, c.line, c.index);
    EXPECT_EQ(CaretOf(f.view), c.caret) << c.line;
    EXPECT_EQ(f.view.firstRow, c.expectedFirstRow) << c.line;
  }
}

TEST(NavigationTest, MatchPairCountsNestedPairsOfTheSameBrackets) {
  DocClass settings = PlainSettings();
  settings.openbrackets = L"(<";
  settings.closebrackets = L")";
  struct Case { const char* what; Lines text; At caret; bool found; At expected; } cases[] = {
      {"outer opening", {L"a(b(c)d)e"}, {0, 1}, true, {0, 7}},
      {"right after the outer closing", {L"a(b(c)d)e"}, {0, 8}, true, {0, 1}},
      {"inner opening", {L"a(b(c)d)e"}, {0, 3}, true, {0, 5}},
      {"the bracket under the caret wins", {L"()"}, {0, 1}, true, {0, 0}},
      {"across lines", {L"(", L"x", L")"}, {0, 0}, true, {2, 0}},
      {"no partner", {L"((x)"}, {0, 0}, false, {0, 0}},
      {"no bracket", {L"abc"}, {0, 1}, false, {0, 1}},
      {"no partner in the other list", {L"<x>"}, {0, 0}, false, {0, 0}},
      {"other brackets do not count", {L"[(])"}, {0, 1}, true, {0, 3}},
      {"over wide, marked and paired characters", {L"(\u4E2De\u0301", L"\xD83D\xDE00)"}, {0, 0}, true, {1, 2}},
      {"and back", {L"(\u4E2De\u0301", L"\xD83D\xDE00)"}, {1, 3}, true, {0, 0}},
  };
  for (const Case& c : cases) {
    ViewFixture f(c.text, 20, 10, settings);
    f.Place(c.caret.line, c.caret.index);
    EXPECT_EQ(MatchPair(f.view), c.found) << c.what;
    EXPECT_EQ(CaretOf(f.view), c.expected) << c.what;
  }
}

}  // namespace
