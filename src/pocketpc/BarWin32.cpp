// The toolbar behaviour shared by the menu bar and the command bars: drop-down menus, tooltips
// from a list of strings, the menu messages and the layout after every change of buttons.
#include "pocketpc/BarWin32.h"

#include "platform/HandlerGuard.h"
#include "platform/HandlerNesting.h"
#include "pocketpc/PocketPC.h"

#include <windowsx.h>

#include <algorithm>

namespace pocketpc {
namespace {

constexpr wchar_t barProperty[] = L"PocketPCBar";
constexpr UINT_PTR barSubclassId = 1;

DropDown* FindDropDown(Bar& bar, int command) {
  auto found = std::find_if(bar.dropDowns.begin(), bar.dropDowns.end(),
                            [command](const DropDown& d) { return d.command == command; });
  return found == bar.dropDowns.end() ? nullptr : &*found;
}

TBBUTTON ButtonAt(HWND window, int index) {
  TBBUTTON button{};
  SendMessageW(window, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
  return button;
}

// The enabled drop-down button under a point of the bar, or null.
DropDown* DropDownAt(Bar& bar, POINT point) {
  auto index = static_cast<int>(
      SendMessageW(bar.window, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
  if (index < 0) return nullptr;
  TBBUTTON button = ButtonAt(bar.window, index);
  if (!(button.fsState & TBSTATE_ENABLED)) return nullptr;
  return FindDropDown(bar, button.idCommand);
}

// Shows a drop-down menu beside its button: above it when the button lies in the lower half
// of the owner (the menu bar), below it otherwise. The owner receives the chosen command.
void ShowDropDown(Bar& bar, const DropDown& dropDown) {
  auto index = static_cast<int>(SendMessageW(bar.window, TB_COMMANDTOINDEX, dropDown.command, 0));
  RECT button{};
  SendMessageW(bar.window, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button));
  MapWindowPoints(bar.window, nullptr, reinterpret_cast<POINT*>(&button), 2);
  RECT owner{};
  GetWindowRect(bar.owner, &owner);
  bool above = button.top > (owner.top + owner.bottom) / 2;

  SendMessageW(bar.window, TB_PRESSBUTTON, dropDown.command, TRUE);
  TPMPARAMS params{sizeof(params), button};
  // The menu runs a message loop: what other programs ask for meanwhile waits until it ends.
  platform::HandlerScope scope;
  UINT flags = TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_VERTICAL |
               (above ? TPM_BOTTOMALIGN : TPM_TOPALIGN);
  TrackPopupMenuEx(dropDown.menu, flags, button.left, above ? button.top : button.bottom,
                   bar.owner, &params);
  if (IsWindow(bar.window)) SendMessageW(bar.window, TB_PRESSBUTTON, dropDown.command, FALSE);
}

// The tooltip of a button: tooltips go to the buttons in order, leaving out separators and
// buttons that show a label.
const std::wstring* TooltipOf(const Bar& bar, int command) {
  auto count = static_cast<int>(SendMessageW(bar.window, TB_BUTTONCOUNT, 0, 0));
  std::size_t slot = 0;
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = ButtonAt(bar.window, i);
    if (button.fsStyle & (BTNS_SEP | BTNS_SHOWTEXT)) continue;
    if (button.idCommand == command) {
      return slot < bar.tooltips.size() && !bar.tooltips[slot].empty() ? &bar.tooltips[slot]
                                                                        : nullptr;
    }
    ++slot;
  }
  return nullptr;
}

void SetTooltips(Bar& bar, std::size_t count, const LPCWSTR* tips) {
  bar.tooltips.assign(count, std::wstring());
  for (std::size_t i = 0; i < count; ++i) {
    if (tips[i]) bar.tooltips[i] = tips[i];
  }
}

// Buttons are as wide as their content: without this every plain button would take the width
// of the widest labelled one.
LRESULT AddSizedButtons(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* given = reinterpret_cast<const TBBUTTON*>(lParam);
  std::size_t count = message == TB_ADDBUTTONSW ? wParam : 1;
  if (!given || count == 0) return DefSubclassProc(window, message, wParam, lParam);
  std::vector<TBBUTTON> buttons(given, given + count);
  for (TBBUTTON& button : buttons) {
    if (!(button.fsStyle & BTNS_SEP)) button.fsStyle |= BTNS_AUTOSIZE;
  }
  return DefSubclassProc(window, message, wParam, reinterpret_cast<LPARAM>(buttons.data()));
}

bool ChangesButtons(UINT message) {
  switch (message) {
    case TB_ADDBUTTONSW:
    case TB_INSERTBUTTONW:
    case TB_DELETEBUTTON:
    case TB_ADDBITMAP:
    case TB_SETBUTTONSIZE:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK BarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         UINT_PTR id, DWORD_PTR data);

LRESULT OnBarMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Bar& bar) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (DropDown* dropDown = DropDownAt(bar, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
        ShowDropDown(bar, *dropDown);
        return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
      if (info->hdr.code != TTN_GETDISPINFOW) break;
      if (const std::wstring* tip = TooltipOf(bar, static_cast<int>(info->hdr.idFrom))) {
        info->hinst = nullptr;
        info->lpszText = const_cast<LPWSTR>(tip->c_str());
        return 0;
      }
      break;
    }
    case TB_SETTOOLTIPS:
      // The handheld form: a count and an array of strings. The desktop form (a tooltip
      // window and no array) goes to the toolbar.
      if (lParam == 0) break;
      SetTooltips(bar, wParam, reinterpret_cast<const LPCWSTR*>(lParam));
      return TRUE;
    case SHCMBM_GETMENU:
      return reinterpret_cast<LRESULT>(bar.menus.empty() ? nullptr : bar.menus.front().Get());
    case SHCMBM_GETSUBMENU: {
      DropDown* dropDown = FindDropDown(bar, static_cast<int>(lParam));
      return reinterpret_cast<LRESULT>(dropDown ? dropDown->menu : nullptr);
    }
    case SHCMBM_SETSUBMENU: {
      DropDown* dropDown = FindDropDown(bar, static_cast<int>(wParam));
      if (!dropDown) return 0;
      HMENU old = dropDown->menu;
      dropDown->menu = reinterpret_cast<HMENU>(lParam);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_NCDESTROY: {
      LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      RemoveWindowSubclass(window, BarProc, barSubclassId);
      RemovePropW(window, barProperty);
      delete &bar;
      return result;
    }
    default:
      if (ChangesButtons(message)) {
        bool adds = message == TB_ADDBUTTONSW || message == TB_INSERTBUTTONW;
        LRESULT result = adds ? AddSizedButtons(window, message, wParam, lParam)
                              : DefSubclassProc(window, message, wParam, lParam);
        LayoutBar(bar);
        return result;
      }
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK BarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         UINT_PTR /*id*/, DWORD_PTR data) {
  Bar& bar = *reinterpret_cast<Bar*>(data);
  return platform::Guarded([&] { return OnBarMessage(window, message, wParam, lParam, bar); },
                           [&] { return DefSubclassProc(window, message, wParam, lParam); });
}

}  // namespace

HWND CreateBar(HWND parent, HINSTANCE instance, int id, DWORD style) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HWND window = CreateWindowExW(
      0, TOOLBARCLASSNAMEW, nullptr,
      style | WS_CHILD | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS |
          CCS_NODIVIDER,
      0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (!window) return nullptr;
  SendMessageW(window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(window, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
  SendMessageW(window, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
  auto* bar = new Bar;
  bar->window = window;
  bar->owner = parent;
  SetPropW(window, barProperty, bar);
  SetWindowSubclass(window, BarProc, barSubclassId, reinterpret_cast<DWORD_PTR>(bar));
  return window;
}

Bar* FindBar(HWND window) {
  return window ? static_cast<Bar*>(GetPropW(window, barProperty)) : nullptr;
}

bool InsertMenuButtons(Bar& bar, HMENU menu, int index) {
  if (!menu) return false;
  bar.menus.push_back(platform::OwnedMenu(menu));
  int count = GetMenuItemCount(menu);
  std::vector<std::wstring> labels;
  std::vector<TBBUTTON> buttons;
  labels.reserve(count);
  for (int i = 0; i < count; ++i) {
    HMENU popup = GetSubMenu(menu, i);
    if (!popup) continue;
    wchar_t text[128] = L"";
    GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
    labels.emplace_back(text);
    int command = firstMenuButtonId + static_cast<int>(bar.dropDowns.size());
    bar.dropDowns.push_back({command, popup});
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    button.iString = reinterpret_cast<INT_PTR>(labels.back().c_str());
    buttons.push_back(button);
  }
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    SendMessageW(bar.window, TB_INSERTBUTTONW, index + static_cast<int>(i),
                 reinterpret_cast<LPARAM>(&buttons[i]));
  }
  return !buttons.empty();
}

int AddBarBitmap(HWND window, HINSTANCE instance, UINT_PTR id, int count, int width,
                 int height) {
  // The image size can only be set while the bar has no images.
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(window, TB_GETIMAGELIST, 0, 0));
  int first = images ? ImageList_GetImageCount(images) : 0;
  if (first == 0) SendMessageW(window, TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
  TBADDBITMAP bitmap{instance, id};
  if (SendMessageW(window, TB_ADDBITMAP, count, reinterpret_cast<LPARAM>(&bitmap)) < 0) {
    return -1;
  }
  return first;
}

void LayoutBar(const Bar& bar) {
  SendMessageW(bar.window, TB_AUTOSIZE, 0, 0);
  if (!bar.isMenuBar) return;
  RECT client{};
  GetClientRect(bar.owner, &client);
  RECT own{};
  GetWindowRect(bar.window, &own);
  int height = own.bottom - own.top;
  SetWindowPos(bar.window, HWND_TOP, 0, client.bottom - height, client.right, height,
               SWP_NOACTIVATE);
}

}  // namespace pocketpc

bool ShowBarDropDown(HWND window, int command, HMENU menu) {
  pocketpc::Bar* bar = pocketpc::FindBar(window);
  pocketpc::DropDown* dropDown = bar ? pocketpc::FindDropDown(*bar, command) : nullptr;
  if (!dropDown) return false;
  pocketpc::ShowDropDown(*bar, {command, menu ? menu : dropDown->menu});
  return true;
}
