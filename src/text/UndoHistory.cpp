// Recording changes, merging typing and deletion runs, and replaying records through ReplaceText.
#include "text/UndoHistory.h"

#include <algorithm>
#include <utility>

#include "text/Document.h"
#include "text/TextPos.h"

namespace {

TextPlace PlaceLeftOf(Document& document, TextPlace place) {
  TextPos pos(document);
  SetPos(pos, place.index, place.line);
  MoveLeft(pos);
  return {pos.index, pos.line};
}

// A deleted line break, in either form a line may end in.
bool IsLineBreak(const std::wstring& text) { return text == L"\r\n" || text == L"\n"; }

void Grow(std::vector<UndoRecord>& list, std::size_t count) {
  const std::size_t needed = list.size() + count;
  if (needed > list.capacity()) list.reserve(std::max(needed, list.capacity() * 2));
}

bool IsRun(int kind) {
  return kind == editTyping || kind == editDeleteForward || kind == editDeleteBackward;
}

// True when a change of the kind has the shape the kind describes and continues the last
// record, so that one record can reverse both: an insertion that starts where the typed run
// ends; a deletion where the forward run deletes; a deletion of one character (or one line
// break) just left of where the backward run stands.
bool CanMerge(const UndoHistory& history, int kind, TextPlace first, const std::wstring& text) {
  if (!IsRun(kind) || kind != history.lastKind || first != history.mergePosition ||
      history.undoList.empty())
    return false;
  const UndoRecord& last = history.undoList.back();
  switch (kind) {
    case editTyping:
      return text.empty();
    case editDeleteForward:
      return !text.empty();
    default: {
      // One character or one line break that ends where the run's deleted text begins.
      const bool lineBreak = IsLineBreak(text);
      TextPlace end = lineBreak ? TextPlace{0, first.line + 1} : TextPlace{first.index + 1, first.line};
      return (text.size() == 1 || lineBreak) && last.first == last.second && end == last.first;
    }
  }
}

void Merge(UndoHistory& history, int kind, TextPlace first, TextPlace second,
           const std::wstring& text) {
  UndoRecord& last = history.undoList.back();
  switch (kind) {
    case editTyping:  // the typed run grows
      last.second = second;
      history.mergePosition = second;
      break;
    case editDeleteForward:  // the caret stays; the deleted text follows the run's
      JoinRecordTexts(last.text, text, false);
      break;
    default:  // the backward run grows to the left
      JoinRecordTexts(last.text, text, true);
      last.first = last.second = first;
      history.mergePosition = PlaceLeftOf(*history.document, first);
      break;
  }
}

// Replays the last record of list and removes it; the reverse change is recorded with flags.
// The record goes only once its replay is made: one that runs out of memory leaves it in place.
ChangeRecord Replay(UndoHistory& history, std::vector<UndoRecord>& list, int flags, int& kind) {
  Document& document = *history.document;
  // The replay records into the other list, so the record stays where it is meanwhile.
  const UndoRecord& record = list.back();
  kind = record.kind;
  TextPos first(document), second(document);
  SetPos(first, record.first.index, record.first.line);
  SetPos(second, record.second.index, record.second.line);
  // A record that both removes and puts back text comes back as one record again, so a
  // group keeps its shape through any number of undos and redos.
  const int request = record.kind == editContinue ? editContinue : editOther;
  ChangeRecord result = ReplaceText(document, first, second, record.text, request | flags);
  document.modified = record.wasModified;
  list.pop_back();
  return result;
}

}  // namespace

void ReserveRecords(UndoHistory& history, int count, std::size_t mergedText, int flags) {
  if (flags & editIntoRedo) {
    if (!history.redoList) history.redoList = std::make_unique<std::vector<UndoRecord>>();
    Grow(*history.redoList, static_cast<std::size_t>(count));
    return;
  }
  Grow(history.undoList, static_cast<std::size_t>(count));
  // Only runs of single deletions merge texts; a join may write the carriage returns ending one
  // of the texts twice.
  if (!history.undoList.empty()) {
    UndoRecord& last = history.undoList.back();
    if (last.kind == editDeleteForward || last.kind == editDeleteBackward)
      last.text.reserve(2 * (last.text.size() + mergedText));
  }
}

void RecordChange(UndoHistory& history, int kind, TextPlace first, TextPlace second,
                  std::wstring text, bool wasModified, int flags) {
  if (flags & editIntoRedo) {
    if (!history.redoList) history.redoList = std::make_unique<std::vector<UndoRecord>>();
    history.redoList->push_back({kind, first, second, std::move(text), wasModified});
    history.lastKind = editOther;
    history.mergePosition = second;
    history.document->NotifyStateChanged();
    return;
  }
  if (!(flags & editKeepRedo)) history.redoList.reset();
  if (CanMerge(history, kind, first, text)) {
    Merge(history, kind, first, second, text);
    return;
  }
  history.undoList.push_back({kind, first, second, std::move(text), wasModified});
  history.lastKind = kind;
  // The next backspace of a run starts one character left of this one.
  history.mergePosition =
      kind == editDeleteBackward ? PlaceLeftOf(*history.document, first) : second;
  history.document->NotifyStateChanged();
}

ChangeRecord Undo(UndoHistory& history) {
  ChangeRecord total;
  if (history.undoList.empty()) return total;
  history.lastKind = editOther;
  int kind = editOther;
  {
    EditBatch batch(*history.document);
    do {
      AddChange(total, Replay(history, history.undoList, editIntoRedo, kind));
    } while (kind == editContinue && !history.undoList.empty());
  }
  history.lastKind = editOther;
  history.document->NotifyStateChanged();
  return total;
}

ChangeRecord Redo(UndoHistory& history) {
  ChangeRecord total;
  if (!CanRedo(history)) return total;
  history.lastKind = editOther;
  int kind = editOther;
  {
    EditBatch batch(*history.document);
    do {
      AddChange(total, Replay(history, *history.redoList, editKeepRedo, kind));
    } while (!history.redoList->empty() && history.redoList->back().kind == editContinue);
  }
  history.lastKind = editOther;
  history.document->NotifyStateChanged();
  return total;
}

bool CanUndo(const UndoHistory& history) { return !history.undoList.empty(); }

bool CanRedo(const UndoHistory& history) {
  return history.redoList && !history.redoList->empty();
}

void MarkSaved(UndoHistory& history) {
  history.lastKind = editOther;
  for (UndoRecord& record : history.undoList) record.wasModified = true;
  if (history.redoList)
    for (UndoRecord& record : *history.redoList) record.wasModified = true;
}
