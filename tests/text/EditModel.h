// A plain model of editing (a vector of strings) and a check of a document's incremental layout
// against one made from scratch: shared by the randomised tests and the edit fuzz target.
#pragma once

#include <limits>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "text/TextTestUtil.h"
#include "text/UndoHistory.h"
#include "text/WordIndex.h"


// ReplaceText on a vector of strings, the plain way.
inline TextPlace ModelReplace(Lines& lines, TextPlace from, TextPlace to, const std::wstring& text) {
  if (to.line < from.line || (to.line == from.line && to.index < from.index)) std::swap(from, to);
  // Lines break at CR LF and at a lone LF; a lone CR is a character of its line.
  Lines pieces{L""};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    if (text[i] == L'\n') {
      pieces.emplace_back();
    } else {
      pieces.back() += text[i];
    }
  }
  std::wstring head = lines[from.line].substr(0, from.index);
  std::wstring tail = lines[to.line].substr(to.index);
  TextPlace end{static_cast<int>(pieces.back().size()), from.line + static_cast<int>(pieces.size()) - 1};
  if (pieces.size() == 1) end.index += from.index;
  pieces.front() = head + pieces.front();
  pieces.back() += tail;
  lines.erase(lines.begin() + from.line, lines.begin() + to.line + 1);
  lines.insert(lines.begin() + from.line, pieces.begin(), pieces.end());
  return end;
}

// Where the rows the document tells (the rows before each line, the line holding each row, the
// total) differ from the segment counts of its lines added up; empty when they do not. Asked
// downwards or upwards by turns, as the totals are summed up lazily in the order asked.
inline std::string RowsDifference(const Document& document) {
  const int lines = document.LineCount();
  std::vector<int> before(static_cast<std::size_t>(lines) + 1, 0);
  for (int i = 0; i < lines; ++i) before[i + 1] = before[i] + document.lines[i].SegmentCount();
  if (document.TotalRows() != before.back()) return "total rows";
  const bool upwards = lines % 2 == 1;
  for (int n = 0; n <= lines; ++n) {
    const int i = upwards ? lines - n : n;
    if (RowsBefore(document, i) != before[i]) return "rows before line " + std::to_string(i);
  }
  for (int n = 0; n < lines; ++n) {
    const int i = upwards ? n : lines - 1 - n;
    for (int row = before[i]; row < before[i + 1]; ++row) {
      int asked = row;
      if (LineOfRow(document, asked) != i || asked != row) return "line of row " + std::to_string(row);
    }
  }
  return {};
}

// Where the layout of document differs from the layout of the same text made from scratch;
// empty when it does not.
inline std::string LayoutDifference(const Document& document) {
  if (std::string rows = RowsDifference(document); !rows.empty()) return rows;
  auto fresh = MakeDocument(LinesOf(document), document.settings, document.wrapWidth,
                            document.highlighter);
  if (document.widestLine != fresh->widestLine) return "widest line";
  for (int i = 0; i < document.LineCount(); ++i) {
    const Line& line = document.lines[i];
    const Line& expected = fresh->lines[i];
    std::string where = " of line " + std::to_string(i);
    if (EndsOf(line) != EndsOf(expected)) return "segment ends" + where;
    if (line.State() != expected.State()) return "state" + where;
    if (line.ConstructPosition() != expected.ConstructPosition() ||
        ConstructPositionOf(document, i) != ConstructPositionOf(*fresh, i))
      return "construct position" + where;
  }
  return {};
}

// Gives document a word index of words of ASCII letters, digits and "_" (not beginning with a
// digit), built from its text (its first lines only, up to about countedUnits characters, as
// the idle time builds it); every change keeps it current from then on.
inline void AttachWordIndex(Document& document,
                            std::size_t countedUnits = std::numeric_limits<std::size_t>::max()) {
  const auto part = [](wchar_t c) {
    return c == L'_' || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
  };
  const auto start = [](wchar_t c) { return c < L'0' || c > L'9'; };
  document.words = std::make_unique<WordIndex>(std::make_shared<const WordChars>(part, start), nullptr);
  document.words->CountLines(document, countedUnits);
}

// Every word of an index with its count.
inline std::map<std::wstring, int> WordsOf(const WordIndex& index) {
  std::map<std::wstring, int> words;
  index.ForEachCompletion(L"", false, [&](std::wstring_view word) {
    words[std::wstring(word)] = index.Count(word);
  });
  return words;
}

// Where the word index kept by the changes of document, once it has counted the lines it has
// not yet, differs from one built from its text now; empty when it does not.
inline std::string WordIndexDifference(const Document& document) {
  WordIndex completed = *document.words;
  completed.AddDocument(document);
  WordIndex fresh(std::make_shared<const WordChars>(document.words->Chars()), nullptr);
  fresh.AddDocument(document);
  const auto kept = WordsOf(completed), expected = WordsOf(fresh);
  if (kept == expected) return {};
  for (const auto& [word, count] : expected) {
    auto found = kept.find(word);
    if (found == kept.end() || found->second != count) return "count of a word of the text";
  }
  return "a word not in the text";
}

// The number of steps Undo can take: groups of records, each a record of another kind followed
// by records of kind 4 (a first record of kind 4 opens a group of its own).
inline int UndoSteps(const UndoHistory& history) {
  int steps = 0;
  for (std::size_t i = 0; i < history.undoList.size(); ++i)
    if (i == 0 || history.undoList[i].kind != editContinue) ++steps;
  return steps;
}

// The text at every depth of the undo history, to check each Undo and Redo against the text
// the document had at that depth; typing over a selection and merged runs count as one step.
class HistoryModel {
 public:
  explicit HistoryModel(Lines original) { texts_.push_back(std::move(original)); }

  // After an edit: the text it made is the text at the history's new depth. Empty when the
  // history took at most one new step, else what went wrong.
  std::string AfterEdit(const Document& document) {
    const int steps = UndoSteps(*document.undo);
    if (steps != depth_ && steps != depth_ + 1)
      return "an edit took " + std::to_string(steps - depth_) + " steps";
    // An edit that changed nothing records nothing and leaves the redo list as it was.
    if (!CanRedo(*document.undo)) texts_.resize(static_cast<std::size_t>(steps) + 1);
    if (steps != depth_ && CanRedo(*document.undo)) return "redo kept after a new step";
    depth_ = steps;
    texts_[static_cast<std::size_t>(depth_)] = LinesOf(document);
    return {};
  }

  // Undoes (or redoes) one step and tells where the text or the depth is not what it was.
  std::string Step(Document& document, bool redo) {
    const bool possible = redo ? depth_ + 1 < static_cast<int>(texts_.size()) : depth_ > 0;
    if (possible != (redo ? CanRedo(*document.undo) : CanUndo(*document.undo)))
      return redo ? "redo availability" : "undo availability";
    if (!possible) return {};
    redo ? Redo(*document.undo) : Undo(*document.undo);
    depth_ += redo ? 1 : -1;
    if (UndoSteps(*document.undo) != depth_) return "depth after a step";
    if (LinesOf(document) != texts_[static_cast<std::size_t>(depth_)]) return "text after a step";
    return {};
  }

 private:
  // texts_[d]: the text after d steps; beyond the depth, what Redo brings back.
  std::vector<Lines> texts_;
  int depth_ = 0;  // the number of steps Undo can take now
};
