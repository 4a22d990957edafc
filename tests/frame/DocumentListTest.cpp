// The rules of the document list: the order after cycling, Next and Prev, the document that
// follows a close, where an opened file goes, and the path fields of documents.
#include "frame/DocumentList.h"

#include <gtest/gtest.h>

#include <string>

#include "TempFolder.h"

namespace {

// A document as the list sees it; its path is one letter.
struct Entry {
  unsigned id = 0;
  DocumentName file;
  bool untitled = false;
  bool pristine = false;
  bool Pristine() const { return pristine; }
};

// A list of documents named by the letters of names, the last one active.
DocumentList<Entry> ListOf(const std::wstring& names) {
  DocumentList<Entry> list;
  for (wchar_t letter : names) {
    auto entry = std::make_unique<Entry>();
    entry->id = list.NewId();
    entry->file = DocumentName::FromPath(std::wstring(1, letter));
    list.Append(std::move(entry));
  }
  return list;
}

std::wstring Names(const DocumentList<Entry>& list) {
  std::wstring names;
  for (const auto& entry : list) names += entry->file.name;
  return names;
}

}  // namespace

TEST(DocumentList, TheDocumentReachedByCyclingMovesBeforeTheOneCyclingStartedAt) {
  struct Case {
    const wchar_t* before;
    int cycleStart;
    int steps;  // Next window presses before the pause
    const wchar_t* after;
    int newActive;
  };
  const Case cases[] = {
      {L"ABCD", 0, 1, L"ACDB", 3},  // one step from A: B goes last
      {L"ABCD", 0, 2, L"ABDC", 3},  // two steps from A
      {L"ABCD", 0, 3, L"ABCD", 3},  // three steps: D is already before A
      {L"ABCD", 2, 2, L"BACD", 1},  // from C round the end to A
      {L"ABCD", 3, 1, L"BCAD", 2},
      {L"ABCD", 1, 2, L"DBCA", 0},  // from B to D: D wraps to the front
      {L"ABCD", 2, 4, L"ABCD", 2},  // back where it began: nothing moves
      {L"AB", 0, 1, L"AB", 1},
  };
  for (const Case& c : cases) {
    DocumentList<Entry> list = ListOf(c.before);
    list.SetActive(c.cycleStart);
    for (int step = 0; step < c.steps; ++step) list.SetActive(list.NextIndex(step > 0));
    const bool away = c.steps % list.size() != 0;
    EXPECT_EQ(list.AwayFromCycleStart(), away);
    list.ReorderAfterCycling();
    EXPECT_EQ(Names(list), c.after) << c.before << " " << c.cycleStart << " " << c.steps;
    EXPECT_EQ(list.ActiveIndex(), c.newActive);
    // The next step forward returns to the document cycling began with.
    if (away) {
      EXPECT_EQ(list[list.NextIndex(false)]->file.name[0], c.before[c.cycleStart]);
    }
  }
  // A close while cycling leaves the start past the end: the cycling begins anew.
  DocumentList<Entry> list = ListOf(L"ABCD");
  list.SetActive(3);
  list.SetActive(list.NextIndex(false));
  list.Remove(3);
  list.SetActive(list.NextIndex(true));
  list.ReorderAfterCycling();
  EXPECT_EQ(Names(list), L"ACB");
}

