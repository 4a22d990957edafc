// The Document and Classes pages' field checks, storing, sections and the replacement of the
// class registry.
#include "config/ClassFields.h"
#include "config/DocClassIO.h"

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "comun/resource.h"
#include "config/AppSettings.h"
#include "syntax/ConfigFile.h"

namespace {

ClassFields ValidFields() {
  DocClass docClass;
  docClass.filter = JoinStringList({L"*.c"});
  return FieldsOfClass(docClass);
}

TEST(ClassFields, ChecksRefuseInTheirOrder) {
  struct Case {
    const char* what;
    void (*change)(ClassFields&);
    bool needsFilter;
    int message;  // 0: accepted
    int section;
    int focus;
  };
  const Case cases[] = {
      {"valid", [](ClassFields&) {}, true, 0, 0, 0},
      {"no filter", [](ClassFields& f) { f.filters.clear(); }, true, IDS_NEEDFILTER,
       IDC_SECTION_FILTERS, 0},
      {"no filter on the default class", [](ClassFields& f) { f.filters.clear(); }, false, 0, 0, 0},
      {"no filter before tab size",
       [](ClassFields& f) { f.filters.clear(); f.tabsize = 0; }, true, IDS_NEEDFILTER,
       IDC_SECTION_FILTERS, 0},
      {"tab size 0", [](ClassFields& f) { f.tabsize = 0; }, true, IDS_BADTABSIZE,
       IDC_SECTION_PARAGRAPH, IDC_CLS_TABSIZE},
      {"tab size 21", [](ClassFields& f) { f.tabsize = 21; }, true, IDS_BADTABSIZE,
       IDC_SECTION_PARAGRAPH, IDC_CLS_TABSIZE},
      {"tab size 20", [](ClassFields& f) { f.tabsize = 20; }, true, 0, 0, 0},
      {"indent 21", [](ClassFields& f) { f.relindent = 21; }, true, IDS_BADRELINDENT,
       IDC_SECTION_PARAGRAPH, IDC_CLS_RELINDENT},
      {"indent 0", [](ClassFields& f) { f.relindent = 0; }, true, 0, 0, 0},
      {"highlighting without a file", [](ClassFields& f) { f.hassyntax = true; }, true,
       IDS_NEEDSYNTAX, IDC_SECTION_SYNTAX, IDC_CLS_SYNTAXFILE},
      {"highlighting with a file", [](ClassFields& f) { f.hassyntax = true; f.syntaxfile = L"c.syntax"; },
       true, 0, 0, 0},
      {"no family", [](ClassFields& f) { f.fontfamily.clear(); }, true, IDS_BADFONT,
       IDC_SECTION_FONT, IDC_CLS_FONTFAMILY},
      {"no style", [](ClassFields& f) { f.styleSelected = false; }, true, IDS_BADFONT,
       IDC_SECTION_FONT, IDC_CLS_FONTFAMILY},
      {"no size", [](ClassFields& f) { f.sizeSelected = false; }, true, IDS_BADFONT,
       IDC_SECTION_FONT, IDC_CLS_FONTFAMILY},
      // The width counts even when "Alter Font:" is clear.
      {"width 19 unused", [](ClassFields& f) { f.alterFont = false; f.fontwidthrel = 19; }, true,
       IDS_BADWIDTH, IDC_SECTION_FONT, IDC_CLS_WIDTH},
      {"width 301", [](ClassFields& f) { f.fontwidthrel = 301; }, true, IDS_BADWIDTH,
       IDC_SECTION_FONT, IDC_CLS_WIDTH},
  };
  for (const Case& c : cases) {
    ClassFields fields = ValidFields();
    c.change(fields);
    auto problem = CheckClassFields(fields, c.needsFilter);
    if (c.message == 0) {
      EXPECT_FALSE(problem) << c.what;
      continue;
    }
    ASSERT_TRUE(problem) << c.what;
    EXPECT_EQ(problem->messageId, c.message) << c.what;
    EXPECT_EQ(problem->sectionId, c.section) << c.what;
    EXPECT_EQ(problem->focusId, c.focus) << c.what;
  }
}

TEST(ClassFields, StoringFollowsTheFieldsRules) {
  DocClass docClass;
  docClass.hassyntax = true;
  docClass.syntaxfile = L"c.syntax";
  ClassFields fields = FieldsOfClass(docClass);
  EXPECT_TRUE(fields.alterFont);  // the default width is 90
  fields.alterFont = false;
  fields.fontwidthrel = 150;
  fields.hassyntax = false;
  fields.syntaxfile.clear();
  fields.filters = {L"*.a", L"*.b"};
  fields.colours[4] = MakeColour(10, 20, 30);
  StoreFields(fields, docClass);
  EXPECT_EQ(docClass.fontwidthrel, 100);  // a clear "Alter Font:" means the font's own width
  EXPECT_FALSE(docClass.hassyntax);
  EXPECT_EQ(docClass.syntaxfile, L"c.syntax");  // kept while highlighting is off
  EXPECT_EQ(FieldsOfClass(docClass).syntaxfile, L"");  // but not shown
  EXPECT_EQ(docClass.filter, JoinStringList({L"*.a", L"*.b"}));
  EXPECT_EQ(docClass.colours[4], 0x001E140Au);

  fields.alterFont = true;
  fields.hassyntax = true;
  fields.syntaxfile = L"sh.syntax";
  StoreFields(fields, docClass);
  EXPECT_EQ(docClass.fontwidthrel, 150);
  EXPECT_EQ(docClass.syntaxfile, L"sh.syntax");
  EXPECT_EQ(docClass.syntax, nullptr);

  // A typed line spacing keeps its sign and is brought into its range.
  const int most = LineSpacingRange(fields.fontsize).high;
  for (auto [typed, stored] : {std::pair{-2, -2}, {-100000, -lineSpacingMaxWidening}, {100000, most}}) {
    fields.linespacing = typed;
    StoreFields(fields, docClass);
    EXPECT_EQ(docClass.linespacing, stored) << typed;
  }
}

TEST(ClassFields, OnlyANamedClassOnTheClassesPageHasFilters) {
  for (auto [classesMode, defaultClass] : {std::pair{true, false}, {true, true}, {false, true}}) {
    std::vector<int> ids;
    for (const ClassSection& section : SectionsFor(classesMode, defaultClass)) ids.push_back(section.sectionId);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), IDC_SECTION_FILTERS), classesMode && !defaultClass);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), IDC_SECTION_COMMANDS), 0);
    EXPECT_EQ(ids.size(), 4u + (classesMode && !defaultClass));
  }
}

