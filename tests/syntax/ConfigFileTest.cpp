// The configuration format: the reader's grammar, the entry operations, writing and reading back.
#include "syntax/ConfigFile.h"

#include <gtest/gtest.h>

#include "ConfigTree.h"
#include "TempFolder.h"
#include "platform/Platform.h"

namespace {

struct ReadCase { const wchar_t* text; const wchar_t* tree; };

class ConfigReading : public testing::TestWithParam<ReadCase> {};

TEST_P(ConfigReading, GivesTree) {
  EXPECT_EQ(ParseAndDump(GetParam().text), GetParam().tree) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ConfigReading,
    testing::Values(
        // Spacing around '=' does not matter; several entries may share a line.
        ReadCase{L"a = 4", L"a:i=4 "}, ReadCase{L"a=4", L"a:i=4 "},
        ReadCase{L"\ta\t=\t4  b=-7", L"a:i=4 b:i=-7 "},
        ReadCase{L"a = \"x\\\"y\\\"\"", L"a:s=x\"y\" "},
        ReadCase{L"a = \"back\\\\slash\"", L"a:s=back\\slash "},
        ReadCase{L"a = {\"one\", \"two\"}", L"a:l2=one|two|| "},
        ReadCase{L"a = {1,-2,3}", L"a:n3=1,-2,3, "},
        ReadCase{L"a = {}", L"a:n0= "},
        ReadCase{L"a = {1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18}",
                 L"a:n18=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18, "},
        ReadCase{L"a = {\"x\", 5, \"y\"}", L"a:l2=x|y|| "},
        // Keys made of digits are ordinary keys, also right after a number on the line above.
        ReadCase{L"1 = 3\n2 = \"w\"\n3 = 4", L"1:i=3 2:s=w 3:i=4 "},
        // Quoted strings and lists run over line ends, which they lose.
        ReadCase{L"a = \"one\ntwo\"", L"a:s=onetwo "},
        ReadCase{L"a = {1,\n2}\nb = \"x\\\n\"\"", L"a:n2=1,2, b:s=x\" "},
        ReadCase{L"a\n= 5", L"a:i=5 "},
        // Sections nest; a closing tag returns to the section that holds the named one.
        ReadCase{L"<s>\na = 1\n<t>b = 2</t>\nc = 3\n</s>\nd = 4", L"d:i=4 s{a:i=1 c:i=3 t{b:i=2 } } "},
        ReadCase{L"<s><t>a = 1</s>b = 2", L"b:i=2 s{t{a:i=1 } } "},
        ReadCase{L"<s>a = 1</nothing>b = 2", L"s{a:i=1 b:i=2 } "},
        ReadCase{L"</s>a = 1", L"a:i=1 "},
        ReadCase{L"<my class>\n</my class>", L"my class{} "},
        // Storing an existing key replaces it, section or value.
        ReadCase{L"a = 1\na = \"x\"", L"a:s=x "}, ReadCase{L"<a>b=1</a>\na = 2", L"a:i=2 "},
        ReadCase{L"a = 2\n<a>b=1</a>", L"a{b:i=1 } "},
        // A key completed by a blank and followed by no '=' gets an empty string.
        ReadCase{L"flag other = 1", L"flag:s= other:i=1 "},
        ReadCase{L"flag\nother = 1", L"flag:s= other:i=1 "},
        ReadCase{L"flag <s>a=1</s>", L"flag:s= s{a:i=1 } "},
        // What belongs to no key is read and dropped.
        ReadCase{L"= 5 a = 1", L"a:i=1 "}, ReadCase{L"a = 1 = \"x\" b = 2", L"a:i=1 b:i=2 "},
        ReadCase{L"a = junk 5", L"a:i=5 "}, ReadCase{L"a = \"x\"}, b = 2", L"a:s=x b:i=2 },:s= "},
        ReadCase{L"a = } 5", L"a:i=5 "},
        // Numbers beyond an int stop at its limits.
        ReadCase{L"a = 99999999999 b = -99999999999 c = -2147483648",
                 L"a:i=2147483647 b:i=-2147483648 c:i=-2147483648 "},
        // Whatever is unfinished at the end of the file is dropped, except a number.
        ReadCase{L"a = 1 b = \"open", L"a:i=1 "}, ReadCase{L"a = 1 b = {1,2", L"a:i=1 "},
        ReadCase{L"a = 1 <sec", L"a:i=1 "}, ReadCase{L"a = 12", L"a:i=12 "},
        ReadCase{L"a = 1 b =", L"a:i=1 "}));

TEST(ConfigReading, IgnoresNulCharacters) {
  EXPECT_EQ(ParseAndDump(std::wstring(L"a = \"x\0y\" b\0 = 2", 16)), L"a:s=xy b:i=2 ");
}

TEST(ConfigReading, NestsSectionsOnlySoDeep) {
  std::wstring text;
  for (int i = 0; i < 10000; ++i) text += L"<s>";
  text += L"v = 1";
  for (int i = 0; i < 10000; ++i) text += L"</s>";
  text += L"w = 2";
  ConfigNode root;
  ReadConfigText(root, text);
  const ConfigNode* section = &root;
  int depth = 0;
  while (const ConfigNode* inner = section->Section(L"s")) {
    section = inner;
    ++depth;
  }
  EXPECT_EQ(depth, ConfigReader::maxSectionDepth);
  EXPECT_TRUE(section->Value(L"v"));
  EXPECT_TRUE(root.Value(L"w"));
}

TEST(ConfigFile, MissingFileFailsAndLeavesTreeEmpty) {
  TempFolder folder;
  ConfigFile config;
  EXPECT_FALSE(config.Load(folder.Path(L"absent.opt")));
  EXPECT_TRUE(config.Root().entries.empty());
  EXPECT_EQ(config.Path(), folder.Path(L"absent.opt"));
}

TEST(ConfigFile, GetAddsMissingKeysWithTheirDefaults) {
  ConfigFile config;
  const int defaults[] = {7, 8, 9};
  EXPECT_EQ(config.GetInt(L"n", 5), 5);
  EXPECT_EQ(config.GetString(L"s", L"x"), L"x");
  EXPECT_EQ(config.GetIntList(L"l", defaults, 3), (std::vector<int>{7, 8, 9}));
  EXPECT_EQ(DumpTree(config.Root()), L"l:n3=7,8,9, n:i=5 s:s=x ");
  EXPECT_TRUE(config.GetIntList(L"m", defaults, -1).empty());
  // Present keys are not touched by later defaults.
  EXPECT_EQ(config.GetInt(L"n", 1), 5);
  EXPECT_EQ(config.GetString(L"s", L"y"), L"x");
}

TEST(ConfigFile, ReadsOfAnotherTypeGiveTheStoredFields) {
  ConfigFile config;
  ReadConfigText(config.Root(), L"s = \"text\" i = 4 n = {1,2} l = {\"a\",\"b\",\"c\"} <sec>\n</sec>");
  EXPECT_EQ(config.GetInt(L"s", 9), 0);
  EXPECT_EQ(config.GetInt(L"n", 9), 2);
  EXPECT_EQ(config.GetInt(L"l", 9), 3);
  EXPECT_EQ(config.GetString(L"i", L"d"), L"");
  EXPECT_EQ(config.GetString(L"l", L"d"), std::wstring(L"a\0b\0c\0\0", 7));
  // A section under the key gives the default and stays a section.
  EXPECT_EQ(config.GetInt(L"sec", 9), 9);
  EXPECT_EQ(config.GetString(L"sec", L"d"), L"d");
  EXPECT_TRUE(config.Root().Section(L"sec"));
}

TEST(ConfigFile, IntListsAlwaysHaveTheCountAskedFor) {
  ConfigFile config;
  ReadConfigText(config.Root(), L"short = {1,2} long = {1,2,3,4,5} s = \"x\" <sec>\n</sec>");
  const int defaults[] = {10, 20, 30, 40};
  EXPECT_EQ(config.GetIntList(L"short", defaults, 4), (std::vector<int>{1, 2, 30, 40}));
  EXPECT_EQ(config.GetIntList(L"long", defaults, 4), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(config.GetIntList(L"s", defaults, 4), (std::vector<int>{10, 20, 30, 40}));
  EXPECT_EQ(config.GetIntList(L"sec", defaults, 4), (std::vector<int>{10, 20, 30, 40}));
  // The stored lists keep their own lengths.
  EXPECT_EQ(DumpTree(config.Root()), L"long:n5=1,2,3,4,5, s:s=x sec{} short:n2=1,2, ");
}

TEST(ConfigFile, SettersReplaceValuesButNeverSections) {
  ConfigFile config;
  ReadConfigText(config.Root(), L"a = \"x\" <sec>b = 1</sec>");
  config.SetInt(L"a", 3);
  config.SetInt(L"sec", 3);
  config.SetString(L"sec", L"x");
  config.SetIntList(L"sec", {4, 5});
  config.SetStringList(L"sec", {L"y"});
  config.SetIntList(L"n", {4, 5});
  config.SetStringList(L"l", {L"p", L"q"});
  EXPECT_EQ(DumpTree(config.Root()), L"a:i=3 l:l2=p|q|| n:n2=4,5, sec{b:i=1 } ");
}

TEST(ConfigFile, SectionsAreEnteredLeftAndDeleted) {
  ConfigFile config;
  ReadConfigText(config.Root(), L"v = 1 <s>a = 1</s>");
  EXPECT_TRUE(config.EnterSection(L"s"));
  EXPECT_TRUE(config.Exists(L"a"));
  EXPECT_TRUE(config.EnterSection(L"new"));
  config.SetInt(L"b", 2);
  config.LeaveSection();
  config.LeaveSection();
  config.LeaveSection();  // stays at the root
  EXPECT_TRUE(config.Exists(L"v"));
  // A value is neither entered nor deleted as a section.
  EXPECT_FALSE(config.EnterSection(L"v"));
  EXPECT_EQ(&config.Current(), &config.Root());
  config.DeleteSection(L"v");
  config.DeleteSection(L"missing");
  EXPECT_EQ(DumpTree(config.Root()), L"s{a:i=1 new{b:i=2 } } v:i=1 ");
  config.DeleteSection(L"s");
  EXPECT_EQ(DumpTree(config.Root()), L"v:i=1 ");
}

TEST(ConfigFile, WritesSortedIndentedAndEscapedText) {
  TempFolder folder;
  {
    ConfigFile config;
    ReadConfigText(config.Root(),
                   L"z = -3 <sec>b = {1,2} a = {\"q\\\"\", \"\\\\\"}</sec> ab = \"x\" a = \"\"");
    config.SetPath(folder.Path(L"out.opt"));
    EXPECT_TRUE(config.Save());
  }
  EXPECT_EQ(folder.Read(L"out.opt"),
            "a = \"\"\r\n"
            "ab = \"x\"\r\n"
            "<sec>\r\n"
            "\ta = {\"q\\\"\",\"\\\\\"}\r\n"
            "\tb = {1,2}\r\n"
            "</sec>\r\n"
            "z = -3\r\n");
}

TEST(ConfigFile, WrittenTreeReadsBackEqual) {
  TempFolder folder;
  const std::wstring text =
      L"1 = 5 2 = {\"if\",\"else\"} 10 = \"x\" name = \"a \\\"quoted\\\" \\\\ value\"\n"
      L"<outer>n = {-1,0,2147483647} empty = {} <inner b>deep = -2147483648</inner b></outer>\n"
      L"s = {\"\", \"second\"} ? = 0";
  ConfigFile first;
  ReadConfigText(first.Root(), text);
  first.SetPath(folder.Path(L"a.opt"));
  ASSERT_TRUE(first.Save());
  ConfigFile second;
  ASSERT_TRUE(second.Load(folder.Path(L"a.opt")));
  EXPECT_EQ(DumpTree(second.Root()), DumpTree(first.Root()));
}

TEST(ConfigFile, KeepsEveryCharacterAndTheCodePageWhileItHoldsThem) {
  TempFolder folder;
  ConfigFile config;
  config.SetPath(folder.Path(L"s.opt"));
  // Code page text, "\u00e9" included, is written as it always was.
  config.SetString(L"recent", L"caf\u00e9.txt");
  ASSERT_TRUE(config.Save());
  EXPECT_EQ(folder.Read(L"s.opt"), "recent = \"caf\xE9.txt\"\r\n");
  // A character the code page lacks makes the file UTF-8, marked, and read back whole.
  config.SetString(L"recent", L"\u03A9mega \xD83D\xDE00.txt");
  ASSERT_TRUE(config.Save());
  EXPECT_EQ(folder.Read(L"s.opt"),
            "\xEF\xBB\xBFrecent = \"\xCE\xA9mega \xF0\x9F\x98\x80.txt\"\r\n");
  ConfigFile again;
  ASSERT_TRUE(again.Load(folder.Path(L"s.opt")));
  EXPECT_EQ(again.GetString(L"recent", L""), L"\u03A9mega \xD83D\xDE00.txt");
  // Without its mark the same bytes are code page text.
  folder.Write(L"plain.opt", "k = \"\xCE\xA9\"\r\n");
  ConfigFile plain;
  ASSERT_TRUE(plain.Load(folder.Path(L"plain.opt")));
  EXPECT_EQ(plain.GetString(L"k", L""), L"\u00CE\u00A9");
  // Code page text whose bytes would begin like the mark is written as UTF-8 too.
  ConfigFile marked;
  marked.SetPath(folder.Path(L"m.opt"));
  marked.SetInt(L"\u00EF\u00BB\u00BFkey", 1);
  ASSERT_TRUE(marked.Save());
  ConfigFile back;
  ASSERT_TRUE(back.Load(folder.Path(L"m.opt")));
  EXPECT_TRUE(back.Exists(L"\u00EF\u00BB\u00BFkey"));
}

TEST(ConfigFile, SaveOnCloseWritesEveryDefaultAGetAdded) {
  TempFolder folder;
  folder.Write(L"s.opt", "kept = 1\r\n");
  {
    ConfigFile config(true);
    ASSERT_TRUE(config.Load(folder.Path(L"s.opt")));
    config.GetInt(L"added", 7);
    config.EnterSection(L"sec");
    config.GetString(L"word", L"w");
  }
  EXPECT_EQ(folder.Read(L"s.opt"), "added = 7\r\nkept = 1\r\n<sec>\r\n\tword = \"w\"\r\n</sec>\r\n");
}

TEST(ConfigFile, FailedWriteKeepsThePreviousFile) {
  TempFolder folder;
  const std::string old = "old = 1\r\n";
  folder.Write(L"s.opt", old);
  ConfigFile config;
  ASSERT_TRUE(config.Load(folder.Path(L"s.opt")));
  for (int i = 0; i < 200; ++i) config.SetString(L"key" + std::to_wstring(i), std::wstring(50, L'x'));
  platform::testing::FailWritesAfter(100);
  bool saved = config.Save();
  platform::testing::FailWritesAfter(-1);
  EXPECT_FALSE(saved);
  EXPECT_EQ(folder.Read(L"s.opt"), old);
  config.SetPath(folder.Path(L"no\\such\\s.opt"));  // a folder that is not there
  EXPECT_FALSE(config.Save());
}

}  // namespace
