// The settings sheet of a running fum.exe, driven through the messages its controls get when a
// user works them: the Document and Classes pages and the sheet's close button.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "FumProcess.h"
#include "SettingsSheetDriver.h"
#include "comun/resource.h"

namespace {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

// The text of a section of the settings file, from "<name>" to "</name>".
std::string SettingsSection(const std::string& settings, const std::string& name) {
  std::size_t start = settings.find("<" + name + ">");
  std::size_t end = settings.find("</" + name + ">");
  if (start == std::string::npos || end == std::string::npos) return {};
  return settings.substr(start, end - start);
}

// Where the caret stands after End on the first line and after End on the second, in pixels:
// equal for the text "\tx" over "xxxx" exactly when tab stops are 3 cells apart.
std::pair<LONG, LONG> CaretAtLineEnds(const FumProcess& fum) {
  auto caretX = [&fum] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(fum.Window(), nullptr), &info);
    return info.rcCaret.left;
  };
  auto key = [&fum](WPARAM key) {
    SendMessageW(fum.Window(), WM_KEYDOWN, key, 0);
    SendMessageW(fum.Window(), WM_KEYUP, key, 0);
  };
  key(VK_END);
  LONG first = caretX();
  key(VK_DOWN);
  key(VK_END);
  return {first, caretX()};
}

class SettingsSheetTest : public ::testing::Test {
 protected:
  void Start(const std::wstring& arguments = L"") {
    ASSERT_TRUE(fum.Start(arguments)) << Narrow(fum.Error());
    ASSERT_TRUE(BringToFront(fum.Window()));
  }
  // A section of the settings file as the program leaves it at its end.
  std::string SectionAfterExit(const std::string& name) {
    DWORD exitCode = 1;
    EXPECT_TRUE(fum.Close(10000, &exitCode));
    return SettingsSection(install.folder.Read(L"fum.opt"), name);
  }

  FumInstall install;
  FumProcess fum{install.Exe()};
};

}  // namespace

TEST_F(SettingsSheetTest, DocumentPageRefusesTabSize21AndKeepsTheSheetOpenUntilItIsMended) {
  install.folder.Write(L"a.txt", "\tx\r\nxxxx\r\n");
  Start(Quoted(install.folder.Path(L"a.txt")));
  auto [before, beside] = CaretAtLineEnds(fum);  // tab stops 2 cells apart
  EXPECT_GT(before, 0);
  EXPECT_NE(before, beside);
  SendMessageW(fum.Window(), WM_KEYDOWN, VK_UP, 0);
  SheetDriver sheet(fum);
  ASSERT_TRUE(sheet.Open());
  EXPECT_EQ(sheet.PageCount(), 5);
  EXPECT_TRUE(IsWindowVisible(sheet.Control(IDC_CLS_ACTIVEDOC)));
  EXPECT_FALSE(IsWindowVisible(sheet.Control(IDC_CLS_NAMES)));

  sheet.SetText(IDC_CLS_TABSIZE, L"21");
  sheet.PressOk();
  std::wstring caption, text;
  ASSERT_TRUE(sheet.AnswerMessage(&caption, &text));
  EXPECT_EQ(text, L"Tabsize must be between 1 and 20");
  EXPECT_EQ(caption, L"");
  Sleep(200);
  ASSERT_TRUE(IsWindow(sheet.Window()));

  sheet.SetText(IDC_CLS_TABSIZE, L"3");
  sheet.PressOk();
  ASSERT_TRUE(sheet.WaitClosed());
  auto [first, second] = CaretAtLineEnds(fum);
  EXPECT_EQ(first, second);
}

