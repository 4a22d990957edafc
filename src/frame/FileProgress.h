// The progress of a long load or save: a window over the main window with the file's name and
// how far it got, which appears after half a second, and the message pump that keeps the
// program repainting and answering meanwhile; Escape stops the work.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class FileProgressWindow {
 public:
  // textId: the string shown, "%1" the file's name and "%2" the percentage done.
  FileProgressWindow(HINSTANCE instance, HWND owner, UINT textId, std::wstring name);
  ~FileProgressWindow();
  FileProgressWindow(const FileProgressWindow&) = delete;
  FileProgressWindow& operator=(const FileProgressWindow&) = delete;

  // The progress callback of a load or save: false once Escape was pressed.
  bool Step(std::uint64_t done, std::uint64_t total);
  bool Cancelled() const { return cancelled_; }

 private:
  void Show();
  // Takes the keys and clicks meant for the documents (Escape stops the work, the rest would act
  // on text that is being replaced or written) and paints what needs it. Messages other
  // programs send are answered inside; the program's own handlers queue what they ask for.
  void Pump();
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  HWND owner_;
  UINT textId_;
  std::wstring name_;
  HWND window_ = nullptr;
  std::uint64_t start_;
  std::uint64_t lastPump_ = 0;
  int percent_ = 0;
  std::wstring text_;
  bool cancelled_ = false;
};
