// Small helpers the files of the frame share: texts of the string table, the current folder and
// the wait cursor.
#pragma once

#include <windows.h>

#include <string>

// String id of the resources of instance; empty when there is none.
std::wstring LoadResourceText(HINSTANCE instance, UINT id);
// The same with every "%1" replaced by first and every "%2" by second.
std::wstring LoadResourceText(HINSTANCE instance, UINT id, const std::wstring& first,
                              const std::wstring& second = L"");

// The process's current folder, where programs started without a folder of their own run.
inline std::wstring CurrentFolder() {
  DWORD length = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(length, L'\0');
  DWORD written = length > 0 ? GetCurrentDirectoryW(length, folder.data()) : 0;
  folder.resize(written < length ? written : 0);
  return folder;
}

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
