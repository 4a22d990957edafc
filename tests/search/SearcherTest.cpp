// The search engine: wrap-around in both directions, ignore case, whole words with and
// without a syntax definition's word characters, and when a preparation is made anew.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/Searcher.h"
#include "syntax/TestSyntax.h"
#include "text/Document.h"
#include "view/FakeSurface.h"

namespace {

using Place = At;
constexpr Place none{-1, -1};

struct Fixture {
  std::unique_ptr<Document> document = std::make_unique<Document>();
  Searcher searcher;

  explicit Fixture(const std::vector<std::wstring>& lines) { SetLines(*document, lines); }

  Place Find(Place from, bool forward) {
    TextPos pos(*document);
    SetPos(pos, from.index, from.line);
    const bool found =
        forward ? searcher.FindForward(*document, pos) : searcher.FindBackward(*document, pos);
    if (!found) {
      EXPECT_EQ(pos.line, from.line);
      EXPECT_EQ(pos.index, from.index);
      return none;
    }
    return {pos.line, pos.index};
  }
};

TEST(SearcherTest, FindsInBothDirectionsAndWrapsAroundOnce) {
  const std::vector<std::wstring> text = {L"ab x ab", L"none", L"xab"};
  struct Case { const char* what; Place from; bool forward; Place expected; } cases[] = {
      {"a hit at the start position is found", {0, 0}, true, {0, 0}},
      {"next line", {0, 6}, true, {2, 1}},
      {"wraps to the first line", {2, 2}, true, {0, 0}},
      {"later on the start line", {0, 1}, true, {0, 5}},
      {"backward: a hit must begin before the caret", {0, 5}, false, {0, 0}},
      {"backward right after a hit", {2, 3}, false, {2, 1}},
      {"backward wraps to the last line", {0, 0}, false, {2, 1}},
      {"backward to the previous lines", {2, 1}, false, {0, 5}},
  };
  for (const Case& c : cases) {
    Fixture f(text);
    f.searcher.SetFindText(L"ab");
    EXPECT_EQ(f.Find(c.from, c.forward), c.expected) << c.what;
  }
}

TEST(SearcherTest, ASelectedRangeBoundsTheSearchFromInsideAndOutsideIt) {
  // The range runs from line 0 index 3 to line 1 index 4: the hit at 1:3 ends beyond it.
  struct Case { Place from; bool forward; Place expected; } cases[] = {
      {{0, 0}, true, {0, 3}},  {{2, 0}, true, {0, 3}},  {{1, 1}, true, {0, 3}},
      {{2, 1}, false, {1, 0}}, {{1, 5}, false, {1, 0}}, {{0, 0}, false, {1, 0}},
      {{0, 4}, false, {0, 3}}, {{0, 3}, false, {1, 0}},
  };
  for (const Case& c : cases) {
    Fixture f({L"ab ab ab", L"ab ab", L"ab"});
    f.searcher.SetFindText(L"ab");
    f.searcher.SetOption(searchSelectedText, true);
    f.searcher.SetSelectedRange({f.document.get(), 0, 3, 1, 4});
    EXPECT_EQ(f.Find(c.from, c.forward), c.expected) << c.from.line << ':' << c.from.index;
  }
  // A range whose last lines have gone ends with the document.
  Fixture f({L"ab", L"x ab"});
  f.searcher.SetFindText(L"ab");
  f.searcher.SetOption(searchSelectedText, true);
  f.searcher.SetSelectedRange({f.document.get(), 1, 0, 7, 9});
  EXPECT_EQ(f.Find({0, 0}, true), (Place{1, 2}));
}

TEST(SearcherTest, AHitOnlyBeforeTheCaretOnItsLineIsFoundAfterTheWholeDocument) {
  Fixture f({L"word then", L"a", L"b"});
  f.searcher.SetFindText(L"word");
  EXPECT_EQ(f.Find({0, 3}, true), (Place{0, 0}));
  Fixture g({L"one line only x"});
  g.searcher.SetFindText(L"x");
  EXPECT_EQ(g.Find({0, 14}, false), (Place{0, 14})) << "the single line is searched twice";
}

TEST(SearcherTest, NothingIsFoundWithoutAnOccurrenceOrWithAnEmptyFindText) {
  Fixture f({L"abc", L"def"});
  f.searcher.SetFindText(L"zz");
  EXPECT_EQ(f.Find({1, 1}, true), none);
  EXPECT_EQ(f.Find({1, 1}, false), none);
  f.searcher.SetFindText(L"b");
  EXPECT_EQ(f.Find({1, 1}, true), (Place{0, 1}));
  // Emptying the find text is an edit: the next search prepares anew and finds nothing.
  f.searcher.SetFindText(L"");
  EXPECT_EQ(f.Find({1, 1}, true), none);
  EXPECT_EQ(f.Find({1, 1}, false), none);
}

TEST(SearcherTest, OptionsDecideWhatMatches) {
  const std::vector<std::wstring> text = {L"print(x);", L"int_x = Int;", L"\u00e9t\u00c9 int"};
  struct Case {
    const char* what;
    std::wstring pattern;
    bool ignoreCase;
    bool wholeWords;
    Place expected;  // the first hit from the start
  } cases[] = {
      {"plain text inside a word", L"int", false, false, {0, 2}},
      {"whole words skip print but take int before an underscore", L"int", false, true, {1, 0}},
      {"case matters without ignore case", L"INT", false, false, none},
      {"ignore case", L"INT", true, false, {0, 2}},
      {"ignore case and whole words", L"INT", true, true, {1, 0}},
      {"ignore case: a partial match is no hit", L"INX", true, false, none},
      {"ignore case beyond ASCII", L"\u00c9T\u00e9", true, false, {2, 0}},
      {"a pattern with punctuation is plain text under whole words", L"t(", false, true, {0, 4}},
      {"whole words: a letter ending the line still joins the word", L"in", false, true, none},
  };
  for (const Case& c : cases) {
    Fixture f(text);
    f.searcher.SetFindText(c.pattern);
    f.searcher.SetOption(searchIgnoreCase, c.ignoreCase);
    f.searcher.SetOption(searchWholeWords, c.wholeWords);
    EXPECT_EQ(f.Find({0, 0}, true), c.expected) << c.what;
  }
  // Backward, a candidate whose first unit differs is no hit either.
  Fixture g({L"ab xb"});
  g.searcher.SetFindText(L"AB");
  g.searcher.SetOption(searchIgnoreCase, true);
  EXPECT_EQ(g.Find({0, 5}, false), (Place{0, 0}));
  // An expression keeps whole words whatever its characters.
  Fixture f(text);
  f.searcher.SetFindText(L"in.");
  f.searcher.SetOption(searchRegularExpression, true);
  f.searcher.SetOption(searchWholeWords, true);
  EXPECT_EQ(f.Find({0, 0}, true), (Place{1, 0}));
}

TEST(SearcherTest, NoHitIsSkippedOverByRepeatedOrLookalikeUnits) {
  // U+0161 shares its low byte with "a".
  const std::wstring line = L"aababab\u0161ab \u0161\u0161a";
  for (const wchar_t* pattern : {L"abab", L"\u0161ab ", L"b\u0161ab", L"\u0161\u0161a", L"ab \u0161"}) {
    Fixture f({line});
    f.searcher.SetFindText(pattern);
    const int expected = static_cast<int>(line.find(pattern));
    EXPECT_EQ(f.Find({0, 0}, true), (Place{0, expected})) << expected;
  }
}

TEST(SearcherTest, WholeWordsUseTheWordCharactersOfAHighlightedDocument) {
  // In the C-like definition the underscore is a word character and a digit cannot start one.
  Fixture f({L"int_x 9int int"});
  f.searcher.SetFindText(L"int");
  f.searcher.SetOption(searchWholeWords, true);
  EXPECT_EQ(f.Find({0, 0}, true), (Place{0, 0})) << "plain: the underscore ends the word";
  f.document->highlighter = &CLikeSyntax();
  EXPECT_EQ(f.Find({0, 0}, true), (Place{0, 7})) << "the definition's word characters";
  EXPECT_TRUE(f.searcher.State().options[searchWholeWords]);
}

TEST(SearcherTest, TogglingAnOptionTwiceChangesNothingButItsValue) {
  Searcher searcher;
  EXPECT_TRUE(searcher.SetOption(searchIgnoreCase, true));
  EXPECT_FALSE(searcher.SetOption(searchIgnoreCase, true));
  EXPECT_TRUE(searcher.Option(searchIgnoreCase));
  EXPECT_FALSE(searcher.Option(searchWholeWords));
}

}  // namespace
