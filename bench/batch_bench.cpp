// Batches of many edits, each at two or three sizes so that the growth per doubling shows
// (2x: linear, 4x: quadratic): the replay of a recovery journal (typing spread over a file,
// and the hits of a Replace All), a block unindent of many lines (wrapped or not), and Replace
// All and its undo inside one long line, and typing on every line after each was cut in two.
//   fum_batch_bench [RUNS]   (medians of RUNS runs, default 3)
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "NoWindow.h"
#include "search/SearchCommands.h"
#include "search/Searcher.h"
#include "text/Document.h"
#include "text/Edit.h"
#include "text/Journal.h"
#include "text/Layout.h"
#include "text/TextPos.h"
#include "text/UndoHistory.h"
#include "view/Editing.h"
#include "view/Grid.h"

namespace {

// A document of lines in a view of 80 columns.
struct Shown {
  std::unique_ptr<Document> document = std::make_unique<Document>();
  bench::NoWindow window;
  EditView view;

  Shown(const std::vector<std::wstring>& lines, bool wrap) {
    DocClass settings;
    settings.wordwrap = wrap;
    settings.tabsize = 4;
    document->settings = settings;
    std::wstring text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i > 0) text += L"\r\n";
      text += lines[i];
    }
    TextPos start(*document);
    ReplaceText(*document, start, start, text, editOther);
    view.Attach(*document, window, nullptr);
    SetCellSize(view, 8, 16);
    RelayoutView(view, settings);
  }
};

// Indented lines of source, all as wide as one another (numbers written with six digits).
std::vector<std::wstring> SourceLines(int count) {
  std::vector<std::wstring> lines;
  wchar_t number[16];
  for (int i = 0; i < count; ++i) {
    std::swprintf(number, 16, L"%06d", i % 1000000);
    lines.push_back(L"    int value" + std::wstring(number) + L" = compute(value, 7);");
  }
  return lines;
}

double MedianMs(int runs, const std::function<double()>& run) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(run());
  return bench::Median(times);
}

// The changes a document records while edit runs on it.
std::vector<JournalChange> Record(Document& document, const std::function<void()>& edit) {
  std::vector<JournalChange> changes;
  document.onReplace = [&](const TextPos& from, const TextPos& to, std::wstring_view text) {
    changes.push_back({from.index, from.line, to.index, to.line, std::wstring(text)});
  };
  edit();
  document.onReplace = nullptr;
  return changes;
}

void Row(const char* what, int size, double ms, double previous) {
  if (previous > 0) std::printf("  %-44s %7d %10.1f ms  %5.2fx\n", what, size, ms, ms / previous);
  else std::printf("  %-44s %7d %10.1f ms\n", what, size, ms);
}

// Typing spread over a file of 20000 lines with word wrap: words, line breaks and backspaces at
// a few places, as a session of writing makes them; then its journal replayed on the file.
void TypingReplay(int runs) {
  double previous = 0;
  for (int count : {5000, 10000, 20000}) {
    const std::vector<std::wstring> lines = SourceLines(20000);
    Shown typed(lines, true);
    Document& document = *typed.document;
    const std::vector<JournalChange> changes = Record(document, [&] {
      int line = 100, index = 4;
      for (int i = 0; i < count; ++i) {
        if (i % 500 == 0) {
          line = (line * 7919 + 13) % (document.LineCount() - 1);
          index = 0;
        }
        TextPos at(document);
        SetPos(at, index, line);
        if (i % 40 == 39) {
          ReplaceText(document, at, at, L"\r\n", editOther);
          ++line;
          index = 0;
        } else if (i % 11 == 10 && index > 0) {
          TextPos before(document);
          SetPos(before, index - 1, line);
          ReplaceText(document, at, before, L"", editDeleteBackward);
          --index;
        } else {
          ReplaceText(document, at, at, L"w", editTyping);
          ++index;
        }
      }
    });
    const double ms = MedianMs(runs, [&] {
      Shown fresh(lines, true);
      const auto start = bench::Clock::now();
      ReplayJournal(*fresh.document, changes);
      return bench::Milliseconds(start);
    });
    Row("journal replay, typing in 20000 wrapped lines", static_cast<int>(changes.size()), ms, previous);
    previous = ms;
  }
}

