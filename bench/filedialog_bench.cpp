// The open dialog on a large folder: the time from the request to the shown dialog with its
// list filled, and the time to fill the list again (Show Folders), against a plain listing of
// the same folder with the platform's file search.
//   fum_filedialog_bench [FOLDER] [RUNS]   (default C:\windows\system32, 5 runs)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "BenchTiming.h"
#include "comun/resource.h"
#include "filedialog/FileDialog.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Milliseconds;

int PlainListing(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  int count = 0;
  if (search == INVALID_HANDLE_VALUE) return 0;
  do ++count;
  while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

struct Search {
  DWORD thread;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  if (!GetDlgItem(window, IDC_FILEDLG_LIST) || !IsWindowVisible(window)) return TRUE;
  search.found = window;
  return FALSE;
}

struct Run {
  double shown;
  double refill;
  int items;
};

// One run of the dialog on a thread of its own, timed from this thread.
Run TimeDialog(const std::wstring& folder) {
  std::vector<wchar_t> file(261, L'\0');
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.lpstrFile = file.data();
  request.nMaxFile = static_cast<DWORD>(file.size());
  request.lpstrInitialDir = folder.c_str();
  std::atomic<DWORD> threadId{0};
  Clock::time_point start = Clock::now();
  std::thread dialogThread([&] {
    threadId = GetCurrentThreadId();
    OpenFileDialog(request);
  });
  Search search{0, nullptr};
  while (!search.found) {
    if (threadId) EnumThreadWindows(threadId, FindDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(1);
  }
  // The dialog is shown before its start has filled the list; a sent message returns after.
  SendMessageW(search.found, WM_NULL, 0, 0);
  Run run{Milliseconds(start), 0, 0};
  Clock::time_point refill = Clock::now();
  SendMessageW(search.found, WM_COMMAND, IDM_FILEDLG_SHOWFOLDERS, 0);
  run.refill = Milliseconds(refill);
  run.items = ListView_GetItemCount(GetDlgItem(search.found, IDC_FILEDLG_LIST));
  SendMessageW(search.found, WM_COMMAND, IDM_FILEDLG_SHOWFOLDERS, 0);
  PostMessageW(search.found, WM_COMMAND, IDCANCEL, 0);
  dialogThread.join();
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  std::wstring folder = L"C:\\windows\\system32";
  if (argc > 1) folder.assign(argv[1], argv[1] + std::char_traits<char>::length(argv[1]));
  int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  std::vector<double> shown, refill, plain;
  int items = 0;
  for (int i = 0; i < runs; ++i) {
    Clock::time_point start = Clock::now();
    int entries = PlainListing(folder);
    plain.push_back(Milliseconds(start));
    Run run = TimeDialog(folder);
    shown.push_back(run.shown);
    refill.push_back(run.refill);
    items = std::max(items, run.items);
    if (entries == 0) break;
  }
  double listing = std::max(Median(plain), 0.01);
  std::printf("  folder %ls, %d entries in the list\n", folder.c_str(), items);
  std::printf("  plain listing                      %8.1f ms\n", Median(plain));
  std::printf("  dialog shown with its list         %8.1f ms  (%.0fx the listing)\n",
              Median(shown), Median(shown) / listing);
  std::printf("  list filled again (Show Folders)   %8.1f ms  (%.0fx the listing)\n",
              Median(refill), Median(refill) / listing);
  return 0;
}