TEST(DocumentList, PrevWrapsAndAClosedDocumentIsFollowedByTheNextOrTheFirst) {
  DocumentList<Entry> list = ListOf(L"ABC");
  std::wstring shown;
  for (int i = 0; i < 3; ++i) {
    list.SetActive(list.PreviousIndex());
    shown += list.Active()->file.name;
  }
  EXPECT_EQ(shown, L"BAC");
  // Closing B shows C; closing C, the last, shows A; closing A leaves nothing.
  list.SetActive(1);
  shown.clear();
  while (list.Active()) {
    const unsigned closed = list.Active()->id;
    list.Remove(list.ActiveIndex());
    EXPECT_EQ(list.Find(closed), nullptr);
    list.SetActive(list.NextIndex(false));
    if (list.Active()) shown += list.Active()->file.name;
  }
  EXPECT_EQ(shown, L"CA");
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.PreviousIndex(), -1);
  // Closing the first: Prev shows the last, Next the new first.
  list = ListOf(L"ABC");
  list.SetActive(0);
  list.Remove(0);
  list.ReorderAfterCycling();  // with no active document nothing moves
  EXPECT_EQ(Names(list), L"BC");
  EXPECT_EQ(list.PreviousIndex(), 1);
  EXPECT_EQ(list.NextIndex(false), 0);
  list.SetActive(2);
  EXPECT_EQ(list.ActiveIndex(), -1);
}

TEST(DocumentList, RemovingKeepsTheActiveDocumentOrTakesTheOneBefore) {
  DocumentList<Entry> list = ListOf(L"ABCD");
  list.SetActive(2);
  list.Remove(0);
  list.Remove(2);
  EXPECT_EQ(list.Active()->file.name, L"C");
  list.Remove(1);
  EXPECT_EQ(list.Active()->file.name, L"B");
  // After an open the one shown before has gone: its place, or the last one.
  EXPECT_EQ(ListOf(L"AB").NeighbourOf(1), 1);
  EXPECT_EQ(ListOf(L"AB").NeighbourOf(5), 1);
}

TEST(DocumentList, AnOpenTakesThePristineDocumentOrReplacesAnOpenCopyWhicheverComesFirst) {
  DocumentList<Entry> list = ListOf(L"ABC");
  list[2]->pristine = true;
  EXPECT_EQ(list.TargetForOpening(L"X").pristine, 2);
  EXPECT_EQ(list.TargetForOpening(L"A").copy, 0);
  EXPECT_EQ(list.TargetForOpening(L"A").pristine, -1);
  // An untitled document is no copy of a file, whatever its path field holds.
  list[0]->untitled = true;
  EXPECT_EQ(list.TargetForOpening(L"A").copy, -1);
  EXPECT_EQ(list.TargetForOpening(L"A").pristine, 2);
  list[1]->pristine = true;  // before the copy of "C": the copy stays open
  EXPECT_EQ(list.TargetForOpening(L"C").copy, -1);
  std::wstring digits;
  for (int i = 0; i < 11; ++i) digits += list.NextUntitledName().substr(3);
  EXPECT_EQ(digits, L"12345678901");
}

TEST(DocumentList, AFileOpenUnderAnotherSpellingOfItsPathIsTheOpenCopy) {
  TempFolder folder;
  folder.Write(L"Notes.txt", "x");
  std::filesystem::create_directory(folder.Native(L"sub"));
  DocumentList<Entry> list;
  auto entry = std::make_unique<Entry>();
  entry->file = DocumentName::FromPath(folder.Path(L"Notes.txt"));
  list.Append(std::move(entry));
  EXPECT_EQ(list.TargetForOpening(folder.Path(L"sub\\..\\Notes.txt")).copy, 0);
  if (platform::FileExists(folder.Path(L"NOTES.TXT"))) {
    EXPECT_EQ(list.TargetForOpening(folder.Path(L"NOTES.TXT")).copy, 0);
  } else {
    folder.Write(L"notes.txt", "another file");  // names differ by case only where that counts
    EXPECT_EQ(list.TargetForOpening(folder.Path(L"notes.txt")).copy, -1);
  }
  std::error_code error;
  std::filesystem::create_symlink(folder.Native(L"Notes.txt"), folder.Native(L"link.txt"), error);
  if (!error) { EXPECT_EQ(list.TargetForOpening(folder.Path(L"link.txt")).copy, 0); }
}

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
    EXPECT_EQ(platform::FolderOf(c.path) + L"|" + platform::FileNameOf(c.path),
              name.directory + L"|" + name.name);
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
  EXPECT_EQ(NumberedMenuText(0, L"a.txt"), L"&1 a.txt");
}
