// ReplaceText: splitting and joining lines, relaying out only the lines touched, keeping row
// totals, the widest line and the highlighter states of the following lines consistent. An edit
// first makes everything it needs (the new lines, room in the arrays, the undo records, the
// journal's record) and only then changes the document, so that running out of memory midway
// leaves the text, its history and its journal as they were.
#include "text/Edit.h"

#include <algorithm>
#include <exception>
#include <new>
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

int RequestKind(int flags) { return flags & editKindMask; }

// Undo and redo replays and recovery journals pass text whose breaks keep the form of the line
// ends they stand for.
bool KeepsBreakForms(int flags) { return (flags & (editIntoRedo | editKeepRedo | editCrLfBreaks)) != 0; }

// Inserted text cut at its line breaks: a carriage return and line feed, or a line feed alone. A
// carriage return alone is a character of its line, as a file may hold it, so that text copied
// from such a line comes back whole. parts has one entry more than lineFeed.
struct Pieces {
  std::vector<std::wstring_view> parts;
  std::vector<bool> lineFeed;  // the break after parts[k] ends its line in a line feed alone
};

// The carriage returns right before index.
std::size_t ReturnsBefore(std::wstring_view text, std::size_t index) {
  std::size_t count = 0;
  while (count < index && text[index - count - 1] == L'\r') ++count;
  return count;
}

// Typed or pasted text (keepForms false): a carriage return right before a line feed belongs to
// the break, whose form is the document's. A replay's text (keepForms true) is in the form
// TextBetween writes: of the k carriage returns before a line feed, k / 2 are the line's own and
// an odd k means CR LF.
Pieces SplitPieces(std::wstring_view text, bool keepForms, bool documentLineFeed) {
  Pieces pieces;
  std::size_t start = 0;
  for (std::size_t feed; (feed = text.find(L'\n', start)) != std::wstring_view::npos; start = feed + 1) {
    const std::size_t returns = ReturnsBefore(text.substr(start), feed - start);
    const std::size_t own = keepForms ? returns / 2 : returns - (returns > 0 ? 1 : 0);
    pieces.parts.push_back(text.substr(start, feed - start - returns + own));
    pieces.lineFeed.push_back(keepForms ? returns % 2 == 0 : documentLineFeed);
  }
  pieces.parts.push_back(text.substr(start));
  return pieces;
}

// Appends a line break in the form TextBetween writes, after the line whose text ends text: the
// carriage returns the line ends in are written twice (a break ends in a line feed, so none of
// them lies before the line).
void AppendBreak(std::wstring& text, bool lineFeed) {
  text.append(ReturnsBefore(text, text.size()), L'\r');
  text += lineFeed ? L"\n" : L"\r\n";
}

// The pieces joined again in the form a replay reads: what it needs to make the same lines.
std::wstring JoinPieces(const Pieces& pieces) {
  std::wstring joined(pieces.parts.front());
  for (std::size_t k = 1; k < pieces.parts.size(); ++k) {
    AppendBreak(joined, pieces.lineFeed[k - 1]);
    joined += pieces.parts[k];
  }
  return joined;
}

// One undo record an edit will make.
struct PlannedRecord {
  int kind;
  TextPlace first, second;
  std::wstring text;
};

// Everything an edit needs, made before the document changes.
struct EditPlan {
  Document& document;
  const TextPos& from;
  const TextPos& to;
  int flags;
  Pieces pieces;
  TextPlace end;                        // where the inserted text ends
  bool inPlace = false;                 // one line edited where it is, without a new line
  std::vector<LineStore::Detached> made;  // else: the lines that take the place of from..to
  std::vector<PlannedRecord> records;
  bool lineEndToCrLf = false;           // the last line made takes CR LF in place of a line feed
  std::vector<int> madeWidths;          // the widths of the lines made (word wrap off)

  EditPlan(Document& doc, const TextPos& f, const TextPos& t, int fl) : document(doc), from(f), to(t), flags(fl) {}
  EditPlan(const EditPlan&) = delete;
  EditPlan& operator=(const EditPlan&) = delete;
  ~EditPlan() {
    for (const LineStore::Detached& line : made) document.lines.DestroyDetached(line);
  }
};

