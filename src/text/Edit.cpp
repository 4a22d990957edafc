// ReplaceText: splitting and joining lines, relaying out only the lines touched, keeping row
// totals, the widest line and the highlighter states of the following lines consistent.
#include "text/Edit.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "text/Document.h"
#include "text/Layout.h"
#include "text/Line.h"
#include "text/LineState.h"
#include "text/TextPos.h"
#include "text/UndoHistory.h"
#include "text/WordIndex.h"

namespace {

std::size_t At(int i) { return static_cast<std::size_t>(i); }

// What an edit has to carry from step to step.
struct EditState {
  Document& document;
  int flags;
  bool wasModified;
  std::uint32_t enteringState;  // the state word of the line before from's line
  std::uint32_t oldEndState;    // the state word of to's line before the edit, which the
                                // line after the range was entered with
  bool widestMayShrink = false;
  // An edit of kind 3 to 5 that deletes and inserts (a replacement, a paste over a selection)
  // is recorded as one record putting the removed text back in place of the inserted one, so
  // that one Undo and one Redo each take the whole edit. Typing over a selection gets the same
  // from the typing run's merge; the other runs record the insertion joined to the deletion.
  bool oneRecord = false;
  bool deletionRecorded = false;
  std::wstring removed = {};  // the deleted text, kept for that record
};

int RequestKind(int flags) { return flags & editKindMask; }

// Lays a line out again, entered with the state of the line before it, and sets its row total.
void RelayoutFirstLine(EditState& edit, int lineIndex, std::uint32_t& state) {
  Document& document = edit.document;
  Line& line = document.lines[lineIndex];
  state = edit.enteringState;
  LayoutLine(document, line, state);
  document.rowTotals[At(lineIndex)] = RowsBefore(document, lineIndex) + line.SegmentCount();
  if (!document.settings.wordwrap)
    document.widestLine = std::max(document.widestLine, LineWidth(document, line));
}

std::wstring RemovedText(const Document& document, const TextPos& from, const TextPos& to) {
  std::wstring removed;
  for (int i = from.line; i <= to.line; ++i) {
    std::wstring_view text = document.lines[i].Peek();
    std::size_t start = i == from.line ? At(from.index) : 0;
    std::size_t end = i == to.line ? At(to.index) : text.size();
    removed.append(text.substr(start, end - start));
    if (i < to.line) removed += L"\r\n";
  }
  return removed;
}

void Delete(EditState& edit, const TextPos& from, const TextPos& to, std::uint32_t& state) {
  Document& document = edit.document;
  std::wstring removed = RemovedText(document, from, to);
  if (!document.settings.wordwrap) {
    for (int i = from.line; i <= to.line && !edit.widestMayShrink; ++i)
      edit.widestMayShrink = LineWidth(document, document.lines[i]) >= document.widestLine;
  }
  Line& first = document.lines[from.line];
  if (from.line == to.line) {
    first.Erase(from.index, to.index - from.index);
  } else {
    const Line& last = document.lines[to.line];
    first.Replace(from.index, first.Length() - from.index, last.Data() + to.index,
                  last.Length() - to.index);
    document.lines.Erase(from.line + 1, to.line + 1);
    document.rowTotals.erase(document.rowTotals.begin() + from.line + 1,
                             document.rowTotals.begin() + to.line + 1);
  }
  RelayoutFirstLine(edit, from.line, state);
  if (edit.oneRecord) {
    edit.removed = std::move(removed);
  } else if (!removed.empty()) {
    int kind = RequestKind(edit.flags) == editReplace ? editOther : RequestKind(edit.flags);
    TextPlace place{from.index, from.line};
    RecordChange(*document.undo, kind, place, place, std::move(removed), edit.wasModified,
                 edit.flags);
    edit.deletionRecorded = true;
  }
}

// The pieces of text between line breaks. Inserted text breaks at a carriage return and line
// feed, a lone carriage return and a lone line feed, so that no line ever holds a line feed. An
// undo or redo replays text that joined lines with CR LF, where a lone CR was a character of its
// line (as a file may hold it): there only CR LF separates.
std::vector<std::wstring_view> SplitPieces(std::wstring_view text, bool replay) {
  std::vector<std::wstring_view> pieces;
  std::size_t start = 0;
  for (;;) {
    std::size_t brk = replay ? text.find(L"\r\n", start) : text.find_first_of(L"\r\n", start);
    if (brk == std::wstring_view::npos) break;
    pieces.push_back(text.substr(start, brk - start));
    start = brk + 1;
    if (text[brk] == L'\r' && start < text.size() && text[start] == L'\n') ++start;
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

bool CrLfBreaksOnly(int flags) {
  return (flags & (editIntoRedo | editKeepRedo | editCrLfBreaks)) != 0;
}

// The text with each of its line breaks written as CR LF, the form replays take.
std::wstring WithCrLfBreaks(std::wstring_view text) {
  const std::vector<std::wstring_view> pieces = SplitPieces(text, false);
  std::wstring joined(pieces.front());
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    joined += L"\r\n";
    joined += pieces[i];
  }
  return joined;
}

// Inserts text at from; returns the place just after it.
TextPlace Insert(EditState& edit, const TextPos& from, std::wstring_view text,
                 std::uint32_t& state) {
  Document& document = edit.document;
  std::vector<std::wstring_view> pieces = SplitPieces(text, CrLfBreaksOnly(edit.flags));
  Line& first = document.lines[from.line];
  TextPlace end{from.index, from.line};
  if (pieces.size() == 1) {
    first.Insert(from.index, text);
    RelayoutFirstLine(edit, from.line, state);
    end.index = from.index + static_cast<int>(text.size());
  } else {
    // Splitting the widest line may leave every line narrower than it was.
    if (!document.settings.wordwrap && LineWidth(document, first) >= document.widestLine)
      edit.widestMayShrink = true;
    std::wstring tail(first.Text().substr(At(from.index)));
    const std::wstring_view& head = pieces.front();
    first.Replace(from.index, first.Length() - from.index, head.data(), static_cast<int>(head.size()));
    RelayoutFirstLine(edit, from.line, state);
    std::wstring last(pieces.back());
    last += tail;
    pieces.back() = last;
    // The new lines go in with one shift of the arrays, however many there are.
    std::vector<int> rows;
    rows.reserve(pieces.size() - 1);
    int total = document.rowTotals[At(from.line)];
    std::vector<LineStore::Detached> made;
    made.reserve(pieces.size() - 1);
    try {
      for (std::size_t i = 1; i < pieces.size(); ++i) {
        made.push_back(document.lines.NewLine(pieces[i]));
        Line& line = *made.back().line;
        LayoutLine(document, line, state);
        total += line.SegmentCount();
        rows.push_back(total);
        if (!document.settings.wordwrap)
          document.widestLine = std::max(document.widestLine, LineWidth(document, line));
      }
      document.rowTotals.reserve(document.rowTotals.size() + made.size());
      document.lines.ReserveMore(made.size());
    } catch (...) {
      for (const auto& line : made) document.lines.DestroyDetached(line);
      throw;
    }
    document.rowTotals.insert(document.rowTotals.begin() + from.line + 1, rows.begin(), rows.end());
    document.lines.InsertLines(from.line + 1, made);
    end.line = from.line + static_cast<int>(made.size());
    end.index = static_cast<int>(pieces.back().size() - tail.size());
  }
  int kind = RequestKind(edit.flags);
  if (kind == editReplace) kind = editOther;
  else if (edit.deletionRecorded && kind != editTyping) kind = editContinue;
  RecordChange(*document.undo, kind, TextPlace{from.index, from.line}, end,
               std::move(edit.removed), edit.wasModified, edit.flags);
  return end;
}

// Adds the row delta to the lines after the end line and walks the highlighter state down
// while it keeps changing. Returns the last visual row whose content changed.
int UpdateFollowingLines(EditState& edit, int endLine, int rowDelta, std::uint32_t state) {
  Document& document = edit.document;
  int lastRow = document.rowTotals[At(endLine)] - 1;
  bool walking = document.highlighter &&
                 lineState::Code(state) != lineState::Code(edit.oldEndState);
  const int count = document.LineCount();
  int i = endLine + 1;
  for (; walking && i < count; ++i) {
    document.rowTotals[At(i)] += rowDelta;
    if (ComputeLineEndState(document, document.lines[i], state))
      lastRow = document.rowTotals[At(i)] - 1;
    else
      walking = false;
  }
  if (rowDelta != 0) {
    int* totals = document.rowTotals.data();
    for (; i < count; ++i) totals[i] += rowDelta;
  }
  return lastRow;
}

// The position itself when it lies in the text and on a segment that shows its index; else
// the nearest such position.
TextPos Checked(Document& document, const TextPos& pos) {
  TextPos checked(document);
  checked.line = pos.line;
  checked.index = pos.index;
  checked.segment = pos.segment;
  checked.visualColumn = pos.visualColumn;
  if (pos.line < 0 || pos.line >= document.LineCount()) {
    SetPos(checked, pos.index, pos.line);
    return checked;
  }
  const Line& line = document.lines[pos.line];
  const bool inLine = pos.index >= 0 && pos.index <= line.Length();
  const bool onSegment = pos.segment >= 0 && pos.segment <= line.LastSegment() &&
                         (pos.segment == 0 || line.SegmentEnd(pos.segment - 1) <= pos.index) &&
                         pos.index <= line.SegmentEnd(pos.segment);
  if (!inLine || !onSegment) SetPos(checked, pos.index, pos.line);
  return checked;
}

// A change cut short (memory ran out) would leave the word index counting words the text does
// not hold: the index goes then, to be built again when it is asked for.
class WordsKeptOrDropped {
 public:
  explicit WordsKeptOrDropped(Document& document)
      : document_(document), exceptions_(std::uncaught_exceptions()) {}
  ~WordsKeptOrDropped() {
    if (std::uncaught_exceptions() > exceptions_) document_.words.reset();
  }
  WordsKeptOrDropped(const WordsKeptOrDropped&) = delete;
  WordsKeptOrDropped& operator=(const WordsKeptOrDropped&) = delete;

 private:
  Document& document_;
  int exceptions_;
};

}  // namespace

ChangeRecord ReplaceText(Document& document, const TextPos& first, const TextPos& second,
                         std::wstring_view text, int flags) {
  // Positions outside the text (kept from before another change) are brought back into it
  // rather than read past the lines; only then are they put in order, as bringing one back may
  // move it before the other.
  const TextPos checkedFirst = Checked(document, first);
  const TextPos checkedSecond = Checked(document, second);
  const bool swapped = IsBefore(checkedSecond, checkedFirst);
  const TextPos& from = swapped ? checkedSecond : checkedFirst;
  const TextPos& to = swapped ? checkedFirst : checkedSecond;
  if (document.onReplace) {
    const bool plain = CrLfBreaksOnly(flags) || text.find_first_of(L"\r\n") == std::wstring_view::npos;
    document.onReplace(from, to, plain ? std::wstring(text) : WithCrLfBreaks(text));
  }
  // The text may lie in the document itself (a line copied into another place).
  const std::wstring inserted(text);
  const WordsKeptOrDropped words(document);
  if (document.words) document.words->BeforeReplace(document, from, to, inserted);
  TextPos start = from;
  EditState edit{document, flags, document.modified,
                 from.line > 0 ? document.lines[from.line - 1].State() : 0,
                 document.lines[to.line].State()};
  document.modified = true;
  document.touched = true;
  const int oldFromRow = AbsoluteRow(start);
  const int oldToTotal = document.rowTotals[At(to.line)];
  const int oldWidest = document.widestLine;
  std::uint32_t state = edit.enteringState;

  const int kind = RequestKind(flags);
  edit.oneRecord = kind >= editOther && !SamePlace(from, to) && !inserted.empty();
  if (!SamePlace(from, to)) Delete(edit, from, to, state);
  TextPlace end{from.index, from.line};
  if (!inserted.empty()) end = Insert(edit, from, inserted, state);
  if (SamePlace(from, to) && inserted.empty()) state = edit.oldEndState;  // nothing laid out

  ChangeRecord result;
  result.rowDelta = document.rowTotals[At(end.line)] - oldToTotal;
  result.lastRow = UpdateFollowingLines(edit, end.line, result.rowDelta, state);
  // The line that now holds the edit may still be the widest; else the widest is searched for.
  if (edit.widestMayShrink && (end.line != from.line ||
                               LineWidth(document, document.lines[end.line]) < oldWidest)) {
    if (document.inBatch) {
      document.widestStale = true;
    } else {
      RecomputeWidestLine(document);
    }
  }
  Normalize(start);
  // One row above the change: wrapping may pull text of the changed line up into it.
  result.firstRow = std::max(0, std::min(oldFromRow, AbsoluteRow(start)) - 1);
  result.endIndex = end.index;
  result.endLine = end.line;
  return result;
}

void AddChange(ChangeRecord& total, const ChangeRecord& next) {
  if (next.firstRow < 0) return;
  if (total.firstRow < 0) {
    total = next;
    return;
  }
  total.firstRow = std::min(total.firstRow, next.firstRow);
  // Rows total changed below next's move with its delta; moving the others as well only
  // repaints a little more.
  total.lastRow = std::max(total.lastRow + std::max(0, next.rowDelta), next.lastRow);
  total.rowDelta += next.rowDelta;
  total.endIndex = next.endIndex;
  total.endLine = next.endLine;
}
