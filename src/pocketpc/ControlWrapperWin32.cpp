// Control wrappers and the superclassed entry fields.
#include "pocketpc/ControlWrapperWin32.h"

#include <algorithm>
#include <array>
#include <limits>

#include "comun/resource.h"
#include "pocketpc/GdiWin32.h"
#include "platform/HandlerGuard.h"
#include "platform/HandlerNesting.h"
#include "pocketpc/PocketPC.h"

namespace {

constexpr std::array<const wchar_t*, 3> fieldClassNames = {L"tizedit", L"tizlabel", L"tizcombo"};
constexpr WPARAM tapCode = 513;  // the low half of a tap's first parameter

// The edit control's own procedure, per kind, once its class is registered.
std::array<WNDPROC, 3> baseProcs{};
// The byte offset of the wrapper pointer in a field's extra bytes, per kind.
std::array<int, 3> wrapperSlots{};

int KindOfWindow(HWND window) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  for (std::size_t kind = 0; kind < fieldClassNames.size(); ++kind)
    if (lstrcmpiW(name, fieldClassNames[kind]) == 0) return static_cast<int>(kind);
  return fieldEdit;
}

bool IsFieldKey(WPARAM key) { return key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE; }
bool IsFieldCharacter(WPARAM ch) { return ch == L'\t' || ch == L'\r' || ch == L'\n' || ch == 27; }

UINT KeyMessage(WPARAM key) {
  return key == VK_TAB ? WM_FIELD_TAB : key == VK_RETURN ? WM_FIELD_ENTER : WM_FIELD_ESCAPE;
}

void ShowFieldMenu(HWND window) {
  const platform::OwnedMenu menu(
      LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_FIELDPOPUP)));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu.Get(), 0);
  EnableMenuItem(popup, IDM_PASTE,
                 MF_BYCOMMAND | (IsClipboardFormatAvailable(CF_UNICODETEXT) ? MF_ENABLED : MF_GRAYED));
  RECT rect{};
  GetWindowRect(window, &rect);
  TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN, rect.left, rect.top, window, nullptr);
}

bool IsContextGesture(HWND window, LPARAM lParam) {
  SHRGINFO info{};
  info.cbSize = sizeof info;
  info.hwndClient = window;
  info.ptDown = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  info.dwFlags = SHRG_RETURNCMD;
  return SHRecognizeGesture(&info) == GN_CONTEXTMENU;
}

LRESULT OnFieldMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int kind) {
  WNDPROC base = baseProcs[kind];
  if (message == WM_NCCREATE) {
    // The wrapper comes as the creation parameter; from here on every message finds it.
    auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, wrapperSlots[kind], reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* wrapper = reinterpret_cast<EditFieldWrapper*>(GetWindowLongPtrW(window, wrapperSlots[kind]));
  if (!wrapper) return CallWindowProcW(base, window, message, wParam, lParam);
  const auto fieldId = static_cast<WPARAM>(wrapper->id);
  switch (message) {
    case WM_SETFOCUS:
      CallWindowProcW(base, window, message, wParam, lParam);
      wrapper->hasFocus = true;
      return 0;
    case WM_KILLFOCUS:
      CallWindowProcW(base, window, message, wParam, lParam);
      wrapper->hasFocus = false;
      SendMessageW(wrapper->parent, WM_FIELD_FOCUSLOST, fieldId, 0);
      return 0;
    case WM_KEYDOWN:
      if (!IsFieldKey(wParam)) break;
      SendMessageW(wrapper->parent, KeyMessage(wParam), fieldId, 0);
      return 0;
    case WM_KEYUP:
      if (IsFieldKey(wParam)) return 0;
      break;
    case WM_CHAR:
      if (IsFieldCharacter(wParam)) return 0;
      break;
    case WM_COMMAND:
      if (wrapper->OnCommand(LOWORD(wParam), HIWORD(wParam))) return 0;
      // A key binding pressed in the field is the program's command (Find Next, Save, ...):
      // the message loop hands it to the focused window, which passes it on to its top window.
      if (HIWORD(wParam) == 1 && lParam == 0) {
        return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
      }
      break;
    case WM_LBUTTONDOWN: {
      // The tap-and-hold wait and the menu run message loops: what other programs ask for
      // meanwhile waits until they have ended.
      platform::HandlerScope scope;
      if (IsContextGesture(window, lParam)) {
        ShowFieldMenu(window);
        return 0;
      }
      if (!wrapper->hasFocus) {
        // The first tap only gives the field the focus, through its parent.
        SendMessageW(wrapper->parent, WM_FIELD_TAP, MAKEWPARAM(tapCode, wrapper->id),
                     reinterpret_cast<LPARAM>(wrapper));
        return 0;
      }
      break;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, wrapperSlots[kind], 0);
      break;
    default:
      break;
  }
  return CallWindowProcW(base, window, message, wParam, lParam);
}

LRESULT CALLBACK FieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const int kind = KindOfWindow(window);
  return platform::Guarded(
      [&] { return OnFieldMessage(window, message, wParam, lParam, kind); },
      [&] { return CallWindowProcW(baseProcs[kind], window, message, wParam, lParam); });
}

