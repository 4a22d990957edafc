// Word wrap, tab expansion, indentation widths, row totals and relayout.
#include <gtest/gtest.h>

#include "TextTestUtil.h"
#include "syntax/SyntaxDef.h"

namespace {

struct WrapCase {
  const char* name;
  std::wstring text;
  int wrap;
  int tabsize;
  int relindent;
  bool indent;
  std::vector<int> ends;
  int indentWidth;
};

}  // namespace

TEST(LayoutLine, WrapsWordsAtTheWrapWidth) {
  const std::wstring letters25(25, L'a');
  const WrapCase cases[] = {
      {"empty line", L"", 10, 4, 2, false, {0}, 0},
      {"fits", L"abc def", 10, 4, 2, false, {7}, 0},
      {"as wide as the wrap width with a tab", L"abc\tdefg", 8, 4, 2, false, {8}, 0},
      {"one column wider with a tab", L"abc\tdefg", 7, 4, 2, false, {4, 8}, 0},
      {"long word cut into pieces of the free width", letters25, 10, 4, 2, false, {10, 18, 25}, 0},
      {"word moves down whole", L"abcd efghij", 8, 4, 2, false, {5, 11}, 0},
      {"the delimiter makes a word one wider", L"abcdefgh ij", 8, 4, 2, false, {8, 11}, 0},
      {"a word ending exactly at the wrap width stays", L"abcdefghi jklmnopqrstuvwxyz", 10, 4, 2,
       false, {10, 18, 26, 27}, 0},
      {"a tab delimiter overhangs the wrap width", L"abcdefghi\tjk", 10, 4, 2, false, {10, 12}, 0},
      {"a long word after an overhanging tab", L"abcdefgh\t" + std::wstring(20, L'X'), 10, 8, 2,
       false, {9, 17, 25, 29}, 0},
      {"continuations start after the indentation", L"    " + std::wstring(30, L'b'), 20, 4, 2,
       false, {20, 34}, 4},
      {"tab indentation", L"\t\tabcdefghijklmnop", 16, 4, 1, false, {10, 17, 18}, 8},
      {"indentation too wide is reset", std::wstring(15, L' ') + L"abcdefghij", 20, 4, 2, true,
       {15, 25}, 0},
      {"indentation just narrow enough", std::wstring(14, L' ') + L"abcdefghij", 20, 4, 2, true,
       {20, 24}, 14},
      {"indentation limit without the indent flag", std::wstring(15, L' ') + L"abcdefghij", 20,
       4, 2, false, {20, 23, 25}, 15},
      {"continuation start not below the wrap width starts at 0", std::wstring(12, L'z'), 5, 4, 8,
       false, {5, 10, 12}, 0},
      {"wrap width below 1 is taken as 1", L"abc", 0, 4, 0, false, {1, 2, 3}, 0},
  };
  for (const auto& c : cases) {
    auto document = MakeDocument({c.text}, Settings(true, c.tabsize, c.relindent, c.indent), c.wrap);
    const Line& line = document->lines[0];
    EXPECT_EQ(EndsOf(line), c.ends) << c.name;
    EXPECT_EQ(IndentWidth(*document, line), c.indentWidth) << c.name;
    EXPECT_EQ(document->TotalRows(), static_cast<int>(c.ends.size())) << c.name;
  }
}

TEST(LayoutLine, WrapsWholeCharactersOnTheirCells) {
  const WrapCase cases[] = {
      // Ten letters of a base and a mark: pieces of four columns, eight units.
      {"marks stay with their base", [] {
         std::wstring text;
         for (int i = 0; i < 10; ++i) text += L"e\u0301";
         return text;
       }(), 4, 4, 0, false, {8, 16, 20}, 0},
      {"a wide character that does not fit in the last column goes down", L"a\u4E2D\u4E2D\u4E2D",
       4, 4, 0, false, {2, 4}, 0},
      {"a segment narrower than a wide character takes one all the same", L"\u4E2D\u4E2D", 1, 4,
       0, false, {1, 2}, 0},
      {"a pair is one character of two columns", L"ab\xD83D\xDE00" L"cd", 3, 4, 0, false, {2, 4, 6}, 0},
  };
  for (const auto& c : cases) {
    auto document = MakeDocument({c.text}, Settings(true, c.tabsize, c.relindent, c.indent), c.wrap);
    EXPECT_EQ(EndsOf(document->lines[0]), c.ends) << c.name;
  }
}

TEST(LayoutLine, SyntaxWordCharactersAreNoDelimiters) {
  SyntaxDef syntax;
  syntax.wordFirstSet = {{L'_', L'_'}};
  DocClass settings = Settings(true, 4, 0);
  EXPECT_EQ(EndsOf(MakeDocument({L"ab_cdefgh x"}, settings, 8)->lines[0]), (std::vector<int>{3, 11}));
  settings.hassyntax = true;
  settings.syntax = &syntax;
  const auto highlighted = MakeDocument({L"ab_cdefgh x"}, settings, 8);
  EXPECT_EQ(EndsOf(highlighted->lines[0]), (std::vector<int>{8, 11}));
  EXPECT_TRUE(IsDelimiter(*highlighted, L' '));
  EXPECT_FALSE(IsDelimiter(*highlighted, L'\u00E9'));
}