// The undo records of the edit. A change of kind 3 to 5 that deletes and inserts (a
// replacement, a paste over a selection) is one record putting the removed text back in place of
// the inserted one, so that one Undo and one Redo each take the whole edit. Typing over a
// selection gets the same from the typing run's merge; the other runs record the insertion
// joined to the deletion.
void PlanRecords(EditPlan& plan, std::wstring removed, bool inserts) {
  const int kind = RequestKind(plan.flags);
  const TextPlace start{plan.from.index, plan.from.line};
  const bool deletes = !removed.empty();
  if (deletes && inserts && kind >= editOther) {
    plan.records.push_back({kind == editReplace ? editOther : kind, start, plan.end, std::move(removed)});
    return;
  }
  if (deletes) plan.records.push_back({kind == editReplace ? editOther : kind, start, start, std::move(removed)});
  if (!inserts) return;
  int insertKind = kind;
  if (kind == editReplace) insertKind = editOther;
  else if (deletes && kind != editTyping) insertKind = editContinue;
  plan.records.push_back({insertKind, start, plan.end, {}});
}

// Where the inserted text ends.
TextPlace EndOf(const TextPos& from, const Pieces& pieces) {
  const int last = static_cast<int>(pieces.parts.back().size());
  if (pieces.parts.size() == 1) return {from.index + last, from.line};
  return {last, from.line + static_cast<int>(pieces.parts.size()) - 1};
}

// Makes the lines that take the place of lines from..to, laid out with the highlight state the
// first one is entered with; state receives the state the last one ends in.
void MakeLines(EditPlan& plan, std::uint32_t& state) {
  Document& document = plan.document;
  const Line& first = document.lines[plan.from.line];
  const Line& last = document.lines[plan.to.line];
  const std::wstring_view head = first.Peek().substr(0, At(plan.from.index));
  std::wstring text(head);
  const std::wstring tail(last.Peek().substr(At(plan.to.index)));
  const bool firstMarked = first.Marked();
  const bool lastLineFeed = last.EndsInLineFeed();
  const std::vector<std::wstring_view>& parts = plan.pieces.parts;
  plan.made.reserve(parts.size());
  if (!document.settings.wordwrap) plan.madeWidths.reserve(parts.size());
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) text.assign(parts[k]);
    else text += parts[k];
    const bool isLast = k + 1 == parts.size();
    if (isLast) text += tail;
    plan.made.push_back(document.lines.NewLine(text));
    Line& line = *plan.made.back().line;
    // A line ending in a carriage return ends in CR LF: with a line feed alone it would be
    // written as bytes that read back as a line without it (see Prepare for the last line).
    const bool lineFeed = isLast ? lastLineFeed && !plan.lineEndToCrLf : plan.pieces.lineFeed[k];
    line.SetEndsInLineFeed(lineFeed && !(text.ends_with(L'\r') && !isLast));
    // The first line stands for the line the edit began in: it keeps its mark, and the bytes
    // that line was read from, for when its characters come back to what they were.
    if (k == 0) {
      line.SetState(lineState::WithMark(0, firstMarked));
      line.KeepOriginalOf(first);
    }
    LayoutLine(document, line, state);
    if (!document.settings.wordwrap) plan.madeWidths.push_back(LineWidth(document, line));
  }
}

// True when the line the edit leaves last would end in a carriage return before the line feed
// alone that the line to.line ends in: it is then given CR LF, so that it is written as bytes
// that read back as it is. The last line of the document, whose line end is not written, keeps
// its own.
bool LineEndBecomesCrLf(const EditPlan& plan) {
  const Document& document = plan.document;
  const Line& last = document.lines[plan.to.line];
  if (!last.EndsInLineFeed() || plan.to.line + 1 >= document.LineCount()) return false;
  if (plan.to.index < last.Length()) return last.CharAt(last.Length() - 1) == L'\r';
  const std::wstring_view piece = plan.pieces.parts.back();
  if (!piece.empty()) return piece.back() == L'\r';
  if (plan.pieces.parts.size() > 1 || plan.from.index == 0) return false;
  return document.lines[plan.from.line].CharAt(plan.from.index - 1) == L'\r';
}

// The length of the longest line the edit makes.
std::size_t LongestMade(const EditPlan& plan) {
  const std::vector<std::wstring_view>& parts = plan.pieces.parts;
  const std::size_t tail = At(plan.document.lines[plan.to.line].Length() - plan.to.index);
  std::size_t longest = At(plan.from.index) + parts.front().size() + (parts.size() == 1 ? tail : 0);
  for (std::size_t k = 1; k < parts.size(); ++k)
    longest = std::max(longest, parts[k].size() + (k + 1 == parts.size() ? tail : 0));
  return longest;
}

