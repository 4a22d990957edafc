// The main window created inside the test: the enabling and check marks of its menus and bar
// buttons as a drop-down finds them, the generated entries of the File, Window and Tools menus
// (also from the settings sheet's Commands page), the place of the edit view above the menu
// bar, files dropped on the window, the find bar, the completion list and find as you type.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "comun/resource.h"
#include "config/AppSettings.h"
#include "frame/MainFrame.h"
#include "syntax/ConfigFile.h"
#include "text/Document.h"
#include "view/ViewWindowWin32.h"

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
  for (int command : {IDM_CLOSE, IDM_SAVE, IDM_SAVEAS, IDM_UNDO, IDM_COPY, IDM_CUT, IDM_PASTE,
                      IDM_COPYAPPEND, IDM_CUTAPPEND, IDM_WORDWRAP, IDM_FINDNEXT, IDM_FINDPREV,
                      IDM_REPLACENEXT, IDM_REPLACE, IDM_REPLACEALL, IDM_NEXTWINDOW,
                      IDM_PREVWINDOW, IDM_COMPLETEWORD}) {
    EXPECT_FALSE(Enabled(command)) << command;
  }
  // The menu bar's own drop-downs follow.
  HMENU barEdit = GetSubMenu(frame.menuBarMenu, 2);
  EXPECT_TRUE(GetMenuState(barEdit, IDM_UNDO, MF_BYCOMMAND) & MF_GRAYED);
  for (int command : {IDM_SAVE, IDM_SAVEAS, IDM_CLOSE}) {
    EXPECT_TRUE(GetMenuState(GetSubMenu(frame.menuBarMenu, 1), command, MF_BYCOMMAND) & MF_GRAYED)
        << command;
  }
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
  EXPECT_TRUE(Enabled(IDM_CLOSE));
  EXPECT_TRUE(Enabled(IDM_SAVEAS));
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
  EXPECT_TRUE(frame.searcher.Option(searchIgnoreCase));
  EXPECT_FALSE(frame.searcher.Option(searchAllDocuments));
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
  EXPECT_EQ(frame.documents.ActiveIndex(), 0);
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
  settings->commands.push_back({.name = L"make", .cmdline = L"make.exe", .cmdargs = {}});
  settings->commands.push_back({.name = L"lint", .cmdline = L"lint.exe", .cmdargs = {}});
  DropDown();
  HMENU tools = Submenu(4);
  ASSERT_EQ(GetMenuItemCount(tools), 4);
  EXPECT_EQ(ItemText(tools, 2), L"&make");
  EXPECT_EQ(GetMenuItemID(tools, 3), static_cast<UINT>(IDM_TOOL_FIRST + 1));
  settings->commands.pop_back();
  DropDown();
  EXPECT_EQ(GetMenuItemCount(tools), 3);
}

// Works the settings sheet from inside its own message loop once it shows, then presses OK.
void (*sheetSteps)(HWND page) = nullptr;
int sheetPage = 0;

void CALLBACK DriveSheet(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND sheet = FindWindowW(L"#32770", L"Settings");
  if (!sheet) return;
  KillTimer(nullptr, timer);
  SendMessageW(sheet, PSM_SETCURSEL, sheetPage, 0);
  sheetSteps(reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)));
  PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
}

TEST_F(FrameWindow, ACommandMadeOnTheCommandsPageIsInTheToolsMenuAtOnce) {
  sheetPage = 3;
  sheetSteps = [](HWND page) {
    HWND names = GetDlgItem(page, IDC_CMD_NAMES);
    SetWindowTextW(names, L"lint");
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_CMD_NAMES, CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(names));
    // Until New is chosen, a name that is not in the list leaves the fields disabled.
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_CMD_PROGRAM)));
    SendMessageW(GetDlgItem(page, IDC_CMD_NEW), BM_CLICK, 0, 0);
    SetWindowTextW(GetDlgItem(page, IDC_CMD_PROGRAM), L"lint.exe");
    SendMessageW(GetDlgItem(page, IDC_CMD_SAVEDOC), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(page, IDC_CMD_CAPTURE), BM_CLICK, 0, 0);
  };
  SetTimer(nullptr, 0, 20, DriveSheet);
  frame.RunCommand(IDM_SETTINGS);

  ASSERT_EQ(settings->commands.size(), 1u);
  EXPECT_EQ(settings->commands[0].cmdline, L"lint.exe");
  EXPECT_TRUE(settings->commands[0].savedoc);
  EXPECT_TRUE(settings->commands[0].capture);
  HMENU tools = Submenu(4);
  ASSERT_EQ(GetMenuItemCount(tools), 3);
  EXPECT_EQ(ItemText(tools, 2), L"&lint");
}

