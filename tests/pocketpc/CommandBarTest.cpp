// Command bars as the find bar uses them: a menu at the left, images, separators that hold
// fields, buttons, the height, and the commands that reach the parent.
#include "TestWindow.h"
#include "comun/resource.h"
#include "pocketpc/PocketPC.h"

#include <gtest/gtest.h>

namespace {

// A command bar set up the way the main window sets up its find bar.
HWND CreateFindBar(HWND parent) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HWND bar = CommandBar_Create(instance, parent, IDC_FINDBAR);
  if (!bar) return nullptr;
  CommandBar_InsertMenubar(bar, instance, IDR_FINDBARMENU, 0);
  CommandBar_AddBitmap(bar, HINST_COMMCTRL, IDB_STD_SMALL_COLOR, 0, 16, 16);
  CommandBar_AddBitmap(bar, instance, IDB_TOOLBAR, TBIMG_COUNT, 16, 16);
  TBBUTTON items[] = {
      {30, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, -1},
      {15 + TBIMG_FINDPREV, IDM_FINDPREV, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
      {60, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, -1},
      {15 + TBIMG_FINDNEXT, IDM_FINDNEXT, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
      {40, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, -1},
      {15 + TBIMG_REPLACENEXT, IDM_REPLACENEXT, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
  };
  CommandBar_AddButtons(bar, 6, items);
  return bar;
}

RECT ItemRect(HWND bar, int index) {
  RECT rect{};
  SendMessageW(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

TEST(CommandBar, HoldsTheFindBarsMenuImagesFieldsAndButtons) {
  TestWindow parent;
  HWND bar = CreateFindBar(parent.Handle());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetDlgCtrlID(bar), IDC_FINDBAR);
  ASSERT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 7);

  wchar_t label[32] = L"";
  TBBUTTON menuButton{};
  SendMessageW(bar, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&menuButton));
  SendMessageW(bar, TB_GETBUTTONTEXTW, menuButton.idCommand, reinterpret_cast<LPARAM>(label));
  EXPECT_STREQ(label, L"Find");
  HMENU menu = CommandBar_GetMenu(bar, 0);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 0), 0), static_cast<UINT>(IDM_IGNORECASE));

  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(bar, TB_GETIMAGELIST, 0, 0));
  EXPECT_EQ(ImageList_GetImageCount(images), 15 + TBIMG_COUNT);
  // The separators keep the widths asked for, so fields fit into them.
  EXPECT_EQ(ItemRect(bar, 1).right - ItemRect(bar, 1).left, 30);
  EXPECT_EQ(ItemRect(bar, 3).right - ItemRect(bar, 3).left, 60);
  EXPECT_EQ(ItemRect(bar, 5).right - ItemRect(bar, 5).left, 40);

  RECT own{};
  GetWindowRect(bar, &own);
  EXPECT_EQ(CommandBar_Height(bar), own.bottom - own.top);
  EXPECT_GE(CommandBar_Height(bar), ItemRect(bar, 2).bottom);
}

TEST(CommandBar, DocksAtTheTopUntilToldNotToAlignWithItsParent) {
  TestWindow parent;
  HWND bar = CreateFindBar(parent.Handle());
  ASSERT_NE(bar, nullptr);
  RECT own{};
  GetWindowRect(bar, &own);
  MapWindowPoints(nullptr, parent.Handle(), reinterpret_cast<POINT*>(&own), 2);
  EXPECT_EQ(own.top, 0);

  SetWindowLongW(bar, GWL_STYLE, GetWindowLongW(bar, GWL_STYLE) | CCS_NOPARENTALIGN);
  SetWindowPos(bar, nullptr, 0, 150, 300, CommandBar_Height(bar), SWP_NOZORDER);
  SendMessageW(bar, TB_AUTOSIZE, 0, 0);
  GetWindowRect(bar, &own);
  MapWindowPoints(nullptr, parent.Handle(), reinterpret_cast<POINT*>(&own), 2);
  EXPECT_EQ(own.top, 150);
}

TEST(CommandBar, ButtonsAndTheMenuDeliverTheirCommandsToTheParent) {
  TestWindow parent;
  HWND bar = CreateFindBar(parent.Handle());
  ASSERT_NE(bar, nullptr);
  Pump(50);

  Tap(ButtonCentre(bar, IDM_FINDNEXT));
  EXPECT_TRUE(PumpUntil([&] { return !parent.commands.empty(); }));

  parent.onMenuIdle = [&](HWND) {
    PostMessageW(parent.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(parent.Handle(), WM_KEYDOWN, VK_RETURN, 0);
  };
  TBBUTTON menuButton{};
  SendMessageW(bar, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&menuButton));
  Tap(ButtonCentre(bar, menuButton.idCommand));
  EXPECT_TRUE(PumpUntil([&] { return parent.commands.size() == 2; }));
  EXPECT_EQ(parent.commands, (std::vector<int>{IDM_FINDNEXT, IDM_IGNORECASE}));
  ASSERT_FALSE(parent.poppedUp.empty());
  EXPECT_EQ(parent.poppedUp.front(), GetSubMenu(CommandBar_GetMenu(bar, 0), 0));
}

}  // namespace