TEST(LayoutLine, WithoutWrapEveryLineIsOneSegmentAsWideAsItsTabbedText) {
  struct {
    std::wstring text;
    int width;
  } const cases[] = {
      {L"", 0}, {L"abc", 3}, {L"\t", 4}, {L"abc\td", 5}, {L"abcd\te", 9}, {L"\ta\t\tb", 13},
      {L"\u4E2D\tb", 5}, {L"e\u0301\u0302x", 2}, {L"\xD83D\xDE00", 2},
  };
  for (const auto& c : cases) {
    auto document = MakeDocument({c.text, std::wstring(300, L'y')}, Settings(false, 4, 2), 10);
    EXPECT_EQ(EndsOf(document->lines[0]), std::vector<int>{static_cast<int>(c.text.size())});
    EXPECT_EQ(LineWidth(*document, document->lines[0]), c.width);
    EXPECT_EQ(document->widestLine, 300);
    EXPECT_EQ(document->wrapWidth, Document::noWrapWidth);
  }
  auto wrapped = MakeDocument({L"ab"}, Settings(true, 4, 2), 10);
  EXPECT_EQ(LineWidth(*wrapped, wrapped->lines[0]), 10);
  EXPECT_EQ(wrapped->widestLine, 10);
}

TEST(RowTotals, LineOfRowFindsAndClampsRows) {
  // Lines of 1, 3 and 2 segments.
  auto document = MakeDocument({L"a", std::wstring(25, L'b'), std::wstring(15, L'c')},
                               Settings(true, 4, 2), 10);
  ASSERT_EQ(RowTotalsOf(*document), (std::vector<int>{1, 4, 6}));
  struct {
    int row, line, clampedRow;
  } const cases[] = {{-5, 0, 0}, {0, 0, 0}, {1, 1, 1}, {3, 1, 3}, {4, 2, 4},
                     {5, 2, 5},  {6, 2, 5}, {100, 2, 5}};
  for (const auto& c : cases) {
    int row = c.row;
    EXPECT_EQ(LineOfRow(*document, row), c.line) << c.row;
    EXPECT_EQ(row, c.clampedRow) << c.row;
  }
  EXPECT_EQ(RowsBefore(*document, 0), 0);
  EXPECT_EQ(RowsBefore(*document, 2), 4);
  EXPECT_EQ(SegmentStartColumn(*document, document->lines[1], 0), 0);
  EXPECT_EQ(SegmentStartColumn(*document, document->lines[1], 2), 2);
  EXPECT_EQ(SegmentStartColumn(*document, document->lines[1], -1), 0);
}

TEST(Relayout, UnchangedSettingsAndWidthChangeNothing) {
  DocClass settings = Settings(true, 4, 2);
  auto document = MakeDocument({std::wstring(25, L'b')}, settings, 10);
  DocClass other = settings;
  other.fontsize = 200;  // not a layout setting
  EXPECT_FALSE(Relayout(*document, other, 10));

  EXPECT_TRUE(Relayout(*document, other, 20));
  EXPECT_EQ(EndsOf(document->lines[0]), (std::vector<int>{20, 25}));
  EXPECT_EQ(RowTotalsOf(*document), std::vector<int>{2});

  other.wordwrap = false;
  EXPECT_TRUE(Relayout(*document, other, 20));
  EXPECT_EQ(RowTotalsOf(*document), std::vector<int>{1});
  EXPECT_EQ(document->widestLine, 25);
  // Without wrap the window's width makes no difference to the layout.
  EXPECT_FALSE(Relayout(*document, other, 30));
}

TEST(Relayout, ATabSizeOrRelativeIndentAloneLaysOutAgain) {
  DocClass settings = Settings(true, 4, 2);
  auto document = MakeDocument({L"\t" + std::wstring(25, L'b')}, settings, 10);
  ASSERT_EQ(EndsOf(document->lines[0]), (std::vector<int>{7, 11, 15, 19, 23, 26}));
  DocClass other = settings;
  other.relindent = 0;
  EXPECT_TRUE(Relayout(*document, other, 10));
  EXPECT_EQ(EndsOf(document->lines[0]), (std::vector<int>{7, 13, 19, 25, 26}));
  other.tabsize = 8;
  EXPECT_TRUE(Relayout(*document, other, 10));
  // A tab to column 8 leaves no room after it.
  EXPECT_EQ(IndentWidth(*document, document->lines[0]), 0);
  EXPECT_EQ(EndsOf(document->lines[0]), (std::vector<int>{3, 13, 23, 26}));
}

TEST(Relayout, AChangedIndentFlagLaysOutAgainUnderWordWrap) {
  const DocClass settings = Settings(true, 4, 2, false);
  auto document = MakeDocument({std::wstring(15, L' ') + L"abcdefghij"}, settings, 20);
  EXPECT_EQ(IndentWidth(*document, document->lines[0]), 15);
  DocClass other = settings;
  other.indent = true;
  EXPECT_TRUE(Relayout(*document, other, 20));
  EXPECT_EQ(IndentWidth(*document, document->lines[0]), 0);
  EXPECT_EQ(EndsOf(document->lines[0]), (std::vector<int>{15, 25}));
  document->settings.indent = false;
  LayoutDocument(*document);
  EXPECT_EQ(RowTotalsOf(*document), std::vector<int>{3});
}
