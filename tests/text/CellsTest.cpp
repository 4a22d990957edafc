// The cells of characters and the steps over whole characters.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/Cells.h"

TEST(Cells, EachClassOfCharacterTakesItsCells) {
  struct {
    char32_t c;
    int cells;
    const char* what;
  } const cases[] = {
      {U'a', 1, "ASCII"},
      {0xE9, 1, "Latin-1 letter"},
      {0x03B1, 1, "Greek"},
      {0x05D0, 1, "Hebrew letter"},
      {0x0915, 1, "Devanagari letter"},
      {0x093F, 1, "Devanagari spacing vowel sign (Mc)"},
      {0x0301, 0, "combining acute (Mn)"},
      {0x094D, 0, "Devanagari virama (Mn)"},
      {0x0E31, 0, "Thai vowel above (Mn)"},
      {0x20DD, 0, "enclosing circle (Me)"},
      {0x200D, 0, "zero-width joiner"},
      {0x200C, 0, "zero-width non-joiner"},
      {0xFE0F, 0, "variation selector"},
      {0xE0100, 0, "variation selector supplement"},
      {0x302A, 0, "ideographic tone mark: a mark though wide"},
      {0x4E2D, 2, "CJK ideograph"},
      {0x9FFF, 2, "unassigned in the ideograph block"},
      {0x3042, 2, "hiragana"},
      {0xAC00, 2, "Hangul syllable"},
      {0x3000, 2, "ideographic space (F)"},
      {0xFF21, 2, "fullwidth A (F)"},
      {0xFF61, 1, "halfwidth katakana punctuation (H)"},
      {0x1F600, 2, "emoji"},
      {0x20000, 2, "CJK extension B"},
      {0x2764, 1, "heart: a symbol shown as text unless selected"},
      {0x200B, 1, "zero-width space stays visible"},
      {0xD800, 1, "lone surrogate"},
  };
  for (const auto& c : cases) EXPECT_EQ(CodePointCells(c.c), c.cells) << c.what;
  EXPECT_STREQ(CellTableVersion(), "15.0.0");
}

TEST(Cells, StepsForwardBackwardAndBoundariesAgree) {
  // Units that make every kind of character and of misplaced unit: plain, tab, marks, joiners,
  // selectors, wide, pairs (an emoji, a selector from the supplement) and lone surrogates.
  const std::vector<std::wstring> pieces = {
      L"a", L"\t", L"\u0301", L"\u200D", L"\uFE0F", L"\u4E2D", L"\xD83D\xDE00",
      L"\xDB40\xDD00", std::wstring(1, wchar_t(0xD83D)), std::wstring(1, wchar_t(0xDE00))};
  std::mt19937 random(33);
  for (int round = 0; round < 3000; ++round) {
    std::wstring text;
    const int count = static_cast<int>(random() % 9);
    for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    const std::wstring_view view(text);
    std::vector<std::size_t> boundaries{0};
    for (std::size_t i = 0; i < view.size();) {
      i += static_cast<std::size_t>(CharacterAt(view, i).units);
      boundaries.push_back(i);
    }
    ASSERT_EQ(boundaries.back(), view.size());
    for (std::size_t k = 1; k < boundaries.size(); ++k)
      ASSERT_EQ(CharacterStartBefore(view, boundaries[k]), boundaries[k - 1]) << round;
    std::size_t next = 0;
    for (std::size_t i = 0; i <= view.size(); ++i) {
      const bool boundary = next < boundaries.size() && boundaries[next] == i;
      if (boundary) ++next;
      ASSERT_EQ(IsCharacterBoundary(view, i), boundary) << round << " at " << i;
    }
    // Every character of one unit that is not a mark joins nothing: the fast test agrees.
    ASSERT_EQ(AllSingleCells(view, 0, view.size()), text.find_first_not_of(L"a\t") == std::wstring::npos)
        << round;
  }
}

TEST(Cells, ColumnsCountCellsAndTabStops) {
  struct {
    std::wstring text;
    std::vector<int> columns;  // the column before each unit, and at the end
    std::size_t first;         // the index of the first column past 0
  } const cases[] = {
      // A tab after a wide character goes to the tab stop after its second cell.
      {L"\u4E2D\tb", {0, 2, 4, 5}, 1},
      // Marks take no column; a position inside a character shows before it.
      {L"e\u0301\u0302x", {0, 0, 0, 1, 2}, 3},
      // A mark after a tab stands alone in a cell of its own.
      {L"\t\u0301", {0, 4, 5}, 1},
      {L"\xD83D\xDE00!", {0, 0, 2, 3}, 2},
  };
  for (const auto& c : cases) {
    const std::wstring_view text(c.text);
    for (std::size_t i = 0; i <= text.size(); ++i)
      EXPECT_EQ(ColumnAfter(text, 0, i, 0, 4), c.columns[i]) << i;
    // Passing to column 1 steps over the whole first character.
    int column = 0;
    EXPECT_EQ(PassColumns(text, 0, text.size(), column, 1, 4), c.first);
    EXPECT_EQ(column, c.columns[c.first]);
  }
}
