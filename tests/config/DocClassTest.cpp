// Document classes: their section in the settings tree, and choosing them by file name.
#include "config/DocClassIO.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <tuple>

#include "../syntax/ConfigTree.h"
#include "../syntax/RowWalk.h"
#include "TempFolder.h"
#include "config/AppSettings.h"
#include "config/Classify.h"
#include "platform/Paths.h"
#include "syntax/Highlighter.h"
#include "text/Document.h"
#include "text/TextTestUtil.h"

namespace {

TEST(ClassSection, MissingKeysAreReadWithTheirDefaultsAndAdded) {
  ConfigFile tree;
  DocClass loaded;
  loaded.tabsize = 9;  // overwritten by the built-in default
  ASSERT_TRUE(LoadClassSection(tree, L"plain", loaded));
  DocClass expected;
  expected.name = L"plain";
  EXPECT_EQ(loaded, expected);
  EXPECT_EQ(&tree.Current(), &tree.Root());
  const ConfigNode* section = tree.Root().Section(L"plain");
  ASSERT_TRUE(section);
  EXPECT_EQ(section->entries.size(), 19u);
  EXPECT_EQ(section->Value(L"colores")->number, 12);
  EXPECT_EQ(section->Value(L"filter")->type, ConfigType::stringList);
  EXPECT_EQ(section->Value(L"filter")->number, 0);
}

TEST(ClassSection, ShortColourListKeepsTheDefaultsItLacks) {
  ConfigFile tree;
  ReadConfigText(tree.Root(), L"<c>colores = {1,2,3} filter = \"*.c\"</c>");
  DocClass loaded;
  LoadClassSection(tree, L"c", loaded);
  ColourTable expected = defaultColours;
  expected[0] = 1;
  expected[1] = 2;
  expected[2] = 3;
  EXPECT_EQ(loaded.colours, expected);
  // A filter stored as a plain string is one pattern.
  EXPECT_EQ(loaded.filter, std::wstring(L"*.c\0\0", 5));
}

TEST(ClassSection, SavedClassLoadsBackEqual) {
  DocClass original;
  original.name = L"my class";
  original.colours[5] = 0x123456;
  original.wordwrap = false;
  original.tabsize = 8;
  original.relindent = 0;
  original.indent = false;
  original.fontsize = 120;
  original.fontwidthrel = 100;
  original.fontflags = 3;
  original.linespacing = 2;
  original.fontcleartype = false;
  original.fontproof = true;
  original.fontfamily = L"Tahoma";
  original.fontstyle = L"Bold Italic";
  original.filter = JoinStringList({L"*.c", L"*.h"});
  original.hassyntax = true;
  original.syntaxfile = L"c.syntax";
  original.delimiters = L" ,;\\\"";
  original.openbrackets = L"<";
  original.closebrackets = L">";
  TempFolder folder;
  {
    ConfigFile tree;
    tree.SetPath(folder.Path(L"classes.opt"));
    ASSERT_TRUE(SaveClassSection(tree, original.name, original));
    ASSERT_TRUE(tree.Save());
  }
  ConfigFile tree;
  ASSERT_TRUE(tree.Load(folder.Path(L"classes.opt")));
  DocClass loaded;
  ASSERT_TRUE(LoadClassSection(tree, L"my class", loaded));
  EXPECT_EQ(loaded, original);
}

TEST(ClassSection, ValuesOutOfRangeAreLoadedInRangeAndStayInTheFileAsWritten) {
  struct {
    const wchar_t* text;
    int tabsize, relindent, fontwidthrel, fontsize, linespacing;
  } const cases[] = {
      {L"tabsize = 0 relindent = -4", 1, 0, 90, 75, 0},
      {L"tabsize = -3 relindent = -2147483648 fontwidthrel = 0 linespacing = 10", 1, 0, 20, 75, 9},
      {L"tabsize = 2147483647 relindent = 2147483647 fontwidthrel = 100000", 20, 20, 300, 75, 0},
      {L"fontsize = 0 linespacing = 2147483647", 2, 2, 90, 20, 1},
      {L"fontsize = -2147483648 linespacing = -2147483648", 2, 2, 90, 20, -100},
      {L"tabsize = 20 relindent = 20 fontwidthrel = 300 fontsize = 1000 linespacing = 9", 20, 20, 300, 1000, 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + std::wcslen(c.text)));
    ConfigFile tree;
    ReadConfigText(tree.Root(), std::wstring(L"<c>") + c.text + L"</c>");
    DocClass loaded;
    ASSERT_TRUE(LoadClassSection(tree, L"c", loaded));
    EXPECT_EQ(std::tie(loaded.tabsize, loaded.relindent, loaded.fontwidthrel, loaded.fontsize,
                       loaded.linespacing),
              std::tie(c.tabsize, c.relindent, c.fontwidthrel, c.fontsize, c.linespacing));
    // Layout and the row cursor work with what was loaded, wrapped at any width.
    for (int wrapWidth : {1, 3, 25}) {
      for (bool wordwrap : {true, false}) {
        loaded.wordwrap = wordwrap;
        auto document = MakeDocument({L"\t\tindented words and more words", L"a\tb\t\tc", L""}, loaded,
                                     wordwrap ? wrapWidth : Document::noWrapWidth);
        EXPECT_EQ(RowWalkProblem(*document, 40), "") << wrapWidth;
      }
    }
    // Saving the class unchanged keeps what the file says; a changed value is written.
    loaded.wordwrap = true;
    ASSERT_TRUE(SaveClassSection(tree, L"c", loaded));
    ConfigFile read;
    ReadConfigText(read.Root(), std::wstring(L"<c>") + c.text + L"</c>");
    DocClass fresh;
    LoadClassSection(read, L"c", fresh);  // adds the missing keys, as the first load did
    EXPECT_EQ(DumpTree(tree.Root()), DumpTree(read.Root()));
    loaded.tabsize = c.tabsize == 4 ? 5 : 4;
    SaveClassSection(tree, L"c", loaded);
    EXPECT_EQ(tree.Root().Section(L"c")->Value(L"tabsize")->number, loaded.tabsize);
  }
  // A stored value of another type stands for no number: saving writes the number.
  ConfigFile tree;
  ReadConfigText(tree.Root(), L"<c>tabsize = \"1\"</c>");
  DocClass loaded;
  LoadClassSection(tree, L"c", loaded);
  SaveClassSection(tree, L"c", loaded);
  EXPECT_EQ(tree.Root().Section(L"c")->Value(L"tabsize")->type, ConfigType::integer);
}

