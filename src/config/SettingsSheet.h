// The settings dialog: a modal property sheet with the Document, General, Classes, Commands and
// Associations pages.
#pragma once

#include <windows.h>

// Shows the sheet owned by owner and returns when it is closed; OK stores the pages' data into
// the settings.
void ShowSettingsSheet(HWND owner);
