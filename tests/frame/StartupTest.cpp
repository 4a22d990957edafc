// fum.exe as a whole process: start-up with and without files, the hand-over of a second
// start's command line to the running instance, and the settings file written at exit.
#include <gtest/gtest.h>

#include <string>

#include "FumProcess.h"
#include "comun/resource.h"

namespace {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

// Sends hand-over data to a window as a second start would, from this process.
LRESULT SendHandOver(HWND window, ULONG_PTR kind, const void* data, DWORD bytes) {
  COPYDATASTRUCT copy{kind, bytes, const_cast<void*>(data)};
  return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
}

}  // namespace

TEST(Startup, WithoutArgumentsShowsOneUntitledDocumentInAWindowFoundByItsClass) {
  FumInstall install;
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
  // A second start hands its command line to the window found by class.
  EXPECT_EQ(FindWindowW(L"CEFEDITOR", nullptr), fum.Window());
  EXPECT_TRUE(IsWindowVisible(fum.Window()));
  EXPECT_EQ(GetParent(fum.Window()), nullptr);
  EXPECT_EQ(fum.Title(), L"fu - doc1");
  // There is no second document to switch to.
  fum.Command(IDM_NEXTWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - doc1");

  DWORD exitCode = 1;
  ASSERT_TRUE(fum.Close(10000, &exitCode)) << "fum.exe still runs after WM_CLOSE";
  EXPECT_EQ(exitCode, 0u);
}

TEST(Startup, OpensTheFilesOfTheCommandLineAndShowsTheLastOne) {
  FumInstall install;
  install.folder.Write(L"a.c", "int main;\r\n");
  install.folder.Write(L"b.txt", "text\r\n");
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start(Quoted(install.folder.Path(L"a.c")) + L" " +
                        Quoted(install.folder.Path(L"b.txt"))))
      << Narrow(fum.Error());
  EXPECT_EQ(fum.Title(), L"fu - b.txt");
  // a.c went into the start-up document: there are exactly two documents.
  fum.Command(IDM_NEXTWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - a.c");
  fum.Command(IDM_NEXTWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - b.txt");
}

TEST(Startup, RelativeNamesAndWildcardsAreResolvedAgainstTheDefaultFolder) {
  FumInstall install;
  std::wstring folder = install.folder.Path(L"");
  folder.pop_back();  // no trailing backslash
  install.folder.Write(L"fum.opt",
                       "<general>\n\tdefdir = " + SettingString(folder) + "\n</general>\n");
  std::filesystem::create_directory(install.folder.Native(L"src"));
  install.folder.Write(L"src\\one.c", "1\r\n");
  install.folder.Write(L"src\\two.c", "2\r\n");
  install.folder.Write(L"notes.txt", "n\r\n");
  FumProcess fum(install.Exe());
  // A name that matches nothing, or only a folder, is passed over without a word.
  ASSERT_TRUE(fum.Start(L"src\\*.c .\\src\\..\\notes.txt missing.txt src")) << Narrow(fum.Error());
  EXPECT_EQ(fum.Title(), L"fu - notes.txt");
  std::wstring seen;
  for (int i = 0; i < 3; ++i) {
    fum.Command(IDM_NEXTWINDOW);
    seen += fum.Title() + L";";
  }
  // The folder search lists one.c and two.c in either order.
  EXPECT_TRUE(seen == L"fu - one.c;fu - two.c;fu - notes.txt;" ||
              seen == L"fu - two.c;fu - one.c;fu - notes.txt;")
      << Narrow(seen);
}

TEST(Startup, ArgumentsThatNameNoFileLeaveTheUntitledDocument) {
  FumInstall install;
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start(Quoted(install.folder.Path(L"missing.c")))) << Narrow(fum.Error());
  EXPECT_EQ(fum.Title(), L"fu - doc1");
  EXPECT_EQ(fum.WaitForMessageBox(300), nullptr);
}

TEST(HandOver, ASecondStartOpensItsFilesInTheFirstAndEndsWithoutAWindow) {
  FumInstall install;
  install.folder.Write(L"c.txt", "see\r\n");
  FumProcess first(install.Exe());
  ASSERT_TRUE(first.Start()) << Narrow(first.Error());
  // A window of this process in front, so that coming to the front can be seen.
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(BringToFront(other));

  FumProcess second(install.Exe());
  ASSERT_TRUE(second.Launch(Quoted(install.folder.Path(L"c.txt"))));
  DWORD exitCode = 1;
  ASSERT_TRUE(second.WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(second.Window(), nullptr);

  // The start-up document took the file.
  EXPECT_TRUE(first.WaitForTitle(L"fu - c.txt")) << Narrow(first.Title());
  EXPECT_TRUE(WaitForForeground(first.Window()));
  DestroyWindow(other);
  first.Command(IDM_NEXTWINDOW);
  EXPECT_EQ(first.Title(), L"fu - c.txt");
}

TEST(HandOver, MalformedDataIsIgnoredAndDataWithoutTerminatorIsReadWithinItsSize) {
  FumInstall install;
  install.folder.Write(L"c.txt", "see\r\n");
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
  std::wstring line = Quoted(install.folder.Path(L"c.txt"));
  DWORD bytes = static_cast<DWORD>((line.size() + 1) * sizeof(wchar_t));

  // The rules are the command line's own; here the window hands it the kind and the size.
  EXPECT_EQ(SendHandOver(fum.Window(), 2, line.c_str(), bytes), 1);  // another kind
  EXPECT_EQ(SendHandOver(fum.Window(), 1, line.c_str(), bytes - 1), 1);  // half a character
  EXPECT_EQ(fum.Title(), L"fu - doc1");
  EXPECT_EQ(fum.WaitForMessageBox(200), nullptr);

  // The name, then more text after the data's end: only the data's own bytes count.
  std::wstring withTail = line + L"tail.txt";
  DWORD lineBytes = static_cast<DWORD>(line.size() * sizeof(wchar_t));
  EXPECT_EQ(SendHandOver(fum.Window(), 1, withTail.c_str(), lineBytes), 1);
  EXPECT_EQ(fum.Title(), L"fu - c.txt");
  EXPECT_EQ(fum.WaitForMessageBox(200), nullptr);
}

TEST(Exit, TheSettingsFileIsWrittenWithTheRecentFiles) {
  FumInstall install;
  // A name the code page cannot hold: the settings file becomes UTF-8 to keep it.
  const std::wstring name = L"\u03A9c.txt";
  install.folder.Write(name, "see\r\n");
  {
    FumProcess fum(install.Exe());
    ASSERT_TRUE(fum.Start(Quoted(install.folder.Path(name)))) << Narrow(fum.Error());
    DWORD exitCode = 1;
    ASSERT_TRUE(fum.Close(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
  }
  std::string settings = install.folder.Read(L"fum.opt");
  EXPECT_TRUE(settings.starts_with("\xEF\xBB\xBF")) << settings;
  EXPECT_NE(settings.find("nrecent = 1"), std::string::npos) << settings;
  EXPECT_NE(settings.find("\xCE\xA9" "c.txt"), std::string::npos) << settings;
  EXPECT_NE(settings.find("tbfindactive = 0"), std::string::npos) << settings;

  // The next start lists it in the File menu; a second close keeps one entry.
  FumProcess again(install.Exe());
  ASSERT_TRUE(again.Start()) << Narrow(again.Error());
  again.Command(IDM_RECENT_FIRST);
  EXPECT_EQ(again.Title(), L"fu - " + name);
}

namespace {

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(Startup, TheWindowComesBackWhereItWasLeftAndMaximizedWhenItWas) {
  FumInstall install;
  const RECT moved{30, 40, 330, 290};
  {
    FumProcess fum(install.Exe());
    ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
    MoveWindow(fum.Window(), moved.left, moved.top, moved.right - moved.left,
               moved.bottom - moved.top, TRUE);
    ASSERT_TRUE(fum.Close(10000, nullptr));
  }
  {
    FumProcess fum(install.Exe());
    ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
    EXPECT_TRUE(SameRect(WindowRect(fum.Window()), moved));
    ShowWindow(fum.Window(), SW_MAXIMIZE);
    ASSERT_TRUE(fum.Close(10000, nullptr));
  }
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
  EXPECT_TRUE(IsZoomed(fum.Window()));
  ShowWindow(fum.Window(), SW_RESTORE);
  EXPECT_TRUE(SameRect(WindowRect(fum.Window()), moved));
}

TEST(Startup, APlaceOffTheScreenOrTooSmallGivesTheDefaultPlace) {
  for (const char* place : {"winleft = 20000 wintop = 20000 winwidth = 300 winheight = 300",
                            "winleft = 10 wintop = 10 winwidth = 20 winheight = 300"}) {
    FumInstall install(std::string("<general>") + place + " winmaximized = 1</general>");
    FumProcess fum(install.Exe());
    ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
    RECT rect = WindowRect(fum.Window());
    EXPECT_FALSE(IsZoomed(fum.Window())) << place;
    EXPECT_EQ(rect.right - rect.left, 480) << place;
    EXPECT_EQ(rect.bottom - rect.top, 640) << place;
  }
}

TEST(Exit, AFindBarLeftVisibleIsVisibleAgainAfterARestart) {
  FumInstall install;
  for (bool shown : {false, true}) {
    FumProcess fum(install.Exe());
    ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
    HWND findBar = GetDlgItem(fum.Window(), IDC_FINDBAR);
    ASSERT_NE(findBar, nullptr);
    EXPECT_EQ(IsWindowVisible(findBar) != FALSE, shown);
    if (!shown) fum.Command(IDM_TOGGLEFINDBAR);
    DWORD exitCode = 1;
    ASSERT_TRUE(fum.Close(10000, &exitCode));
  }
}
