// The menu bar: its place at the bottom of the owner, the buttons of its description, images,
// tooltips, and what pressing its buttons delivers to the owner.
#include "TestWindow.h"
#include "comun/resource.h"
#include "pocketpc/PocketPC.h"

#include <gtest/gtest.h>

#include <string>

namespace {

HWND CreateMenuBar(HWND owner, UINT id, DWORD flags = 0) {
  SHMENUBARINFO info{};
  info.cbSize = sizeof(info);
  info.hwndParent = owner;
  info.dwFlags = flags;
  info.nToolBarId = id;
  info.hInstRes = GetModuleHandleW(nullptr);
  if (!SHCreateMenuBar(&info)) return nullptr;
  return info.hwndMB;
}

// What the main window adds to its menu bar after creating it: seven tooltips, the standard
// images and those of the toolbar bitmap, and six plain buttons.
void AddMainWindowButtons(HWND bar) {
  static const LPCWSTR tips[] = {nullptr,       L"Edit Menu",           L"File Save",
                                 L"Undo last action", L"Next window", L"Toggle find toolbar",
                                 L"Find Next"};
  CommandBar_AddToolTips(bar, 7, tips);
  TBADDBITMAP standard{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
  SendMessageW(bar, TB_ADDBITMAP, 15, reinterpret_cast<LPARAM>(&standard));
  TBADDBITMAP own{GetModuleHandleW(nullptr), IDB_TOOLBAR};
  SendMessageW(bar, TB_ADDBITMAP, 8, reinterpret_cast<LPARAM>(&own));
  const struct {
    int command;
    int image;
  } plain[] = {{IDM_SAVE, STD_FILESAVE}, {IDM_UNDO, STD_UNDO}, {IDM_NEXTWINDOW, 20},
               {IDM_NEXTMARK, 21},       {IDM_TOGGLEFINDBAR, 24}, {IDM_FINDNEXT, 25}};
  TBBUTTON buttons[6]{};
  for (int i = 0; i < 6; ++i) {
    buttons[i].iBitmap = plain[i].image;
    buttons[i].idCommand = plain[i].command;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_BUTTON;
    buttons[i].iString = -1;
  }
  CommandBar_AddButtons(bar, 6, buttons);
}

RECT ClientRectOnScreen(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

std::wstring ButtonText(HWND bar, int command) {
  wchar_t text[64] = L"";
  auto length = SendMessageW(bar, TB_GETBUTTONTEXTW, command, reinterpret_cast<LPARAM>(text));
  return length > 0 ? text : L"";
}

// The tooltip text the bar gives a button when its tooltip control asks for it.
std::wstring TooltipOf(HWND bar, int command) {
  NMTTDISPINFOW info{};
  info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(bar, TB_GETTOOLTIPS, 0, 0));
  info.hdr.idFrom = command;
  info.hdr.code = TTN_GETDISPINFOW;
  SendMessageW(bar, WM_NOTIFY, command, reinterpret_cast<LPARAM>(&info));
  if (info.lpszText && !IS_INTRESOURCE(info.lpszText)) return info.lpszText;
  return info.szText;
}

TEST(MenuBar, LiesAtTheBottomOfTheClientAreaAndStaysThereWhenTheOwnerResizes) {
  TestWindow owner;
  HWND bar = CreateMenuBar(owner.Handle(), IDR_MENUBAR);
  ASSERT_NE(bar, nullptr);
  wchar_t className[64] = L"";
  GetClassNameW(bar, className, 64);
  EXPECT_STREQ(className, TOOLBARCLASSNAMEW);
  EXPECT_EQ(SHFindMenuBar(owner.Handle()), bar);

  for (SIZE size : {SIZE{320, 360}, SIZE{400, 250}}) {
    SetWindowPos(owner.Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    RECT client = ClientRectOnScreen(owner.Handle());
    RECT own = WindowRect(bar);
    EXPECT_EQ(own.bottom, client.bottom);
    EXPECT_EQ(own.left, client.left);
    EXPECT_EQ(own.right, client.right);
    EXPECT_GE(own.bottom - own.top, 20);
    EXPECT_EQ(MenuBarReservedHeight(owner.Handle()), own.bottom - own.top);
  }
}

TEST(MenuBar, TheDescriptionGivesThreeDropDownButtonsWithTheirMenus) {
  TestWindow owner;
  HWND bar = CreateMenuBar(owner.Handle(), IDR_MENUBAR);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 3);

  const struct {
    int command;
    int image;
    const wchar_t* label;
    int firstItem;  // first command of its drop-down menu, 0 for a pop-up
  } expected[] = {{IDM_MENUBAR_TOOLS, I_IMAGENONE, L"Tools", 0},
                  {IDM_MENUBAR_FILE, 28, L"", IDM_NEW},
                  {IDM_MENUBAR_EDIT, 22, L"", IDM_WORDWRAP}};
  auto menu = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETMENU, 0, 0));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(CommandBar_GetMenu(bar, 1), menu);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(expected[i].command);
    TBBUTTON button{};
    SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
    EXPECT_EQ(button.idCommand, expected[i].command);
    EXPECT_EQ(button.iBitmap, expected[i].image);
    EXPECT_EQ(ButtonText(bar, expected[i].command), expected[i].label);
    auto dropDown = reinterpret_cast<HMENU>(
        SendMessageW(bar, SHCMBM_GETSUBMENU, 0, expected[i].command));
    EXPECT_EQ(dropDown, GetSubMenu(menu, i));
    EXPECT_EQ(static_cast<int>(GetMenuItemID(dropDown, 0)),
              expected[i].firstItem ? expected[i].firstItem : -1);
  }
}

