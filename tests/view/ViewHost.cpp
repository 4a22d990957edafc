// The stand-in main window of the view's GUI tests.
#include "ViewHost.h"

#include "FakeSurface.h"
#include "config/Classify.h"
#include "view/Grid.h"
#include "view/Keys.h"

namespace {
constexpr wchar_t hostClass[] = L"FumViewHost";
}

void PumpMessages(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  MSG message;
  do {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(1);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

ViewHost::ViewHost(int width, int height, const std::vector<std::wstring>& lines,
                   const DocClass& settings) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = hostClass;
    RegisterClassW(&windowClass);
    registered = true;
  }
  document = std::make_unique<Document>();
  SetLines(*document, lines);
  GiveClass(*document, settings);
  LayoutDocument(*document);
  frame = CreateWindowExW(0, hostClass, L"fum view", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20,
                          20, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ShowWindow(frame, SW_SHOW);
  view = std::make_unique<ViewWindow>(*document, frame, &notes);
  view->docClass = settings;
  CreateViewWindow(*view);
  SetForegroundWindow(frame);
  SetFocus(frame);
  PumpMessages(30);
}

ViewHost::~ViewHost() {
  view.reset();
  DestroyWindow(frame);
}

void ViewHost::Apply(const DocClass& settings) {
  UpdateFontMetrics(*view, settings);
  ApplyLayoutSettings(*view, settings);
}

LRESULT CALLBACK ViewHost::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* host = reinterpret_cast<ViewHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (host && host->view && host->view->window) {
    ViewWindow& view = *host->view;
    switch (message) {
      case WM_SIZE:
        if (wParam <= SIZE_MAXIMIZED) ResizeView(view, LOWORD(lParam), HIWORD(lParam));
        return 0;
      case WM_KEYDOWN:
        if (OnKeyDown(view, static_cast<unsigned>(wParam), GetKeyState(VK_SHIFT) < 0,
                      GetKeyState(VK_CONTROL) < 0))
          return 0;
        break;
      case WM_CHAR:
      case WM_MOUSEWHEEL:
        SendMessageW(view.window, message, wParam, lParam);
        return 0;
      case WM_COMMAND:
        host->commands.push_back(LOWORD(wParam));
        return 0;
      case WM_SETFOCUS:
        FrameFocusGained(view);
        return 0;
      case WM_KILLFOCUS:
        FrameFocusLost(view);
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
