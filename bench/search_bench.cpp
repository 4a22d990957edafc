// Search on the million-line benchmark file, through the edit view's commands on a view
// without a window: Replace All of every "int" by a longer word followed by Save, the one
// undo of that Replace All, Replace All on a quarter of the file (its cost must grow with the
// hits, not faster), the same with word wrap, and Find next through the whole file without a hit, with and without
// ignore case; Complete Word (the first one, which builds the word index, and the later ones)
// and find as you type, a keystroke at a time; Match Bracket over the whole file and a long line.
//   fum_search_bench [INPUT] [RUNS] [scale]   (the input is generated when missing; "scale" times
//   only Ctrl+End, an absent word and Replace All of "foo" + Save, on a file of any size)
// The lines "replace all + save: N ms" and "find next without a hit, expression: N ms" are
// read by scripts/bench to compare with vim.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "BenchArguments.h"
#include "BenchTiming.h"
#include "NoWindow.h"
#include "SourceGenerator.h"
#include "platform/Platform.h"
#include "search/IncrementalFind.h"
#include "search/Navigation.h"
#include "search/SearchCommands.h"
#include "search/Searcher.h"
#include "text/Document.h"
#include "text/Edit.h"
#include "text/Layout.h"
#include "text/TextFile.h"
#include "text/WordIndex.h"
#include "view/CaretCommands.h"
#include "view/Completion.h"
#include "view/Grid.h"
#include "view/Editing.h"

namespace {

using bench::Median;
using Clock = std::chrono::steady_clock;

// The wall and processor time of one timed stretch, in milliseconds.
struct Timing {
  double wall = 0;
  double cpu = 0;
};

class Stopwatch {
 public:
  Stopwatch() : start_(Clock::now()), cpu_(bench::CpuSeconds()) {}
  Timing Elapsed() const {
    return {std::chrono::duration<double, std::milli>(Clock::now() - start_).count(),
            (bench::CpuSeconds() - cpu_) * 1e3};
  }

