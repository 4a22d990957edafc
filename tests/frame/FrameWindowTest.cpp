// The main window created inside the test: the enabling and check marks of its menus and bar
// buttons as a drop-down finds them, the generated entries of the File, Window and Tools menus,
// and the place of the edit view above the menu bar.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TempFolder.h"
#include "comun/resource.h"
#include "config/AppSettings.h"
#include "frame/MainFrame.h"
#include "text/Document.h"
#include "view/ViewWindow.h"

namespace {

MainFrame* currentFrame = nullptr;

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::wstring ItemText(HMENU menu, int position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return text;
}

class FrameWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = std::make_unique<AppSettings>(folder.Path(L"fum.opt"), folder.Path(L"syntax"));
    currentFrame = &frame;
    frame.UseSettings(*settings);
    frame.ParseCommandLine(L"");
    ASSERT_EQ(frame.Start(GetModuleHandleW(nullptr), SW_SHOW), MainFrame::StartResult::running);
    Pump();
  }
  void TearDown() override {
    if (IsWindow(frame.mainWindow)) {
      frame.closing = true;
      DestroyWindow(frame.mainWindow);
    }
    Pump();
    currentFrame = nullptr;
  }

  // Drops the main menu down as far as the frame can tell: its menu states are computed.
  void DropDown() { SendMessageW(frame.mainWindow, WM_INITMENUPOPUP,
                                 reinterpret_cast<WPARAM>(frame.mainMenu), 0); }
  HMENU Submenu(int position) const { return GetSubMenu(frame.mainMenu, position); }
  bool Enabled(int command) const {
    return !(GetMenuState(frame.mainMenu, command, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
  }
  bool Checked(HMENU menu, int command) const {
    return GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED;
  }
  bool ButtonEnabled(int command) const {
    return SendMessageW(frame.menuBar, TB_ISBUTTONENABLED, command, 0) != 0;
  }
  void Type(wchar_t ch) { SendMessageW(frame.mainWindow, WM_CHAR, ch, 1); }
  std::wstring Title() const {
    wchar_t text[128] = {};
    GetWindowTextW(frame.mainWindow, text, 128);
    return text;
  }

  TempFolder folder;
  std::unique_ptr<AppSettings> settings;
  MainFrame frame;
};

}  // namespace

MainFrame& TheFrame() { return *currentFrame; }

