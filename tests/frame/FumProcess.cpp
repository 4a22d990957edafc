// Starts fum.exe as a separate process for GUI tests, finds its windows and message boxes, and
// gives it real key presses.
#include "FumProcess.h"

#include "comun/resource.h"

#include <filesystem>
#include <vector>

namespace {

const wchar_t mainClassName[] = L"CEFEDITOR";
const wchar_t dialogClassName[] = L"#32770";
const DWORD pollIntervalMs = 20;
const int startAttempts = 3;

std::wstring OwnFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) {
      std::wstring path(buffer.data(), length);
      return path.substr(0, path.find_last_of(L"\\/"));
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring FullPath(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  full.resize(length);
  return full;
}

struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  HWND found;
  const wchar_t* title = nullptr;  // any title when null
  HWND owner = nullptr;            // any owner when null
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (lstrcmpW(className, search->className) != 0) return TRUE;
  if (search->title && WindowText(window) != search->title) return TRUE;
  if (search->owner && GetWindow(window, GW_OWNER) != search->owner) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM lParam) {
  wchar_t className[32] = {};
  GetClassNameW(child, className, 32);
  if (lstrcmpiW(className, L"Static") != 0) return TRUE;
  std::wstring text = WindowText(child);
  if (!text.empty()) {
    auto* collected = reinterpret_cast<std::wstring*>(lParam);
    if (!collected->empty()) *collected += L"\n";
    *collected += text;
  }
  return TRUE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(pollIntervalMs);
  }
}

std::wstring FumFolder() {
  std::wstring exe = FumExePath();
  return exe.substr(0, exe.find_last_of(L'\\'));
}

// FUM_EXE_FROM_TESTS, set by the build, is the path of fum.exe relative to the folder of the
// test binary, so the tests find the program wherever the build tree lies.
std::wstring FumExePath() { return FullPath(OwnFolder() + L"\\" + FUM_EXE_FROM_TESTS); }

std::wstring TestsFolder() { return OwnFolder(); }

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  return WaitUntil(condition, timeoutMs);
}

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t ch : text) narrow += ch < 128 ? static_cast<char>(ch) : '?';
  return narrow;
}

std::string SettingString(const std::wstring& text) {
  std::string quoted = "\"";
  for (char ch : Narrow(text)) quoted += ch == '\\' ? std::string("\\\\") : std::string(1, ch);
  return quoted + "\"";
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

std::wstring DialogMessage(HWND dialog) {
  std::wstring text;
  EnumChildWindows(dialog, CollectStaticText, reinterpret_cast<LPARAM>(&text));
  return text;
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(100);
}

void StylusDown(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &input, sizeof(INPUT));
}

void StylusUp() {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof(INPUT));
}

bool BringToFront(HWND window) {
  SetForegroundWindow(window);
  return WaitForForeground(window);
}

bool WaitForForeground(HWND window, DWORD timeoutMs) {
  return WaitUntil([window] { return GetForegroundWindow() == window; }, timeoutMs);
}

// ---- FumInstall ------------------------------------------------------------------------------

FumInstall::FumInstall(const std::string& settings) {
  namespace fs = std::filesystem;
  fs::path from = FumFolder();
  fs::copy_file(from / "fum.exe", folder.Native(L"fum.exe"));
  for (const auto& entry : fs::directory_iterator(from)) {
    if (entry.path().extension() == ".syntax") {
      fs::copy_file(entry.path(), folder.Native(entry.path().filename().wstring()));
    }
  }
  if (!settings.empty()) folder.Write(L"fum.opt", settings);
}

// ---- FumProcess ------------------------------------------------------------------------------

FumProcess::~FumProcess() {
  if (!process_) return;
  DWORD exitCode = 0;
  if (window_ && IsWindow(window_)) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    // Changes are thrown away. A dialog that No does not close (the settings sheet, left open
    // by a test) must not hold the test here: the process is ended below.
    HWND answered = nullptr;
    while (HWND box = WaitForMessageBox(500)) {
      if (box == answered) break;
      Press(box, IDNO);
      answered = box;
    }
  }
  if (!WaitForExit(5000, &exitCode)) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  Release();
}

