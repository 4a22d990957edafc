// Real key presses at a running fum.exe: the accelerator table of the message loop, the keys
// the main window hands to the edit view and to the completion list, and the find field.
#include <gtest/gtest.h>

#include <string>

#include "FumProcess.h"

namespace {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

}  // namespace

TEST(Keys, AcceleratorsSaveUndoRedoCycleCloseAndExit) {
  FumInstall install;
  install.folder.Write(L"a.txt", "a\r\n");
  install.folder.Write(L"b.txt", "b\r\n");
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start(Quoted(install.folder.Path(L"a.txt")) + L" " +
                        Quoted(install.folder.Path(L"b.txt"))))
      << Narrow(fum.Error());
  ASSERT_TRUE(BringToFront(fum.Window()));

  // End reaches the view through the main window; then a typed character.
  PressKeys({VK_END});
  PressKeys({'X'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt*")) << Narrow(fum.Title());
  PressKeys({VK_CONTROL, 'S'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt"));
  EXPECT_EQ(install.folder.Read(L"b.txt"), "bx\r\n");

  PressKeys({VK_CONTROL, 'Z'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt*"));
  PressKeys({VK_CONTROL, 'S'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt"));
  EXPECT_EQ(install.folder.Read(L"b.txt"), "b\r\n");
  PressKeys({VK_CONTROL, 'Y'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt*"));
  PressKeys({VK_CONTROL, 'S'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt"));
  EXPECT_EQ(install.folder.Read(L"b.txt"), "bx\r\n");

  PressKeys({VK_CONTROL, VK_TAB});
  EXPECT_TRUE(fum.WaitForTitle(L"fu - a.txt"));
  PressKeys({VK_CONTROL, VK_F4});
  EXPECT_TRUE(fum.WaitForTitle(L"fu - b.txt"));

  PressKeys({'K'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt*"));
  PressKeys({VK_CONTROL, 'Q'});
  std::wstring text;
  ASSERT_TRUE(fum.Answer(IDNO, nullptr, &text));
  EXPECT_EQ(text, L"File has changed \u00BFdo you want to save it?");
  DWORD exitCode = 1;
  ASSERT_TRUE(fum.WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(install.folder.Read(L"b.txt"), "bx\r\n");
}

namespace {

// Whether a menu of any program is open.
bool MenuOpen() {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu);
}

// A running fum.exe at the front with ta.txt open.
class DesktopKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    install.folder.Write(L"ta.txt", "abc\r\ndef\r\n");
    ASSERT_TRUE(fum.Start(Quoted(install.folder.Path(L"ta.txt")))) << Narrow(fum.Error());
    ASSERT_TRUE(BringToFront(fum.Window()));
  }

  FumInstall install;
  FumProcess fum{install.Exe()};
};

}  // namespace

TEST_F(DesktopKeys, F10AltAndMnemonicsOpenTheMenusAndEscapeClosesThem) {
  // F10, then Down and Enter open the first item, File; Enter runs its first item, New.
  PressKeys({VK_F10});
  EXPECT_TRUE(WaitFor(MenuOpen, 2000));
  PressKeys({VK_DOWN});
  PressKeys({VK_RETURN});
  PressKeys({VK_RETURN});
  EXPECT_TRUE(fum.WaitForTitle(L"fu - doc1")) << Narrow(fum.Title());
  EXPECT_FALSE(MenuOpen());

  // Alt alone opens the menu too; Escape closes it and changes nothing.
  PressKeys({VK_MENU});
  EXPECT_TRUE(WaitFor(MenuOpen, 2000));
  PressKeys({VK_ESCAPE});
  EXPECT_TRUE(WaitFor([] { return !MenuOpen(); }, 2000));
  EXPECT_EQ(fum.Title(), L"fu - doc1");

  // Alt+W opens the Window menu, whose first item is Next.
  PressKeys({VK_MENU, 'W'});
  EXPECT_TRUE(WaitFor(MenuOpen, 2000));
  PressKeys({VK_DOWN});
  PressKeys({VK_RETURN});
  EXPECT_TRUE(fum.WaitForTitle(L"fu - ta.txt")) << Narrow(fum.Title());
  // A letter that is no mnemonic opens nothing and types nothing.
  PressKeys({VK_MENU, 'Q'});
  EXPECT_FALSE(MenuOpen());
  EXPECT_EQ(fum.Title(), L"fu - ta.txt");
}

TEST_F(DesktopKeys, DesktopShortcutsBesideTheHandheldOnes) {
  // Ctrl+Shift+A selects everything, and typing replaces it.
  PressKeys({VK_CONTROL, VK_SHIFT, 'A'});
  PressKeys({'X'});
  PressKeys({VK_CONTROL, 'S'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - ta.txt"));
  EXPECT_EQ(install.folder.Read(L"ta.txt"), "x");
  // Ctrl+A stays About.
  PressKeys({VK_CONTROL, 'A'});
  HWND about = fum.WaitForMessageBox();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(WindowText(about), L"About fum");
  fum.Press(about, IDOK);

  // Ctrl+N makes a new document; Ctrl+W closes it, asking first when it is modified.
  ASSERT_TRUE(BringToFront(fum.Window()));
  PressKeys({VK_CONTROL, 'N'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - doc1"));
  PressKeys({'K'});
  PressKeys({VK_CONTROL, 'W'});
  ASSERT_TRUE(fum.Answer(IDCANCEL));
  EXPECT_EQ(fum.Title(), L"fu - doc1*");
  ASSERT_TRUE(BringToFront(fum.Window()));
  PressKeys({VK_CONTROL, 'W'});
  ASSERT_TRUE(fum.Answer(IDNO));
  EXPECT_TRUE(fum.WaitForTitle(L"fu - ta.txt"));

  // Ctrl+O and Ctrl+Shift+S show the open and the save dialog.
  auto cancelDialog = [&](const wchar_t* title) {
    HWND dialog = fum.WaitForMessageBox();
    ASSERT_NE(dialog, nullptr) << Narrow(title);
    EXPECT_EQ(WindowText(dialog), title);
    fum.Press(dialog, IDCANCEL);
    ASSERT_TRUE(BringToFront(fum.Window()));
  };
  ASSERT_TRUE(BringToFront(fum.Window()));
  PressKeys({VK_CONTROL, 'O'});
  cancelDialog(L"Open");
  PressKeys({VK_CONTROL, VK_SHIFT, 'S'});
  cancelDialog(L"Save As");
}

TEST_F(DesktopKeys, KeyBindingsPressedInTheFindFieldAreTheProgramsCommands) {
  PressKeys({'X'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - ta.txt*"));
  PressKeys({VK_F5});  // the find field takes the keys
  PressKeys({'D'});
  PressKeys({VK_CONTROL, 'S'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - ta.txt")) << Narrow(fum.Title());
  EXPECT_EQ(install.folder.Read(L"ta.txt"), "xabc\r\ndef\r\n");
}

namespace {

void PressEach(const std::string& keys) {
  for (char key : keys) PressKeys({static_cast<WORD>(key)});
}

}  // namespace

TEST(Keys, CompleteWordAndFindAsYouType) {
  FumInstall install;
  install.folder.Write(L"words.txt", "alphabet gamma\r\n");
  install.folder.Write(L"t.txt", "alpine alpaca\r\n");
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start(Quoted(install.folder.Path(L"words.txt")) + L" " +
                        Quoted(install.folder.Path(L"t.txt"))))
      << Narrow(fum.Error());
  ASSERT_TRUE(BringToFront(fum.Window()));
  PressKeys({VK_CONTROL, VK_END});
  // One candidate, from the other document: completed at once.
  PressEach("ALPH");
  PressKeys({VK_CONTROL, VK_SPACE});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - t.txt*")) << Narrow(fum.Title());
  // Three: Enter takes the first, Down and Enter the second, Escape none, a tap the one tapped.
  PressKeys({VK_RETURN});
  PressEach("ALP");
  PressKeys({VK_CONTROL, VK_SPACE});
  PressKeys({VK_RETURN});
  PressKeys({VK_RETURN});
  PressEach("ALP");
  PressKeys({VK_CONTROL, VK_SPACE});
  PressKeys({VK_DOWN});
  PressKeys({VK_RETURN});
  PressKeys({VK_RETURN});
  PressEach("ALP");
  PressKeys({VK_CONTROL, VK_SPACE});
  PressKeys({VK_ESCAPE});
  // A tap on the third word of the list takes it.
  PressKeys({VK_CONTROL, VK_SPACE});
  HWND list = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (list = fum.FindOwnWindow(L"ListBox")) != nullptr; }));
  const int rowHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  POINT third{4, 2 * rowHeight + rowHeight / 2};
  ClientToScreen(list, &third);
  StylusDown(third);
  StylusUp();
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(list); }));
  EXPECT_EQ(GetForegroundWindow(), fum.Window());
  // Typed into the find field, the hit is selected as it goes; Tab returns to the text with the
  // hit selected, and typing replaces it.
  PressKeys({VK_F5});
  PressEach("ALPI");
  PressKeys({VK_TAB});
  PressEach("X");
  PressKeys({VK_CONTROL, 'S'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - t.txt")) << Narrow(fum.Title());
  EXPECT_EQ(install.folder.Read(L"t.txt"), "xne alpaca\r\nalphabet\r\nalpaca\r\nalphabet\r\nalpine");
}

TEST(Keys, TheCaretStandsOnTheCellsOfWideCombinedAndPairedCharacters) {
  FumInstall install;
  // UTF-8: "ab", an ideograph, "e" with a combining acute, an emoji, "ae" with the acute.
  install.folder.Write(L"u.txt",
                       "ab\r\n\xE4\xB8\xAD\r\ne\xCC\x81\r\n\xF0\x9F\x98\x80\r\nae\xCC\x81\r\n");
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start(Quoted(install.folder.Path(L"u.txt")))) << Narrow(fum.Error());
  ASSERT_TRUE(BringToFront(fum.Window()));
  auto key = [&fum](WPARAM key) {
    SendMessageW(fum.Window(), WM_KEYDOWN, key, 0);
    SendMessageW(fum.Window(), WM_KEYUP, key, 0);
  };
  auto caretX = [&fum] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(fum.Window(), nullptr), &info);
    return static_cast<int>(info.rcCaret.left);
  };
  key(VK_HOME);
  const int start = caretX();
  key(VK_END);
  const int cell = (caretX() - start) / 2;
  ASSERT_GT(cell, 0);
  const struct {
    const char* what;
    int cells;
  } lines[] = {{"an ideograph", 2}, {"e and a combining acute", 1}, {"an emoji", 2}};
  for (const auto& line : lines) {
    key(VK_DOWN);
    key(VK_END);
    EXPECT_EQ(caretX(), start + line.cells * cell) << line.what;
    key(VK_LEFT);
    EXPECT_EQ(caretX(), start) << line.what << ": one Left passes the whole character";
  }
  // Backspace after "e" and its accent takes both.
  key(VK_DOWN);
  key(VK_END);
  EXPECT_EQ(caretX(), start + 2 * cell);
  key(VK_BACK);
  EXPECT_EQ(caretX(), start + cell);
  PressKeys({VK_CONTROL, 'S'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - u.txt [UTF-8]")) << Narrow(fum.Title());
  EXPECT_EQ(install.folder.Read(L"u.txt"),
            "ab\r\n\xE4\xB8\xAD\r\ne\xCC\x81\r\n\xF0\x9F\x98\x80\r\na\r\n");
}
