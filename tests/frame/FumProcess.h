// Starts fum.exe as a separate process for GUI tests, finds its windows and its message boxes,
// and gives it real key presses.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

#include "TempFolder.h"

// The folder of the installed program (fum.exe, its settings and syntax files).
std::wstring FumFolder();
// The full path of fum.exe.
std::wstring FumExePath();
// The folder of the test binary and the helper programs built with it.
std::wstring TestsFolder();
// Waits up to timeoutMs for condition to hold; true when it did.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// A copy of the installed program in a folder of its own, with a settings file of the test's
// choosing, so that a test's settings and files stay apart from the build's.
class FumInstall {
 public:
  // settings: the text of fum.opt; empty for none (the program then starts from defaults).
  explicit FumInstall(const std::string& settings = "");
  std::wstring Exe() const { return folder.Path(L"fum.exe"); }
  std::wstring SettingsPath() const { return folder.Path(L"fum.opt"); }

  TempFolder folder;
};

// One running fum.exe. The process is ended when the object goes: closed through its main
// window if it still has one (every save question answered No), terminated if it does not end
// in time.
class FumProcess {
 public:
  explicit FumProcess(std::wstring exe = FumExePath()) : exe_(std::move(exe)) {}
  ~FumProcess();
  FumProcess(const FumProcess&) = delete;
  FumProcess& operator=(const FumProcess&) = delete;

  // Starts fum.exe with the given command-line arguments (already quoted as needed) and
  // waits up to `timeoutMs` for its main window. False when the process could not start or
  // showed no main window in time; Error() says which.
  bool Start(const std::wstring& arguments = L"", DWORD timeoutMs = 10000);
  // Starts fum.exe without waiting for a window.
  bool Launch(const std::wstring& arguments);

  // The main window of this process (class "CEFEDITOR"), null before Start succeeded.
  HWND Window() const { return window_; }
  HANDLE Process() const { return process_; }
  DWORD ProcessId() const { return processId_; }
  const std::wstring& Error() const { return error_; }

  // The main window's title.
  std::wstring Title() const;
  // Waits up to timeoutMs for the title to become title; true when it did.
  bool WaitForTitle(const std::wstring& title, DWORD timeoutMs = 5000) const;
  // Sends a command to the main window as a menu would, and waits until it has been handled.
  void Command(int id) const;
  // Posts a command, for commands that show a message box.
  void PostCommand(int id) const;
  // Types text into the shown document, one character message each.
  void Type(const std::wstring& text) const;
  // The whole text of the shown document, through the clipboard; the text ends selected.
  std::wstring ShownText() const;

  // A message box (or any dialog) of this process, waited for up to timeoutMs; null if none.
  HWND WaitForMessageBox(DWORD timeoutMs = 5000) const;
  // Waits for a message box and answers it with the button id; its texts are returned in
  // caption and text when given. False when no box came.
  bool Answer(int button, std::wstring* caption = nullptr, std::wstring* text = nullptr,
              DWORD timeoutMs = 5000) const;
  // A dialog of this process with the given title (any when null) and owner (any when null),
  // waited for up to timeoutMs; null if none.
  HWND WaitForDialog(const wchar_t* title, HWND owner = nullptr, DWORD timeoutMs = 5000) const;
  // Presses a button of a dialog and waits until the dialog is gone.
  void Press(HWND dialog, int button) const;

  // A visible top-level window of this process with this class, or null.
  HWND FindOwnWindow(const wchar_t* className) const;

  // Waits up to `timeoutMs` for the process to end; true with its exit code when it did.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
  // Posts WM_CLOSE to the main window and waits for the process to end. True with the exit
  // code when it ended within `timeoutMs`.
  bool Close(DWORD timeoutMs, DWORD* exitCode);

 private:
  void Release();

  std::wstring exe_;
  HANDLE process_ = nullptr;  // null when no process was started or it was released
  DWORD processId_ = 0;
  HWND window_ = nullptr;     // belongs to processId_
  std::wstring error_;
};

// The texts of a window and of the static controls of a dialog.
std::wstring WindowText(HWND window);
std::wstring DialogMessage(HWND dialog);

// Real key presses to the foreground window: the keys of a combination go down in order and
// come up in reverse order, as in {VK_CONTROL, 'S'}.
void PressKeys(std::initializer_list<WORD> keys);
// The stylus (the left mouse button) goes down at a point of the screen, or up where it is.
void StylusDown(POINT screen);
void StylusUp();
// Makes window the foreground window and waits until it is.
bool BringToFront(HWND window);
// Waits up to timeoutMs for window to be the foreground window.
bool WaitForForeground(HWND window, DWORD timeoutMs = 3000);

// Asks condition every few milliseconds until it holds or timeoutMs have passed; true when it
// held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// Narrow text for test messages.
std::string Narrow(const std::wstring& text);
// A string value as the settings file writes it: quoted, with backslashes doubled.
std::string SettingString(const std::wstring& text);