TEST(MenuBar, TakesTheMainWindowsImagesButtonsAndTooltips) {
  TestWindow owner;
  HWND bar = CreateMenuBar(owner.Handle(), IDR_MENUBAR);
  ASSERT_NE(bar, nullptr);
  int heightBefore = MenuBarReservedHeight(owner.Handle());
  AddMainWindowButtons(bar);

  EXPECT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 9);
  // Plain buttons are as wide as their image, not as wide as the labelled menu button.
  RECT save{};
  SendMessageW(bar, TB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&save));
  EXPECT_LE(save.right - save.left, 24);
  // Every image of the toolbar bitmap follows the 15 standard ones, whatever count was given,
  // so that the images up to 28 exist.
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(bar, TB_GETIMAGELIST, 0, 0));
  EXPECT_EQ(ImageList_GetImageCount(images), 15 + TBIMG_COUNT);
  // Added buttons keep the bar at the bottom.
  EXPECT_EQ(WindowRect(bar).bottom, ClientRectOnScreen(owner.Handle()).bottom);
  EXPECT_GE(MenuBarReservedHeight(owner.Handle()), heightBefore);

  // The tooltips go to the buttons in order, leaving out the labelled menu button.
  EXPECT_EQ(TooltipOf(bar, IDM_MENUBAR_FILE), L"");
  EXPECT_EQ(TooltipOf(bar, IDM_MENUBAR_EDIT), L"Edit Menu");
  EXPECT_EQ(TooltipOf(bar, IDM_SAVE), L"File Save");
  EXPECT_EQ(TooltipOf(bar, IDM_UNDO), L"Undo last action");
  EXPECT_EQ(TooltipOf(bar, IDM_NEXTWINDOW), L"Next window");
}

TEST(MenuBar, APlainButtonSendsItsCommandToTheOwner) {
  TestWindow owner;
  HWND bar = CreateMenuBar(owner.Handle(), IDR_MENUBAR);
  ASSERT_NE(bar, nullptr);
  AddMainWindowButtons(bar);
  Pump(50);

  Tap(ButtonCentre(bar, IDM_NEXTMARK));
  EXPECT_TRUE(PumpUntil([&] { return !owner.commands.empty(); }));
  EXPECT_EQ(owner.commands, std::vector<int>{IDM_NEXTMARK});
}

TEST(MenuBar, ADropDownButtonShowsItsMenuAboveItAndTheOwnerGetsTheChoice) {
  TestWindow owner;
  HWND bar = CreateMenuBar(owner.Handle(), IDR_MENUBAR);
  ASSERT_NE(bar, nullptr);
  AddMainWindowButtons(bar);
  Pump(50);
  auto fileMenu = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, IDM_MENUBAR_FILE));

  RECT menuRect{};
  owner.onMenuIdle = [&](HWND menuWindow) {
    GetWindowRect(menuWindow, &menuRect);
    // Choose the first item with the keyboard.
    PostMessageW(owner.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(owner.Handle(), WM_KEYDOWN, VK_RETURN, 0);
  };
  POINT button = ButtonCentre(bar, IDM_MENUBAR_FILE);
  Tap(button);
  EXPECT_TRUE(PumpUntil([&] { return !owner.commands.empty(); }));

  ASSERT_FALSE(owner.poppedUp.empty());
  EXPECT_EQ(owner.poppedUp.front(), fileMenu);
  EXPECT_LE(menuRect.bottom, WindowRect(bar).top + 1);
  EXPECT_GT(menuRect.bottom, menuRect.top);
  EXPECT_EQ(owner.commands, std::vector<int>{IDM_NEW});
}

TEST(MenuBar, TheOpenDialogsBarTakesOneTooltipPerButton) {
  TestWindow owner;
  HWND bar = CreateMenuBar(owner.Handle(), IDR_FILEDLGBAR);
  ASSERT_NE(bar, nullptr);
  static const LPCWSTR tips[] = {nullptr,         L"View details", L"Folders View", L"File View",
                                 L"Show Folders", L"New Folder",   L"Folder Up"};
  CommandBar_AddToolTips(bar, 7, tips);
  const int commands[] = {IDM_FILEDLG_FILES,       IDM_FILEDLG_FOLDERS,   IDM_FILEDLG_BOTH,
                          IDM_FILEDLG_SHOWFOLDERS, IDM_FILEDLG_NEWFOLDER, IDM_FILEDLG_FOLDERUP};
  for (int command : commands) {
    TBBUTTON button{TBIMG_FILESONLY, command, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1};
    CommandBar_AddButtons(bar, 1, &button);
  }
  EXPECT_EQ(TooltipOf(bar, IDM_FILEDLG_MENU), L"");
  for (int i = 0; i < 6; ++i) EXPECT_EQ(TooltipOf(bar, commands[i]), tips[i + 1]);
}

TEST(MenuBar, AHiddenBarTakesNoRoom) {
  TestWindow owner;
  HWND hidden = CreateMenuBar(owner.Handle(), IDR_MENUBAR, SHCMBF_HIDDEN);
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(MenuBarReservedHeight(owner.Handle()), 0);
}

TEST(MenuBar, AMissingDescriptionIsRefused) {
  TestWindow owner;
  SHMENUBARINFO info{};
  info.cbSize = sizeof(info);
  info.hwndParent = owner.Handle();
  info.nToolBarId = 4321;
  info.hInstRes = GetModuleHandleW(nullptr);
  EXPECT_FALSE(SHCreateMenuBar(&info));
  EXPECT_EQ(info.hwndMB, nullptr);
  EXPECT_EQ(GetWindow(owner.Handle(), GW_CHILD), nullptr);
  EXPECT_EQ(MenuBarReservedHeight(owner.Handle()), 0);
}

}  // namespace
