// The output of captured Tools runs: its text, the new document that shows it, and the question
// at Exit while runs are still going.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "comun/resource.h"
#include "frame/FrameSupport.h"
#include "frame/Locations.h"
#include "frame/MainFrame.h"
#include "frame/ToolCapture.h"
#include "frame/ToolCommands.h"

namespace {

std::wstring FromCodePage(std::string_view bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  int size = static_cast<int>(std::min<std::size_t>(bytes.size(), 0x7FFFFFFF));
  int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring text(length > 0 ? length : 0, L'\0');
  if (length > 0) MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), length);
  return text;
}

// Exit codes that are status values of the system read best in hexadecimal.
std::wstring ExitCodeText(unsigned long exitCode) {
  wchar_t text[16];
  std::swprintf(text, 16, exitCode >= 0x80000000UL ? L"0x%08lX" : L"%lu", exitCode);
  return text;
}

void ShowOutput(MainFrame& frame, const ToolCapture& capture) {
  std::wstring text =
      CapturedText(capture.Output(), GetOEMCP(), capture.ExitCode(),
                   LoadResourceText(frame.instance, IDS_EXITCODE));
  // Compilers name their files relative to the folder they ran in.
  if (OpenDocument* document = frame.NewDocumentShowing(text))
    UseAsLocationList(frame, *document, capture.Folder());
}

}  // namespace

std::wstring CapturedText(std::string_view output, unsigned codePage, unsigned long exitCode,
                          const std::wstring& exitLabel) {
  std::wstring converted = FromCodePage(output, codePage);
  // Programs end their lines with a carriage return and a line feed, a line feed alone, or (to
  // write over a line, as a progress count does) a carriage return alone: each starts a line.
  std::wstring text;
  text.reserve(converted.size() + exitLabel.size() + 16);
  for (std::size_t i = 0; i < converted.size(); ++i) {
    const wchar_t ch = converted[i];
    if (ch == L'\n' && i > 0 && converted[i - 1] == L'\r') continue;
    if (ch == L'\r' || ch == L'\n') text += L"\r\n";
    else text.push_back(ch);
  }
  if (exitCode != 0) {
    if (!text.empty() && !text.ends_with(L"\r\n")) text += L"\r\n";
    text += exitLabel + L" " + ExitCodeText(exitCode);
  }
  return text;
}

bool CaptureRunning(const MainFrame& frame, const std::wstring& owner) {
  return std::any_of(frame.captures.begin(), frame.captures.end(), [&](const auto& capture) {
    return !capture->Finished() && capture->Owner() == owner;
  });
}

void ShowFinishedCaptures(MainFrame& frame) {
  // Called outside every question and dialog (a new document under one would change the
  // active document that it works on) or by the Exit flow itself.
  for (;;) {
    auto& captures = frame.captures;
    auto found = std::find_if(captures.begin(), captures.end(),
                              [](const auto& capture) { return capture->Finished(); });
    if (found == captures.end()) return;
    std::unique_ptr<ToolCapture> capture = std::move(*found);
    captures.erase(found);
    capture->Join();
    ShowOutput(frame, *capture);
  }
}

bool QueryStopCaptures(MainFrame& frame) {
  ShowFinishedCaptures(frame);
  auto running = [](const auto& capture) { return !capture->Finished(); };
  if (std::none_of(frame.captures.begin(), frame.captures.end(), running)) return true;
  if (MessageBoxW(frame.mainWindow, LoadResourceText(frame.instance, IDS_STOPCAPTURE).c_str(),
                  frame.programName.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return false;
  }
  // Runs that ended while the question was open still show their output; the others end here
  // and their output is dropped.
  std::erase_if(frame.captures, running);
  ShowFinishedCaptures(frame);
  return true;
}
