// The undo and redo lists of a document: records that reverse changes, merged for typing runs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "text/Edit.h"

class Document;

// A place in the text as a record keeps it: character index and line index.
struct TextPlace {
  int index = 0;
  int line = 0;
  friend bool operator==(const TextPlace&, const TextPlace&) = default;
};

struct UndoRecord {
  int kind = editOther;   // the edit kind it was recorded with, 0 to 4
  TextPlace first;        // the range to replace when the record is replayed
  TextPlace second;
  std::wstring text;      // what to put in the range (empty for the reverse of an insertion)
  bool wasModified = false;  // the modified flag before the change, restored by the replay
  friend bool operator==(const UndoRecord&, const UndoRecord&) = default;
};

class UndoHistory {
 public:
  explicit UndoHistory(Document& document) : document(&document) {}

  Document* document;
  std::vector<UndoRecord> undoList;  // oldest first; the last is undone first
  // Exists from the first redo record until the next change that is not a redo.
  std::unique_ptr<std::vector<UndoRecord>> redoList;
  TextPlace mergePosition;  // where the next edit must start to be merged into the last record
  int lastKind = 0;         // kind of the last record added; editOther after undo and redo
};

// Records a change made with the given edit kind and flags (see Edit.h), merging runs of typing
// and of single deletions into the last record.
void RecordChange(UndoHistory& history, int kind, TextPlace first, TextPlace second,
                  std::wstring text, bool wasModified, int flags);

// Makes room for count more records in the list flags record into (see Edit.h), and for
// mergedText more units in the text of the last undo record, so that recording them cannot fail
// for want of memory.
void ReserveRecords(UndoHistory& history, int count, std::size_t mergedText, int flags);

// Replays the last record (and the records of its group) of the undo or redo list.
ChangeRecord Undo(UndoHistory& history);
ChangeRecord Redo(UndoHistory& history);
bool CanUndo(const UndoHistory& history);
bool CanRedo(const UndoHistory& history);
// The text was saved: every replay now leaves it different from the file, and the next edit
// starts a step of its own (a typing run never reaches back over a save, so that Undo can
// stop at the saved text).
void MarkSaved(UndoHistory& history);
