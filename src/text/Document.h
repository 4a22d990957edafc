// An open document's text: its lines with their layout, its class settings, the modified flags
// and the undo history.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "config/DocClass.h"
#include "text/LineStore.h"

class UndoHistory;
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
  // rowTotals[i] = number of visual rows of lines 0 to i together, one entry per line; the
  // last entry is the document's number of visual rows.
  std::vector<int> rowTotals;
  // Visual columns lines are wrapped to: initialWrapWidth before the first Relayout,
  // noWrapWidth while word wrap is off.
  int wrapWidth = initialWrapWidth;
  // The greatest line width over all lines; equal to the wrap width while word wrap is on.
  int widestLine = 0;
  // The document's own copy of its class.
  DocClass settings;

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

  int LineCount() const { return lines.size(); }
  int TotalRows() const { return rowTotals.back(); }
};
