// Wildcard matching of file names.
#include "config/Wildcard.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/Platform.h"

namespace {

TEST(WildcardMatch, Cases) {
  struct Case {
    const wchar_t* name;
    const wchar_t* pattern;
    bool matches;
  };
  const Case cases[] = {
      // Plain characters compare without regard to case; the whole name must be covered.
      {L"notes.TXT", L"*.txt", true},
      {L"notes.txt", L"notes.tx", false},
      {L"notes.txt", L"otes.txt", false},
      {L"", L"", true},
      {L"a", L"", false},
      // "?" is exactly one character.
      {L"ab", L"a?", true},
      {L"a", L"a?", false},
      {L"abc", L"a?", false},
      // "*" is any run, the empty one included.
      {L"", L"*", true},
      {L"x.c", L"*.c*", true},
      {L"x.cpp", L"*.c*", true},
      {L"x.cpp", L"*.c", false},
      {L"makefile", L"makefile*", true},
      {L"a.b.c", L"*.c", true},
      {L"aXbXc", L"a*b*c", true},
      {L"abcabd", L"*abd", true},
      {L"abcab", L"*abd", false},
      {L"ab", L"**a**b**", true},
      // Sets test the upper-cased character against the set as written.
      {L"main.c", L"[a-z]*.c", false},
      {L"main.c", L"[A-Z]*.c", true},
      {L"Main.c", L"[A-Z]*.c", true},
      {L"3.c", L"[A-Z]*.c", false},
      {L"b1", L"[ABC][0-9]", true},
      {L"d1", L"[ABC][0-9]", false},
      {L"-", L"[-A]", true},
      {L"-", L"[A-]", true},
      {L"b", L"[A-]", false},
      {L"a", L"[]", false},
      // A set without "]" never matches.
      {L"a[b", L"a[b", false},
      {L"ab", L"a[B", false},
      {L"", L"[A", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WildcardMatch(c.name, c.pattern), c.matches)
        << testing::PrintToString(std::wstring(c.name)) << " "
        << testing::PrintToString(std::wstring(c.pattern));
}

// Tries every split of every "*": the plain definition the fast matcher must agree with.
bool ReferenceMatch(const std::wstring& name, std::size_t n, const std::wstring& pattern, std::size_t p) {
  if (p == pattern.size()) return n == name.size();
  if (pattern[p] == L'*') {
    for (std::size_t k = n; k <= name.size(); ++k)
      if (ReferenceMatch(name, k, pattern, p + 1)) return true;
    return false;
  }
  if (n == name.size()) return false;
  std::size_t next = p + 1;
  bool one = false;
  if (pattern[p] == L'?') {
    one = true;
  } else if (pattern[p] == L'[') {
    std::size_t close = pattern.find(L']', p + 1);
    if (close == std::wstring::npos) return false;
    next = close + 1;
    wchar_t ch = platform::ToUpper(name[n]);
    for (std::size_t i = p + 1; i < close && !one; ++i) {
      if (i + 2 < close && pattern[i + 1] == L'-') {
        one = pattern[i] <= ch && ch <= pattern[i + 2];
        i += 2;
      } else {
        one = pattern[i] == ch;
      }
    }
  } else {
    one = platform::ToUpper(pattern[p]) == platform::ToUpper(name[n]);
  }
  return one && ReferenceMatch(name, n + 1, pattern, next);
}

TEST(WildcardMatch, AgreesWithTryingEverySplit) {
  std::mt19937 random(7);
  const std::wstring nameChars = L"abAB.";
  const std::wstring patternChars = L"aAb.*?*[]-B";
  auto make = [&](const std::wstring& alphabet, int maxLength) {
    std::wstring text(random() % (maxLength + 1), L' ');
    for (auto& ch : text) ch = alphabet[random() % alphabet.size()];
    return text;
  };
  for (int i = 0; i < 20000; ++i) {
    std::wstring name = make(nameChars, 7);
    std::wstring pattern = make(patternChars, 6);
    ASSERT_EQ(WildcardMatch(name, pattern), ReferenceMatch(name, 0, pattern, 0))
        << testing::PrintToString(name) << " " << testing::PrintToString(pattern);
  }
}

TEST(WildcardMatch, ManyStarsStayFast) {
  // Trying every split takes exponential time here; the matcher must not.
  std::wstring name(5000, L'a');
  EXPECT_FALSE(WildcardMatch(name, L"*a*a*a*a*a*a*a*a*a*a*a*a*b"));
  EXPECT_TRUE(WildcardMatch(name + L"b", L"*a*a*a*a*a*a*a*a*a*a*a*a*b"));
}

}  // namespace
