// The command line, hand-over data, relative names and the filter list of the entry point.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/CommandLine.h"

namespace {

std::vector<std::wstring> Split(const std::wstring& line) {
  std::vector<std::wstring> arguments;
  SplitCommandLine(line, arguments);
  return arguments;
}

using Arguments = std::vector<std::wstring>;

}  // namespace

TEST(CommandLine, SplitsAtBlanksAndTabsAndKeepsQuotedTextTogether) {
  struct Case { const wchar_t* line; Arguments expected; };
  const Case cases[] = {
      {L"", {}},
      {L" \t ", {}},
      {L"a.txt \"my file.txt\"", {L"a.txt", L"my file.txt"}},
      {L"  a\tb  ", {L"a", L"b"}},
      // A backslash keeps the quote after it, and both characters stay.
      {LR"("say \"hi\".txt" x)", {LR"(say \"hi\".txt)", L"x"}},
      {LR"("C:\dir\" next)", {LR"(C:\dir\" next)"}},
      {L"\"\" b", {L"", L"b"}},
      {L"a \"never closed  here", {L"a", L"never closed  here"}},
      {L"\"a\"\"b\"", {L"a", L"b"}},
      // A quote inside an unquoted argument is an ordinary character.
      {L"ab\"c d", {L"ab\"c", L"d"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Split(c.line), c.expected) << std::wstring(c.line).size();
}

TEST(CommandLine, HandOverDataIsReadOnlyWithinItsBytes) {
  const wchar_t text[] = L"a.c b.c";
  auto line = CommandLineFromHandOver(handOverKind, text, sizeof text);
  ASSERT_TRUE(line);
  EXPECT_EQ(*line, L"a.c b.c");

  // Without a terminating NUL the text ends with the data: the units after it are not read.
  const wchar_t longer[] = L"a.cXYZ";
  line = CommandLineFromHandOver(handOverKind, longer, 3 * sizeof(wchar_t));
  ASSERT_TRUE(line);
  EXPECT_EQ(*line, L"a.c");

  // The text ends at its first NUL.
  const wchar_t twoParts[] = L"a.c\0b.c";
  line = CommandLineFromHandOver(handOverKind, twoParts, sizeof twoParts);
  ASSERT_TRUE(line);
  EXPECT_EQ(*line, L"a.c");

  // The sender's buffer may start at an odd address.
  alignas(4) char unaligned[1 + sizeof text] = {};
  std::memcpy(unaligned + 1, text, sizeof text);
  line = CommandLineFromHandOver(handOverKind, unaligned + 1, sizeof text);
  ASSERT_TRUE(line);
  EXPECT_EQ(*line, L"a.c b.c");
}

TEST(CommandLine, MalformedHandOverDataIsRefused) {
  const wchar_t text[] = L"a.c";
  EXPECT_FALSE(CommandLineFromHandOver(2, text, sizeof text));
  EXPECT_FALSE(CommandLineFromHandOver(0, text, sizeof text));
  EXPECT_FALSE(CommandLineFromHandOver(handOverKind, text, 0));
  EXPECT_FALSE(CommandLineFromHandOver(handOverKind, text, 3));
  EXPECT_FALSE(CommandLineFromHandOver(handOverKind, nullptr, sizeof text));
}

TEST(CommandLine, RelativeNamesAreResolvedAgainstTheDefaultFolder) {
  struct Case { const wchar_t* argument; const wchar_t* folder; const wchar_t* expected; };
  const Case cases[] = {
      {LR"(\My Documents\a.txt)", LR"(\Temp)", LR"(\My Documents\a.txt)"},
      {LR"(C:\work\a.txt)", LR"(\Temp)", LR"(C:\work\a.txt)"},
      {LR"(C:\)", LR"(\Temp)", LR"(C:\)"},
      {L"a.txt", LR"(\My Documents)", LR"(\My Documents\a.txt)"},
      {L"a.txt", LR"(\)", LR"(\a.txt)"},
      {L"a.txt", LR"(C:\docs\)", LR"(C:\docs\a.txt)"},
      {LR"(src\main.c)", LR"(\My Documents)", LR"(\My Documents\src\main.c)"},
      {LR"(.\src\.\main.c)", LR"(\My Documents)", LR"(\My Documents\src\main.c)"},
      {LR"(..\main.c)", LR"(\My Documents\src)", LR"(\My Documents\main.c)"},
      {LR"(..\..\..\main.c)", LR"(\a\b)", LR"(\main.c)"},
      {LR"(..\a.txt)", LR"(C:\)", LR"(C:\a.txt)"},
      {LR"(x\..\main.c)", LR"(\a)", LR"(\a\main.c)"},
      {LR"(..x\.y\main.c)", LR"(\a)", LR"(\a\..x\.y\main.c)"},
      {L"*.c", LR"(Z:\tmp)", LR"(Z:\tmp\*.c)"},
      // An empty argument (a pair of quotes) is a name too short to carry a drive.
      {L"", LR"(C:\docs)", LR"(C:\docs\)"},
      {L"C", LR"(C:\docs)", LR"(C:\docs\C)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolveCommandLinePath(c.argument, c.folder), c.expected) << c.argument;
  }
}

TEST(CommandLine, APathLongerThanThePathLimitIsRefusedRatherThanCut) {
  const std::wstring folder = LR"(C:\)" + std::wstring(200, L'f');
  const std::wstring fits(maxPathLength - folder.size() - 1, L'n');
  EXPECT_EQ(ResolveCommandLinePath(fits, folder), folder + L"\\" + fits);
  EXPECT_FALSE(ResolveCommandLinePath(fits + L"x", folder));
  // Cut at the limit, this one would name the file above.
  EXPECT_FALSE(ResolveCommandLinePath(folder + L"\\" + fits + L".bak", L"\\"));
  // Going up makes a long argument short enough.
  EXPECT_EQ(ResolveCommandLinePath(LR"(..\)" + fits, folder + LR"(\sub)"), folder + L"\\" + fits);
}

TEST(CommandLine, TheFilterResourceBecomesPairsEndingWithAnEmptyString) {
  std::wstring list = FilterListFromResource(L"Text Files (*.txt)-*.txt-All Files-*.*--");
  EXPECT_EQ(list, std::wstring(L"Text Files (*.txt)\0*.txt\0All Files\0*.*\0\0\0\0", 42));
  // A text cut short by the buffer still ends the list.
  list = FilterListFromResource(L"Text-*.txt-All-*.*--", 8);
  EXPECT_EQ(list, std::wstring(L"Text\0*.t\0\0", 10));
}
