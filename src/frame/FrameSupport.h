// Small helpers the files of the frame share: texts of the string table and the wait cursor.
#pragma once

#include <windows.h>

#include <string>

// String id of the resources of instance; empty when there is none.
std::wstring LoadResourceText(HINSTANCE instance, UINT id);

// Shows the wait cursor while it lives.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};