class Classification : public testing::Test {
 protected:
  void AddClass(const std::wstring& name, std::vector<std::wstring> patterns, int tabsize) {
    DocClass docClass;
    docClass.name = name;
    docClass.filter = JoinStringList(patterns);
    docClass.tabsize = tabsize;
    settings.classNames.push_back(name);
    settings.classes[name] = docClass;
  }
  // The tab size the document ends with after classifying path.
  int TabsizeFor(const std::wstring& path) {
    Document document;
    ClassifyDocument(settings, document, path, platform::FindNamePositions(path).name);
    return document.settings.tabsize;
  }

  TempFolder folder;
  AppSettings settings{folder.Path(L"fum.opt"), folder.Path(L"syntax")};
};

TEST_F(Classification, LastMatchInNameOrderWins) {
  AddClass(L"cpp", {L"*.cpp"}, 3);
  AddClass(L"c", {L"*.c*"}, 4);
  AddClass(L"text", {L"*.txt", L"readme"}, 5);
  AddClass(L"none", {}, 6);
  AddClass(L"path", {L"\\docs\\*"}, 7);
  EXPECT_EQ(TabsizeFor(L"\\src\\x.cpp"), 3);
  EXPECT_EQ(TabsizeFor(L"\\src\\x.c"), 4);
  EXPECT_EQ(TabsizeFor(L"\\src\\notes.TXT"), 5);
  EXPECT_EQ(TabsizeFor(L"\\src\\README"), 5);
  // The whole path matches too; "path" sorts after "c".
  EXPECT_EQ(TabsizeFor(L"\\docs\\y.c"), 7);
  // No match keeps the class the document had.
  EXPECT_EQ(TabsizeFor(L"\\src\\image.png"), DocClass{}.tabsize);
  Document document;
  EXPECT_NO_THROW(ClassifyDocument(settings, document, L"x.c", 9));  // a name start past the end
}

TEST_F(Classification, AppliesEveryMatchingClassOnceWithItsSyntax) {
  std::filesystem::create_directory(folder.Native(L"syntax"));
  folder.Write(L"syntax/c.syntax", "1 = {\"int\"}\r\n");
  AddClass(L"a", {L"*.c", L"x.*"}, 2);
  AddClass(L"b", {L"*.c"}, 3);
  settings.classes[L"b"].hassyntax = true;
  settings.classes[L"b"].syntaxfile = L"c.syntax";
  std::vector<std::wstring> applied;
  Document document;
  ClassifyDocument(settings, document, L"x.c", 0, [&](Document& d, const DocClass& c) {
    applied.push_back(c.name);
    ApplyClassSettings(settings, d, c);
  });
  EXPECT_EQ(applied, (std::vector<std::wstring>{L"a", L"b"}));
  ASSERT_NE(SyntaxOf(document), nullptr);
  EXPECT_EQ(KeywordClass(*SyntaxOf(document), L"int"), 2);
  DocClass off = settings.Resolved(settings.classes[L"b"]);
  off.hassyntax = false;
  EXPECT_EQ(HighlightingOf(off), nullptr);
}

TEST_F(Classification, MissingSyntaxFileSwitchesHighlightingOffInTheDocumentOnly) {
  AddClass(L"c", {L"*.c"}, 4);
  settings.classes[L"c"].hassyntax = true;
  settings.classes[L"c"].syntaxfile = L"absent.syntax";
  Document document;
  ClassifyDocument(settings, document, L"x.c", 0);
  EXPECT_EQ(document.settings.tabsize, 4);
  EXPECT_EQ(document.highlighter, nullptr);
  EXPECT_TRUE(settings.classes[L"c"].hassyntax);
  // A class with highlighting off reads no file, not even one that is there.
  std::filesystem::create_directory(folder.Native(L"syntax"));
  folder.Write(L"syntax/c.syntax", "");
  settings.classes[L"c"].hassyntax = false;
  settings.classes[L"c"].syntaxfile = L"c.syntax";
  EXPECT_EQ(settings.Resolved(settings.classes[L"c"]).syntax, nullptr);
  EXPECT_EQ(settings.Syntaxes().Size(), 0u);
}

}  // namespace
