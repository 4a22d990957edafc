// Picking up where the user left off, driving fum.exe: Exit and the starts after it, a closed
// file opened again at its place, and the end of the user's session with a recovery journal.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FumProcess.h"
#include "comun/resource.h"

namespace {

// Eight lines named after the file ("a1" to "a8"), with text put in front of line `line`.
std::string Lines(char name, int line = 0, const std::string& text = "") {
  std::string lines;
  for (char number = '1'; number <= '8'; ++number) lines += std::string{name, number} + "\r\n";
  return line ? lines.insert((line - 1) * 4, text) : lines;
}

class LastSession : public ::testing::Test {
 protected:
  LastSession() {
    install.folder.Write(L"a.txt", Lines('a'));
    install.folder.Write(L"b.txt", Lines('b'));
  }
  std::wstring Name(const wchar_t* file) const { return L"\"" + install.folder.Path(file) + L"\""; }
  static void Down(const FumProcess& fum, int rows) {
    for (int i = 0; i < rows; ++i) SendMessageW(fum.Window(), WM_KEYDOWN, VK_DOWN, 0);
  }
  static void Exit(FumProcess& fum) {
    DWORD code = 1;
    ASSERT_TRUE(fum.Close(10000, &code));
  }
  static void TypeAndSave(const FumProcess& fum, const std::wstring& text) {
    fum.Type(text);
    fum.Command(IDM_SAVE);
  }

  FumInstall install;
};

}  // namespace

TEST_F(LastSession, ExitAndTheStartsWithAndWithoutNamesAfterIt) {
  {
    FumProcess fum(install.Exe());
    ASSERT_TRUE(fum.Start(Name(L"a.txt") + L" " + Name(L"b.txt"))) << Narrow(fum.Error());
    Down(fum, 2);
    // b.txt changed and put back: Exit asks about it, showing it, and it is told No.
    fum.Type(L"Q");
    SendMessageW(fum.Window(), WM_KEYDOWN, VK_BACK, 0);
    fum.Command(IDM_NEXTWINDOW);
    Down(fum, 4);
    PostMessageW(fum.Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(fum.Answer(IDNO));
    DWORD code = 1;
    ASSERT_TRUE(fum.WaitForExit(10000, &code));
  }
  {
    // Both again, each where it was, the one shown before Exit's questions in front, and
    // nothing else.
    FumProcess fum(install.Exe());
    ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
    EXPECT_EQ(fum.Title(), L"fu - a.txt");
    TypeAndSave(fum, L"X");
    fum.Command(IDM_NEXTWINDOW);
    EXPECT_EQ(fum.Title(), L"fu - b.txt");
    TypeAndSave(fum, L"Y");
    fum.Command(IDM_NEXTWINDOW);
    EXPECT_EQ(fum.Title(), L"fu - a.txt");
    EXPECT_EQ(install.folder.Read(L"a.txt"), Lines('a', 5, "X"));
    EXPECT_EQ(install.folder.Read(L"b.txt"), Lines('b', 3, "Y"));
    Exit(fum);
  }
  // A file gone since is left out without a word; with a name only that file opens.
  std::filesystem::remove(install.folder.Native(L"a.txt"));
  for (const wchar_t* file : {L"b.txt", L"a.txt"}) {
    const bool named = file[0] == L'a';
    if (named) install.folder.Write(L"a.txt", Lines('a'));
    FumProcess fum(install.Exe());
    ASSERT_TRUE(fum.Start(named ? Name(file) : L"")) << Narrow(fum.Error());
    EXPECT_EQ(fum.WaitForMessageBox(300), nullptr);
    fum.Command(IDM_NEXTWINDOW);
    EXPECT_EQ(fum.Title(), L"fu - " + std::wstring(file));
    Exit(fum);
  }
  // With the option off, an untitled document; the settings file holds nothing of this.
  std::string session = install.folder.Read(L"fum.session");
  ASSERT_NE(session.find("reopen = 1"), std::string::npos) << session;
  install.folder.Write(L"fum.session", session.replace(session.find("= 1"), 3, "= 0"));
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
  EXPECT_EQ(fum.Title(), L"fu - doc1");
  EXPECT_EQ(install.folder.Read(L"fum.opt").find("reopen"), std::string::npos);
}

TEST_F(LastSession, AFileClosedAtLineFiveOpensThereFromTheRecentFilesAndAReload) {
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start(Name(L"a.txt"))) << Narrow(fum.Error());
  Down(fum, 4);
  fum.Command(IDM_CLOSE);
  fum.Command(IDM_RECENT_FIRST);
  TypeAndSave(fum, L"X");
  fum.Command(IDM_RECENT_FIRST);  // open already: read again
  TypeAndSave(fum, L"Y");
  EXPECT_EQ(install.folder.Read(L"a.txt"), Lines('a', 5, "XY"));
}

TEST_F(LastSession, AfterTheEndOfTheUsersSessionAJournaledFileOpensOnceWithItsQuestion) {
  {
    FumProcess fum(install.Exe());
    ASSERT_TRUE(fum.Start(Name(L"a.txt") + L" " + Name(L"b.txt"))) << Narrow(fum.Error());
    fum.Command(IDM_NEXTWINDOW);
    fum.Type(L"xyzw");  // the caret goes beyond the end of the line as saved
    // At once, before the typing pause after which the journal would be written anyway.
    SendMessageW(fum.Window(), WM_ENDSESSION, TRUE, 0);
    TerminateProcess(fum.Process(), 9);
    DWORD code = 0;
    ASSERT_TRUE(fum.WaitForExit(5000, &code));
  }
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
  std::wstring text;
  ASSERT_TRUE(fum.Answer(IDYES, nullptr, &text));
  EXPECT_EQ(text, L"Unsaved changes of a.txt were recovered. Restore them?");
  EXPECT_EQ(fum.WaitForMessageBox(1000), nullptr);
  ASSERT_TRUE(fum.WaitForTitle(L"fu - a.txt*"));
  TypeAndSave(fum, L"Z");
  EXPECT_EQ(install.folder.Read(L"a.txt"), Lines('a', 1, "xyzwZ"));
  fum.Command(IDM_NEXTWINDOW);
  fum.Command(IDM_NEXTWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - a.txt");
}
