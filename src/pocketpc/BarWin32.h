// What the menu bar and the command bars share: a toolbar control whose drop-down buttons show
// menus and whose tooltips come from a list of strings.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "pocketpc/GdiWin32.h"

namespace pocketpc {

// A button that shows a menu instead of sending a command.
struct DropDown {
  int command;  // the button's id; ids from firstMenuButtonId on are the bar's own
  HMENU menu;   // the menu it shows
};

// The state of one bar, owned by its window and deleted with it.
struct Bar {
  HWND window = nullptr;
  HWND owner = nullptr;               // receives WM_INITMENUPOPUP and WM_COMMAND of the menus
  bool isMenuBar = false;             // kept at the bottom of the owner's client area
  std::vector<platform::OwnedMenu> menus;  // menus given to the bar
  std::vector<DropDown> dropDowns;
  std::vector<std::wstring> tooltips; // one per button that can have one, in button order

  Bar() = default;
  Bar(const Bar&) = delete;
  Bar& operator=(const Bar&) = delete;
};

// Ids given to the buttons made from the pop-ups of an inserted menu.
inline constexpr int firstMenuButtonId = 0xFE00;

// Creates a toolbar control as a child of parent with the bar behaviour; null on failure.
// The window starts hidden.
HWND CreateBar(HWND parent, HINSTANCE instance, int id, DWORD style);
// The bar state of a window made by CreateBar, or null.
Bar* FindBar(HWND window);
// Takes over menu and inserts one labelled drop-down button per pop-up of it before button
// index. False when the menu has no pop-up.
bool InsertMenuButtons(Bar& bar, HMENU menu, int index);
// Adds the images of a bitmap resource; the index of the first one, -1 on failure.
int AddBarBitmap(HWND window, HINSTANCE instance, UINT_PTR id, int count, int width, int height);
// Sizes the bar to its buttons; a menu bar also goes to the bottom of its owner's client area.
void LayoutBar(const Bar& bar);

}  // namespace pocketpc