bool FumProcess::Launch(const std::wstring& arguments) {
  error_.clear();
  std::wstring commandLine = L"\"" + exe_ + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  // Now and then the system's loader fails to lay out a new process's address space: the process
  // ends before any of the program has run, and CreateProcess says ERROR_INTERNAL_ERROR. That
  // is no fault of the program; a second start succeeds.
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < startAttempts; ++attempt) {
    if (attempt > 0) Sleep(200);
    if (CreateProcessW(exe_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &info)) {
      error = ERROR_SUCCESS;
      break;
    }
    error = GetLastError();
    if (error != ERROR_INTERNAL_ERROR) break;
  }
  if (error != ERROR_SUCCESS) {
    error_ = L"cannot start " + exe_ + L" (error " + std::to_wstring(error) + L")";
    return false;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  return true;
}

bool FumProcess::Start(const std::wstring& arguments, DWORD timeoutMs) {
  if (!Launch(arguments)) return false;
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    window_ = FindOwnWindow(mainClassName);
    if (window_) {
      // The window is made visible inside its creation; wait until its start-up is over.
      WaitForInputIdle(process_, timeoutMs);
      return true;
    }
    if (WaitForSingleObject(process_, pollIntervalMs) == WAIT_OBJECT_0) {
      DWORD exitCode = 0;
      GetExitCodeProcess(process_, &exitCode);
      error_ = L"fum.exe ended with exit code " + std::to_wstring(exitCode) +
               L" before showing its main window";
      return false;
    }
    if (GetTickCount64() >= deadline) {
      error_ = L"fum.exe showed no main window within " + std::to_wstring(timeoutMs) + L" ms";
      return false;
    }
  }
}

std::wstring FumProcess::Title() const { return WindowText(window_); }

bool FumProcess::WaitForTitle(const std::wstring& title, DWORD timeoutMs) const {
  return WaitUntil([&] { return Title() == title; }, timeoutMs);
}

void FumProcess::Command(int id) const {
  SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void FumProcess::PostCommand(int id) const {
  PostMessageW(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void FumProcess::Type(const std::wstring& text) const {
  for (wchar_t ch : text) SendMessageW(window_, WM_CHAR, ch, 1);
}

std::wstring FumProcess::ShownText() const {
  Command(IDM_DOCSTART);
  Command(IDM_DOCENDEXTEND);
  Command(IDM_COPY);
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"(clipboard unavailable)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

HWND FumProcess::WaitForMessageBox(DWORD timeoutMs) const {
  HWND box = nullptr;
  WaitUntil([&] { return (box = FindOwnWindow(dialogClassName)) != nullptr; }, timeoutMs);
  return box;
}

HWND FumProcess::WaitForDialog(const wchar_t* title, HWND owner, DWORD timeoutMs) const {
  WindowSearch search{processId_, dialogClassName, nullptr, title, owner};
  WaitUntil(
      [&] {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
}

bool FumProcess::Answer(int button, std::wstring* caption, std::wstring* text,
                        DWORD timeoutMs) const {
  HWND box = WaitForMessageBox(timeoutMs);
  if (!box) return false;
  if (caption) *caption = WindowText(box);
  if (text) *text = DialogMessage(box);
  Press(box, button);
  return true;
}

void FumProcess::Press(HWND dialog, int button) const {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  // Gone before the next question may come.
  WaitUntil([dialog] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 3000);
}

bool FumProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
  if (!process_) return false;
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  GetExitCodeProcess(process_, exitCode);
  Release();
  return true;
}

bool FumProcess::Close(DWORD timeoutMs, DWORD* exitCode) {
  if (!process_) return false;
  if (window_ && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
  return WaitForExit(timeoutMs, exitCode);
}

HWND FumProcess::FindOwnWindow(const wchar_t* className) const {
  WindowSearch search{processId_, className, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void FumProcess::Release() {
  if (process_) CloseHandle(process_);
  process_ = nullptr;
  processId_ = 0;
  window_ = nullptr;
}