TEST_F(SettingsSheetTest, ANewClassIsStoredAtExitAndChosenForItsFiles) {
  Start();
  SheetDriver sheet(fum);
  ASSERT_TRUE(sheet.Open());
  sheet.ShowPage(2);
  EXPECT_TRUE(IsWindowVisible(sheet.Control(IDC_CLS_NAMES)));
  // The default class is shown first and cannot be deleted.
  EXPECT_FALSE(IsWindowEnabled(sheet.Control(IDC_CLS_DELETE)));
  EXPECT_EQ(sheet.FindSection(L"Filters"), -1);
  // Even a Delete that reaches the page leaves it.
  SendMessageW(sheet.Page(), WM_COMMAND, MAKEWPARAM(IDC_CLS_DELETE, BN_CLICKED), 0);
  EXPECT_EQ(SendMessageW(sheet.Control(IDC_CLS_NAMES), CB_GETCOUNT, 0, 0), 1);

  sheet.TypeName(IDC_CLS_NAMES, L"zz");
  sheet.Click(IDC_CLS_NEW);
  EXPECT_TRUE(IsWindowEnabled(sheet.Control(IDC_CLS_DELETE)));
  // A new class needs a pattern before it can be stored.
  sheet.ChooseSection(L"paragraph");
  sheet.SetText(IDC_CLS_TABSIZE, L"3");
  sheet.PressOk();
  std::wstring text;
  ASSERT_TRUE(sheet.AnswerMessage(nullptr, &text));
  EXPECT_EQ(text, L"You have to enter at least a file filter (ie \"*.txt\")");
  EXPECT_TRUE(IsWindowVisible(sheet.Control(IDC_CLS_FILTERS)));

  sheet.SetText(IDC_CLS_FILTERTEXT, L"*.zz");
  sheet.Click(IDC_CLS_FILTERADD);
  sheet.PressOk();
  ASSERT_TRUE(sheet.WaitClosed());

  std::string zz = SectionAfterExit("zz");
  EXPECT_NE(zz.find("filter = {\"*.zz\"}"), std::string::npos) << zz;
  EXPECT_NE(zz.find("tabsize = 3"), std::string::npos) << zz;

  install.folder.Write(L"x.zz", "\tx\r\nxxxx\r\n");
  FumProcess again(install.Exe());
  ASSERT_TRUE(again.Start(Quoted(install.folder.Path(L"x.zz")))) << Narrow(again.Error());
  ASSERT_TRUE(BringToFront(again.Window()));
  auto [first, second] = CaretAtLineEnds(again);
  EXPECT_GT(first, 0);
  EXPECT_EQ(first, second);
}

TEST_F(SettingsSheetTest, SetColorStoresTheSlidersIntoTheChosenSlot) {
  Start();
  SheetDriver sheet(fum);
  ASSERT_TRUE(sheet.Open());
  sheet.ShowPage(2);
  sheet.ChooseSection(L"colors");
  EXPECT_FALSE(IsWindowEnabled(sheet.Control(IDC_CLS_RED)));
  sheet.Choose(IDC_CLS_COLORS, L"comments");
  ASSERT_TRUE(IsWindowEnabled(sheet.Control(IDC_CLS_RED)));
  EXPECT_EQ(SendMessageW(sheet.Control(IDC_CLS_GREEN), TBM_GETPOS, 0, 0), 128);  // 0x008000
  const int parts[][2] = {{IDC_CLS_RED, 10}, {IDC_CLS_GREEN, 20}, {IDC_CLS_BLUE, 30}};
  for (const auto& [bar, value] : parts) SendMessageW(sheet.Control(bar), TBM_SETPOS, TRUE, value);
  sheet.Click(IDC_CLS_SETCOLOR);
  sheet.PressOk();
  ASSERT_TRUE(sheet.WaitClosed());

  // Slot 9 of the default class is 0x001E140A.
  std::string defaults = SectionAfterExit("default");
  EXPECT_NE(defaults.find(",7829367,1971210,13145750,"), std::string::npos) << defaults;
}

TEST_F(SettingsSheetTest, TheClassesPageKeepsWhatItWasGivenAndStoresAnUntickedAlterFont) {
  install.folder.Write(L"fum.opt",
                       "<clases>\r\n<default>\r\nfontwidthrel = 120\r\nhassyntax = 1\r\n"
                       "linespacing = -2\r\nsyntaxfile = \"gone.syntax\"\r\n</default>\r\n"
                       "</clases>\r\n");
  Start();
  SheetDriver sheet(fum);
  // Untouched, a class whose syntax file is missing is not refused: OK closes the sheet.
  ASSERT_TRUE(sheet.Open());
  sheet.ShowPage(2);
  sheet.PressOk();
  ASSERT_TRUE(sheet.WaitClosed());
  // Unticking "Alter Font:" alone is a change, stored with every other value as it was.
  ASSERT_TRUE(sheet.Open());
  sheet.ShowPage(2);
  sheet.ChooseSection(L"font");
  EXPECT_EQ(sheet.Text(IDC_CLS_COMPRESS), L"-2");
  sheet.Click(IDC_CLS_ALTERFONT);
  sheet.PressOk();
  ASSERT_TRUE(sheet.WaitClosed());
  const std::string defaults = SectionAfterExit("default");
  EXPECT_NE(defaults.find("fontwidthrel = 100"), std::string::npos) << defaults;
  EXPECT_NE(defaults.find("linespacing = -2"), std::string::npos) << defaults;
  EXPECT_NE(defaults.find("syntaxfile = \"gone.syntax\""), std::string::npos) << defaults;
}

