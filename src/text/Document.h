// An open document's text: its lines with their layout, the class values they are laid out by,
// its highlighting, the modified flags and the undo history.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "text/FileStamp.h"
#include "text/LineStore.h"
#include "text/LineWidths.h"
#include "text/RowTotals.h"
#include "text/TextClass.h"
#include "text/TextFormat.h"

class LineSyntax;
class UndoHistory;
class WordIndex;
struct TextPos;

class Document {
 public:
  // One empty line, laid out for the wrap width below.
  Document();
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  static constexpr int initialWrapWidth = 1 << 30;  // until the first Relayout
  static constexpr int noWrapWidth = 2147483647;    // while word wrap is off

  // The lines in order; never empty.
  LineStore lines;
  // The visual rows of the lines: what row each line starts on; counts every line of lines.
  RowTotals rowTotals;
  // Visual columns lines are wrapped to: initialWrapWidth before the first Relayout,
  // noWrapWidth while word wrap is off.
  int wrapWidth = initialWrapWidth;
  // The greatest line width over all lines; equal to the wrap width while word wrap is on.
  int widestLine = 0;
  // The width of every line while word wrap is off (empty while it is on): where the widest
  // line is found again when it narrows.
  LineWidths widths;
  // The layout values of the document's class.
  TextClass settings;
  // The highlighting of the document's class, while it has one: keeps the end state of every
  // line. Not owned; installed together with the class.
  const LineSyntax* highlighter = nullptr;
  // The form of its file: set by loading, used by saving (code page and CR LF when new).
  TextFormat format;
  // What identifies the bytes last read from or written to its file; no path before either.
  FileStamp stamp;

  // The text differs from the file: set by every edit, cleared by a save, restored by undo.
  bool modified = false;
  // Set by every edit and never cleared.
  bool touched = false;
  std::unique_ptr<UndoHistory> undo;

  // Called when what the application shows of the document's state (title, enabled commands)
  // may have changed: after a new undo record and after every undo and redo.
  std::function<void()> onStateChanged;
  void NotifyStateChanged() const {
    if (onStateChanged) onStateChanged();
  }
  // Called by every change before it is made, with its range in order and the text put there,
  // for whoever keeps its own record of the changes (the recovery journal).
  std::function<void(const TextPos& from, const TextPos& to, std::wstring_view text)> onReplace;

  // The words of the text, once word completion or the idle time built them (null until then,
  // and after the text was read anew): every change tells it what it replaces.
  std::unique_ptr<WordIndex> words;

  int LineCount() const { return lines.size(); }
  int TotalRows() const { return rowTotals.Total(); }
};

// A batch of edits (a replace-all, the replay of an undo group): the document's state
// notifications are held back, so that what the application shows is refreshed once after the
// batch instead of once per edit (the caller notifies when it is done).
class EditBatch {
 public:
  explicit EditBatch(Document& document);
  ~EditBatch();
  EditBatch(const EditBatch&) = delete;
  EditBatch& operator=(const EditBatch&) = delete;

 private:
  Document& document_;
  std::function<void()> hook_;
};
