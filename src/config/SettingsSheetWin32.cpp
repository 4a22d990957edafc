// The settings dialog. Not written yet: the command opens nothing.
#include "config/SettingsSheet.h"

void ShowSettingsSheet(HWND) {}
