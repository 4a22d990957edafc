// The settings dialog: a modal property sheet with the Document, General, Classes, Commands and
// Associations pages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "config/DocClass.h"

class AppSettings;

// What the pages need of the program around them. The sheet runs a message loop of its own:
// the host finds its documents again at every call.
class SettingsHost {
 public:
  virtual ~SettingsHost() = default;
  virtual AppSettings& Settings() = 0;
  // A copy of the active document's class; false when no document is open.
  virtual bool ActiveClass(DocClass& docClass) = 0;
  // Gives the active document this class (nothing without one).
  virtual void ApplyToActive(const DocClass& docClass) = 0;
  // The classes of these names changed: the documents carrying them take the new settings.
  virtual void ClassesChanged(const std::vector<std::wstring>& names) = 0;
  // The Tools commands changed.
  virtual void CommandsChanged() = 0;
  // Lets the user choose a program file, offering the filter list (NUL-separated pairs);
  // true with its full path.
  virtual bool ChooseProgram(HWND owner, const std::wstring& filter, std::wstring& path) = 0;
};

// Shows the sheet owned by owner and returns when it is closed; OK stores the pages' data into
// the settings.
void ShowSettingsSheet(HWND owner, SettingsHost& host);
