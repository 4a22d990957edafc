// Positions: segments and visual columns, and moves across segment and line ends.
#include <gtest/gtest.h>

#include "TextTestUtil.h"

namespace {

struct Shown {
  int line, index, segment, column;
  friend bool operator==(const Shown&, const Shown&) = default;
};
std::ostream& operator<<(std::ostream& out, const Shown& s) {
  return out << "{" << s.line << "," << s.index << "," << s.segment << "," << s.column << "}";
}
Shown Of(const TextPos& pos) { return {pos.line, pos.index, pos.segment, pos.visualColumn}; }

// Line 0 has segments ending at 10, 18 and 25 (continuations start at column 2); line 1 is "ab".
std::unique_ptr<Document> Wrapped() {
  return MakeDocument({std::wstring(25, L'a'), L"ab"}, Settings(true, 4, 2), 10);
}

}  // namespace

TEST(TextPos, SetPosClampsAndShowsSegmentEndsOnTheirOwnSegment) {
  auto document = Wrapped();
  struct {
    int line, index;
    Shown shown;
  } const cases[] = {
      {0, 0, {0, 0, 0, 0}},    {0, 9, {0, 9, 0, 9}},    {0, 10, {0, 10, 0, 10}},
      {0, 11, {0, 11, 1, 3}},  {0, 18, {0, 18, 1, 10}}, {0, 19, {0, 19, 2, 3}},
      {0, 25, {0, 25, 2, 9}},  {0, 99, {0, 25, 2, 9}},  {-3, 4, {0, 4, 0, 4}},
      {7, 1, {1, 1, 0, 1}},    {1, -2, {1, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    TextPos pos(*document);
    SetPos(pos, c.index, c.line);
    EXPECT_EQ(Of(pos), c.shown) << c.line << "," << c.index;
  }
}

TEST(TextPos, MovesOntoSegmentEndsKeepTheirSegment) {
  auto document = Wrapped();
  TextPos pos = PosAt(*document, 0, 9);
  MoveRight(pos);  // onto the end of segment 0: stays on it
  EXPECT_EQ(Of(pos), (Shown{0, 10, 0, 10}));
  MoveRight(pos);
  EXPECT_EQ(Of(pos), (Shown{0, 11, 1, 3}));
  MoveLeft(pos);  // onto the end of segment 0: shows at the start of segment 1
  EXPECT_EQ(Of(pos), (Shown{0, 10, 1, 2}));
  MoveLeft(pos);
  EXPECT_EQ(Of(pos), (Shown{0, 9, 0, 9}));

  pos = PosAt(*document, 0, 25);
  MoveRight(pos);  // end of a line: start of the next
  EXPECT_EQ(Of(pos), (Shown{1, 0, 0, 0}));
  MoveLeft(pos);  // start of a line: end of the previous, on its last segment
  EXPECT_EQ(Of(pos), (Shown{0, 25, 2, 9}));
  EXPECT_EQ(AbsoluteRow(pos), 2);

  pos = PosAt(*document, 0, 0);
  MoveLeft(pos);
  EXPECT_EQ(Of(pos), (Shown{0, 0, 0, 0}));
  pos = PosAt(*document, 1, 2);
  MoveRight(pos);
  EXPECT_EQ(Of(pos), (Shown{1, 2, 0, 2}));
  EXPECT_EQ(AbsoluteRow(pos), 3);
  MoveToLineEnd(pos = PosAt(*document, 0, 3));
  EXPECT_EQ(Of(pos), (Shown{0, 25, 2, 9}));
  pos.index = 3;  // a segment two rows beyond the index walks back to the one holding it
  ComputeVisualColumn(pos);
  EXPECT_EQ(Of(pos), (Shown{0, 3, 0, 3}));
}

TEST(TextPos, TabsAdvanceToTheNextStopOfTheScreenGrid) {
  // Tab size 4; the continuation starts at column 2 and keeps the grid's tab stops.
  auto document = MakeDocument({L"\ta\t\tb"}, Settings(true, 4, 2), 40);
  const int columns[] = {0, 4, 5, 8, 12, 13};
  for (int index = 0; index <= 5; ++index)
    EXPECT_EQ(PosAt(*document, 0, index).visualColumn, columns[index]) << index;
  TextPos pos = PosAt(*document, 0, 0);
  for (int index = 1; index <= 5; ++index) {
    MoveRight(pos);
    EXPECT_EQ(pos.visualColumn, columns[index]) << index;
  }
  document = MakeDocument({L"", L"abcdefgh a\tb"}, Settings(true, 4, 2), 10);
  ASSERT_EQ(EndsOf(document->lines[1]), (std::vector<int>{9, 12}));
  EXPECT_EQ(PosAt(*document, 1, 11).visualColumn, 4);  // "a" at 2, the tab to 4
  EXPECT_EQ(PosAt(*document, 1, 12).visualColumn, 5);
}

TEST(TextPos, MovesStepOverWholeCharactersOnTheirCells) {
  // "a", an emoji (a pair), "e" with two marks, a wide ideograph, a tab, a mark standing alone
  // after the tab, "b".
  auto document =
      MakeDocument({L"a\xD83D\xDE00" L"e\u0301\u0302\u4E2D\t\u0301b", L"c"}, Settings(false, 4, 2), 10);
  const Shown stops[] = {{0, 0, 0, 0}, {0, 1, 0, 1}, {0, 3, 0, 3},  {0, 6, 0, 4},
                         {0, 7, 0, 6}, {0, 8, 0, 8}, {0, 9, 0, 9}, {0, 10, 0, 10}};
  TextPos pos = PosAt(*document, 0, 0);
  for (const Shown& stop : stops) {
    EXPECT_EQ(Of(pos), stop);
    MoveRight(pos);
  }
  EXPECT_EQ(Of(pos), (Shown{1, 0, 0, 0}));
  MoveLeft(pos);
  for (auto stop = std::rbegin(stops); stop != std::rend(stops); ++stop) {
    EXPECT_EQ(Of(pos), *stop);
    MoveLeft(pos);
  }

  // A position inside a character (as a tap or a search could place it) goes to its end or
  // its start; one at a boundary stays.
  struct {
    int index;
    bool forward;
    int kept;
  } const inside[] = {{2, true, 3}, {2, false, 1}, {4, true, 6}, {5, false, 3}, {9, true, 9}, {9, false, 9}};
  for (const auto& c : inside) {
    pos = PosAt(*document, 0, c.index);
    KeepCharacterWhole(pos, c.forward);
    EXPECT_EQ(pos.index, c.kept) << c.index << c.forward;
  }
}
