// Starts fum.exe as a separate process for GUI tests and finds its main window.
#pragma once

#include <windows.h>

#include <string>

// The folder of the installed program (fum.exe, its settings and syntax files).
std::wstring FumFolder();
// The full path of fum.exe.
std::wstring FumExePath();

// One running fum.exe. The process is ended when the object goes: closed through its main
// window if it still has one, terminated if it does not end in time.
class FumProcess {
 public:
  FumProcess() = default;
  ~FumProcess();
  FumProcess(const FumProcess&) = delete;
  FumProcess& operator=(const FumProcess&) = delete;

  // Starts fum.exe with the given command-line arguments (already quoted as needed) and
  // waits up to `timeoutMs` for its main window. False when the process could not start or
  // showed no main window in time; Error() says which.
  bool Start(const std::wstring& arguments = L"", DWORD timeoutMs = 10000);

  // The main window of this process (class "CEFEDITOR"), null before Start succeeded.
  HWND Window() const { return window_; }
  HANDLE Process() const { return process_; }
  const std::wstring& Error() const { return error_; }

  // Waits up to `timeoutMs` for the process to end; true with its exit code when it did.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);

  // Posts WM_CLOSE to the main window and waits for the process to end. True with the exit
  // code when it ended within `timeoutMs`.
  bool Close(DWORD timeoutMs, DWORD* exitCode);

 private:
  HWND FindOwnMainWindow() const;
  void Release();

  HANDLE process_ = nullptr;  // null when no process was started or it was released
  DWORD processId_ = 0;
  HWND window_ = nullptr;     // belongs to processId_
  std::wstring error_;
};
