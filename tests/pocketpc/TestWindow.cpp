// Helpers of the handheld layer's GUI tests.
#include "TestWindow.h"

#include <commctrl.h>

namespace {

constexpr wchar_t className[] = L"PocketPCTestWindow";

void RegisterTestClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);
  registered = true;
}

void SendMouse(DWORD flags, LONG x = 0, LONG y = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = x;
  input.mi.dy = y;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

}  // namespace

TestWindow::TestWindow(int width, int height) {
  RegisterTestClass();
  window_ = CreateWindowExW(0, className, L"test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40,
                            40, width, height, nullptr, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  UpdateWindow(window_);
  Pump(50);
}

TestWindow::~TestWindow() {
  if (IsWindow(window_)) DestroyWindow(window_);
  Pump(20);
}

LRESULT CALLBACK TestWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->OnMessage(message, wParam, lParam);
}

LRESULT TestWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (filter && filter(message, wParam, lParam)) return 0;
  switch (message) {
    case WM_COMMAND:
      commands.push_back(LOWORD(wParam));
      return 0;
    case WM_INITMENUPOPUP:
      poppedUp.push_back(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_NOTIFY:
      notifications.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
      break;
    case WM_ENTERIDLE:
      if (wParam == MSGF_MENU && onMenuIdle) {
        auto hook = std::move(onMenuIdle);
        onMenuIdle = nullptr;
        hook(reinterpret_cast<HWND>(lParam));
      }
      return 0;
    case WM_LBUTTONDOWN:
      if (onPress) {
        onPress({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void Pump(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMilliseconds) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMilliseconds - elapsed < 10
                                                     ? timeoutMilliseconds - elapsed
                                                     : 10,
                              QS_ALLINPUT);
  }
}

void StylusDown(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
}

void StylusUp() { SendMouse(MOUSEEVENTF_LEFTUP); }

void StylusMove(POINT screen) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
            MulDiv(screen.x, 65535, width - 1), MulDiv(screen.y, 65535, height - 1));
}

void Tap(POINT screen) {
  StylusDown(screen);
  StylusUp();
}

POINT ButtonCentre(HWND bar, int command) {
  auto index = static_cast<int>(SendMessageW(bar, TB_COMMANDTOINDEX, command, 0));
  RECT rect{};
  SendMessageW(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
  POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(bar, &centre);
  return centre;
}