// Replace All of a word found once in each of count lines, then its journal replayed.
void ReplaceAllReplay(int runs) {
  double previous = 0;
  for (int count : {25000, 50000, 100000}) {
    const std::vector<std::wstring> lines = SourceLines(count);
    Shown replaced(lines, false);
    Searcher searcher;
    searcher.SetFindText(L"compute");
    searcher.SetReplaceText(L"evaluate");
    const std::vector<JournalChange> changes =
        Record(*replaced.document, [&] { ReplaceAll(replaced.view, searcher); });
    const double ms = MedianMs(runs, [&] {
      Shown fresh(lines, false);
      const auto start = bench::Clock::now();
      ReplayJournal(*fresh.document, changes);
      return bench::Milliseconds(start);
    });
    Row("journal replay, replace all (lines)", count, ms, previous);
    previous = ms;
  }
}

// Shift+Tab on a block of count indented lines, every one as wide as the widest; with word
// wrap on, every line is 84 columns in a view of 80 and takes one row less once unindented.
void BlockUnindent(int runs, bool wrap) {
  double previous = 0;
  for (int count : {25000, 50000, 100000}) {
    std::vector<std::wstring> lines = SourceLines(count);
    if (wrap)
      for (std::wstring& line : lines) line.append(84 - line.size(), L'x');
    const double ms = MedianMs(runs, [&] {
      Shown shown(lines, wrap);
      TextPos end(*shown.document);
      SetPos(end, 0, count - 1);
      shown.view.anchor = TextPos(*shown.document);
      shown.view.caret = end;
      shown.view.selectionActive = true;
      const auto start = bench::Clock::now();
      Unindent(shown.view);
      return bench::Milliseconds(start);
    });
    Row(wrap ? "block unindent, wrapped lines (lines)" : "block unindent (lines)", count, ms, previous);
    previous = ms;
  }
}

// Replace All of "ab" by "xyz" in one line of 3 * hits characters, and its undo.
void LongLine(int runs) {
  double previousReplace = 0, previousUndo = 0;
  for (int hits : {10000, 20000, 40000}) {
    std::wstring line;
    for (int i = 0; i < hits; ++i) line += L"ab ";
    double undoMs = 0;
    std::vector<double> undos;
    const double ms = MedianMs(runs, [&] {
      Shown shown({line}, false);
      Searcher searcher;
      searcher.SetFindText(L"ab");
      searcher.SetReplaceText(L"xyz");
      const auto start = bench::Clock::now();
      ReplaceAll(shown.view, searcher);
      const double replaceMs = bench::Milliseconds(start);
      const auto undoStart = bench::Clock::now();
      UndoEdit(shown.view);
      undos.push_back(bench::Milliseconds(undoStart));
      return replaceMs;
    });
    undoMs = bench::Median(undos);
    Row("replace all in one line (hits)", hits, ms, previousReplace);
    Row("  its undo", hits, undoMs, previousUndo);
    previousReplace = ms;
    previousUndo = undoMs;
  }
}

// Every line of count lines cut in two, going down, as a Replace All of a character by a line
// break does, which leaves each line in an order of its own; then what follows is timed: the
// edits after the cut must not grow with the lines below them, nor its undo, which goes up.
void AfterCuts(int runs, const char* what, int linesShown, const std::function<void(Document&)>& after) {
  double previous = 0;
  for (int count : {20000, 40000, 80000}) {
    const std::vector<std::wstring> lines(static_cast<std::size_t>(count), L"abc,def");
    const double ms = MedianMs(runs, [&] {
      Shown shown(lines, true);
      Document& document = *shown.document;
      for (int line = 0; line < document.LineCount(); line += 2) {
        TextPos from(document), to(document);
        SetPos(from, 3, line);
        SetPos(to, 4, line);
        ReplaceText(document, from, to, L"\r\n", editOther);
      }
      const auto start = bench::Clock::now();
      after(document);
      return bench::Milliseconds(start);
    });
    Row(what, linesShown * count, ms, previous);
    previous = ms;
  }
}

void TypingAfterCuts(int runs) {
  AfterCuts(runs, "a character typed on each of the cut lines", 2, [](Document& document) {
    for (int line = 0; line < document.LineCount(); ++line) {
      TextPos at(document);
      SetPos(at, 0, line);
      ReplaceText(document, at, at, L"w", editTyping);
    }
  });
}

void UndoOfCuts(int runs) {
  AfterCuts(runs, "the cuts undone, going up", 1, [](Document& document) {
    while (CanUndo(*document.undo)) Undo(*document.undo);
  });
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = std::max(1, argc > 1 ? std::atoi(argv[1]) : 3);
  std::printf("batches of edits, median of %d runs; the last column is the time over the size before\n", runs);
  TypingReplay(runs);
  ReplaceAllReplay(runs);
  BlockUnindent(runs, false);
  BlockUnindent(runs, true);
  LongLine(runs);
  TypingAfterCuts(runs);
  UndoOfCuts(runs);
  return 0;
}