bool RegisterFieldClass(HINSTANCE instance, int kind) {
  if (baseProcs[kind]) return true;
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  if (!GetClassInfoExW(nullptr, L"Edit", &info)) return false;
  const WNDPROC base = info.lpfnWndProc;
  wrapperSlots[kind] = info.cbWndExtra;
  info.cbWndExtra += static_cast<int>(sizeof(LONG_PTR));
  info.lpfnWndProc = FieldProc;
  info.hInstance = instance;
  info.lpszMenuName = nullptr;
  info.lpszClassName = fieldClassNames[kind];
  if (!RegisterClassExW(&info)) return false;
  baseProcs[kind] = base;
  return true;
}

}  // namespace

int DigitsValue(std::wstring_view text) {
  constexpr int largest = std::numeric_limits<int>::max();
  int value = 0;
  for (wchar_t ch : text) {
    if (ch < L'0' || ch > L'9') continue;
    const int digit = ch - L'0';
    // Too many digits for an int stand for the largest value, not a wrapped one.
    value = value > (largest - digit) / 10 ? largest : value * 10 + digit;
  }
  return value;
}

int SignedDigitsValue(std::wstring_view text) {
  const std::size_t firstDigit = text.find_first_of(L"0123456789");
  const bool negative = text.substr(0, firstDigit).find(L'-') != std::wstring_view::npos;
  const int value = DigitsValue(text);
  return negative ? -value : value;
}

std::wstring ControlWrapper::GetText() const {
  const int length = GetTextLength();
  if (length < 1) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto got = static_cast<std::size_t>(
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(std::min(got, static_cast<std::size_t>(length)));
  return text;
}

void ControlWrapper::SetText(const std::wstring& text) {
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int ControlWrapper::GetTextLength() const {
  return window ? static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

int ControlWrapper::GetInt() const { return DigitsValue(GetText()); }

bool ControlWrapper::OnCommand(int, int) { return false; }

void ControlWrapper::AttachDialogItem(HWND dialog, int itemId) {
  Attach(GetDlgItem(dialog, itemId), dialog, itemId);
}

void ControlWrapper::Attach(HWND control, HWND parentWindow, int controlId) {
  window = control;
  parent = parentWindow;
  id = controlId;
}

void ControlWrapper::Show(bool shown) const {
  if (window) ShowWindow(window, shown ? SW_SHOW : SW_HIDE);
}

void ControlWrapper::Enable(bool enabled) const {
  if (window) EnableWindow(window, enabled ? TRUE : FALSE);
}

void ControlWrapper::Focus() const {
  if (window) SetFocus(window);
}

bool EditFieldWrapper::OnCommand(int command, int) {
  UINT message = 0;
  switch (command) {
    case IDM_UNDO: message = WM_UNDO; break;
    case IDM_CUT: message = WM_CUT; break;
    case IDM_COPY: message = WM_COPY; break;
    case IDM_PASTE: message = WM_PASTE; break;
    default: return false;
  }
  SendMessageW(window, message, 0, 0);
  return true;
}

bool CreateField(EditFieldWrapper& wrapper, HINSTANCE instance, HWND parent, DWORD style,
                 const RECT& rect, int id, int kind) {
  if (kind < fieldEdit || kind > fieldCombo || !RegisterFieldClass(instance, kind)) return false;
  wrapper.kind = kind;
  HWND window = CreateWindowExW(0, fieldClassNames[kind], L"", style | WS_CHILD, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, &wrapper);
  if (!window) return false;
  wrapper.Attach(window, parent, id);
  return true;
}
