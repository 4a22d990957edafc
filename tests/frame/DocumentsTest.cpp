// The document list of a running fum.exe: the save questions at Exit and Close, the order of
// Next window after its pause, reopening a file, a save that fails, a second start's files
// arriving while a question or dialog is shown, and files kept in their own encoding and line
// end.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

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
  // The hand-over of the named file of the folder, sent as a second start sends it, from a
  // thread of its own that ends when the running program has answered.
  std::thread SendHandOver(const wchar_t* name) {
    return std::thread([window = fum.Window(), line = Quoted(install.folder.Path(name))] {
      COPYDATASTRUCT copy{1, static_cast<DWORD>((line.size() + 1) * sizeof(wchar_t)),
                          const_cast<wchar_t*>(line.c_str())};
      SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    });
  }
  // A second start with the named file of the folder, which hands it over and ends.
  void HandOver(const wchar_t* name) {
    FumProcess second(install.Exe());
    ASSERT_TRUE(second.Launch(Quoted(install.folder.Path(name))));
    DWORD exitCode = 1;
    ASSERT_TRUE(second.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
  }
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
}

TEST_F(Documents, ClosingShowsTheFollowingDocumentAndTheLastCloseLeavesNoTitle) {
  Open({L"A", L"B", L"C"});
  fum.Command(IDM_PREVWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - B");
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
  // The question holds the hand-over until it is answered.
  std::thread sender = SendHandOver(L"B");
  std::wstring caption, text;
  ASSERT_TRUE(fum.Answer(IDNO, &caption, &text));
  sender.join();
  EXPECT_EQ(caption, L"B");
  EXPECT_EQ(text, L"File already open. Do you want to load the saved version?");
  EXPECT_EQ(fum.Title(), L"fu - B*");
  EXPECT_EQ(Order(1, 2), L"B*A");
}

TEST_F(Documents, LoadingTheSavedVersionKeepsTheEditedDocumentWhenTheReadFails) {
  Open({L"A", L"B"});
  fum.Type(L"w");
  // Another program holds B, shared with no one: it cannot be read.
  HANDLE lock = CreateFileW(install.folder.Path(L"B").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  std::thread sender = SendHandOver(L"B");
  std::wstring text;
  const bool answered = fum.Answer(IDYES) && fum.Answer(IDOK, nullptr, &text);
  sender.join();
  ASSERT_TRUE(answered);
  EXPECT_EQ(text, L"I can't open the file");
  EXPECT_TRUE(fum.WaitForTitle(L"fu - B*"));
  EXPECT_EQ(Order(1, 2), L"B*A");
  // The edit is still there to be saved once the file is free again.
  CloseHandle(lock);
  fum.Command(IDM_SAVE);
  EXPECT_EQ(install.folder.Read(L"B"), "wB\r\n");
  // With a file to read, Yes replaces the edited document by the saved version.
  fum.Type(L"z");
  EXPECT_EQ(fum.Title(), L"fu - B*");
  std::thread again = SendHandOver(L"B");
  const bool asked = fum.Answer(IDYES);
  again.join();
  ASSERT_TRUE(asked);
  EXPECT_TRUE(fum.WaitForTitle(L"fu - B"));
  EXPECT_EQ(Order(0, 3), L"ABA");
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

// Types a name into the open and save dialog's name field.
bool TypeName(HWND dialog, const std::wstring& path) {
  HWND field = GetDlgItem(dialog, IDC_FILEDLG_NAME);
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
  // A name without a dot gets the default extension.
  ASSERT_TRUE(TypeName(dialog, install.folder.Path(L"named")));
  fum.Press(dialog, IDOK);
  EXPECT_TRUE(fum.WaitForTitle(L"fu - named.txt")) << Narrow(fum.Title());
  EXPECT_EQ(install.folder.Read(L"named.txt"), "text");
  // The document now has a name: Save writes to it without asking.
  fum.Type(L"!");
  fum.Command(IDM_SAVE);
  EXPECT_EQ(install.folder.Read(L"named.txt"), "text!");
  EXPECT_EQ(fum.WaitForMessageBox(200), nullptr);
}

TEST_F(Documents, SaveAsTakesANameHoldingASemicolonWhole) {
  install.folder.Write(L"a", "other\r\n");
  Open({L"x.txt"});
  fum.Type(L"new ");
  fum.PostCommand(IDM_SAVEAS);
  HWND dialog = fum.WaitForMessageBox();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(TypeName(dialog, install.folder.Path(L"a;b.txt")));
  fum.Press(dialog, IDOK);
  EXPECT_TRUE(fum.WaitForTitle(L"fu - a;b.txt")) << Narrow(fum.Title());
  EXPECT_EQ(install.folder.Read(L"a;b.txt"), "new x.txt\r\n");
  EXPECT_EQ(install.folder.Read(L"a"), "other\r\n");
}

// ---- A second start while a question or dialog is shown --------------------------------------

TEST_F(Documents, ExitAsksAboutEveryModifiedDocumentThoughASecondStartHandsAFileOverMeanwhile) {
  Open({L"A", L"B", L"C"});
  fum.Type(L"c");
  Select(1);
  fum.Type(L"b");

  fum.PostCommand(IDM_EXIT);
  ASSERT_TRUE(fum.WaitForMessageBox());
  EXPECT_EQ(fum.Title(), L"fu - B*");
  // A is open and unchanged: it would be read again as the last document.
  HandOver(L"A");
  // The file waits for the questions: C is asked about after B.
  ASSERT_TRUE(fum.Answer(IDNO));
  ASSERT_TRUE(fum.WaitForMessageBox());
  EXPECT_EQ(fum.Title(), L"fu - C*");
  ASSERT_TRUE(fum.Answer(IDCANCEL));
  // Exit was cancelled; then the file came.
  EXPECT_TRUE(fum.WaitForTitle(L"fu - A")) << Narrow(fum.Title());
  EXPECT_EQ(Order(0, 3), L"B*C*A");
}

TEST_F(Documents, CloseStaysInFrontAndClosesItsOwnDocumentThoughASecondStartHandsAFileOver) {
  install.folder.Write(L"C", "C\r\n");
  Open({L"A", L"B"});
  fum.Type(L"b");
  fum.PostCommand(IDM_CLOSE);
  HWND question = fum.WaitForMessageBox();
  ASSERT_NE(question, nullptr);
  HandOver(L"C");
  // The second start brought the question to the front, where a key answers it.
  ASSERT_TRUE(WaitForForeground(question));
  PressKeys({'N'});
  EXPECT_TRUE(fum.WaitForTitle(L"fu - C")) << Narrow(fum.Title());
  EXPECT_EQ(Order(0, 2), L"AC");
  EXPECT_EQ(install.folder.Read(L"B"), "B\r\n");
}

TEST_F(Documents, SaveAsWritesItsDocumentThoughASecondStartHandsThatDocumentsFileOverMeanwhile) {
  Open({L"a.txt"});
  fum.PostCommand(IDM_SAVEAS);
  HWND dialog = fum.WaitForMessageBox();
  ASSERT_NE(dialog, nullptr);
  HandOver(L"a.txt");
  ASSERT_TRUE(TypeName(dialog, install.folder.Path(L"named.txt")));
  fum.Press(dialog, IDOK);
  // The document took its new name; then the file handed over was opened again.
  EXPECT_TRUE(WaitUntil([&] { return install.folder.Read(L"named.txt") == "a.txt\r\n"; }));
  fum.Command(0);  // answered once the Save As has ended
  EXPECT_TRUE(fum.WaitForTitle(L"fu - a.txt")) << Narrow(fum.Title());
  EXPECT_EQ(Order(0, 2), L"named.txta.txt");
}

TEST_F(Documents, AHandOverDuringTapAndHoldWaitsForTheContextMenuAndReadsTheShownFileAgain) {
  Open({L"a.txt"});
  POINT point{60, 10};
  ClientToScreen(fum.Window(), &point);
  StylusDown(point);
  Sleep(100);
  // The shown document's own file, changed on disk: it is read again into a new document.
  install.folder.Write(L"a.txt", "again\r\n");
  std::thread sender = SendHandOver(L"a.txt");
  HWND menu = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (menu = fum.FindOwnWindow(L"#32768")) != nullptr; }));
  if (menu) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  StylusUp();
  sender.join();

  // The hand-over is read once the menu's loop has ended, which a loaded machine may delay.
  EXPECT_TRUE(WaitUntil([&] {
    HWND shown = fum.FindOwnWindow(L"#32768");
    return !shown || !IsWindowVisible(shown);
  }));
  fum.Command(0);
  ASSERT_TRUE(IsWindow(fum.Window()));
  EXPECT_TRUE(fum.WaitForTitle(L"fu - a.txt")) << Narrow(fum.Title());
  EXPECT_EQ(Order(0, 1), L"a.txt");
  // The tap put the caret at the end of the line; the file read again keeps that place.
  fum.Type(L"x");
  fum.Command(IDM_SAVE);
  EXPECT_EQ(install.folder.Read(L"a.txt"), "againx\r\n");
}

