// Tap-and-hold recognition: the stylus held down without moving opens a context menu.
#include "pocketpc/PocketPC.h"

#include <cstdlib>

namespace {

constexpr DWORD holdMilliseconds = 500;

// Waits while the button stays down and the stylus stays near `down` (screen coordinates).
// True when the hold lasted the whole delay. Releases, presses and long moves stay queued;
// small moves are dropped.
bool WaitForHold(POINT down, DWORD delay) {
  const int slackX = GetSystemMetrics(SM_CXDRAG);
  const int slackY = GetSystemMetrics(SM_CYDRAG);
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) {
      if (msg.message != WM_MOUSEMOVE) return false;
      if (std::abs(msg.pt.x - down.x) > slackX || std::abs(msg.pt.y - down.y) > slackY) {
        return false;
      }
      PeekMessageW(&msg, msg.hwnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);
    }
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= delay) return true;
    MsgWaitForMultipleObjectsEx(0, nullptr, delay - elapsed, QS_MOUSE, 0);
  }
}

}  // namespace

DWORD SHRecognizeGesture(PSHRGINFO info) {
  if (!info || !IsWindow(info->hwndClient)) return 0;
  // Only a press that is still held can become a gesture.
  if (!(GetKeyState(VK_LBUTTON) & 0x8000)) return 0;
  HWND client = info->hwndClient;
  POINT down = info->ptDown;
  ClientToScreen(client, &down);

  // While waiting, all the stylus' messages come to the client, wherever it goes.
  bool captured = GetCapture() != client;
  if (captured) SetCapture(client);
  bool held = WaitForHold(down, info->dwFlags & SHRG_LONGDELAY ? 2 * holdMilliseconds
                                                                : holdMilliseconds);
  if (captured && GetCapture() == client) ReleaseCapture();
  if (!held) return 0;
  if (info->dwFlags & SHRG_RETURNCMD) return GN_CONTEXTMENU;

  HWND target = info->dwFlags & SHRG_NOTIFYPARENT ? GetParent(client) : client;
  NMRGINFO notice{};
  notice.hdr.hwndFrom = client;
  notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(client));
  notice.hdr.code = GN_CONTEXTMENU;
  notice.ptAction = down;
  return static_cast<DWORD>(SendMessageW(target, WM_NOTIFY, notice.hdr.idFrom,
                                         reinterpret_cast<LPARAM>(&notice)));
}