TEST_F(FrameWindow, AClassChangedOnTheClassesPageReachesTheOpenDocumentsOfThatClass) {
  DocClass zz = settings->defaultClass;
  zz.name = L"zz";
  zz.filter = JoinStringList({L"*.zz"});
  settings->classNames.push_back(L"zz");
  settings->classes.emplace(L"zz", zz);
  folder.Write(L"x.zz", "x\r\n");
  frame.OpenFile(folder.Path(L"x.zz"));
  ASSERT_EQ(frame.ActiveDocument()->view->docClass.name, L"zz");

  sheetPage = 2;
  sheetSteps = [](HWND page) {
    HWND names = GetDlgItem(page, IDC_CLS_NAMES);
    SendMessageW(names, CB_SETCURSEL, 0, 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_CLS_NAMES, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(names));
    SetWindowTextW(GetDlgItem(page, IDC_CLS_TABSIZE), L"5");
  };
  SetTimer(nullptr, 0, 20, DriveSheet);
  frame.RunCommand(IDM_SETTINGS);

  EXPECT_EQ(settings->classes.at(L"zz").tabsize, 5);
  // The Document page was not changed, so the document still follows its class.
  EXPECT_EQ(frame.ActiveDocument()->view->docClass.name, L"zz");
  EXPECT_EQ(frame.ActiveDocument()->text->settings.tabsize, 5);
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

namespace {

// What a file manager hands over when files are dropped: a DROPFILES block with the paths,
// each ended by a NUL, and one more NUL.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
  std::wstring names;
  for (const std::wstring& path : paths) names += path + L'\0';
  names += L'\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  names.copy(reinterpret_cast<wchar_t*>(drop + 1), names.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

}  // namespace

TEST_F(FrameWindow, DroppedFilesOpenAndFoldersArePassedOver) {
  folder.Write(L"one.txt", "1");
  folder.Write(L"two.c", "2");
  std::filesystem::create_directory(folder.Native(L"sub"));
  HDROP drop = MakeDrop({folder.Path(L"one.txt"), folder.Path(L"sub"), folder.Path(L"two.c")});
  SendMessageW(frame.mainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  // The untouched start-up document took the first file.
  ASSERT_EQ(frame.documents.size(), 2u);
  EXPECT_EQ(frame.documents[0]->file.path, folder.Path(L"one.txt"));
  EXPECT_EQ(frame.documents[1]->file.path, folder.Path(L"two.c"));
  EXPECT_EQ(Title(), L"fu - two.c");
}

// ---- The find bar ------------------------------------------------------------------------------

namespace {

void PressKey(HWND window, WPARAM key, wchar_t ch) {
  SendMessageW(window, WM_KEYDOWN, key, 1);
  if (ch) SendMessageW(window, WM_CHAR, ch, 1);
  SendMessageW(window, WM_KEYUP, key, 1);
}

std::wstring WindowText(HWND window) {
  wchar_t text[64] = {};
  GetWindowTextW(window, text, 64);
  return text;
}

}  // namespace

TEST_F(FrameWindow, TheFindFieldEnablesTheFindButtonsAndEnterFindsTheNextHit) {
  frame.RunCommand(IDM_TOGGLEFINDBAR);
  ASSERT_TRUE(frame.findBar && IsWindowVisible(frame.findBar));
  for (wchar_t ch : std::wstring(L"a foo foo")) Type(ch);
  auto findButton = [&] { return SendMessageW(frame.findBar, TB_ISBUTTONENABLED, IDM_FINDNEXT, 0) != 0; };
  EXPECT_FALSE(findButton());
  SetWindowTextW(frame.findField.window, L"foo");
  EXPECT_EQ(frame.searcher.FindText(), L"foo");
  EXPECT_TRUE(findButton());
  frame.RunCommand(IDM_DOCSTART);
  PressKey(frame.findField.window, VK_RETURN, L'\r');
  ViewWindow& view = *frame.ActiveView();
  EXPECT_TRUE(view.selectionActive);
  EXPECT_EQ(view.anchor.index, 2);
  EXPECT_EQ(view.caret.index, 5);
  EXPECT_EQ(WindowText(frame.findField.window), L"foo") << "Enter types nothing";
  EXPECT_EQ(GetFocus(), frame.mainWindow);
  // Typed over, the hit is no hit: Replace finds the next one instead of inserting.
  SetWindowTextW(frame.replaceField.window, L"bar");
  Type(L'X');
  frame.RunCommand(IDM_REPLACE);
  EXPECT_EQ(frame.ActiveDocument()->text->lines[0].Text(), L"a X foo");
  EXPECT_EQ(view.anchor.index, 4);
  frame.RunCommand(IDM_UNDO);
  frame.RunCommand(IDM_DOCSTART);
  PressKey(frame.findField.window, VK_RETURN, L'\r');
  // Replace typed into the replace field; Enter there replaces the hit and selects the next.
  SetWindowTextW(frame.replaceField.window, L"bar");
  PressKey(frame.replaceField.window, VK_RETURN, L'\r');
  EXPECT_EQ(frame.ActiveDocument()->text->lines[0].Text(), L"a bar foo");
  EXPECT_EQ(view.anchor.index, 6);
  SetWindowTextW(frame.findField.window, L"");
  EXPECT_FALSE(findButton());
}

TEST_F(FrameWindow, GotoLineTakesTheLineNumbersPlaceUntilEnter) {
  for (wchar_t ch : std::wstring(L"1\r2\r3\r4")) Type(ch);
  frame.RunCommand(IDM_GOTOLINE);
  ASSERT_TRUE(IsWindowVisible(frame.findBar));
  EXPECT_TRUE(IsWindowVisible(frame.gotoField.window));
  EXPECT_FALSE(IsWindowVisible(frame.lineNumberField));
  EXPECT_EQ(frame.gotoField.GetText(), L"4");
  EXPECT_EQ(GetFocus(), frame.gotoField.window);
  frame.gotoField.SetText(L"2");
  PressKey(frame.gotoField.window, VK_RETURN, L'\r');
  EXPECT_EQ(frame.ActiveView()->caret.line, 1);
  EXPECT_FALSE(IsWindowVisible(frame.gotoField.window));
  EXPECT_TRUE(IsWindowVisible(frame.lineNumberField));
  EXPECT_EQ(WindowText(frame.lineNumberField), L"2");
  // Escape cancels an entry: the focus goes back to the text and the line number returns.
  frame.RunCommand(IDM_GOTOLINE);
  PressKey(frame.gotoField.window, VK_ESCAPE, 27);
  EXPECT_EQ(frame.ActiveView()->caret.line, 1);
  EXPECT_TRUE(IsWindowVisible(frame.lineNumberField));
  // A number too large for any line goes to the last line.
  for (const wchar_t* number : {L"4294967296", L"2147483648"}) {
    frame.RunCommand(IDM_DOCSTART);
    frame.RunCommand(IDM_GOTOLINE);
    frame.gotoField.SetText(number);
    PressKey(frame.gotoField.window, VK_RETURN, L'\r');
    EXPECT_EQ(frame.ActiveView()->caret.line, 3) << ::testing::PrintToString(std::wstring(number));
  }
}

TEST_F(FrameWindow, TabInAFieldReturnsToTheTextAndTheOptionsAreCheckedInTheBarsMenu) {
  frame.RunCommand(IDM_FINDTEXT);
  ASSERT_EQ(GetFocus(), frame.findField.window);
  PressKey(frame.findField.window, VK_TAB, L'\t');
  EXPECT_EQ(GetFocus(), frame.mainWindow);
  EXPECT_EQ(frame.findField.GetText(), L"");
  frame.RunCommand(IDM_WHOLEWORDS);
  EXPECT_TRUE(Checked(frame.findBarMenu, IDM_WHOLEWORDS));
  frame.RunCommand(IDM_WHOLEWORDS);
  EXPECT_FALSE(Checked(frame.findBarMenu, IDM_WHOLEWORDS));
}

TEST_F(FrameWindow, RegularExpressionsFindAndReplaceWithGroupsTakenBackByOneUndo) {
  frame.RunCommand(IDM_TOGGLEFINDBAR);
  frame.RunCommand(IDM_REGEXP);
  for (wchar_t ch : std::wstring(L"a=b\rkey=value\rfoo")) Type(ch);
  SetWindowTextW(frame.findField.window, L"fo+");
  frame.RunCommand(IDM_DOCSTART);
  frame.RunCommand(IDM_FINDNEXT);
  ViewWindow& view = *frame.ActiveView();
  EXPECT_EQ(view.anchor.line, 2);
  EXPECT_EQ(view.caret.index, 3);
  SetWindowTextW(frame.findField.window, L"(\\w+)=(\\w+)");
  SetWindowTextW(frame.replaceField.window, L"$2=$1");
  frame.RunCommand(IDM_REPLACEALL);
  const Document& text = *frame.ActiveDocument()->text;
  EXPECT_EQ(text.lines[0].Text(), L"b=a");
  EXPECT_EQ(text.lines[1].Text(), L"value=key");
  frame.RunCommand(IDM_UNDO);
  EXPECT_EQ(text.lines[0].Text(), L"a=b");
  EXPECT_EQ(text.lines[1].Text(), L"key=value");
}

TEST_F(FrameWindow, AnInvalidExpressionChangesNothingAndSaysWhyInTheTip) {
  frame.RunCommand(IDM_TOGGLEFINDBAR);
  frame.RunCommand(IDM_REGEXP);
  for (wchar_t ch : std::wstring(L"(a+)+b (x")) Type(ch);
  ASSERT_NE(frame.findTip, nullptr);
  SetWindowTextW(frame.findField.window, L"(x");
  EXPECT_TRUE(IsWindowVisible(frame.findTip));
  wchar_t tip[200] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = frame.mainWindow;
  tool.uId = reinterpret_cast<UINT_PTR>(frame.findField.window);
  tool.lpszText = tip;
  SendMessageW(frame.findTip, TTM_GETTEXTW, 200, reinterpret_cast<LPARAM>(&tool));
  EXPECT_NE(std::wstring(tip).find(L"parenthesis"), std::wstring::npos) << tip;
  SetWindowTextW(frame.replaceField.window, L"y");
  frame.RunCommand(IDM_REPLACEALL);
  frame.RunCommand(IDM_FINDNEXT);
  EXPECT_EQ(frame.ActiveDocument()->text->lines[0].Text(), L"(a+)+b (x");
  // Runaway backtracking on a long line ends, and says so.
  for (int i = 0; i < 30; ++i) Type(L'a');
  SetWindowTextW(frame.findField.window, L"(a+)+c");
  EXPECT_FALSE(IsWindowVisible(frame.findTip));
  frame.RunCommand(IDM_FINDNEXT);
  EXPECT_TRUE(IsWindowVisible(frame.findTip));
  frame.RunCommand(IDM_REGEXP);
  EXPECT_FALSE(IsWindowVisible(frame.findTip));
}

TEST_F(FrameWindow, SelectedTextReplacesOnlyWithinTheSelectedLines) {
  for (wchar_t ch : std::wstring(L"x\rx\rx\rx")) Type(ch);
  ViewWindow& view = *frame.ActiveView();
  SetPos(view.anchor, 0, 1);
  SetPos(view.caret, 1, 2);
  view.selectionActive = true;
  frame.RunCommand(IDM_SELECTEDTEXT);
  frame.searcher.SetFindText(L"x");
  frame.searcher.SetReplaceText(L"yy");
  frame.RunCommand(IDM_REPLACEALL);
  const Document& text = *frame.ActiveDocument()->text;
  EXPECT_EQ(text.lines[0].Text(), L"x");
  EXPECT_EQ(text.lines[1].Text(), L"yy");
  EXPECT_EQ(text.lines[2].Text(), L"yy");
  EXPECT_EQ(text.lines[3].Text(), L"x");
}

TEST_F(FrameWindow, AllDocumentsShowsTheHitInTheOtherDocumentAndReplacesInEach) {
  for (wchar_t ch : std::wstring(L"needle here")) Type(ch);
  const unsigned first = frame.ActiveDocument()->id;
  frame.RunCommand(IDM_NEW);
  for (wchar_t ch : std::wstring(L"a needle")) Type(ch);
  const unsigned second = frame.ActiveDocument()->id;
  ASSERT_NE(first, second);
  frame.SelectDocument(frame.documents.IndexOf(first));
  frame.RunCommand(IDM_ALLDOCUMENTS);
  frame.searcher.SetFindText(L"needle");
  frame.RunCommand(IDM_FINDNEXT);
  ASSERT_EQ(frame.ActiveDocument()->id, second);
  EXPECT_TRUE(frame.ActiveDocument()->shown);
  EXPECT_EQ(frame.ActiveView()->anchor.index, 2);
  // Replace next replaces the hit and goes on into the first document, round the end.
  frame.searcher.SetReplaceText(L"pin");
  frame.RunCommand(IDM_REPLACENEXT);
  EXPECT_EQ(frame.documents.Find(second)->text->lines[0].Text(), L"a pin");
  EXPECT_EQ(frame.ActiveDocument()->id, first);
  EXPECT_EQ(frame.ActiveView()->anchor.index, 0);
  frame.searcher.SetFindText(L"e");
  frame.searcher.SetReplaceText(L"E");
  DropDown();
  EXPECT_TRUE(Enabled(IDM_REPLACEALL));
  frame.RunCommand(IDM_REPLACEALL);
  EXPECT_EQ(frame.documents.Find(first)->text->lines[0].Text(), L"nEEdlE hErE");
  EXPECT_EQ(frame.documents.Find(second)->text->lines[0].Text(), L"a pin");
  frame.RunCommand(IDM_UNDO);
  EXPECT_EQ(frame.documents.Find(first)->text->lines[0].Text(), L"needle here");
  frame.SelectDocument(frame.documents.IndexOf(second));
  frame.RunCommand(IDM_UNDO);
  EXPECT_EQ(frame.documents.Find(second)->text->lines[0].Text(), L"a needle");
}

TEST(ControlWrapper, NumbersAreTheDigitsOfTheTextInOrder) {
  struct Case { const wchar_t* text; int value; int signedValue; };
  const Case cases[] = {
      {L"1a2", 12, 12}, {L"", 0, 0}, {L"-5", 5, -5}, {L"x", 0, 0}, {L"5-", 5, 5},
      // Too many digits saturate instead of wrapping round.
      {L"2147483647", 2147483647, 2147483647}, {L"2147483648", 2147483647, 2147483647},
      {L"4294967296", 2147483647, 2147483647}, {L"-99999999999", 2147483647, -2147483647},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DigitsValue(c.text), c.value) << ::testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(SignedDigitsValue(c.text), c.signedValue) << ::testing::PrintToString(std::wstring(c.text));
  }
}

// ---- Less typing: word completion and find as you type --------------------------------------

namespace {

std::wstring LineText(const MainFrame& frame, int line) {
  return std::wstring(frame.ActiveDocument()->text->lines[line].Text());
}

}  // namespace

TEST_F(FrameWindow, CompleteWordDropsAListThatKeysAndTapsChooseFrom) {
  for (wchar_t ch : std::wstring(L"alpha alpine\ral")) Type(ch);
  DropDown();
  EXPECT_TRUE(Enabled(IDM_COMPLETEWORD));
  frame.RunCommand(IDM_COMPLETEWORD);
  HWND list = frame.completionWindow;
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(GetFocus(), frame.mainWindow) << "the keys stay with the main window";
  // Down selects the second word, Enter takes it; nothing else is typed.
  PressKey(frame.mainWindow, VK_DOWN, 0);
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
  PressKey(frame.mainWindow, VK_RETURN, L'\r');
  EXPECT_EQ(LineText(frame, 1), L"alpine");
  EXPECT_EQ(frame.completionWindow, nullptr);
  EXPECT_FALSE(IsWindow(list));

  // Escape closes the list and changes nothing; Enter then is Enter again.
  for (wchar_t ch : std::wstring(L" al")) Type(ch);
  frame.RunCommand(IDM_COMPLETEWORD);
  ASSERT_NE(frame.completionWindow, nullptr);
  PressKey(frame.mainWindow, VK_ESCAPE, 27);
  EXPECT_EQ(frame.completionWindow, nullptr);
  EXPECT_EQ(LineText(frame, 1), L"alpine al");

  // Typing narrows the list; Tab takes the word. Another command closes it.
  frame.RunCommand(IDM_COMPLETEWORD);
  PressKey(frame.mainWindow, 'P', L'p');
  PressKey(frame.mainWindow, 'H', L'h');
  ASSERT_NE(frame.completionWindow, nullptr);
  EXPECT_EQ(SendMessageW(frame.completionWindow, LB_GETCOUNT, 0, 0), 1);
  PressKey(frame.mainWindow, VK_TAB, L'\t');
  EXPECT_EQ(LineText(frame, 1), L"alpine alpha");
  frame.RunCommand(IDM_UNDO);
  EXPECT_EQ(LineText(frame, 1), L"alpine alph");
  frame.RunCommand(IDM_COMPLETEWORD);  // a single candidate completes at once
  EXPECT_EQ(LineText(frame, 1), L"alpine alpha");
  EXPECT_EQ(frame.completionWindow, nullptr);

  // A tap on a word takes it.
  for (wchar_t ch : std::wstring(L" al")) Type(ch);
  frame.RunCommand(IDM_COMPLETEWORD);
  RECT second{};
  SendMessageW(frame.completionWindow, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  SendMessageW(frame.completionWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(second.left + 2, second.top + 2));
  EXPECT_EQ(LineText(frame, 1), L"alpine alpha alpine");
  EXPECT_EQ(frame.completionWindow, nullptr);

  // A tap in the text closes the list and places the caret as ever.
  for (wchar_t ch : std::wstring(L" al")) Type(ch);
  frame.RunCommand(IDM_COMPLETEWORD);
  ASSERT_NE(frame.completionWindow, nullptr);
  ViewWindow& view = *frame.ActiveView();
  const LPARAM start = MAKELPARAM(view.leftMargin + 1, 1);
  SendMessageW(view.window, WM_LBUTTONDOWN, MK_LBUTTON, start);
  SendMessageW(view.window, WM_LBUTTONUP, 0, start);
  EXPECT_EQ(frame.completionWindow, nullptr);
  EXPECT_EQ((std::pair{view.caret.line, view.caret.index}), (std::pair{0, 0}));
  EXPECT_EQ(LineText(frame, 1), L"alpine alpha alpine al");
}

TEST_F(FrameWindow, CompleteWordTakesTheWordsOfEveryOpenDocument) {
  for (wchar_t ch : std::wstring(L"xylophone")) Type(ch);
  frame.RunCommand(IDM_NEW);
  ASSERT_EQ(frame.documents.size(), 2u);
  for (wchar_t ch : std::wstring(L"xy")) Type(ch);
  frame.RunCommand(IDM_COMPLETEWORD);
  EXPECT_EQ(LineText(frame, 0), L"xylophone");
  // A list open when another document is shown goes.
  for (wchar_t ch : std::wstring(L" xylo x")) Type(ch);
  frame.RunCommand(IDM_COMPLETEWORD);
  ASSERT_NE(frame.completionWindow, nullptr);
  frame.SelectDocument(0);
  EXPECT_EQ(frame.completionWindow, nullptr);
}

TEST_F(FrameWindow, TypingIntoTheFindFieldSelectsTheHitAsItGoes) {
  for (wchar_t ch : std::wstring(L"one two\rthree two")) Type(ch);
  frame.RunCommand(IDM_FINDTEXT);
  ASSERT_EQ(GetFocus(), frame.findField.window);
  ViewWindow& view = *frame.ActiveView();
  auto typeInField = [&](const std::wstring& text) {
    for (wchar_t ch : text) PressKey(frame.findField.window, 0, ch);
  };
  // From the caret at the end: "two" only before it, found by wrapping.
  typeInField(L"tw");
  EXPECT_TRUE(view.selectionActive);
  EXPECT_EQ((std::pair{view.anchor.line, view.anchor.index}), (std::pair{0, 4}));
  EXPECT_EQ(view.caret.index, 6);
  // No hit: the caret goes back and the field turns red.
  typeInField(L"x");
  EXPECT_FALSE(view.selectionActive);
  EXPECT_EQ((std::pair{view.caret.line, view.caret.index}), (std::pair{1, 9}));
  EXPECT_TRUE(frame.findNoMatch);
  const platform::WindowDc dc(frame.findField.window);
  const LRESULT brush = SendMessageW(frame.findBar, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.Get()),
                                     reinterpret_cast<LPARAM>(frame.findField.window));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(frame.noMatchBrush.Get()));
  PressKey(frame.findField.window, VK_BACK, 8);
  typeInField(L"o");
  EXPECT_FALSE(frame.findNoMatch);
  EXPECT_EQ(view.caret.index, 7);
  // Tab returns to the text with the hit selected: typing replaces it.
  PressKey(frame.findField.window, VK_TAB, L'\t');
  EXPECT_EQ(GetFocus(), frame.mainWindow);
  EXPECT_TRUE(view.findHitSelected);
  Type(L'2');
  EXPECT_EQ(LineText(frame, 0), L"one 2");
}
