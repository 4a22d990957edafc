// Dialogs shown the handheld way, and the activation and setting-change handlers of windows.
#include "platform/HandlerGuard.h"
#include "pocketpc/BarWin32.h"
#include "pocketpc/PocketPC.h"

namespace {

constexpr UINT_PTR doneButtonSubclassId = 1;

// With the Done button the caption's close button confirms the dialog instead of cancelling.
LRESULT CALLBACK DoneButtonProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR /*id*/, DWORD_PTR /*data*/) {
  const auto byDefault = [&] { return DefSubclassProc(dialog, message, wParam, lParam); };
  return platform::Guarded(
      [&]() -> LRESULT {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
          SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
          return 0;
        }
        if (message == WM_NCDESTROY)
          RemoveWindowSubclass(dialog, DoneButtonProc, doneButtonSubclassId);
        return byDefault();
      },
      byDefault);
}

// The handheld's whole screen for a dialog: its owner window, or the work area.
RECT ScreenOf(HWND dialog) {
  RECT area{};
  HWND owner = GetWindow(dialog, GW_OWNER);
  if (owner) owner = GetAncestor(owner, GA_ROOT);
  if (!owner || !GetWindowRect(owner, &area)) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  return area;
}

}  // namespace

BOOL SHInitDialog(PSHINITDLGINFO info) {
  if (!info || !IsWindow(info->hDlg)) return FALSE;
  if (!(info->dwMask & SHIDIM_FLAGS)) return TRUE;
  HWND dialog = info->hDlg;
  DWORD flags = info->dwFlags;
  if (flags & SHIDIF_DONEBUTTON) {
    SetWindowLongW(dialog, GWL_STYLE, GetWindowLongW(dialog, GWL_STYLE) | WS_CAPTION | WS_SYSMENU);
    SetWindowSubclass(dialog, DoneButtonProc, doneButtonSubclassId, 0);
  }
  UINT position = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
  RECT area{};
  if (!(GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD) &&
      (flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR))) {
    area = ScreenOf(dialog);
  } else {
    position |= SWP_NOMOVE | SWP_NOSIZE;
  }
  SetWindowPos(dialog, nullptr, area.left, area.top, area.right - area.left,
               area.bottom - area.top, position);
  return TRUE;
}

BOOL SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM /*lParam*/, PSHACTIVATEINFO info,
                        DWORD /*flags*/) {
  if (!info) return FALSE;
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    info->hwndLastFocus = focus == hwnd || IsChild(hwnd, focus) ? focus : nullptr;
    info->fActive = 0;
    return TRUE;
  }
  info->fActive = 1;
  // A window disabled by a modal box of its own never takes the focus: the keys belong to
  // the box.
  if (HIWORD(wParam) == 0 && IsWindowEnabled(hwnd)) {  // not minimized
    HWND last = info->hwndLastFocus;
    SetFocus(last && IsWindow(last) && (last == hwnd || IsChild(hwnd, last)) ? last : hwnd);
  }
  return TRUE;
}

BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM /*wParam*/, LPARAM /*lParam*/,
                             PSHACTIVATEINFO info) {
  if (!info) return FALSE;
  // Metrics may have changed the height of the menu bar's buttons.
  if (const pocketpc::Bar* bar = pocketpc::FindBar(SHFindMenuBar(hwnd))) {
    pocketpc::LayoutBar(*bar);
  }
  return TRUE;
}