TEST_F(FrameWindow, WithoutADocumentTheDocumentCommandsAreGreyed) {
  frame.RunCommand(IDM_CLOSE);
  ASSERT_TRUE(frame.documents.empty());
  ASSERT_EQ(frame.ActiveDocument(), nullptr);
  DropDown();
  for (int command : {IDM_SAVE, IDM_UNDO, IDM_COPY, IDM_CUT, IDM_PASTE, IDM_COPYAPPEND,
                      IDM_CUTAPPEND, IDM_WORDWRAP, IDM_FINDNEXT, IDM_FINDPREV, IDM_REPLACENEXT,
                      IDM_REPLACE, IDM_REPLACEALL, IDM_NEXTWINDOW, IDM_PREVWINDOW}) {
    EXPECT_FALSE(Enabled(command)) << command;
  }
  // The menu bar's own drop-downs follow.
  HMENU barEdit = GetSubMenu(frame.menuBarMenu, 2);
  EXPECT_TRUE(GetMenuState(barEdit, IDM_UNDO, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(GetSubMenu(frame.menuBarMenu, 1), IDM_SAVE, MF_BYCOMMAND) & MF_GRAYED);
  for (int command : {IDM_SAVE, IDM_UNDO, IDM_NEXTWINDOW, IDM_FINDNEXT}) {
    EXPECT_FALSE(ButtonEnabled(command)) << command;
  }
  // Commands that need a document do nothing.
  frame.RunCommand(IDM_SAVE);
  frame.RunCommand(IDM_WORDWRAP);
  frame.RunCommand(IDM_UNDO);
  EXPECT_TRUE(frame.documents.empty());
}

TEST_F(FrameWindow, SaveAndUndoAreEnabledOnlyWhenTheDocumentChanged) {
  DropDown();
  EXPECT_FALSE(Enabled(IDM_SAVE));
  EXPECT_FALSE(Enabled(IDM_UNDO));
  EXPECT_FALSE(ButtonEnabled(IDM_SAVE));
  Type(L'a');
  DropDown();
  EXPECT_TRUE(Enabled(IDM_SAVE));
  EXPECT_TRUE(Enabled(IDM_UNDO));
  EXPECT_TRUE(ButtonEnabled(IDM_SAVE));
  EXPECT_TRUE(ButtonEnabled(IDM_UNDO));
  EXPECT_EQ(Title(), L"fu - doc1*");
  frame.RunCommand(IDM_UNDO);
  DropDown();
  EXPECT_FALSE(Enabled(IDM_SAVE));
  EXPECT_FALSE(ButtonEnabled(IDM_SAVE));
}

TEST_F(FrameWindow, WordwrapIsCheckedWhileTheDocumentWraps) {
  HMENU barEdit = GetSubMenu(frame.menuBarMenu, 2);
  bool wraps = frame.ActiveDocument()->text->settings.wordwrap;
  DropDown();
  EXPECT_EQ(Checked(frame.mainMenu, IDM_WORDWRAP), wraps);
  EXPECT_EQ(Checked(barEdit, IDM_WORDWRAP), wraps);
  frame.RunCommand(IDM_WORDWRAP);
  DropDown();
  EXPECT_EQ(Checked(frame.mainMenu, IDM_WORDWRAP), !wraps);
  EXPECT_EQ(Checked(barEdit, IDM_WORDWRAP), !wraps);
  // Only the document changed; its class keeps its setting.
  EXPECT_EQ(settings->defaultClass.wordwrap, wraps);
  frame.RunCommand(IDM_WORDWRAP);
  DropDown();
  EXPECT_EQ(Checked(frame.mainMenu, IDM_WORDWRAP), wraps);
}

TEST_F(FrameWindow, SearchOptionsFlipAndTheirChecksAppearInTheOptionsMenu) {
  frame.RunCommand(IDM_IGNORECASE);
  frame.RunCommand(IDM_ALLDOCUMENTS);
  frame.RunCommand(IDM_ALLDOCUMENTS);
  EXPECT_TRUE(frame.searchFlags[searchIgnoreCase]);
  EXPECT_FALSE(frame.searchFlags[searchAllDocuments]);
  EXPECT_TRUE(frame.searchChanged);
  DropDown();
  EXPECT_TRUE(Checked(frame.findOptionsMenu, IDM_IGNORECASE));
  EXPECT_FALSE(Checked(frame.findOptionsMenu, IDM_ALLDOCUMENTS));
  EXPECT_FALSE(Checked(frame.findOptionsMenu, IDM_WHOLEWORDS));
}

TEST_F(FrameWindow, TheWindowMenuListsTheDocumentsWithTheirChangesAndGreysNextForOne) {
  DropDown();
  HMENU windows = Submenu(3);
  EXPECT_FALSE(Enabled(IDM_NEXTWINDOW));
  EXPECT_EQ(GetMenuItemID(windows, 3), static_cast<UINT>(IDM_WINDOW_FIRST));
  EXPECT_EQ(ItemText(windows, 3), L"&1 doc1");

  // doc1 stops being the pristine start-up document once typed into, so New adds documents.
  Type(L'a');
  for (int i = 0; i < 10; ++i) frame.RunCommand(IDM_NEW);
  DropDown();
  EXPECT_TRUE(Enabled(IDM_NEXTWINDOW));
  EXPECT_TRUE(Enabled(IDM_PREVWINDOW));
  ASSERT_EQ(GetMenuItemCount(windows), 3 + 11);
  EXPECT_EQ(ItemText(windows, 3), L"&1 doc1*");
  EXPECT_EQ(ItemText(windows, 4), L"&2 doc2");
  // The tenth entry's mnemonic follows "9"; the untitled numbers wrap after 9.
  EXPECT_EQ(ItemText(windows, 12), L"&: doc0");
  EXPECT_EQ(ItemText(windows, 13), L"&; doc1");

  frame.RunCommand(IDM_WINDOW_FIRST);
  EXPECT_EQ(frame.activeIndex, 0);
  EXPECT_TRUE(frame.documents[0]->shown);
  EXPECT_FALSE(frame.documents[10]->shown);
}

TEST_F(FrameWindow, RecentFilesStandAboveTheLastSeparatorOfTheFileMenu) {
  HMENU file = Submenu(0);
  int itemsBefore = GetMenuItemCount(file);
  settings->AddRecent(LR"(C:\one\first.txt)");
  settings->AddRecent(LR"(C:\two\second.c)");
  ASSERT_EQ(GetMenuItemCount(file), itemsBefore + 2);
  // New, Open..., Save, Save As..., Save All, Encoding, a separator, the recent files.
  int recent = 0;
  // (The state of a submenu's item holds its item count where a separator has its flag.)
  while (GetSubMenu(file, recent) || !(GetMenuState(file, recent, MF_BYPOSITION) & MF_SEPARATOR))
    ++recent;
  ++recent;
  EXPECT_EQ(ItemText(file, recent), L"&1 second.c");
  EXPECT_EQ(GetMenuItemID(file, recent), static_cast<UINT>(IDM_RECENT_FIRST));
  EXPECT_EQ(ItemText(file, recent + 1), L"&2 first.txt");
  EXPECT_TRUE(GetMenuState(file, recent + 2, MF_BYPOSITION) & MF_SEPARATOR);
  settings->AddRecent(LR"(C:\one\first.txt)");
  EXPECT_EQ(GetMenuItemCount(file), itemsBefore + 2);
  EXPECT_EQ(ItemText(file, recent), L"&1 first.txt");

  // Choosing an entry beyond the list opens nothing.
  frame.RunCommand(IDM_RECENT_FIRST + 5);
  EXPECT_EQ(frame.documents.size(), 1u);
}

TEST_F(FrameWindow, ToolsCommandsFollowTheSeparatorOfTheToolsMenu) {
  settings->commands.push_back({.name = L"make", .cmdline = L"make.exe"});
  settings->commands.push_back({.name = L"lint", .cmdline = L"lint.exe"});
  DropDown();
  HMENU tools = Submenu(4);
  ASSERT_EQ(GetMenuItemCount(tools), 4);
  EXPECT_EQ(ItemText(tools, 2), L"&make");
  EXPECT_EQ(GetMenuItemID(tools, 3), static_cast<UINT>(IDM_TOOL_FIRST + 1));
  settings->commands.pop_back();
  DropDown();
  EXPECT_EQ(GetMenuItemCount(tools), 3);
}

TEST_F(FrameWindow, TheViewFillsTheClientAreaAboveTheMenuBar) {
  RECT client{}, view{}, bar{};
  GetClientRect(frame.mainWindow, &client);
  GetWindowRect(frame.ActiveView()->window, &view);
  GetWindowRect(frame.menuBar, &bar);
  EXPECT_TRUE(IsWindowVisible(frame.ActiveView()->window));
  EXPECT_EQ(view.right - view.left, client.right);
  EXPECT_EQ(view.bottom, bar.top);

  // A size message of another window's kind (3, 4) leaves the view alone.
  SetWindowPos(frame.ActiveView()->window, nullptr, 0, 0, 50, 50, SWP_NOZORDER);
  SendMessageW(frame.mainWindow, WM_SIZE, SIZE_MAXSHOW, MAKELPARAM(client.right, client.bottom));
  GetWindowRect(frame.ActiveView()->window, &view);
  EXPECT_EQ(view.right - view.left, 50);
  SendMessageW(frame.mainWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  GetWindowRect(frame.ActiveView()->window, &view);
  EXPECT_EQ(view.right - view.left, client.right);
}
