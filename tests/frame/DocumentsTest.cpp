// The document list of a running fum.exe: the save questions at Exit and Close, the order of
// Next window after its pause, reopening a file, a save that fails, and files kept in their own
// encoding and line end.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FumProcess.h"
#include "comun/resource.h"

namespace {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

const wchar_t askSave[] = L"File has changed \u00BFdo you want to save it?";

// A running fum.exe with the named files of its own folder open, in that order.
class Documents : public ::testing::Test {
 protected:
  void Open(std::initializer_list<const wchar_t*> names) {
    std::wstring arguments;
    for (const wchar_t* name : names) {
      install.folder.Write(name, Narrow(name) + "\r\n");
      arguments += Quoted(install.folder.Path(name)) + L" ";
    }
    ASSERT_TRUE(fum.Start(arguments)) << Narrow(fum.Error());
  }
  // Shows document index of the Window menu.
  void Select(int index) { fum.Command(IDM_WINDOW_FIRST + index); }
  std::wstring Order(int shownIndex, int count);

  FumInstall install;
  FumProcess fum{install.Exe()};
};

}  // namespace

TEST_F(Documents, ExitAsksForEachModifiedDocumentShowingItAndCancelKeepsBoth) {
  Open({L"a.txt", L"b.txt"});
  fum.Type(L"x");
  EXPECT_EQ(fum.Title(), L"fu - b.txt*");
  Select(0);
  fum.Type(L"y");
  EXPECT_EQ(fum.Title(), L"fu - a.txt*");
  Select(1);

  // Each question shows its document, in list order.
  fum.PostCommand(IDM_EXIT);
  ASSERT_TRUE(fum.WaitForMessageBox());
  EXPECT_EQ(fum.Title(), L"fu - a.txt*");
  std::wstring caption, text;
  ASSERT_TRUE(fum.Answer(IDNO, &caption, &text));
  EXPECT_EQ(caption, L"fum");
  EXPECT_EQ(text, askSave);
  ASSERT_TRUE(fum.WaitForMessageBox());
  EXPECT_EQ(fum.Title(), L"fu - b.txt*");
  ASSERT_TRUE(fum.Answer(IDCANCEL));

  // Both stay open, with their changes.
  Sleep(200);
  ASSERT_TRUE(IsWindow(fum.Window()));
  Select(0);
  EXPECT_EQ(fum.Title(), L"fu - a.txt*");
  Select(1);
  EXPECT_EQ(fum.Title(), L"fu - b.txt*");
  EXPECT_EQ(install.folder.Read(L"a.txt"), "a.txt\r\n");
}

