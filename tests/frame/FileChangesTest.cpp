// Files that another program changes while fum has them open: an unmodified document follows its
// file, a modified one asks before reloading and before saving over it, a removed file's text
// stays to be saved back, and questions wait for each other.
#include <gtest/gtest.h>

#include <string>

#include "FumProcess.h"
#include "comun/resource.h"

namespace {

class FileChanges : public ::testing::Test {
 protected:
  void Start(std::initializer_list<const wchar_t*> names) {
    std::wstring arguments;
    for (const wchar_t* name : names) {
      install.folder.Write(name, "one\r\n");
      arguments += L"\"" + install.folder.Path(name) + L"\" ";
    }
    ASSERT_TRUE(fum.Start(arguments)) << Narrow(fum.Error());
  }
  // fum is the active program again after another one had the focus, as the system tells it
  // (moving the focus between processes is not reliable under Wine without a window manager).
  void Reactivate() { SendMessageW(fum.Window(), WM_ACTIVATEAPP, TRUE, 0); }
  std::string File() { return install.folder.Read(L"a.txt"); }
  bool JournalWritten() {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(install.folder.Path(L"recovery\\*.fumj").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
  }
  void Rewrite(const std::string& bytes) { install.folder.Write(L"a.txt", bytes); }

  FumInstall install;
  FumProcess fum{install.Exe()};
};

const wchar_t changedQuestion[] = L"a.txt was changed by another program. Reload it and lose your changes?";

}  // namespace

TEST_F(FileChanges, AnUnmodifiedDocumentShowsTheNewTextWhenShownAgain) {
  Start({L"a.txt", L"b.txt"});
  Rewrite("new text\r\nsecond\r\n");
  fum.Command(IDM_NEXTWINDOW);
  // Typed once the look that showing the document asked for has been made.
  PostMessageW(fum.Window(), WM_CHAR, L'x', 1);
  ASSERT_TRUE(fum.WaitForTitle(L"fu - a.txt*"));
  fum.Command(IDM_SAVE);
  EXPECT_EQ(File(), "xnew text\r\nsecond\r\n");
}

TEST_F(FileChanges, AChangeWhileTheQuestionIsOpenIsAskedAboutAfterItAndYesReloads) {
  Start({L"a.txt"});
  fum.Type(L"x");
  Rewrite("theirs\r\n");
  Reactivate();
  const HWND question = fum.WaitForMessageBox();
  // The file is changed again, and fum activated again, while the question is open: nothing
  // opens over it.
  Rewrite("theirs again\r\n");
  Reactivate();
  Sleep(300);
  EXPECT_EQ(GetLastActivePopup(fum.Window()), question);
  std::wstring caption, text;
  ASSERT_TRUE(fum.Answer(IDNO, &caption, &text));
  EXPECT_EQ(caption + L": " + text, L"fum: " + std::wstring(changedQuestion));
  // The later change is another change: asked about once the first question has ended.
  ASSERT_TRUE(fum.Answer(IDYES, nullptr, &text));
  EXPECT_EQ(text, changedQuestion);
  EXPECT_TRUE(fum.WaitForTitle(L"fu - a.txt"));
  EXPECT_EQ(fum.WaitForMessageBox(500), nullptr);
  // The caret kept its place, after the x typed at the start.
  fum.Type(L"y");
  fum.Command(IDM_SAVE);
  EXPECT_EQ(File(), "tyheirs again\r\n");
}

TEST_F(FileChanges, NoKeepsTheTextAndSaveAllWritesItWithoutAskingAgainOrAfterwards) {
  Start({L"a.txt"});
  fum.Type(L"x");
  Rewrite("theirs\r\n");
  Reactivate();
  ASSERT_TRUE(fum.Answer(IDNO));
  Reactivate();
  EXPECT_EQ(fum.WaitForMessageBox(500), nullptr) << "asked twice about one change";
  fum.PostCommand(IDM_SAVEALL);
  EXPECT_EQ(fum.WaitForMessageBox(500), nullptr);
  EXPECT_EQ(File(), "xone\r\n");
  // What fum wrote itself is no change by another program.
  Reactivate();
  fum.Type(L"y");
  fum.PostCommand(IDM_SAVE);
  EXPECT_EQ(fum.WaitForMessageBox(500), nullptr);
  EXPECT_TRUE(fum.WaitForTitle(L"fu - a.txt"));
  EXPECT_EQ(File(), "xyone\r\n");
}

TEST_F(FileChanges, SaveOverARewriteThatKeptSizeAndTimeAsksAndNoLeavesTheOtherProgramsBytes) {
  Start({L"a.txt"});
  const std::wstring path = install.folder.Path(L"a.txt");
  const auto writeTime = [&](FILETIME* get, const FILETIME* set) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    if (get) GetFileTime(file, nullptr, nullptr, get);
    if (set) SetFileTime(file, nullptr, nullptr, set);
    CloseHandle(file);
  };
  FILETIME read{};
  writeTime(&read, nullptr);
  fum.Type(L"x");
  Rewrite("two\r\n");
  writeTime(nullptr, &read);

  fum.PostCommand(IDM_SAVE);
  std::wstring text;
  ASSERT_TRUE(fum.Answer(IDNO, nullptr, &text));
  EXPECT_EQ(text, L"a.txt was changed by another program since it was opened. Save over it?");
  EXPECT_EQ(File(), "two\r\n");
  EXPECT_EQ(fum.Title(), L"fu - a.txt*");
}

TEST_F(FileChanges, ARemovedFilesTextStaysModifiedAndSaveWritesItBack) {
  Start({L"a.txt"});
  ASSERT_TRUE(DeleteFileW(install.folder.Path(L"a.txt").c_str()));
  Reactivate();
  std::wstring text;
  ASSERT_TRUE(fum.Answer(IDOK, nullptr, &text));
  EXPECT_EQ(text, L"a.txt was removed by another program. Its text stays open.");
  EXPECT_TRUE(fum.WaitForTitle(L"fu - a.txt*"));
  // The text is in memory only: a crash must not take it.
  EXPECT_TRUE(WaitUntil([&] { return JournalWritten(); }, 6000)) << "no journal of the text";
  Reactivate();
  EXPECT_EQ(fum.WaitForMessageBox(500), nullptr) << "said twice";
  fum.Command(IDM_SAVE);
  EXPECT_EQ(File(), "one\r\n");
  EXPECT_EQ(fum.Title(), L"fu - a.txt");
}

TEST_F(FileChanges, AFileHandedOverDuringTheSaveOverQuestionOpensAfterTheSave) {
  Start({L"a.txt"});
  install.folder.Write(L"b.txt", "bee\r\n");
  fum.Type(L"x");
  Rewrite("theirs, longer\r\n");
  fum.PostCommand(IDM_SAVE);
  ASSERT_NE(fum.WaitForMessageBox(), nullptr);
  FumProcess second(install.Exe());
  ASSERT_TRUE(second.Launch(L"\"" + install.folder.Path(L"b.txt") + L"\""));
  DWORD code = 1;
  ASSERT_TRUE(second.WaitForExit(10000, &code)) << "the second start did not hand over";
  ASSERT_TRUE(fum.Answer(IDYES));
  EXPECT_TRUE(fum.WaitForTitle(L"fu - b.txt"));
  EXPECT_EQ(File(), "xone\r\n");
  fum.Command(IDM_NEXTWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - a.txt");
}
