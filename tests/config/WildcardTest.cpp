// Wildcard matching of file names.
#include "config/Wildcard.h"

#include <gtest/gtest.h>

namespace {

TEST(WildcardMatch, Cases) {
  struct Case { const wchar_t* name; const wchar_t* pattern; bool matches; };
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
      {L"x", L"[BXA]", true},  // a set lists characters unless a "-" stands between
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

TEST(WildcardMatch, ManyStarsStayFast) {
  // Trying every split takes exponential time here; the matcher must not.
  std::wstring name(5000, L'a');
  EXPECT_FALSE(WildcardMatch(name, L"*a*a*a*a*a*a*a*a*a*a*a*a*b"));
  EXPECT_TRUE(WildcardMatch(name + L"b", L"*a*a*a*a*a*a*a*a*a*a*a*a*b"));
}

}  // namespace
