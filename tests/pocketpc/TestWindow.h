// Helpers of the handheld layer's GUI tests: a top-level window that records what reaches it,
// message pumping and real stylus input.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

// A visible top-level window at a fixed place on the screen. Its window procedure records
// commands, pop-up menus and notifications, and calls the hooks the test sets.
class TestWindow {
 public:
  explicit TestWindow(int width = 320, int height = 360);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND Handle() const { return window_; }

  std::vector<int> commands;        // ids of WM_COMMAND, in arrival order
  std::vector<HMENU> poppedUp;      // menus of WM_INITMENUPOPUP
  std::vector<UINT> notifications;  // codes of WM_NOTIFY
  // Called on WM_ENTERIDLE while a menu is shown, with the menu's window.
  std::function<void(HWND menu)> onMenuIdle;
  // Called on WM_LBUTTONDOWN with the press in client coordinates.
  std::function<void(POINT press)> onPress;
  // Sees every message first; a true answer ends its handling with 0.
  std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)> filter;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
};

// Processes the thread's messages for a while.
void Pump(DWORD milliseconds);
// Processes messages until done() holds or the time is up; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds = 3000);

// Real stylus input at a point of the screen.
void StylusDown(POINT screen);
void StylusUp();
void StylusMove(POINT screen);
void Tap(POINT screen);

// The centre of a bar button on the screen.
POINT ButtonCentre(HWND bar, int command);