// Makes everything the edit needs; the document is not changed. Throws when memory runs out,
// and when a line would grow longer than a line can be (as memory that cannot be had).
void Prepare(EditPlan& plan, std::wstring_view inserted, std::uint32_t enteringState,
             std::uint32_t& state) {
  Document& document = plan.document;
  const TextPos& from = plan.from;
  const TextPos& to = plan.to;
  plan.pieces = SplitPieces(inserted, KeepsBreakForms(plan.flags), document.format.lineFeed);
  if (LongestMade(plan) > Line::Longest()) throw std::bad_alloc();
  plan.end = EndOf(from, plan.pieces);
  const bool deletes = !SamePlace(from, to);
  plan.lineEndToCrLf = LineEndBecomesCrLf(plan);
  std::wstring removed;
  if (plan.lineEndToCrLf) {
    // The record takes the line end back too: the range reaches the start of the next line.
    TextPos next(document);
    SetPos(next, 0, to.line + 1);
    removed = TextBetween(document, from, next);
  } else if (deletes) {
    removed = TextBetween(document, from, to);
  }
  plan.inPlace = from.line == to.line && plan.pieces.parts.size() == 1 &&
                 !document.settings.wordwrap && !plan.lineEndToCrLf;
  if (plan.inPlace) {
    Line& line = document.lines[from.line];
    line.ReserveText(line.Length() + static_cast<int>(inserted.size()));
  } else {
    state = enteringState;
    MakeLines(plan, state);
    const int removedLines = to.line - from.line + 1;
    const int addedLines = static_cast<int>(plan.made.size());
    document.lines.ReserveReplace(removedLines, addedLines);
    document.rowTotals.ReserveReplace(removedLines, addedLines);
  }
  // The line widths hold every line wider than their table in a list, which may grow.
  if (!document.settings.wordwrap) {
    const auto wide = std::count_if(plan.madeWidths.begin(), plan.madeWidths.end(),
                                    [](int width) { return width >= LineWidths::smallLimit; });
    document.widths.ReserveWide(plan.inPlace ? 1 : static_cast<std::size_t>(wide));
  }
  const std::size_t mergeable = removed.size();
  if (plan.lineEndToCrLf) {
    // One record replaces the edit and the line end after it by what was there.
    const int kind = RequestKind(plan.flags) == editContinue ? editContinue : editOther;
    const TextPlace start{from.index, from.line};
    plan.records.push_back({kind, start, TextPlace{0, plan.end.line + 1}, std::move(removed)});
  } else {
    PlanRecords(plan, std::move(removed), !inserted.empty());
  }
  ReserveRecords(*document.undo, static_cast<int>(plan.records.size()), mergeable, plan.flags);
  if (document.onReplace) {
    const bool asGiven = KeepsBreakForms(plan.flags) || plan.pieces.parts.size() == 1;
    document.onReplace(from, to, asGiven ? std::wstring(inserted) : JoinPieces(plan.pieces));
  }
}

// Edits one line where it is: room for its characters was made, so nothing here allocates.
void ChangeInPlace(EditPlan& plan, std::uint32_t enteringState, std::uint32_t& state) {
  Document& document = plan.document;
  const int lineIndex = plan.from.line;
  Line& line = document.lines[lineIndex];
  const std::wstring_view piece = plan.pieces.parts.front();
  // Only a line without word wrap is edited in place.
  const int oldWidth = LineWidth(document, line);
  line.Replace(plan.from.index, plan.to.index - plan.from.index, piece.data(), static_cast<int>(piece.size()));
  state = enteringState;
  document.rowTotals.AddRows(lineIndex, LayoutLine(document, line, state));
  document.widths.Replace(oldWidth, LineWidth(document, line));
}