TEST_F(Documents, AHandOverWaitsWhileAMenuOfTheMenuBarIsOpen) {
  Open({L"a.txt", L"b.txt"});
  // The menu bar's first button, at its left end, drops its menu down.
  HWND bar = FindWindowExW(fum.Window(), nullptr, L"ToolbarWindow32", nullptr);
  while (bar && !IsWindowVisible(bar)) bar = FindWindowExW(fum.Window(), bar, L"ToolbarWindow32", nullptr);
  ASSERT_NE(bar, nullptr);
  RECT place{};
  GetWindowRect(bar, &place);
  StylusDown({place.left + 12, (place.top + place.bottom) / 2});
  StylusUp();
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = fum.FindOwnWindow(L"#32768")) != nullptr; }));
  install.folder.Write(L"c.txt", "c\r\n");
  SendHandOver(L"c.txt").join();
  Sleep(300);
  EXPECT_EQ(fum.Title(), L"fu - b.txt") << "a file opened under an open menu";
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(fum.WaitForTitle(L"fu - c.txt")) << Narrow(fum.Title());
}

TEST_F(Documents, OpenShowsTheFolderTreeAndFileListAndOpensATypedFullPath) {
  ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
  std::filesystem::create_directories(install.folder.Native(L"one\\two\\three"));
  install.folder.Write(L"one\\two\\three\\deep.txt", "deep\r\n");
  fum.PostCommand(IDM_OPEN);
  HWND dialog = fum.WaitForMessageBox();
  ASSERT_NE(dialog, nullptr);
  EXPECT_NE(GetDlgItem(dialog, IDC_FILEDLG_TREE), nullptr);
  EXPECT_NE(GetDlgItem(dialog, IDC_FILEDLG_LIST), nullptr);
  ASSERT_TRUE(TypeName(dialog, install.folder.Path(L"one\\two\\three\\deep.txt")));
  fum.Press(dialog, IDOK);
  EXPECT_TRUE(fum.WaitForTitle(L"fu - deep.txt")) << Narrow(fum.Title());
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

TEST_F(Documents, TextTheCodePageCannotStoreIsAskedAboutAndYesSavesItAsUtf8) {
  Open({L"a.txt"});
  fum.Type(L"\u4E2D");
  std::wstring caption, text;
  fum.PostCommand(IDM_SAVE);
  ASSERT_TRUE(fum.Answer(IDCANCEL, &caption, &text));
  EXPECT_EQ(caption, L"fum");
  EXPECT_EQ(text, L"a.txt holds characters that the ANSI code page cannot store. Save it as UTF-8?");
  EXPECT_EQ(install.folder.Read(L"a.txt"), "a.txt\r\n");
  EXPECT_TRUE(fum.WaitForTitle(L"fu - a.txt*"));
  // No writes the replacement, and the document stays modified: the file differs from the text.
  fum.PostCommand(IDM_SAVE);
  ASSERT_TRUE(fum.Answer(IDNO));
  EXPECT_TRUE(WaitUntil([&] { return install.folder.Read(L"a.txt") == "?a.txt\r\n"; }));
  EXPECT_TRUE(fum.WaitForTitle(L"fu - a.txt*"));
  fum.PostCommand(IDM_SAVE);
  ASSERT_TRUE(fum.Answer(IDYES));
  EXPECT_TRUE(WaitUntil([&] { return install.folder.Read(L"a.txt") == "\xE4\xB8\xAD" "a.txt\r\n"; }));
  EXPECT_TRUE(fum.WaitForTitle(L"fu - a.txt [UTF-8]"));
}

TEST_F(Documents, UndoAfterSaveAndTypingReturnsToTheSavedUnmodifiedText) {
  Open({L"a.txt"});
  fum.Type(L"ab");
  fum.Command(IDM_SAVE);
  EXPECT_EQ(install.folder.Read(L"a.txt"), "aba.txt\r\n");
  fum.Type(L"c");
  EXPECT_EQ(fum.Title(), L"fu - a.txt*");
  fum.Command(IDM_UNDO);
  EXPECT_EQ(fum.Title(), L"fu - a.txt");
  // Saved in another line end, the text shows: the typing before the save is still there.
  fum.Command(IDM_FORMAT_LF);
  fum.Command(IDM_SAVE);
  EXPECT_EQ(install.folder.Read(L"a.txt"), "aba.txt\n");
}
