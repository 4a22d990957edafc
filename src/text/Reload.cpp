// Reloading takes the freshly read lines whole, so that they keep the form they were read in, and
// records for undo only the lines between the common beginning and the common end of the two
// texts: a small change by another program costs a small record.
#include "text/Reload.h"

#include <algorithm>
#include <utility>

#include "text/Document.h"
#include "text/Edit.h"
#include "text/TextFile.h"
#include "text/TextPos.h"
#include "text/UndoHistory.h"
#include "text/WordIndex.h"

namespace {

// The same characters, the same line end and the same bytes kept for saving.
bool SameLine(const Line& a, const Line& b) {
  if (a.Length() != b.Length() || a.EndsInLineFeed() != b.EndsInLineFeed() ||
      a.Original() != b.Original())
    return false;
  if (a.IsNarrow() && b.IsNarrow()) return a.Bytes() == b.Bytes();
  for (int i = 0; i < a.Length(); ++i) {
    if (a.CharAt(i) != b.CharAt(i)) return false;
  }
  return true;
}

// Where two texts differ: the lines [common, lines - commonEnd) of each, which may be none.
struct Difference {
  int common = 0;     // lines alike at the start
  int commonEnd = 0;  // lines alike at the end, not counting those of the start
};

Difference Differ(const Document& before, const Document& after) {
  const int shorter = std::min(before.LineCount(), after.LineCount());
  Difference difference;
  while (difference.common < shorter &&
         SameLine(before.lines[difference.common], after.lines[difference.common]))
    ++difference.common;
  while (difference.common + difference.commonEnd < shorter &&
         SameLine(before.lines[before.LineCount() - 1 - difference.commonEnd],
                  after.lines[after.LineCount() - 1 - difference.commonEnd]))
    ++difference.commonEnd;
  return difference;
}

// The range of a text's differing lines as positions: from the start of the first to the start
// of the first common line after them; with none after them, from the end of the last common
// line before them (the start of the text with none) to the end of the text.
std::pair<TextPlace, TextPlace> DifferingRange(const Document& document, const Difference& difference) {
  const int count = document.LineCount();
  if (difference.commonEnd > 0) return {{0, difference.common}, {0, count - difference.commonEnd}};
  const int last = count - 1;
  const TextPlace end{document.lines[last].Length(), last};
  if (difference.common == 0) return {{0, 0}, end};
  const int before = difference.common - 1;
  return {{document.lines[before].Length(), before}, end};
}

TextPos PosAt(Document& document, TextPlace place) {
  TextPos pos(document);
  SetPos(pos, place.index, place.line);
  return pos;
}

// The lines alike in both texts keep the marks they had.
void KeepMarks(const Document& before, Document& after, const Difference& difference) {
  const auto keep = [&](int from, int to) {
    Line& line = after.lines[to];
    line.SetState(lineState::WithMark(line.State(), before.lines[from].Marked()));
  };
  for (int i = 0; i < difference.common; ++i) keep(i, i);
  for (int k = 1; k <= difference.commonEnd; ++k) keep(before.LineCount() - k, after.LineCount() - k);
}

}  // namespace

bool ReloadText(Document& document, const std::wstring& path) {
  // Read apart, laid out as the document is: the document changes only once the file was read.
  Document loaded;
  loaded.settings = document.settings;
  loaded.wrapWidth = document.wrapWidth;
  loaded.highlighter = document.highlighter;
  if (!LoadText(loaded, path)) return false;

  const Difference difference = Differ(document, loaded);
  const bool alike = difference.common == document.LineCount() &&
                     difference.common == loaded.LineCount();
  if (!alike) {
    // Everything that can fail is made before the text changes.
    const auto [from, to] = DifferingRange(document, difference);
    std::wstring before = TextBetween(document, PosAt(document, from), PosAt(document, to));
    const auto [first, second] = DifferingRange(loaded, difference);
    ReserveRecords(*document.undo, 1, 0, 0);
    KeepMarks(document, loaded, difference);
    document.lines = std::move(loaded.lines);
    document.rowTotals = std::move(loaded.rowTotals);
    document.widths = std::move(loaded.widths);
    document.widestLine = loaded.widestLine;
    // The words counted of the text before: counted afresh when asked for.
    document.words.reset();
    // Undo puts the text before back in place of the lines that differ.
    RecordChange(*document.undo, editOther, first, second, std::move(before), true, 0);
    document.touched = true;
  }
  document.format = loaded.format;
  document.stamp = std::move(loaded.stamp);
  document.modified = false;
  MarkSaved(*document.undo);
  document.NotifyStateChanged();
  return true;
}
