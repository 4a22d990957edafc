// The main window's place on the desktop, kept in the settings from one run to the next.
#pragma once

#include <windows.h>

#include <optional>

class AppSettings;

// The place the settings keep for the main window, in screen coordinates; none when they keep
// none, one too small, or one whose caption lies off every monitor.
std::optional<RECT> StoredWindowRect(const AppSettings& settings);
// The show command to start with: maximized when the window was left maximized and the start
// asks for no particular state.
int StartShowCommand(const AppSettings& settings, int showCommand);
// Records the window's place and maximized state in the settings.
void RecordWindowPlace(HWND window, AppSettings& settings);
