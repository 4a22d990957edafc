// Keystroke to repainted screen in a real FEDIT window on the million-line benchmark file:
// typing a character, Enter, Page Down, Ctrl+End, Ctrl+Home, a far drag of the scroll thumb and
// typing at the end of the text, each timed from the message to the end of the synchronous
// repaint, with word wrap off and on, and the C highlighting on. Then a screen of ASCII lines
// beside a screen of CJK lines as wide in cells: painting it and typing.
//   fum_view_bench [INPUT] [RUNS]   (the input is generated when missing)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchArguments.h"
#include "BenchTiming.h"
#include "SourceGenerator.h"
#include "config/Classify.h"
#include "config/DocClass.h"
#include "syntax/SyntaxDef.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "text/TextFile.h"
#include "view/Caret.h"
#include "view/Grid.h"
#include "view/Keys.h"
#include "view/ViewWindowWin32.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Milliseconds;

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateFrame() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = FrameProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"FumViewBench";
  RegisterClassW(&windowClass);
  HWND frame = CreateWindowExW(0, windowClass.lpszClassName, L"fum view bench",
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 800, 600,
                               nullptr, nullptr, windowClass.hInstance, nullptr);
  Pump();
  return frame;
}

// Times one keystroke: its handling and the repaint of the text it caused. The scroll bars'
// drawing, which the view posts to follow the text, is timed apart: the message loop runs it
// before the next keystroke.
std::vector<double> barDrawing;
double Keystroke(ViewWindow& view, const std::function<void()>& press) {
  const auto start = Clock::now();
  press();
  UpdateWindow(view.window);
  GdiFlush();
  const double keystroke = Milliseconds(start);
  const auto bars = Clock::now();
  Pump();
  GdiFlush();
  barDrawing.push_back(Milliseconds(bars));
  return keystroke;
}

void GoToLine(ViewWindow& view, int line) {
  const TextPos previous = view.caret;
  SetPos(view.caret, 4, line);
  UpdateCaret(view, previous, false, caretCentre);
  view.desiredColumn = view.caret.visualColumn;
  UpdateWindow(view.window);
}

void Report(const char* what, const std::vector<double>& times) {
  std::printf("  %-36s %8.3f ms  (max %.3f ms, %zu runs)\n", what, Median(times),
              *std::max_element(times.begin(), times.end()), times.size());
}

void Run(HWND frame, const std::wstring& path, bool wrap, int runs, const SyntaxDef& syntax) {
  Document document;
  DocClass settings;
  settings.wordwrap = wrap;
  settings.tabsize = 4;
  settings.hassyntax = true;
  settings.syntax = &syntax;
  GiveClass(document, settings);
  LayoutDocument(document);
  auto loadStart = Clock::now();
  if (!LoadText(document, path)) {
    std::printf("cannot read the input\n");
    return;
  }
  const double loadTime = Milliseconds(loadStart);
  ViewWindow view(document, frame, nullptr);
  view.docClass = settings;
  auto openStart = Clock::now();
  if (!CreateViewWindow(view)) {
    std::printf("cannot create the view window\n");
    return;
  }
  const double openTime = Milliseconds(openStart);
  Pump();
  std::printf("%s: %d lines, %d rows, %d x %d cells (load %.0f ms, window and layout %.0f ms)\n",
              wrap ? "word wrap on" : "word wrap off", document.LineCount(), document.TotalRows(),
              view.visibleColumns, view.visibleRows, loadTime, openTime);

  const int middle = document.LineCount() / 2;
  std::vector<double> typed, enters, pages, ends, homes, drags, typedAtEnd;
  std::vector<double> typedBars, enterBars, pageBars, endBars;
  GoToLine(view, middle);
  Pump();
  barDrawing.clear();
  for (int i = 0; i < runs; ++i)
    typed.push_back(Keystroke(view, [&] { SendMessageW(view.window, WM_CHAR, L'x', 1); }));
  typedBars.swap(barDrawing);
  for (int i = 0; i < runs; ++i)
    enters.push_back(Keystroke(view, [&] { SendMessageW(view.window, WM_CHAR, L'\r', 1); }));
  enterBars.swap(barDrawing);
  GoToLine(view, middle);
  Pump();
  barDrawing.clear();
  for (int i = 0; i < runs; ++i)
    pages.push_back(Keystroke(view, [&] { OnKeyDown(view, VK_NEXT, false, false); }));
  pageBars.swap(barDrawing);
  for (int i = 0; i < runs; ++i) {
    GoToLine(view, middle - i);
    Pump();
    barDrawing.clear();
    ends.push_back(Keystroke(view, [&] { OnKeyDown(view, VK_END, false, true); }));
    endBars.push_back(barDrawing.back());
  }
  for (int i = 0; i < runs; ++i) {
    GoToLine(view, middle + i);
    Pump();
    homes.push_back(Keystroke(view, [&] { OnKeyDown(view, VK_HOME, false, true); }));
  }
  // A drag of the scroll thumb moves the first row shown by what the thumb moved: here by a
  // tenth of the document and back, each step repainted.
  const int tenth = std::max(1, document.TotalRows() / 10);
  for (int i = 0; i < runs; ++i)
    drags.push_back(Keystroke(view, [&] { ScrollRows(view, i % 20 < 10 ? tenth : -tenth); }));
  OnKeyDown(view, VK_END, false, true);
  Pump();
  for (int i = 0; i < runs; ++i)
    typedAtEnd.push_back(Keystroke(view, [&] { SendMessageW(view.window, WM_CHAR, L'x', 1); }));
  barDrawing.clear();
  Report("typed character", typed);
  Report("Enter", enters);
  Report("Page Down", pages);
  Report("Ctrl+End", ends);
  Report("Ctrl+Home", homes);
  Report("scroll thumb dragged a tenth", drags);
  Report("typed character at the end", typedAtEnd);
  Report("then scroll bars, typed character", typedBars);
  Report("then scroll bars, Enter", enterBars);
  Report("then scroll bars, Page Down", pageBars);
  Report("then scroll bars, Ctrl+End", endBars);
}