 private:
  Clock::time_point start_;
  double cpu_;
};

// Medians of several runs of one measurement.
struct Runs {
  std::vector<double> wall, cpu;
  void Add(const Timing& t) {
    wall.push_back(t.wall);
    cpu.push_back(t.cpu);
  }
  double Wall() const { return Median(wall); }
  double Cpu() const { return Median(cpu); }
};

// The benchmark file in a view of 80 columns, at most lineLimit lines.
struct Shown {
  std::unique_ptr<Document> document = std::make_unique<Document>();
  bench::NoWindow window;
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

void Report(const char* what, const Runs& runs, const char* note = "") {
  std::printf("  %-40s %8.1f ms  (cpu %7.1f ms)%s\n", what, runs.Wall(), runs.Cpu(), note);
}

// Complete Word at the end of the file after "va" (about a thousand candidates): the first one
// builds the word index, the later ones only ask it; then Replace All with the index kept.
void CompletionBench(const std::wstring& path, int runs, Searcher& searcher) {
  Runs first, later, replacing;
  std::size_t memory = 0, words = 0, listed = 0;
  for (int run = 0; run < runs; ++run) {
    Shown shown(path, bench::lineCount);
    MoveDocumentEnd(shown.view, false);
    ReplaceSelection(shown.view, L"\r\nva", editOther);
    Document* documents[] = {shown.document.get()};
    CompletionList list;
    Stopwatch building;
    list.Start(shown.view, documents);
    first.Add(building.Elapsed());
    listed = list.Candidates().size();
    for (int again = 0; again < 5; ++again) {
      Stopwatch asking;
      list.Start(shown.view, documents);
      later.Add(asking.Elapsed());
    }
    memory = shown.document->words->MemoryBytes();
    words = shown.document->words->WordCount();
    Stopwatch replacing1;
    ReplaceAll(shown.view, searcher);
    replacing.Add(replacing1.Elapsed());
  }
  char label[80], note[80];
  std::snprintf(label, sizeof label, "complete word, first (%zu listed)", listed);
  Report(label, first, "   builds the word index");
  Report("complete word, index built", later);
  std::snprintf(note, sizeof note, "   %zu words, %.1f MB", words, static_cast<double>(memory) / 1e6);
  Report("replace all, word index kept", replacing, note);
}

// The word index built in idle time after the file was read, a part at a time as the main loop
// does it (the longest part is how long a key may wait), and Complete Word after it.
void IdleCompletionBench(const std::wstring& path, int runs) {
  Runs longestPart, completing;
  for (int run = 0; run < runs; ++run) {
    Shown shown(path, bench::lineCount);
    MoveDocumentEnd(shown.view, false);
    ReplaceSelection(shown.view, L"\r\nva", editOther);
    Timing longest;
    for (bool done = false; !done;) {
      Stopwatch part;
      done = CountWordsAhead(*shown.document, unitsCountedInIdleTime);
      const Timing elapsed = part.Elapsed();
      if (elapsed.wall > longest.wall) longest = elapsed;
    }
    longestPart.Add(longest);
    Document* documents[] = {shown.document.get()};
    CompletionList list;
    Stopwatch asking;
    list.Start(shown.view, documents);
    completing.Add(asking.Elapsed());
  }
  Report("idle word counting, longest part", longestPart);
  Report("complete word, index built when idle", completing);
}

// Find as you type from the middle of the file: each keystroke of a word with a hit nearby, and
// one text without a hit (the whole file, and back to the start place).
void FindAsYouTypeBench(const std::wstring& path, int runs) {
  Shown shown(path, bench::lineCount);
  Searcher searcher;
  Runs nearby, none;
  const std::wstring word = L"offset_417";
  for (int run = 0; run < runs; ++run) {
    SetPos(shown.view.caret, 0, bench::lineCount / 2);
    shown.view.anchor = shown.view.caret;
    IncrementalFind find;
    find.Begin(shown.view);
    for (std::size_t length = 1; length <= word.size(); ++length) {
      searcher.SetFindText(word.substr(0, length));
      Stopwatch typing;
      if (find.Update(shown.view, searcher) != IncrementalFind::Result::found) std::printf("no hit\n");
      nearby.Add(typing.Elapsed());
    }
    searcher.SetFindText(word + L"zz");
    Stopwatch typing;
    if (find.Update(shown.view, searcher) != IncrementalFind::Result::notFound) std::printf("a hit\n");
    none.Add(typing.Elapsed());
  }
  char label[80], note[80];
  std::snprintf(label, sizeof label, "find as you type \"%ls\", per key", word.c_str());
  std::snprintf(note, sizeof note, "   slowest key %.1f ms",
                *std::max_element(nearby.wall.begin(), nearby.wall.end()));
  Report(label, nearby, note);
  Report("find as you type without a hit", none);
}

// Match Bracket from a bracket at the end of the file back to its partner at the start, and back
// over one line of a million characters.
void MatchBracketBench(const std::wstring& path, int runs) {
  Shown shown(path, bench::lineCount);
  shown.view.docClass.openbrackets = L"[";
  shown.view.docClass.closebrackets = L"]";
  ReplaceSelection(shown.view, L"[", editOther);
  MoveDocumentEnd(shown.view, false);
  ReplaceSelection(shown.view, L"]", editOther);
  Shown line(path, 1);
  line.view.docClass = shown.view.docClass;
  SelectAll(line.view);
  ReplaceSelection(line.view, L"[" + std::wstring(1000000, L'x') + L"]", editOther);
  Runs file, longLine;
  for (int run = 0; run < runs; ++run) {
    for (auto [view, times] : {std::pair{&shown.view, &file}, std::pair{&line.view, &longLine}}) {
      MoveDocumentEnd(*view, false);
      Stopwatch matching;
      if (!MatchPair(*view) || view->caret.index != 0) std::printf("no partner\n");
      times->Add(matching.Elapsed());
    }
  }
  Report("match bracket, the whole file back", file);
  Report("match bracket, a line of 1 000 000 back", longLine);
}

// The moves and searches of any file, whatever its lines, for the comparison at scale: Ctrl+End
// from the top, Find Next of a word that is absent, and Replace All of "foo" and Save.
void ScaleBench(const std::wstring& path, int runs) {
  Shown shown(path, std::numeric_limits<int>::max());
  std::printf("scale: %d lines, median of %d runs\n", shown.document->LineCount(), runs);
  Runs ending, finding, replacing;
  Searcher searcher;
  for (int run = 0; run < runs; ++run) {
    MoveDocumentStart(shown.view, false);
    Stopwatch end;
    MoveDocumentEnd(shown.view, false);
    ending.Add(end.Elapsed());
    MoveDocumentStart(shown.view, false);
    searcher.SetFindText(L"absentword");
    Stopwatch find;
    if (FindNext(shown.view, searcher)) std::printf("unexpected hit\n");
    finding.Add(find.Elapsed());
  }
  const std::wstring savePath = path + L".replaced.txt";
  searcher.SetFindText(L"foo");
  searcher.SetReplaceText(L"bar");
  for (int run = 0; run < runs; ++run) {
    Stopwatch replace;
    ReplaceAll(shown.view, searcher);
    if (!SaveText(*shown.document, savePath)) std::printf("save failed\n");
    replacing.Add(replace.Elapsed());
  }
  platform::RemoveFile(savePath);
  Report("ctrl+end", ending);
  Report("find next of an absent word", finding);
  Report("replace all foo + save", replacing);
}

}  // namespace

int main(int argc, char** argv) {
  std::wstring path = bench::PathArgument(argc, argv, 1);
  if (path.empty()) path = platform::ModulePath() + L".input.txt";
  const int runs = std::max(1, argc > 2 ? std::atoi(argv[2]) : 5);
  if (!platform::FileExists(path)) bench::Generate(path);
  if (argc > 3 && std::strcmp(argv[3], "scale") == 0) {
    ScaleBench(path, runs);
    return 0;
  }
  const std::wstring savePath = path + L".replaced.txt";

  Searcher searcher;
  searcher.SetFindText(L"int");
  searcher.SetReplaceText(L"barbaz");

  // Replace All and Save, then the undo of that Replace All, on a fresh copy each run.
  Runs replaceAndSave, replaceOnly, undo, quarter, wrapped, wrappedUndo;
  int hits = 0, quarterHits = 0;
  for (int run = 0; run < runs; ++run) {
    Shown shown(path, bench::lineCount);
    Stopwatch replacing;
    hits = ReplaceAll(shown.view, searcher);
    replaceOnly.Add(replacing.Elapsed());
    const bool saved = SaveText(*shown.document, savePath);
    replaceAndSave.Add(replacing.Elapsed());
    if (!saved) std::printf("save failed\n");
    Stopwatch undoing;
    UndoEdit(shown.view);
    undo.Add(undoing.Elapsed());

    Shown part(path, bench::lineCount / 4);
    Stopwatch partly;
    quarterHits = ReplaceAll(part.view, searcher);
    quarter.Add(partly.Elapsed());

    // With word wrap a longer line may take a further row: the rows below move each time.
    Shown wrapping(path, bench::lineCount, true);
    Stopwatch wrappedReplace;
    ReplaceAll(wrapping.view, searcher);
    wrapped.Add(wrappedReplace.Elapsed());
    Stopwatch wrappedUndoing;
    UndoEdit(wrapping.view);
    wrappedUndo.Add(wrappedUndoing.Elapsed());
  }
  platform::RemoveFile(savePath);

  std::printf("search on %d lines, median of %d runs\n", bench::lineCount, runs);
  char label[80], note[80];
  std::snprintf(label, sizeof label, "replace all (%d hits)", hits);
  Report(label, replaceOnly);
  Report("replace all + save", replaceAndSave);
  std::snprintf(note, sizeof note, "   %5.2fx the replace all (cpu)", undo.Cpu() / replaceOnly.Cpu());
  Report("undo of the replace all", undo, note);
  std::snprintf(label, sizeof label, "replace all, a quarter (%d hits)", quarterHits);
  const double perHitFull = replaceOnly.Cpu() / std::max(hits, 1);
  const double perHitQuarter = quarter.Cpu() / std::max(quarterHits, 1);
  std::snprintf(note, sizeof note, "   per hit %5.2fx the whole file's (cpu)", perHitQuarter / perHitFull);
  Report(label, quarter, note);
  Report("replace all, wrap 80", wrapped);
  std::snprintf(note, sizeof note, "   %5.2fx the replace all (cpu)", wrappedUndo.Cpu() / wrapped.Cpu());
  Report("undo of that", wrappedUndo, note);

  // Find next through the whole file without a hit: it wraps once and comes back.
  Shown shown(path, bench::lineCount);
  searcher.SetFindText(L"no such text");
  for (bool ignoreCase : {false, true}) {
    searcher.SetOption(searchIgnoreCase, ignoreCase);
    Runs finding;
    for (int run = 0; run < runs; ++run) {
      Stopwatch watch;
      if (FindNext(shown.view, searcher)) std::printf("unexpected hit\n");
      finding.Add(watch.Elapsed());
    }
    Report(ignoreCase ? "find next without a hit, ignore case" : "find next without a hit",
           finding);
  }

  // The same with a regular expression, and the standard library's engine on every line.
  const wchar_t* expression = L"fo+zz[0-9]";
  searcher.SetOption(searchIgnoreCase, false);
  searcher.SetOption(searchRegularExpression, true);
  searcher.SetFindText(expression);
  Runs boost, standard;
  const std::wregex standardExpression(expression, std::regex::ECMAScript);
  for (int run = 0; run < runs; ++run) {
    Stopwatch watch;
    if (FindNext(shown.view, searcher)) std::printf("unexpected hit\n");
    boost.Add(watch.Elapsed());
    Stopwatch standardWatch;
    const Document& document = *shown.document;
    for (int line = 0; line < document.LineCount(); ++line) {
      const std::wstring_view text = document.lines[line].Text();
      if (std::regex_search(text.begin(), text.end(), standardExpression))
        std::printf("unexpected hit\n");
    }
    standard.Add(standardWatch.Elapsed());
  }
  Report("find next without a hit, expression", boost);
  char ratio[80];
  std::snprintf(ratio, sizeof ratio, "   %5.2fx the expression's find (cpu)",
                standard.Cpu() / std::max(boost.Cpu(), 0.001));
  Report("std::wregex on the same lines", standard, ratio);

  searcher.SetOption(searchRegularExpression, false);
  searcher.SetFindText(L"int");
  CompletionBench(path, runs, searcher);
  IdleCompletionBench(path, runs);
  FindAsYouTypeBench(path, runs);
  MatchBracketBench(path, runs);
  return 0;
}