TEST_F(Documents, ClosingTheWindowRunsTheSameQuestionsAndYesSavesBeforeTheEnd) {
  Open({L"a.txt"});
  fum.Type(L"z");
  PostMessageW(fum.Window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(fum.Answer(IDYES));
  DWORD exitCode = 1;
  ASSERT_TRUE(fum.WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(install.folder.Read(L"a.txt"), "za.txt\r\n");
}

// The order of the documents, read by stepping all round the list from the one shown, quickly
// enough that nothing is reordered; the Window menu's choice first ends any cycling.
std::wstring Documents::Order(int shownIndex, int count) {
  Select(shownIndex);
  std::wstring order = fum.Title().substr(5);
  for (int i = 1; i < count; ++i) {
    fum.Command(IDM_NEXTWINDOW);
    order += fum.Title().substr(5);
  }
  fum.Command(IDM_NEXTWINDOW);
  return order;
}

TEST_F(Documents, OneNextWindowAndAPauseMoveTheDocumentReachedToTheEnd) {
  Open({L"A", L"B", L"C", L"D"});
  Select(0);
  fum.Command(IDM_NEXTWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - B");
  Sleep(1500);
  // A, C, D, B with B active: the next step returns to A.
  fum.Command(IDM_NEXTWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - A");
  EXPECT_EQ(Order(0, 4), L"ACDB");
}

TEST_F(Documents, TwoNextWindowsAndAPauseMoveTheDocumentReachedBeforeTheStart) {
  Open({L"A", L"B", L"C", L"D"});
  Select(0);
  fum.Command(IDM_NEXTWINDOW);
  fum.Command(IDM_NEXTWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - C");
  Sleep(1500);
  fum.Command(IDM_NEXTWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - A");
  EXPECT_EQ(Order(0, 4), L"ABDC");
}

TEST_F(Documents, PrevShowsThePreviousDocumentWithoutReordering) {
  Open({L"A", L"B", L"C"});
  fum.Command(IDM_PREVWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - B");
  Sleep(1300);
  fum.Command(IDM_PREVWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - A");
  fum.Command(IDM_PREVWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - C");
}

TEST_F(Documents, ClosingShowsTheFollowingDocumentAndTheLastCloseLeavesNoTitle) {
  Open({L"A", L"B", L"C"});
  Select(1);
  fum.Command(IDM_CLOSE);
  EXPECT_EQ(fum.Title(), L"fu - C");
  fum.Command(IDM_CLOSE);  // C was the last: the first follows
  EXPECT_EQ(fum.Title(), L"fu - A");
  fum.Command(IDM_CLOSE);
  EXPECT_EQ(fum.Title(), L"fEdit");
  // Commands that need a document do nothing now.
  fum.Command(IDM_SAVE);
  fum.Command(IDM_CLOSE);
  fum.Command(IDM_WORDWRAP);
  EXPECT_EQ(fum.WaitForMessageBox(200), nullptr);
  // A start with files makes no untitled document: the first one is doc1.
  fum.Command(IDM_NEW);
  EXPECT_EQ(fum.Title(), L"fu - doc1");
}

TEST_F(Documents, CloseOfAModifiedDocumentAsksAndCancelKeepsIt) {
  Open({L"A", L"B"});
  fum.Type(L"q");
  fum.PostCommand(IDM_CLOSE);
  ASSERT_TRUE(fum.Answer(IDCANCEL));
  EXPECT_TRUE(fum.WaitForTitle(L"fu - B*"));
  fum.PostCommand(IDM_CLOSE);
  ASSERT_TRUE(fum.Answer(IDNO));
  EXPECT_TRUE(fum.WaitForTitle(L"fu - A"));
  EXPECT_EQ(install.folder.Read(L"B"), "B\r\n");
}

TEST_F(Documents, ReopeningAModifiedFileAsksAndNoKeepsTheChanges) {
  Open({L"A", L"B"});
  fum.Type(L"w");
  struct HandOver {
    HWND window;
    std::wstring line;
  } handOver{fum.Window(), Quoted(install.folder.Path(L"B"))};
  // Sent from another thread: the question holds the hand-over until it is answered.
  HANDLE sender = CreateThread(
      nullptr, 0,
      [](void* data) -> DWORD {
        auto* args = static_cast<HandOver*>(data);
        COPYDATASTRUCT copy{1, static_cast<DWORD>((args->line.size() + 1) * sizeof(wchar_t)),
                            args->line.data()};
        SendMessageW(args->window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
        return 0;
      },
      &handOver, 0, nullptr);
  std::wstring caption, text;
  ASSERT_TRUE(fum.Answer(IDNO, &caption, &text));
  WaitForSingleObject(sender, 5000);
  CloseHandle(sender);
  EXPECT_EQ(caption, L"B");
  EXPECT_EQ(text, L"File already open. Do you want to load the saved version?");
  EXPECT_EQ(fum.Title(), L"fu - B*");
  EXPECT_EQ(Order(1, 2), L"B*A");
}

TEST_F(Documents, AFailedSaveSaysSoAndTheDocumentKeepsItsChanges) {
  std::filesystem::create_directory(install.folder.Native(L"sub"));
  install.folder.Write(L"sub\\a.txt", "old\r\n");
  ASSERT_TRUE(fum.Start(Quoted(install.folder.Path(L"sub\\a.txt")))) << Narrow(fum.Error());
  fum.Type(L"new ");
  // The folder goes away under the document.
  std::filesystem::rename(install.folder.Native(L"sub"), install.folder.Native(L"gone"));

  fum.PostCommand(IDM_SAVE);
  std::wstring caption, text;
  ASSERT_TRUE(fum.Answer(IDOK, &caption, &text));
  EXPECT_EQ(caption, L"Error");
  EXPECT_EQ(text, L"I can't save the file");
  EXPECT_TRUE(fum.WaitForTitle(L"fu - a.txt*"));

  // Exit asks again; Yes fails the same way and the program stays, keeping the text.
  fum.PostCommand(IDM_EXIT);
  ASSERT_TRUE(fum.Answer(IDYES));
  ASSERT_TRUE(fum.Answer(IDOK, &caption, &text));
  EXPECT_EQ(text, L"I can't save the file");
  Sleep(200);
  EXPECT_TRUE(IsWindow(fum.Window()));
  EXPECT_EQ(fum.Title(), L"fu - a.txt*");

  // With the folder back the save succeeds.
  std::filesystem::rename(install.folder.Native(L"gone"), install.folder.Native(L"sub"));
  fum.Command(IDM_SAVE);
  EXPECT_EQ(fum.Title(), L"fu - a.txt");
  EXPECT_EQ(install.folder.Read(L"sub\\a.txt"), "new old\r\n");
}

TEST_F(Documents, AFileThatCannotBeReadLeavesTheStartUpDocumentInPlace) {
  install.folder.Write(L"fum.opt",
                       "recent = {" + SettingString(install.folder.Path(L"gone.txt")) + "}\n");
  ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
  fum.PostCommand(IDM_RECENT_FIRST);
  std::wstring caption, text;
  ASSERT_TRUE(fum.Answer(IDOK, &caption, &text));
  EXPECT_EQ(caption, L"Error");
  EXPECT_EQ(text, L"I can't open the file");
  EXPECT_EQ(fum.Title(), L"fu - doc1");
  fum.Command(IDM_NEXTWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - doc1");
}

TEST_F(Documents, SaveWritesNothingForAnUnchangedDocument) {
  Open({L"a.txt"});
  install.folder.Write(L"a.txt", "changed elsewhere\r\n");
  fum.Command(IDM_SAVE);
  EXPECT_EQ(install.folder.Read(L"a.txt"), "changed elsewhere\r\n");
}

namespace {

// Types a name into the save dialog and presses its OK button.
// The save dialog's file name field: an edit control, in newer looks inside a combo box.
BOOL CALLBACK FindNameField(HWND child, LPARAM found) {
  wchar_t className[16] = {};
  GetClassNameW(child, className, 16);
  int id = GetDlgCtrlID(child);
  if (lstrcmpiW(className, L"Edit") != 0 || (id != 0x480 && id != 0x47C)) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

// Types a name into the save dialog's name field.
bool TypeName(HWND dialog, const std::wstring& path) {
  HWND field = nullptr;
  EnumChildWindows(dialog, FindNameField, reinterpret_cast<LPARAM>(&field));
  if (!field) return false;
  SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  return true;
}

}  // namespace

TEST_F(Documents, AnUntitledDocumentIsSavedThroughSaveAsAndCancellingItKeepsTheDocument) {
  ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
  fum.Type(L"text");
  // Close asks; Yes needs a name; cancelling the dialog keeps the document as it was.
  fum.PostCommand(IDM_CLOSE);
  ASSERT_TRUE(fum.Answer(IDYES));
  HWND dialog = fum.WaitForMessageBox();
  ASSERT_NE(dialog, nullptr);
  fum.Press(dialog, IDCANCEL);
  EXPECT_TRUE(fum.WaitForTitle(L"fu - doc1*"));

  fum.PostCommand(IDM_SAVE);
  dialog = fum.WaitForMessageBox();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(TypeName(dialog, install.folder.Path(L"named.c")));
  fum.Press(dialog, IDOK);
  EXPECT_TRUE(fum.WaitForTitle(L"fu - named.c")) << Narrow(fum.Title());
  EXPECT_EQ(install.folder.Read(L"named.c"), "text");
  // The document now has a name: Save writes to it without asking.
  fum.Type(L"!");
  fum.Command(IDM_SAVE);
  EXPECT_EQ(install.folder.Read(L"named.c"), "text!");
  EXPECT_EQ(fum.WaitForMessageBox(200), nullptr);
}

TEST_F(Documents, FilesAreSavedInTheirOwnEncodingAndLineEndAndTheTitleShowsThem) {
  install.folder.Write(L"u.txt", "\xC3\xA9\xE2\x82\xAC\n");
  install.folder.Write(L"lf.txt", "plain\nlines\n");
  ASSERT_TRUE(fum.Start(L"\"" + install.folder.Path(L"lf.txt") + L"\" \"" +
                        install.folder.Path(L"u.txt") + L"\""))
      << Narrow(fum.Error());
  EXPECT_EQ(fum.Title(), L"fu - u.txt [UTF-8, LF]");
  fum.Type(L"\u00E9\u20AC");
  fum.Command(IDM_SAVE);
  EXPECT_EQ(install.folder.Read(L"u.txt"), "\xC3\xA9\xE2\x82\xAC\xC3\xA9\xE2\x82\xAC\n");
  fum.Command(IDM_FORMAT_UTF16LE);
  fum.Command(IDM_FORMAT_CRLF);
  EXPECT_EQ(fum.Title(), L"fu - u.txt* [UTF-16 LE]");
  fum.Command(IDM_SAVE);
  EXPECT_EQ(install.folder.Read(L"u.txt"),
            std::string("\xFF\xFE\xE9\0\xAC\x20\xE9\0\xAC\x20\r\0\n\0", 14));

  Select(0);  // one character typed and deleted: the LF file comes back byte for byte
  EXPECT_EQ(fum.Title(), L"fu - lf.txt [LF]");
  fum.Type(L"x");
  SendMessageW(fum.Window(), WM_KEYDOWN, VK_BACK, 0);
  EXPECT_EQ(fum.Title(), L"fu - lf.txt* [LF]");
  fum.Command(IDM_SAVE);
  EXPECT_EQ(install.folder.Read(L"lf.txt"), "plain\nlines\n");
}
