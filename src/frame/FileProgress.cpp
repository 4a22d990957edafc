// The window that shows how far a long load or save got, and the pump that runs meanwhile.
#include "frame/FileProgress.h"

#include <algorithm>

#include "frame/FrameSupport.h"
#include "platform/HandlerNesting.h"

namespace {

constexpr wchar_t className[] = L"fumFileProgress";
// A load or save shorter than this shows nothing.
constexpr std::uint64_t quietMilliseconds = 500;
// The program answers and repaints at least this often while the work runs.
constexpr std::uint64_t pumpMilliseconds = 40;
// Paint messages dispatched in one pump at most: a window that never validates itself cannot
// hold the work up.
constexpr int mostPaints = 64;

}  // namespace

FileProgressWindow::FileProgressWindow(HINSTANCE instance, HWND owner, UINT textId, std::wstring name)
    : instance_(instance), owner_(owner), textId_(textId), name_(std::move(name)), start_(GetTickCount64()) {}

FileProgressWindow::~FileProgressWindow() {
  if (window_) DestroyWindow(window_);
}

bool FileProgressWindow::Step(std::uint64_t done, std::uint64_t total) {
  const std::uint64_t now = GetTickCount64();
  if (now - start_ < quietMilliseconds || now - lastPump_ < pumpMilliseconds) return !cancelled_;
  lastPump_ = now;
  percent_ = total == 0 ? 100 : static_cast<int>(std::min<std::uint64_t>(done, total) * 100 / total);
  text_ = LoadResourceText(instance_, textId_, name_, std::to_wstring(percent_));
  if (!window_) Show();
  if (window_) {
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
  }
  Pump();
  return !cancelled_;
}

void FileProgressWindow::Show() {
  static const bool registered = [this] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_WAIT);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    return RegisterClassW(&windowClass) != 0;
  }();
  if (!registered) return;
  RECT frame{};
  GetWindowRect(owner_, &frame);
  const int width = std::max(120L, (frame.right - frame.left) * 4 / 5);
  const int height = 3 * GetSystemMetrics(SM_CYMENU);
  window_ = CreateWindowExW(0, className, L"", WS_POPUP | WS_BORDER, frame.left + (frame.right - frame.left - width) / 2,
                            frame.top + (frame.bottom - frame.top - height) / 3, width, height, owner_,
                            nullptr, instance_, nullptr);
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  // While the main window is hidden (a load asked for before it shows) the progress takes the
  // keyboard itself, so that Escape reaches the program.
  ShowWindow(window_, IsWindowVisible(owner_) ? SW_SHOWNOACTIVATE : SW_SHOW);
}

void FileProgressWindow::Pump() {
  platform::HandlerScope scope;
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) cancelled_ = true;
  while (PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
  for (int i = 0; i < mostPaints && PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
    DispatchMessageW(&message);
}

LRESULT CALLBACK FileProgressWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* self = reinterpret_cast<const FileProgressWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message != WM_PAINT || !self) return DefWindowProcW(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  const int margin = GetSystemMetrics(SM_CYMENU) / 3;
  const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  RECT textRect{client.left + margin, client.top + margin, client.right - margin, client.bottom / 2};
  DrawTextW(dc, self->text_.c_str(), static_cast<int>(self->text_.size()), &textRect,
            DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  RECT bar{client.left + margin, client.bottom / 2 + margin / 2, client.right - margin, client.bottom - margin};
  FrameRect(dc, &bar, GetSysColorBrush(COLOR_WINDOWTEXT));
  InflateRect(&bar, -2, -2);
  bar.right = bar.left + (bar.right - bar.left) * self->percent_ / 100;
  FillRect(dc, &bar, GetSysColorBrush(COLOR_HIGHLIGHT));
  SelectObject(dc, oldFont);
  EndPaint(window, &paint);
  return 0;
}
