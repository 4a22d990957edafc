// Search on the million-line benchmark file, through the edit view's commands on a view
// without a window: Replace All of every "int" by a longer word followed by Save, the one
// undo of that Replace All, Replace All on a quarter of the file (its cost must grow with the
// hits, not faster), the same with word wrap, and Find next through the whole file without a hit, with and without
// ignore case.
//   fum_search_bench [INPUT] [RUNS]   (the input is generated when missing)
// The line "replace all + save: N ms" is read by scripts/bench to compare with vim.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchArguments.h"
#include "SourceGenerator.h"
#include "platform/Platform.h"
#include "search/SearchCommands.h"
#include "search/Searcher.h"
#include "text/Document.h"
#include "text/Edit.h"
#include "text/Layout.h"
#include "text/TextFile.h"
#include "view/Grid.h"
#include "view/Keys.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A window that is not there: it keeps scroll bars as the window system clamps them and
// ignores every drawing.
class NoWindow final : public ViewSurface {
 public:
  void ClientSize(int& width, int& height) const override {
    width = 652;
    height = 640;
  }
  void Invalidate(const PixelRect&, bool) override {}
  void InvalidateAll(bool) override {}
  void Scroll(int, int, const PixelRect&) override {}
  void UpdateNow() override {}
  void SetScrollBar(ScrollBar which, unsigned mask, const ScrollBarState& state) override {
    ScrollBarState& bar = bars_[static_cast<int>(which)];
    if (mask & scrollPage) bar.page = state.page;
    if (mask & scrollRange) {
      bar.min = state.min;
      bar.max = std::max(state.min, state.max);
    }
    if (mask & scrollPos) bar.pos = state.pos;
    bar.page = std::clamp(bar.page, 0, bar.max - bar.min + 1);
    bar.pos = std::clamp(bar.pos, bar.min, std::max(bar.min, bar.max - std::max(bar.page - 1, 0)));
  }
  ScrollBarState GetScrollBar(ScrollBar which) const override {
    return bars_[static_cast<int>(which)];
  }
  void CreateCaret(int, int) override {}
  void DestroyCaret() override {}
  void ShowCaret() override {}
  void HideCaret() override {}
  void SetCaretPos(int, int) override {}

 private:
  ScrollBarState bars_[2];
};

// The benchmark file in a view of 80 columns, at most lineLimit lines.
struct Shown {
  std::unique_ptr<Document> document = std::make_unique<Document>();
  NoWindow window;
  EditView view;

  Shown(const std::wstring& path, int lineLimit, bool wrap = false) {
    DocClass settings;
    settings.wordwrap = wrap;
    settings.tabsize = 4;
    document->settings = settings;
    LoadText(*document, path);
    if (lineLimit < document->LineCount()) {
      TextPos from(*document), to(*document);
      SetPos(from, document->lines[lineLimit - 1].Length(), lineLimit - 1);
      SetPos(to, document->lines[document->LineCount() - 1].Length(), document->LineCount() - 1);
      ReplaceText(*document, from, to, L"", editOther);
    }
    view.Attach(*document, window, nullptr);
    SetCellSize(view, 8, 16);
    RelayoutView(view, settings);
  }
};

void Report(const char* what, double milliseconds, const char* note = "") {
  std::printf("  %-40s %10.1f ms%s\n", what, milliseconds, note);
}

}  // namespace

int main(int argc, char** argv) {
  std::wstring path = bench::PathArgument(argc, argv, 1);
  if (path.empty()) path = platform::ModulePath() + L".input.txt";
  const int runs = std::max(1, argc > 2 ? std::atoi(argv[2]) : 5);
  if (!platform::FileExists(path)) bench::Generate(path);
  const std::wstring savePath = path + L".replaced.txt";

  Searcher searcher;
  searcher.SetFindText(L"int");
  searcher.SetReplaceText(L"barbaz");

  // Replace All and Save, then the undo of that Replace All, on a fresh copy each run.
  std::vector<double> replaceAndSave, replaceOnly, undo, quarter;
  int hits = 0, quarterHits = 0;
  for (int run = 0; run < runs; ++run) {
    Shown shown(path, bench::lineCount);
    auto start = Clock::now();
    hits = ReplaceAll(shown.view, searcher);
    replaceOnly.push_back(Milliseconds(start));
    const bool saved = SaveText(*shown.document, savePath);
    replaceAndSave.push_back(Milliseconds(start));
    if (!saved) std::printf("save failed\n");
    start = Clock::now();
    UndoCommand(shown.view);
    undo.push_back(Milliseconds(start));

    Shown part(path, bench::lineCount / 4);
    start = Clock::now();
    quarterHits = ReplaceAll(part.view, searcher);
    quarter.push_back(Milliseconds(start));
  }
  platform::RemoveFile(savePath);

  std::printf("search on %d lines, median of %d runs\n", bench::lineCount, runs);
  char label[80];
  std::snprintf(label, sizeof label, "replace all (%d hits)", hits);
  Report(label, Median(replaceOnly));
  Report("replace all + save", Median(replaceAndSave));
  char note[80];
  std::snprintf(note, sizeof note, "   %6.2fx the replace all", Median(undo) / Median(replaceOnly));
  Report("undo of the replace all", Median(undo), note);
  std::snprintf(label, sizeof label, "replace all, a quarter (%d hits)", quarterHits);
  const double perHitFull = Median(replaceOnly) / std::max(hits, 1);
  const double perHitQuarter = Median(quarter) / std::max(quarterHits, 1);
  std::snprintf(note, sizeof note, "   per hit %6.2fx the quarter's", perHitFull / perHitQuarter);
  Report(label, Median(quarter), note);

  // With word wrap a longer line may take a further row: the rows below move each time.
  std::vector<double> wrapped, wrappedUndo;
  for (int run = 0; run < runs; ++run) {
    Shown shown(path, bench::lineCount, true);
    auto start = Clock::now();
    ReplaceAll(shown.view, searcher);
    wrapped.push_back(Milliseconds(start));
    start = Clock::now();
    UndoCommand(shown.view);
    wrappedUndo.push_back(Milliseconds(start));
  }
  Report("replace all, wrap 80", Median(wrapped));
  Report("undo of that", Median(wrappedUndo));

  // Find next through the whole file without a hit: it wraps once and comes back.
  Shown shown(path, bench::lineCount);
  searcher.SetFindText(L"no such text");
  for (bool ignoreCase : {false, true}) {
    searcher.SetOption(searchIgnoreCase, ignoreCase);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
      const auto start = Clock::now();
      if (FindNext(shown.view, searcher)) std::printf("unexpected hit\n");
      times.push_back(Milliseconds(start));
    }
    Report(ignoreCase ? "find next without a hit, ignore case" : "find next without a hit",
           Median(times));
  }
  return 0;
}
