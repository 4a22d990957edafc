// Starts fum.exe as a separate process for GUI tests and finds its main window.
#include "FumProcess.h"

#include <vector>

namespace {

const wchar_t mainClassName[] = L"CEFEDITOR";
const DWORD pollIntervalMs = 20;

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
  HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId) return TRUE;
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (lstrcmpW(className, mainClassName) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

std::wstring FumFolder() {
  std::wstring exe = FumExePath();
  return exe.substr(0, exe.find_last_of(L'\\'));
}

// FUM_EXE_FROM_TESTS, set by the build, is the path of fum.exe relative to the folder of the
// test binary, so the tests find the program wherever the build tree lies.
std::wstring FumExePath() { return FullPath(OwnFolder() + L"\\" + FUM_EXE_FROM_TESTS); }

FumProcess::~FumProcess() {
  if (!process_) return;
  DWORD exitCode = 0;
  if (!Close(5000, &exitCode)) TerminateProcess(process_, 1);
  Release();
}

bool FumProcess::Start(const std::wstring& arguments, DWORD timeoutMs) {
  error_.clear();
  std::wstring exe = FumExePath();
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    error_ = L"cannot start " + exe + L" (error " + std::to_wstring(GetLastError()) + L")";
    return false;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    window_ = FindOwnMainWindow();
    if (window_) return true;
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

HWND FumProcess::FindOwnMainWindow() const {
  WindowSearch search{processId_, nullptr};
  EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void FumProcess::Release() {
  if (process_) CloseHandle(process_);
  process_ = nullptr;
  processId_ = 0;
  window_ = nullptr;
}
