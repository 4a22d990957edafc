// The resources other parts of the program rely on: the filter list's length, the menus with
// the positions the program looks items up by, and the images with their sizes and
// transparent backgrounds.
#include "TestWindow.h"
#include "comun/resource.h"
#include "pocketpc/PocketPC.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

std::wstring String(UINT id) {
  wchar_t text[256] = L"";
  int length = LoadStringW(Module(), id, text, 256);
  return std::wstring(text, length > 0 ? length : 0);
}

// The commands of a menu's items; 0 for separators, -1 for pop-ups.
std::vector<int> Commands(HMENU menu) {
  std::vector<int> commands;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    commands.push_back(static_cast<int>(GetMenuItemID(menu, i)));
  }
  return commands;
}

int LastSeparator(HMENU menu) {
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    if (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) return i;
  }
  return -1;
}

struct Menu {
  explicit Menu(UINT id) : handle(LoadMenuW(Module(), MAKEINTRESOURCEW(id))) {}
  ~Menu() { DestroyMenu(handle); }
  HMENU handle;
};

TEST(Resources, TheFilterListFitsTheBufferTheEntryPointReadsItInto) {
  EXPECT_GT(String(IDS_FILTERS).size(), 0u);
  EXPECT_LT(String(IDS_FILTERS).size(), 100u);
}

TEST(Resources, TheMainMenuHasItsSubmenusWhereTheProgramLooksForThem) {
  Menu bar(IDR_MENUBAR);
  ASSERT_NE(bar.handle, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar.handle), 3);
  HMENU main = GetSubMenu(bar.handle, 0);
  EXPECT_EQ(Commands(main), (std::vector<int>{-1, -1, -1, -1, -1, -1, IDM_EXIT}));

  HMENU file = GetSubMenu(main, 0);
  EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(IDM_NEW));  // recent files need it
  EXPECT_GT(LastSeparator(file), 0);
  HMENU options = GetSubMenu(GetSubMenu(main, 2), 6);
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(Commands(options), (std::vector<int>{IDM_IGNORECASE, IDM_WHOLEWORDS, IDM_REGEXP,
                                                 IDM_EXTENDSELECTION, 0, IDM_SELECTEDTEXT,
                                                 IDM_ALLDOCUMENTS}));
  HMENU window = GetSubMenu(main, 3);
  EXPECT_EQ(Commands(window), (std::vector<int>{IDM_NEXTWINDOW, IDM_PREVWINDOW, 0}));
  HMENU tools = GetSubMenu(main, 4);
  EXPECT_GE(LastSeparator(tools), 0);
}

TEST(Resources, BitmapsAndIconsHaveTheirSizes) {
  const struct {
    UINT id;
    LONG width, height;
  } bitmaps[] = {{IDB_MARK, 6, 6},
                 {IDB_TOOLBAR, 16 * TBIMG_COUNT, 16},
                 {IDB_CLOSE, 34, 17},
                 {IDB_SORTMARKS, 48, 16}};
  for (const auto& b : bitmaps) {
    SCOPED_TRACE(b.id);
    auto bitmap = static_cast<HBITMAP>(
        LoadImageW(Module(), MAKEINTRESOURCEW(b.id), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, b.width);
    EXPECT_EQ(info.bmHeight, b.height);
    DeleteObject(bitmap);
  }
  for (UINT id : {IDI_FUM, IDI_TEX, IDI_CPP, IDI_GP, IDI_H}) {
    for (int size : {16, 32}) {
      HANDLE icon = LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0);
      EXPECT_NE(icon, nullptr) << id << " at " << size;
      DestroyIcon(static_cast<HICON>(icon));
    }
  }
  EXPECT_NE(FindResourceW(Module(), MAKEINTRESOURCEW(IDD_ABOUT), RT_DIALOG), nullptr);
}

TEST(Resources, ToolbarImagesShowTheBarThroughTheirBackground) {
  TestWindow parent;
  HWND bar = CommandBar_Create(Module(), parent.Handle(), IDC_FINDBAR);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(CommandBar_AddBitmap(bar, Module(), IDB_TOOLBAR, TBIMG_COUNT, 16, 16), 0);
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(bar, TB_GETIMAGELIST, 0, 0));

  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 16, 16);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, canvas);
  const COLORREF under = RGB(255, 0, 0);
  for (int image = 0; image < TBIMG_COUNT; ++image) {
    SCOPED_TRACE(image);
    RECT all{0, 0, 16, 16};
    HBRUSH brush = CreateSolidBrush(under);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ImageList_Draw(images, image, dc, 0, 0, ILD_NORMAL);
    int shown = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) shown += GetPixel(dc, x, y) != under;
    }
    bool cornerShowsTheBar = GetPixel(dc, 0, 0) == under || GetPixel(dc, 15, 0) == under ||
                             GetPixel(dc, 0, 15) == under || GetPixel(dc, 15, 15) == under;
    EXPECT_TRUE(cornerShowsTheBar);
    EXPECT_GT(shown, 20);   // a drawing, not an empty square
    EXPECT_LT(shown, 250);  // and not a filled one
  }
  SelectObject(dc, old);
  DeleteObject(canvas);
  DeleteDC(dc);
}

}  // namespace
