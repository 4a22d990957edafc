// A top-level window standing in for the main window in the view's GUI tests and in the
// look-check program: it holds one document in a FEDIT view and passes keys, characters,
// wheel, size and focus on to it as the main window does.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "config/DocClass.h"
#include "text/Document.h"
#include "FakeSurface.h"
#include "view/ViewWindowWin32.h"


class ViewHost {
 public:
  // A visible window with the given outer size at (20, 20), showing lines with settings.
  ViewHost(int width, int height, const std::vector<std::wstring>& lines, const DocClass& settings);
  ~ViewHost();
  ViewHost(const ViewHost&) = delete;
  ViewHost& operator=(const ViewHost&) = delete;

  // Applies settings whose syntax definition is already resolved: font, grid and layout.
  void Apply(const DocClass& settings);

  HWND frame = nullptr;
  std::unique_ptr<Document> document;
  FakeFrame notes;
  std::vector<int> commands;  // WM_COMMAND ids that reached the window
  std::unique_ptr<ViewWindow> view;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// Processes the thread's messages for a while.
void PumpMessages(DWORD milliseconds);