// Lines of one script, each 120 cells wide: ASCII letters, or CJK ideographs of two cells.
void FillLines(Document& document, bool wide) {
  document.lines.Clear();
  document.rowTotals.Clear();
  std::uint32_t state = 0;
  for (int n = 0; n < 2000; ++n) {
    int rows = 0;
    std::wstring text;
    for (int i = 0; i < (wide ? 60 : 120); ++i)
      text += wide ? static_cast<wchar_t>(0x4E00 + (n * 7 + i) % 20000) : static_cast<wchar_t>(L'a' + (n + i) % 26);
    ConstructLine(document, document.LineCount(), text, rows, state);
    document.rowTotals.Append(rows);
  }
}

void RunScripts(HWND frame, int runs) {
  std::printf("a screen of ASCII lines beside one of CJK lines as wide in cells:\n");
  for (bool wide : {false, true}) {
    Document document;
    DocClass settings;
    settings.wordwrap = false;
    settings.tabsize = 4;
    GiveClass(document, settings);
    FillLines(document, wide);
    LayoutDocument(document);
    ViewWindow view(document, frame, nullptr);
    view.docClass = settings;
    if (!CreateViewWindow(view)) {
      std::printf("cannot create the view window\n");
      return;
    }
    Pump();
    std::vector<double> paints, typed, ends;
    for (int i = 0; i < runs; ++i)
      paints.push_back(Keystroke(view, [&] { InvalidateRect(view.window, nullptr, FALSE); }));
    GoToLine(view, 1000);
    Pump();
    for (int i = 0; i < runs; ++i)
      typed.push_back(Keystroke(view, [&] { SendMessageW(view.window, WM_CHAR, L'x', 1); }));
    for (int i = 0; i < runs; ++i) {
      GoToLine(view, 900 + i);
      Pump();
      ends.push_back(Keystroke(view, [&] { OnKeyDown(view, VK_END, false, false); }));
    }
    const std::string script = wide ? "CJK" : "ASCII";
    Report((script + ": whole screen painted").c_str(), paints);
    Report((script + ": typed character").c_str(), typed);
    Report((script + ": End").c_str(), ends);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::wstring path = bench::PathArgument(argc, argv, 1);
  if (path.empty()) path = platform::ModulePath() + L".input.txt";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 31;
  if (!platform::FileExists(path)) bench::Generate(path);
  SyntaxDef syntax;
  if (!bench::LoadSyntaxFile(bench::PathArgument(argc, argv, 3), syntax)) {
    std::printf("usage: fum_view_bench INPUT RUNS SYNTAXFILE (the shipped c.syntax)\n");
    return 1;
  }
  HWND frame = CreateFrame();
  std::printf("keystroke to repainted screen, median of %d runs each\n", runs);
  for (bool wrap : {false, true}) Run(frame, path, wrap, runs, syntax);
  RunScripts(frame, runs);
  DestroyWindow(frame);
  return 0;
}
