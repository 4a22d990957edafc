// The regular expression matcher: hits in both directions, options, groups in replacements,
// one-line reasons for invalid expressions and expressions that backtrack without end.
#include <gtest/gtest.h>

#include <string>

#include "search/RegexMatcher.h"

namespace {

struct Case {
  const wchar_t* pattern;
  const wchar_t* line;
  int from;
  bool forward;
  bool ignoreCase;
  bool wholeWords;
  int index;  // -1 for no hit
  int length;
};

TEST(RegexMatcherTest, FindsTheHitsOfAnExpressionInALine) {
  const Case cases[] = {
      {L"fo+", L"a foo b", 0, true, false, false, 2, 3},
      {L"o+", L"a foo b", 3, true, false, false, 3, 2},  // a hit may begin inside another
      {L"FO+", L"a foo b", 0, true, false, false, -1, 0},
      {L"FO+", L"a foo b", 0, true, true, false, 2, 3},
      {L"^foo", L"foo foo", 1, true, false, false, -1, 0},  // the text before from counts
      {L"\\bfoo", L"xfoo foo", 1, true, false, false, 5, 3},
      {L"foo$", L"foo foo", 0, true, false, false, 4, 3},
      {L"o", L"foo foo", 7, false, false, false, 6, 1},
      {L"o", L"foo foo", 5, false, false, false, 5, 1},
      {L"o+", L"foo foo", 3, false, false, false, 2, 1},  // the last hit beginning by from
      {L"o", L"foo", -1, false, false, false, -1, 0},
      {L"in", L"int in print", 0, true, false, true, 4, 2},
      {L"in", L"int in print", 11, false, false, true, 4, 2},
      {L"\\w+", L"ab cd", 1, true, false, true, 3, 2},  // whole words: not the rest of "ab"
      {L"x*", L"abc", 1, true, false, false, 1, 0},     // an empty hit
      {L"a", L"abc", 4, true, false, false, -1, 0},     // from beyond the line
      {L"\u00e9t\u00e9", L"L'\u00c9T\u00c9", 0, true, true, false, 2, 3},  // beyond ASCII
  };
  for (const Case& c : cases) {
    std::wstring error;
    auto matcher = RegexMatcher::Make(c.pattern, c.ignoreCase, c.wholeWords, nullptr, error);
    ASSERT_TRUE(matcher) << error;
    const LineHit hit = c.forward ? matcher->MatchForwardInLine(c.line, c.from)
                                  : matcher->MatchBackwardInLine(c.line, c.from);
    EXPECT_EQ(hit.index, c.index) << c.pattern << " in " << c.line << " from " << c.from;
    if (c.index >= 0) {
      EXPECT_EQ(hit.length, c.length) << c.pattern << " in " << c.line;
    }
  }
}

TEST(RegexMatcherTest, ReplacementPutsInTheGroups) {
  struct Replace {
    const wchar_t* pattern;
    const wchar_t* line;
    const wchar_t* replacement;
    const wchar_t* expected;
  };
  const Replace cases[] = {
      {L"(\\w+)=(\\w+)", L"a=b", L"$2=$1", L"b=a"},
      {L"o+", L"foo", L"[$&]", L"[oo]"},
      {L"(a)|(b)", L"b", L"<$1|$2|$9>", L"<|b|>"},  // a group that took no part or is none
      {L"a", L"a", L"$$1 $x $", L"$1 $x $"},
      {L"$", L"ab", L"[$&]", L"[]"},  // an empty hit at the line end
  };
  for (const Replace& c : cases) {
    std::wstring error;
    auto matcher = RegexMatcher::Make(c.pattern, false, false, nullptr, error);
    ASSERT_TRUE(matcher);
    const LineHit hit = matcher->MatchForwardInLine(c.line, 0);
    ASSERT_TRUE(hit.Found());
    EXPECT_EQ(matcher->Replacement(c.line, hit, c.replacement), c.expected) << c.pattern;
  }
}

TEST(RegexMatcherTest, AnInvalidExpressionSaysWhyInOneLine) {
  // Each with the place the engine complains about.
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"(abc", L"(at the end)"}, {L"a[b", L"(at the end)"}, {L"*a", L"(at 1)"},
      {L"a{2,1}", L"(at 5)"}, {L"\\", L"(at the end)"}};
  for (auto [pattern, place] : cases) {
    std::wstring error;
    EXPECT_FALSE(RegexMatcher::Make(pattern, false, false, nullptr, error)) << pattern;
    EXPECT_TRUE(error.ends_with(place)) << error;
    EXPECT_EQ(error.find(L'\n'), std::wstring::npos) << error;
    EXPECT_LT(error.size(), 120u) << error;
  }
}

TEST(RegexMatcherTest, RunawayBacktrackingGivesUpInsteadOfHanging) {
  std::wstring error;
  auto matcher = RegexMatcher::Make(L"(a+)+b", false, false, nullptr, error);
  ASSERT_TRUE(matcher);
  const std::wstring line(40, L'a');
  EXPECT_FALSE(matcher->MatchForwardInLine(line, 0).Found());
  EXPECT_TRUE(matcher->GaveUp());
  // A long line on an expression with nested repeats: no exhausted stack.
  auto deep = RegexMatcher::Make(L"(a|b)*c", false, false, nullptr, error);
  ASSERT_TRUE(deep);
  EXPECT_FALSE(deep->MatchForwardInLine(std::wstring(200000, L'a'), 0).Found());
  // Many lines of costly searches: past the deadline the matcher gives up within a few lines.
  auto late = RegexMatcher::Make(L"(a|b)*c", false, false, nullptr, error);
  late->SetDeadline(std::chrono::steady_clock::now() - std::chrono::seconds(1));
  int found = 0;
  for (int line = 0; line < 1000; ++line) found += late->MatchForwardInLine(L"abc", 0).Found();
  EXPECT_TRUE(late->GaveUp());
  EXPECT_GT(found, 0);
  EXPECT_LT(found, 1000);
}

}  // namespace
