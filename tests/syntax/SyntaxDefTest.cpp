// Syntax definitions: character set strings, building from a file, and the shared cache.
#include "syntax/SyntaxDef.h"

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "syntax/SyntaxCache.h"

namespace {

using Ranges = std::vector<CharRange>;

TEST(CharacterSet, ReadsRangesAndSingleCharacters) {
  struct Case { const wchar_t* text; Ranges ranges; };
  const Case cases[] = {
      {L"a-zA-Z0-9_", {{L'a', L'z'}, {L'A', L'Z'}, {L'0', L'9'}, {L'_', L'_'}}},
      {L"-a", {{L'-', L'-'}, {L'a', L'a'}}},
      {L"a-", {{L'a', L'a'}}},
      {L"a-z-", {{L'a', L'z'}, {L'-', L'-'}}},
      {L"a--", {{L'a', L'-'}}},
      {L"xy", {{L'x', L'x'}, {L'y', L'y'}}},
      {L"z-a", {{L'z', L'a'}}},
      {L"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseCharacterSet(c.text), c.ranges) << c.text;
}

class SyntaxFiles : public testing::Test {
 protected:
  // Loads text as the syntax file name.
  const SyntaxDef* Load(const std::string& text, const std::wstring& name = L"t.syntax") {
    folder.Write(name, text);
    return cache.Load(name);
  }

  TempFolder folder;
  SyntaxCache cache{folder.Path(L"").substr(0, folder.Path(L"").size() - 1)};
};

TEST_F(SyntaxFiles, ReadsEveryConstruct) {
  const SyntaxDef* def = Load(
      "singlelinecomment = \"//\" mlinecommentbegin = \"/*\" mlinecommentend = \"*/\"\r\n"
      "stringbegin = \"\\\"\" stringend = \"\\\"\" stringescape = \"\\\\\"\r\n"
      "stringbegin2 = \"'\" stringend2 = \"'\"\r\n"
      "emphbegin = \"<\" emphend = \">\" emphbegin2 = \"[\" emphend2 = \"]\" syntaxemph = 1\r\n"
      "wordchars = \"a-z_\" wordfirstchars = \"#a-z\"\r\n");
  ASSERT_NE(def, nullptr);
  EXPECT_EQ(def->singleLineComment, L"//");
  EXPECT_EQ(def->commentBegin + def->commentEnd, L"/**/");
  EXPECT_EQ(def->stringBegin + def->stringEnd + def->stringBegin2 + def->stringEnd2, L"\"\"''");
  EXPECT_EQ(def->stringEscape, L"\\");
  EXPECT_EQ(def->emphasisBegin + def->emphasisEnd + def->emphasisBegin2 + def->emphasisEnd2, L"<>[]");
  EXPECT_TRUE(def->syntaxInEmphasisOnly);
  EXPECT_FALSE(def->ignoreCase);
  EXPECT_TRUE(IsWordFirst(*def, L'#'));
  EXPECT_FALSE(IsWordChar(*def, L'#'));
  EXPECT_TRUE(IsWordChar(*def, L'_'));
}

TEST_F(SyntaxFiles, OpenersWithoutTerminatorAreLeftOut) {
  const SyntaxDef* def = Load(
      "mlinecommentbegin = \"/*\" stringbegin = \"'\" emphbegin = \"<\" emphbegin2 = \"[\"\r\n"
      "stringbegin2 = \"\\\"\" stringend2 = \"\\\"\" stringescape = \"\\\\\"\r\n");
  ASSERT_NE(def, nullptr);
  EXPECT_EQ(def->commentBegin, L"");
  EXPECT_EQ(def->stringBegin, L"");
  EXPECT_EQ(def->emphasisBegin, L"");
  EXPECT_EQ(def->emphasisBegin2, L"");
  // The escape given only with the second string kind serves both kinds.
  EXPECT_EQ(def->stringBegin2, L"\"");
  EXPECT_EQ(def->stringEscape, L"\\");
}

TEST_F(SyntaxFiles, WordFirstSetDefaultsToTheWordSet) {
  const SyntaxDef* def = Load("wordchars = \"a-zA-Z0-9_\"\r\n");
  ASSERT_NE(def, nullptr);
  EXPECT_EQ(def->wordSet, (Ranges{{L'a', L'z'}, {L'A', L'Z'}, {L'0', L'9'}, {L'_', L'_'}}));
  EXPECT_EQ(def->wordFirstSet, def->wordSet);
}

TEST_F(SyntaxFiles, KeywordsTakeTheClassOfTheLastKeyThatListsThem) {
  const SyntaxDef* def = Load(
      "1 = {\"if\", \"else\", \"int\"}\r\n"
      "2 = \"two words\"\r\n"
      "3 = {\"int\"}\r\n"
      "9 = {\"last\"}\r\n"
      "10 = {\"ignored\"}\r\n");
  ASSERT_NE(def, nullptr);
  EXPECT_EQ(KeywordClass(*def, L"if"), 2);
  EXPECT_EQ(KeywordClass(*def, L"int"), 4);
  EXPECT_EQ(KeywordClass(*def, L"two words"), 3);
  EXPECT_EQ(KeywordClass(*def, L"two"), 1);
  EXPECT_EQ(KeywordClass(*def, L"last"), 10);
  EXPECT_EQ(KeywordClass(*def, L"ignored"), 1);
  EXPECT_EQ(KeywordClass(*def, L"IF"), 1);
  EXPECT_EQ(def->keywords.size(), 5u);
}

TEST_F(SyntaxFiles, IgnoreCaseUpperCasesKeywordsAndTestedCharacters) {
  const SyntaxDef* def = Load("ignorecase = 1 wordchars = \"a-z\" 1 = {\"select\", \"From\"}\r\n");
  ASSERT_NE(def, nullptr);
  EXPECT_EQ(KeywordClass(*def, L"select"), 2);
  EXPECT_EQ(KeywordClass(*def, L"SeLeCt"), 2);
  EXPECT_EQ(KeywordClass(*def, L"FROM"), 2);
  // Characters are upper-cased before the test, so a lower-case set matches no letter.
  EXPECT_FALSE(IsWordChar(*def, L'a'));
  EXPECT_FALSE(IsWordChar(*def, L'A'));
  EXPECT_FALSE(IsWordFirst(*def, L'a'));
}

TEST_F(SyntaxFiles, AFileIsReadOnceAndItsDefinitionShared) {
  folder.Write(L"shared.syntax", "1 = {\"old\"}\r\n");
  const SyntaxDef* a = cache.Load(L"shared.syntax");
  folder.Write(L"shared.syntax", "1 = {\"new\"}\r\n");
  const SyntaxDef* b = cache.Load(L"shared.syntax");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(KeywordClass(*b, L"old"), 2);
  EXPECT_EQ(cache.Size(), 1u);
  for (const wchar_t* name : {L"missing.syntax", L""}) EXPECT_EQ(cache.Load(name), nullptr);
  EXPECT_EQ(cache.Size(), 1u);
}

}  // namespace