TEST_F(SettingsSheetTest, CtrlTabAndCtrlShiftTabSwitchPages) {
  Start();
  SheetDriver sheet(fum);
  ASSERT_TRUE(sheet.Open());
  ASSERT_TRUE(BringToFront(sheet.Window()));
  auto shown = [&sheet] {
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet.Window(), PSM_GETTABCONTROL, 0, 0));
    return static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
  };
  EXPECT_EQ(shown(), 0);
  PressKeys({VK_CONTROL, VK_TAB});
  EXPECT_TRUE(WaitUntil([&] { return shown() == 1; })) << shown();
  PressKeys({VK_CONTROL, VK_SHIFT, VK_TAB});
  PressKeys({VK_CONTROL, VK_SHIFT, VK_TAB});
  EXPECT_TRUE(WaitUntil([&] { return shown() == 4; })) << shown();  // round to the last
  sheet.PressOk();
  EXPECT_TRUE(sheet.WaitClosed());
}

TEST_F(SettingsSheetTest, WithoutADocumentTheDocumentPageShowsTheDefaultClassDisabled) {
  Start();
  fum.Command(IDM_CLOSE);
  SheetDriver sheet(fum);
  ASSERT_TRUE(sheet.Open());
  EXPECT_FALSE(IsWindowEnabled(sheet.Control(IDC_CLS_TABSIZE)));
  EXPECT_EQ(sheet.Text(IDC_CLS_TABSIZE), L"2");
  sheet.ChooseSection(L"font");
  EXPECT_TRUE(IsWindowVisible(sheet.Control(IDC_CLS_FONTFAMILY)));
  EXPECT_FALSE(IsWindowEnabled(sheet.Control(IDC_CLS_FONTFAMILY)));
  sheet.PressOk();
  EXPECT_TRUE(sheet.WaitClosed());
}

TEST_F(SettingsSheetTest, TheCloseButtonClosesOnlyWhenReleasedOnIt) {
  Start();
  SheetDriver sheet(fum);
  ASSERT_TRUE(sheet.Open());
  HWND title = GetDlgItem(sheet.Window(), IDC_SHEET_TITLE);
  ASSERT_TRUE(title);
  RECT client{};
  GetClientRect(title, &client);
  LPARAM onButton = MAKELPARAM(client.right - 25, 8);
  SendMessageW(title, WM_LBUTTONDOWN, MK_LBUTTON, onButton);
  SendMessageW(title, WM_LBUTTONUP, 0, MAKELPARAM(5, 8));
  Sleep(200);
  ASSERT_TRUE(IsWindow(sheet.Window()));
  SendMessageW(title, WM_LBUTTONDOWN, MK_LBUTTON, onButton);
  PostMessageW(title, WM_LBUTTONUP, 0, onButton);
  EXPECT_TRUE(sheet.WaitClosed());
}

// Not a check: shows the sheet of the installed program at page FUM_SHEET_PAGE, item
// FUM_SHEET_ITEM, section FUM_SHEET_SECTION and colour slot FUM_SHEET_COLOUR for scripts/sheet-screenshot, which takes the picture once the marker file
// FUM_SHEET_READY exists and deletes it when done.
TEST(SettingsSheetPicture, DISABLED_ShowTheSheet) {
  const char* page = std::getenv("FUM_SHEET_PAGE");
  const char* section = std::getenv("FUM_SHEET_SECTION");
  const char* ready = std::getenv("FUM_SHEET_READY");
  ASSERT_TRUE(page && ready);
  FumProcess fum;
  ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
  SetWindowPos(fum.Window(), nullptr, 0, 0, 320, 400, SWP_NOZORDER);
  SheetDriver sheet(fum);
  ASSERT_TRUE(sheet.Open());
  SetWindowPos(sheet.Window(), HWND_TOP, 20, 10, 0, 0, SWP_NOSIZE);
  int pageIndex = std::atoi(page);
  sheet.ShowPage(pageIndex);
  auto wide = [](const char* text) { return std::wstring(text, text + std::strlen(text)); };
  // The list of named items of the page, whose entry FUM_SHEET_ITEM is chosen first.
  const int itemLists[] = {IDC_CLS_NAMES, IDC_GEN_FILTERNAME, IDC_CLS_NAMES, IDC_CMD_NAMES,
                           IDC_ASC_LIST};
  const char* item = std::getenv("FUM_SHEET_ITEM");
  if (item && *item && pageIndex >= 0 && pageIndex < 5) sheet.Choose(itemLists[pageIndex], wide(item));
  if (section && *section) sheet.ChooseSection(wide(section));
  const char* colour = std::getenv("FUM_SHEET_COLOUR");
  if (colour && *colour) sheet.Choose(IDC_CLS_COLORS, wide(colour));
  std::string marker = std::string("Z:") + ready;
  for (char& ch : marker)
    if (ch == '/') ch = '\\';
  std::ofstream(marker).put('\n');
  for (int waited = 0; waited < 600 && std::ifstream(marker).good(); ++waited) Sleep(50);
}