TEST(ClassFields, FontSizeTextsSortInNumericOrder) {
  std::vector<int> sizes = FontSizes();
  ASSERT_EQ(sizes.size(), 16u);
  EXPECT_EQ(FontSizeText(60), L" 6.0");
  EXPECT_EQ(FontSizeText(75), L" 7.5");
  EXPECT_EQ(FontSizeText(135), L"13.5");
  for (std::size_t i = 1; i < sizes.size(); ++i)
    EXPECT_LT(FontSizeText(sizes[i - 1]), FontSizeText(sizes[i]));
}

class ReplaceClassesTest : public ::testing::Test {
 protected:
  ReplaceClassesTest() : settings(folder.Path(L"fum.opt"), folder.Path(L"syntax")) {
    for (const wchar_t* name : {L"web", L"code"}) {
      DocClass docClass = settings.defaultClass;
      docClass.name = name;
      settings.classNames.push_back(name);
      settings.classes.emplace(name, docClass);
    }
  }
  TempFolder folder;
  AppSettings settings;
};

TEST_F(ReplaceClassesTest, WorkingListBecomesTheRegistryInItsOrder) {
  std::vector<DocClass> list = ClassesForEditing(settings);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name, L"web");
  EXPECT_EQ(list[2].name, L"default");

  list.erase(list.begin());       // web deleted
  list[0].tabsize = 7;            // code changed
  DocClass added = list.back();   // a new class before code
  added.name = L"zz";
  list.insert(list.begin(), added);
  list.back().wordwrap = !list.back().wordwrap;  // default changed

  std::vector<std::wstring> changed = ReplaceClasses(settings, list);
  EXPECT_EQ(settings.classNames, (std::vector<std::wstring>{L"zz", L"code"}));
  ASSERT_EQ(settings.classes.size(), 2u);
  EXPECT_EQ(settings.classes.at(L"code").tabsize, 7);
  EXPECT_EQ(settings.defaultClass.wordwrap, list.back().wordwrap);
  EXPECT_EQ(changed, (std::vector<std::wstring>{L"zz", L"code", L"default"}));
}

TEST_F(ReplaceClassesTest, UnchangedClassesAreNotReported) {
  EXPECT_TRUE(ReplaceClasses(settings, ClassesForEditing(settings)).empty());
  EXPECT_EQ(settings.classNames.size(), 2u);
}

}  // namespace