// Puts the lines made in the place of lines from..to and their rows in the row totals.
void ChangeLines(EditPlan& plan) {
  Document& document = plan.document;
  const int first = plan.from.line;
  const int removedLines = plan.to.line - first + 1;
  const int addedLines = static_cast<int>(plan.made.size());
  if (!document.settings.wordwrap) {
    // Each line made stands for a line removed while there are both, so that an edit of wide
    // lines moves each in the list of wide lines only past its neighbours.
    for (int k = 0; k < std::max(removedLines, addedLines); ++k) {
      const std::size_t made = static_cast<std::size_t>(k);
      if (k < removedLines && k < addedLines)
        document.widths.Replace(LineWidth(document, document.lines[first + k]), plan.madeWidths[made]);
      else if (k < removedLines)
        document.widths.Remove(LineWidth(document, document.lines[first + k]));
      else
        document.widths.Add(plan.madeWidths[made]);
    }
  }
  document.lines.ReplaceLines(first, plan.to.line + 1, plan.made);
  document.rowTotals.Replace(document.lines, first, removedLines, addedLines);
  plan.made.clear();  // the store owns them now
}

// Walks the highlighter state down the lines after the end line while it keeps changing.
// Returns the last visual row whose content changed.
int UpdateFollowingLines(Document& document, int endLine, std::uint32_t state, std::uint32_t oldEndState) {
  int rows = RowsBefore(document, endLine + 1);
  int lastRow = rows - 1;
  bool walking = document.highlighter && lineState::Code(state) != lineState::Code(oldEndState);
  for (int i = endLine + 1; walking && i < document.LineCount(); ++i) {
    Line& line = document.lines[i];
    rows += line.SegmentCount();
    if (ComputeLineEndState(document, line, state))
      lastRow = rows - 1;
    else
      walking = false;
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

std::wstring TextBetween(const Document& document, const TextPos& from, const TextPos& to) {
  std::wstring text;
  for (int i = from.line; i <= to.line; ++i) {
    const Line& line = document.lines[i];
    std::wstring_view chars = line.Peek();
    std::size_t start = i == from.line ? At(from.index) : 0;
    std::size_t end = i == to.line ? At(to.index) : chars.size();
    text.append(chars.substr(start, end - start));
    if (i < to.line) AppendBreak(text, line.EndsInLineFeed());
  }
  return text;
}

std::wstring RecordForm(std::wstring_view typed, bool lineFeed) {
  return JoinPieces(SplitPieces(typed, false, lineFeed));
}

void JoinRecordTexts(std::wstring& into, std::wstring_view piece, bool pieceFirst) {
  const std::wstring_view before = pieceFirst ? piece : std::wstring_view(into);
  const std::wstring_view after = pieceFirst ? std::wstring_view(into) : piece;
  // The carriage returns that end the first text belong to the line of a break that begins the
  // second: they are written twice there.
  const std::size_t leading = after.find_first_not_of(L'\r');
  const bool breakFollows = leading != std::wstring_view::npos && after[leading] == L'\n';
  const std::size_t doubled = breakFollows ? ReturnsBefore(before, before.size()) : 0;
  if (pieceFirst) {
    into.insert(0, doubled, L'\r');
    into.insert(0, piece);
  } else {
    into.append(doubled, L'\r');
    into += piece;
  }
}

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
  // The text may lie in the document itself (a line copied into another place).
  const std::wstring inserted(text);
  // The word index changes before the text; an edit that fails takes it away (see WordsKeptOrDropped).
  const WordsKeptOrDropped words(document);
  if (document.words) document.words->BeforeReplace(document, from, to, inserted);
  const bool wasModified = document.modified;
  const std::uint32_t enteringState = from.line > 0 ? document.lines[from.line - 1].State() : 0;
  const std::uint32_t oldEndState = document.lines[to.line].State();
  const int oldFromRow = AbsoluteRow(from);
  const int oldTotal = document.TotalRows();
  const bool changes = !SamePlace(from, to) || !inserted.empty();

  EditPlan plan(document, from, to, flags);
  std::uint32_t state = oldEndState;
  if (changes) Prepare(plan, inserted, enteringState, state);

  // From here on nothing allocates: the document changes whole.
  document.modified = true;
  document.touched = true;
  if (changes) {
    if (plan.inPlace) ChangeInPlace(plan, enteringState, state);
    else ChangeLines(plan);
    for (PlannedRecord& record : plan.records)
      RecordChange(*document.undo, record.kind, record.first, record.second, std::move(record.text),
                   wasModified, flags);
  }
  const TextPlace end = changes ? plan.end : TextPlace{from.index, from.line};

  ChangeRecord result;
  // The lines after the change keep their rows.
  result.rowDelta = document.TotalRows() - oldTotal;
  result.lastRow = UpdateFollowingLines(document, end.line, state, oldEndState);
  if (changes) UpdateWidestLine(document);
  TextPos start = from;
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
