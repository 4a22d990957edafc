// A new document: one empty line and an empty undo history; batches of edits.
#include "text/Document.h"

#include "text/Layout.h"
#include "text/UndoHistory.h"
#include "text/WordIndex.h"

Document::Document() : undo(std::make_unique<UndoHistory>(*this)) {
  int rows = 0;
  std::uint32_t state = 0;
  ConstructLine(*this, 0, {}, rows, state);
  rowTotals.Append(rows);
  widestLine = LineWidth(*this, lines[0]);
  if (!settings.wordwrap) widths.Add(widestLine);
}

Document::~Document() = default;

EditBatch::EditBatch(Document& document)
    : document_(document), hook_(std::move(document.onStateChanged)) {
  document.onStateChanged = nullptr;
}

EditBatch::~EditBatch() { document_.onStateChanged = std::move(hook_); }
