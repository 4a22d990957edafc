// The variables of Tools command lines and the text of captured output.
#include <gtest/gtest.h>

#include "frame/ToolCommands.h"

namespace {

ToolVariables Of(const std::wstring& path) {
  return ToolVariables::For(DocumentName::FromPath(path), false);
}

}  // namespace

TEST(ToolCommands, VariablesExpandToThePartsOfTheDocumentsPath) {
  ToolVariables main = Of(LR"(\My Documents\src\main.c)");
  struct Case { const wchar_t* text; const wchar_t* expected; };
  const Case cases[] = {
      {LR"($filepath\$filename.o)", LR"(\My Documents\src\main.o)"},
      {L"$unixfullname", L"/My Documents/src/main.c"},
      {L"$fullname", LR"(\My Documents\src\main.c)"},
      {L"-c $fname -x $fileext", L"-c main.c -x c"},
      // Unknown names, a lone "$" and a different case stay as they are.
      {L"$$ $file $FNAME cost$", L"$$ $file $FNAME cost$"},
      {L"$fnamex", L"main.cx"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandToolVariables(c.text, main), c.expected) << c.text;
}

TEST(ToolCommands, AnInsertedValueIsNotExpandedAgain) {
  ToolVariables odd = Of(LR"(\$fname\x.txt)");
  EXPECT_EQ(ExpandToolVariables(L"$filepath|$fname", odd), LR"(\$fname|x.txt)");
}

TEST(ToolCommands, NamesWithoutExtensionAndUntitledDocuments) {
  ToolVariables plain = Of(LR"(\src\makefile)");
  EXPECT_EQ(ExpandToolVariables(L"[$fileext] $filename=$fname", plain), L"[] makefile=makefile");

  DocumentName untitled;
  untitled.name = L"doc1";
  ToolVariables values = ToolVariables::For(untitled, true);
  EXPECT_EQ(ExpandToolVariables(L"$fullname $unixfullname $fname", values), L"doc1 doc1 doc1");
  EXPECT_EQ(ExpandToolVariables(L"[$filename][$fileext][$filepath]", values), L"[][][]");
}

TEST(ToolCommands, CapturedOutputBecomesLinesWithTheExitCodeLastWhenNotZero) {
  const unsigned oem = 437;
  struct Case { std::string output; unsigned long exitCode; std::wstring expected; } cases[] = {
      {"a\r\nb\nc\rd\n", 0, L"a\r\nb\r\nc\r\nd\r\n"},
      {"\x81\xE1", 0, L"\u00FC\u00DF"},
      {"", 0, L""},
      {"", 2, L"Exit code 2"},
      {"x", 1, L"x\r\nExit code 1"},
      {"x\r\n", 1, L"x\r\nExit code 1"},
      {"", 0xC0000005UL, L"Exit code 0xC0000005"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CapturedText(c.output, oem, c.exitCode, L"Exit code"), c.expected) << c.output;
  }
}
