// The main window's place on the desktop: taken from the settings at start, recorded in them
// when the window goes.
#include "frame/FramePlacement.h"

#include "config/AppSettings.h"

namespace {

// A stored place smaller than this either way is not taken.
constexpr int minimumSide = 100;
// At least this much of the caption must lie on a monitor's work area, to take hold of it.
constexpr int minimumCaptionShown = 50;

// Workspace coordinates start at the top left of the primary monitor's work area.
POINT WorkspaceOrigin() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left, work.top};
}

bool CaptionReachable(const RECT& window) {
  RECT caption{window.left, window.top, window.right,
               window.top + GetSystemMetrics(SM_CYCAPTION)};
  HMONITOR monitor = MonitorFromRect(&caption, MONITOR_DEFAULTTONULL);
  if (!monitor) return false;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return false;
  RECT shown{};
  if (!IntersectRect(&shown, &caption, &info.rcWork)) return false;
  return shown.right - shown.left >= minimumCaptionShown;
}

}  // namespace

std::optional<RECT> StoredWindowRect(const AppSettings& settings) {
  if (settings.winwidth < minimumSide || settings.winheight < minimumSide) return std::nullopt;
  POINT origin = WorkspaceOrigin();
  RECT window{settings.winleft + origin.x, settings.wintop + origin.y, 0, 0};
  window.right = window.left + settings.winwidth;
  window.bottom = window.top + settings.winheight;
  if (!CaptionReachable(window)) return std::nullopt;
  return window;
}

int StartShowCommand(const AppSettings& settings, int showCommand) {
  bool plain = showCommand == SW_SHOWNORMAL || showCommand == SW_SHOWDEFAULT;
  return plain && settings.winmaximized && StoredWindowRect(settings) ? SW_SHOWMAXIMIZED
                                                                        : showCommand;
}

void RecordWindowPlace(HWND window, AppSettings& settings) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window, &placement)) return;
  const RECT& normal = placement.rcNormalPosition;
  settings.winleft = normal.left;
  settings.wintop = normal.top;
  settings.winwidth = normal.right - normal.left;
  settings.winheight = normal.bottom - normal.top;
  settings.winmaximized = placement.showCmd == SW_SHOWMAXIMIZED ||
                          (placement.showCmd == SW_SHOWMINIMIZED &&
                           (placement.flags & WPF_RESTORETOMAXIMIZED));
}
