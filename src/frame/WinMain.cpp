// Entry point of fum.exe and the program's long-lived objects: the main frame, the settings and
// the accelerator table, built before the entry point runs and torn down after it returns.
#include <windows.h>

#include <string>

#include "comun/resource.h"
#include "config/AppSettings.h"
#include "frame/CommandLine.h"
#include "frame/CompletionPopup.h"
#include "frame/MainFrame.h"
#include "settings/AcceleratorTableWin32.h"

namespace {

// Constructed in this order and destroyed in the reverse one: the accelerator table goes
// first, then the settings, which write the settings file, and the frame, still empty of
// windows by then, last.
MainFrame frame;
AppSettings settings;
AcceleratorTable accelerators(settings.KeyBindings(), settings.KeyBindingCount());

// The built-in filter list: pairs of description and pattern, each ended by a NUL.
std::wstring builtInFilters;

constexpr int filterBufferLength = 100;

void LoadBuiltInFilters(HINSTANCE instance) {
  wchar_t text[filterBufferLength] = L"";
  int length = LoadStringW(instance, IDS_FILTERS, text, filterBufferLength);
  builtInFilters = FilterListFromResource(std::wstring_view(text, length > 0 ? length : 0),
                                          filterBufferLength - 1);
}

int RunMessageLoop() {
  MSG message;
  for (;;) {
    // Idle work is done here, in the outermost loop only, in parts short enough that the
    // messages stay answered: never inside a dialog's or a question's loop, whose documents may
    // be in the middle of a change.
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && CountWordsInIdleTime(frame)) continue;
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
    if (accelerators.Handle() &&
        TranslateAcceleratorW(message.hwnd, accelerators.Handle(), &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

MainFrame& TheFrame() { return frame; }

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand) {
  LoadBuiltInFilters(instance);
  frame.UseSettings(settings);
  frame.ParseCommandLine(commandLine ? commandLine : L"");
  if (frame.Start(instance, showCommand) != MainFrame::StartResult::running) return 0;
  return RunMessageLoop();
}
