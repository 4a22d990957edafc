// Path fields of documents and the order of the document list after cycling.
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "frame/CycleOrder.h"
#include "frame/DocumentName.h"

TEST(DocumentName, APathSplitsIntoFolderNameBaseNameAndExtension) {
  struct Case {
    const wchar_t* path;
    const wchar_t* directory;
    const wchar_t* name;
    const wchar_t* baseName;
    const wchar_t* extension;
  };
  const Case cases[] = {
      {LR"(\My Documents\src\main.c)", LR"(\My Documents\src)", L"main.c", L"main", L"c"},
      {LR"(C:\src\archive.tar.gz)", LR"(C:\src)", L"archive.tar.gz", L"archive.tar", L"gz"},
      {LR"(\src.d\makefile)", LR"(\src.d)", L"makefile", L"makefile", L""},
      {LR"(\home\.bashrc)", LR"(\home)", L".bashrc", L"", L"bashrc"},
      {LR"(\a\trailing.)", LR"(\a)", L"trailing.", L"trailing", L""},
      {LR"(\root.txt)", L"", L"root.txt", L"root", L"txt"},
      {L"plain.txt", L"", L"plain.txt", L"plain", L"txt"},
  };
  for (const Case& c : cases) {
    DocumentName name = DocumentName::FromPath(c.path);
    EXPECT_EQ(name.path, c.path);
    EXPECT_EQ(name.directory, c.directory) << c.path;
    EXPECT_EQ(name.name, c.name) << c.path;
    EXPECT_EQ(name.baseName, c.baseName) << c.path;
    EXPECT_EQ(name.extension, c.extension) << c.path;
  }
}

TEST(DocumentName, PositionsFromADialogThatDoNotFitThePathMeanNoExtension) {
  // A dialog reports "no extension" as the length of the text.
  DocumentName name = DocumentName::FromPath(L"readme", {0, 6});
  EXPECT_EQ(name.name, L"readme");
  EXPECT_EQ(name.baseName, L"readme");
  EXPECT_EQ(name.extension, L"");
  name = DocumentName::FromPath(L"a.txt", {0, 99});
  EXPECT_EQ(name.baseName, L"a.txt");
  name = DocumentName::FromPath(L"\\x\\a.txt", {42, 0});
  EXPECT_EQ(name.name, L"");
}

TEST(CycleOrder, TheDocumentReachedMovesBeforeTheOneCyclingStartedAt) {
  struct Case {
    const wchar_t* before;
    int active;
    int cycleStart;
    const wchar_t* after;
    int newActive;
  };
  const Case cases[] = {
      {L"ABCD", 1, 0, L"ACDB", 3},  // one step from A: B goes last
      {L"ABCD", 2, 0, L"ABDC", 3},  // two steps from A
      {L"ABCD", 3, 0, L"ABCD", 3},  // three steps: D is already before A
      {L"ABCD", 0, 2, L"BACD", 1},  // from C round the end to A
      {L"ABCD", 0, 3, L"BCAD", 2},
      {L"ABCD", 3, 1, L"DBCA", 0},  // from B to D: D wraps to the front
      {L"ABCD", 2, 2, L"ABCD", 2},  // back where it began: nothing moves
      {L"AB", 1, 0, L"AB", 1},
  };
  for (const Case& c : cases) {
    std::wstring before = c.before;
    std::deque<wchar_t> items(before.begin(), before.end());
    int active = ReorderAfterCycling(items, c.active, c.cycleStart);
    EXPECT_EQ(std::wstring(items.begin(), items.end()), c.after)
        << c.before << " " << c.active << " " << c.cycleStart;
    EXPECT_EQ(active, c.newActive);
    // The next step forward returns to the document cycling began with.
    if (c.active != c.cycleStart) {
      EXPECT_EQ(items[(active + 1) % items.size()], c.before[c.cycleStart]);
    }
  }
}
