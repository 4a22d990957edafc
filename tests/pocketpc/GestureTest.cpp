// Tap-and-hold recognition with real stylus input: a hold is the context-menu gesture, a
// release or a move before the time is up is not.
#include "TestWindow.h"
#include "pocketpc/PocketPC.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace {

// A window that asks for the gesture on every press, the way the edit view does.
struct GestureWindow {
  TestWindow window;
  DWORD flags = SHRG_RETURNCMD;
  std::optional<DWORD> answer;

  GestureWindow() {
    window.onPress = [this](POINT press) {
      SHRGINFO info{sizeof(info), window.Handle(), press, flags};
      answer = SHRecognizeGesture(&info);
    };
  }

  POINT Centre() const {
    RECT client{};
    GetClientRect(window.Handle(), &client);
    POINT centre{client.right / 2, client.bottom / 2};
    ClientToScreen(window.Handle(), &centre);
    return centre;
  }
};

// Presses at the window's centre, lets `during` act from another thread while the press is
// being recognised, and releases the stylus at the end in any case.
std::optional<DWORD> PressAndRecognise(GestureWindow& target, void (*during)(POINT centre)) {
  POINT centre = target.Centre();
  StylusDown(centre);
  std::thread other(during, centre);
  PumpUntil([&] { return target.answer.has_value(); });
  other.join();
  StylusUp();
  StylusMove(centre);
  Pump(30);
  return target.answer;
}

TEST(Gesture, AHoldIsTheContextMenuGestureAndAnEarlyReleaseOrMoveIsNot) {
  const struct {
    const char* name;
    void (*during)(POINT centre);
    DWORD expected;
  } cases[] = {
      {"held", [](POINT) {}, GN_CONTEXTMENU},
      {"held with a tremble of one pixel",
       [](POINT c) {
         Sleep(100);
         StylusMove({c.x + 1, c.y});
       },
       GN_CONTEXTMENU},
      {"released after a fifth of a second",
       [](POINT) {
         Sleep(200);
         StylusUp();
       },
       0},
      {"moved away after a tenth of a second",
       [](POINT c) {
         Sleep(100);
         StylusMove({c.x + 20, c.y + 20});
       },
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GestureWindow target;
    EXPECT_EQ(PressAndRecognise(target, c.during), c.expected);
  }
}

TEST(Gesture, TheReleaseStaysQueuedForTheWindow) {
  GestureWindow target;
  bool released = false;
  target.window.filter = [&](UINT message, WPARAM, LPARAM) {
    if (message == WM_LBUTTONUP) released = true;
    return false;
  };
  PressAndRecognise(target, [](POINT) {
    Sleep(100);
    StylusUp();
  });
  EXPECT_EQ(target.answer, 0u);
  EXPECT_TRUE(released);
}

std::optional<DWORD> childAnswer;

// A child that asks for the gesture with the parent to be notified.
LRESULT CALLBACK NotifyingChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_LBUTTONDOWN) return DefWindowProcW(window, message, wParam, lParam);
  POINT press{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  SHRGINFO info{sizeof(info), window, press, SHRG_NOTIFYPARENT};
  childAnswer = SHRecognizeGesture(&info);
  return 0;
}

TEST(Gesture, WithoutReturnCmdTheParentIsNotified) {
  WNDCLASSW childClass{};
  childClass.lpfnWndProc = NotifyingChildProc;
  childClass.hInstance = GetModuleHandleW(nullptr);
  childClass.lpszClassName = L"GestureTestChild";
  RegisterClassW(&childClass);
  TestWindow parent;
  RECT client{};
  GetClientRect(parent.Handle(), &client);
  HWND child = CreateWindowExW(0, L"GestureTestChild", L"", WS_CHILD | WS_VISIBLE, 0, 0,
                               client.right, client.bottom, parent.Handle(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);

  // A press that is not held (no button is down) is never a gesture.
  SHRGINFO info{sizeof(info), child, {10, 10}, SHRG_NOTIFYPARENT};
  EXPECT_EQ(SHRecognizeGesture(&info), 0u);
  EXPECT_TRUE(parent.notifications.empty());

  POINT centre{client.right / 2, client.bottom / 2};
  ClientToScreen(child, &centre);
  childAnswer.reset();
  StylusDown(centre);
  PumpUntil([] { return childAnswer.has_value(); });
  StylusUp();
  Pump(30);
  ASSERT_TRUE(childAnswer.has_value());
  EXPECT_EQ(parent.notifications, std::vector<UINT>{GN_CONTEXTMENU});
}

}  // namespace
