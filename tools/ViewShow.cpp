// Shows a text file in a FEDIT view inside a stand-in main window, for looking at the view:
//   fum_view_show FILE [--wrap] [--syntax NAME.syntax] [--size WxH] [--tab N]
//                      [--select LINE INDEX LINE INDEX] [--mark LINE] [--caret LINE INDEX]
//                      [--scroll COLUMNS]
// Syntax files are read from the program's folder. Lines and indices count from 0.
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ViewHost.h"
#include "platform/Paths.h"
#include "syntax/SyntaxCache.h"
#include "text/Line.h"
#include "text/TextFile.h"
#include "view/Caret.h"
#include "view/Grid.h"

namespace {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return platform::FolderOf(std::wstring_view(path, length));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count < 2) return 2;
  DocClass settings;
  settings.wordwrap = false;
  settings.fontwidthrel = 100;
  int width = 480, height = 360;
  std::vector<int> select, caret;
  int mark = -1, scroll = 0;
  SyntaxCache syntaxes(ProgramFolder());
  for (int i = 2; i < count; ++i) {
    const std::wstring arg = args[i];
    auto next = [&] { return i + 1 < count ? std::wstring(args[++i]) : std::wstring(); };
    if (arg == L"--wrap") {
      settings.wordwrap = true;
    } else if (arg == L"--syntax") {
      settings.hassyntax = true;
      settings.syntaxfile = next();
    } else if (arg == L"--size") {
      const std::wstring size = next();
      width = std::stoi(size);
      height = std::stoi(size.substr(size.find(L'x') + 1));
    } else if (arg == L"--tab") {
      settings.tabsize = std::stoi(next());
    } else if (arg == L"--select") {
      for (int k = 0; k < 4; ++k) select.push_back(std::stoi(next()));
    } else if (arg == L"--caret") {
      for (int k = 0; k < 2; ++k) caret.push_back(std::stoi(next()));
    } else if (arg == L"--mark") {
      mark = std::stoi(next());
    } else if (arg == L"--scroll") {
      scroll = std::stoi(next());
    }
  }
  if (settings.hassyntax) settings.syntax = syntaxes.Load(settings.syntaxfile);

  ViewHost host(width, height, {L""}, settings);
  if (!LoadText(*host.document, args[1])) return 1;
  LocalFree(args);
  host.Apply(settings);
  ViewWindow& view = *host.view;
  InitView(view);  // the document, loaded now, becomes the shown one
  if (mark >= 0 && mark < host.document->LineCount())
    host.document->lines[mark].SetState(
        lineState::WithMark(host.document->lines[mark].State(), true));
  if (caret.size() == 2) {
    const TextPos previous = view.caret;
    SetPos(view.caret, caret[1], caret[0]);
    UpdateCaret(view, previous, false, caretRowMove);
  }
  if (select.size() == 4) {
    SetPos(view.caret, select[1], select[0]);
    view.anchor = view.caret;
    const TextPos previous = view.caret;
    SetPos(view.caret, select[3], select[2]);
    UpdateCaret(view, previous, true, caretRowMove);
  }
  if (scroll) ScrollColumns(view, scroll);
  InvalidateRect(view.window, nullptr, TRUE);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
