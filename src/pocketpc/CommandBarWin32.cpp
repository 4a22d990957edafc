// Command bars: toolbars docked at the top of their parent that can carry a menu, images,
// buttons and tooltips.
#include "pocketpc/BarWin32.h"
#include "pocketpc/PocketPC.h"

using namespace pocketpc;

HWND CommandBar_Create(HINSTANCE hInst, HWND hwndParent, int idCmdBar) {
  HWND window = CreateBar(hwndParent, hInst, idCmdBar, CCS_TOP);
  if (!window) return nullptr;
  LayoutBar(*FindBar(window));
  ShowWindow(window, SW_SHOWNA);
  return window;
}

BOOL CommandBar_InsertMenubarEx(HWND hwndCB, HINSTANCE hInst, LPWSTR pszMenu, int iButton) {
  Bar* bar = FindBar(hwndCB);
  if (!bar) return FALSE;
  HMENU menu = hInst ? LoadMenuW(hInst, pszMenu) : reinterpret_cast<HMENU>(pszMenu);
  return InsertMenuButtons(*bar, menu, iButton);
}

BOOL CommandBar_InsertMenubar(HWND hwndCB, HINSTANCE hInst, WORD idMenu, int iButton) {
  if (!hInst) return FALSE;
  return CommandBar_InsertMenubarEx(hwndCB, hInst, MAKEINTRESOURCEW(idMenu), iButton);
}

int CommandBar_AddBitmap(HWND hwndCB, HINSTANCE hInst, int idBitmap, int iNumImages,
                         int iImageWidth, int iImageHeight) {
  if (!FindBar(hwndCB)) return -1;
  return AddBarBitmap(hwndCB, hInst, idBitmap, iNumImages, iImageWidth, iImageHeight);
}

HMENU CommandBar_GetMenu(HWND hwndCB, int /*iButton*/) {
  return reinterpret_cast<HMENU>(SendMessageW(hwndCB, SHCMBM_GETMENU, 0, 0));
}

int CommandBar_Height(HWND hwndCB) {
  RECT rect{};
  if (!GetWindowRect(hwndCB, &rect)) return 0;
  return rect.bottom - rect.top;
}
