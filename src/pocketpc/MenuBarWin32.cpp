// The menu bar: a bar at the bottom of its owner's client area built from a menu bar
// description, kept there when the owner changes size.
#include "platform/HandlerGuard.h"
#include "pocketpc/BarWin32.h"
#include "pocketpc/PocketPC.h"

#include <string>
#include <vector>

namespace pocketpc {
namespace {

constexpr int menuBarControlId = 0xFDFF;
constexpr std::size_t wordsPerButton = 7;

// Keeps the menu bar at the bottom of the owner after every size change of the owner.
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                           UINT_PTR id, DWORD_PTR data) {
  LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  if (message != WM_SIZE) return result;
  return platform::Guarded(
      [&] {
        if (const Bar* bar = FindBar(reinterpret_cast<HWND>(data))) {
          LayoutBar(*bar);
        } else {
          RemoveWindowSubclass(window, OwnerProc, id);  // the bar is gone
        }
        return result;
      },
      [&] { return result; });
}

std::wstring LoadLabel(HINSTANCE instance, UINT id) {
  wchar_t text[128] = L"";
  if (id == 0 || LoadStringW(instance, id, text, 128) <= 0) return {};
  return text;
}

// Adds the buttons of a menu bar description: the menu id, the number of buttons, then per
// button image, command, state, style, label string, 0 and drop-down menu index, all 16-bit.
bool AddDescribedButtons(Bar& bar, HINSTANCE instance, const WORD* words, std::size_t size) {
  if (size < 2) return false;
  std::size_t count = words[1];
  if (size < 2 + count * wordsPerButton) return false;
  HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(words[0]));
  if (!menu) return false;
  bar.menus.push_back(platform::OwnedMenu(menu));

  std::vector<std::wstring> labels;
  labels.reserve(count);
  std::vector<TBBUTTON> buttons;
  for (std::size_t i = 0; i < count; ++i) {
    const WORD* field = words + 2 + i * wordsPerButton;
    TBBUTTON button{};
    button.iBitmap = static_cast<SHORT>(field[0]);
    button.idCommand = field[1];
    button.fsState = static_cast<BYTE>(field[2]);
    // Drop-down buttons show their menu when pressed; they draw no arrow.
    button.fsStyle = static_cast<BYTE>(field[3] & ~(BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN));
    button.iString = -1;
    labels.push_back(LoadLabel(instance, field[4]));
    if (!labels.back().empty()) {
      button.fsStyle |= BTNS_SHOWTEXT;
      button.iString = reinterpret_cast<INT_PTR>(labels.back().c_str());
    }
    if (field[3] & (BTNS_DROPDOWN | BTNS_WHOLEDROPDOWN)) {
      if (HMENU popup = GetSubMenu(menu, field[6])) bar.dropDowns.push_back({field[1], popup});
    }
    buttons.push_back(button);
  }
  SendMessageW(bar.window, TB_ADDBUTTONSW, buttons.size(),
               reinterpret_cast<LPARAM>(buttons.data()));
  return true;
}

// Buttons from the description of that id, or else from the menu of that id.
bool AddButtons(Bar& bar, HINSTANCE instance, UINT id, bool fromMenu) {
  HRSRC found = fromMenu ? nullptr : FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
  if (!found) return InsertMenuButtons(bar, LoadMenuW(instance, MAKEINTRESOURCEW(id)), 0);
  auto* words = static_cast<const WORD*>(LockResource(LoadResource(instance, found)));
  return words && AddDescribedButtons(bar, instance, words,
                                      SizeofResource(instance, found) / sizeof(WORD));
}

}  // namespace
}  // namespace pocketpc

using namespace pocketpc;

BOOL SHCreateMenuBar(PSHMENUBARINFO info) {
  if (!info || !IsWindow(info->hwndParent)) return FALSE;
  info->hwndMB = nullptr;
  HINSTANCE instance = info->hInstRes ? info->hInstRes : GetModuleHandleW(nullptr);
  HWND window = CreateBar(info->hwndParent, instance, menuBarControlId, CCS_NOPARENTALIGN);
  if (!window) return FALSE;
  Bar& bar = *FindBar(window);
  bar.isMenuBar = true;
  if (!(info->dwFlags & SHCMBF_EMPTYBAR) &&
      !AddButtons(bar, instance, info->nToolBarId, info->dwFlags & SHCMBF_HMENU)) {
    DestroyWindow(window);
    return FALSE;
  }
  if (info->nBmpId) AddBarBitmap(window, instance, info->nBmpId, info->cBmpImages, 16, 16);
  SetWindowSubclass(info->hwndParent, OwnerProc, reinterpret_cast<UINT_PTR>(window),
                    reinterpret_cast<DWORD_PTR>(window));
  LayoutBar(bar);
  if (!(info->dwFlags & SHCMBF_HIDDEN)) ShowWindow(window, SW_SHOWNA);
  info->hwndMB = window;
  return TRUE;
}

HWND SHFindMenuBar(HWND hwnd) {
  for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const Bar* bar = FindBar(child);
    if (bar && bar->isMenuBar) return child;
  }
  return nullptr;
}

int MenuBarReservedHeight(HWND hwnd) {
  HWND bar = SHFindMenuBar(hwnd);
  // The style, not IsWindowVisible: the owner may not be shown yet.
  if (!bar || !(GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE)) return 0;
  RECT rect{};
  GetWindowRect(bar, &rect);
  return rect.bottom - rect.top;
}
