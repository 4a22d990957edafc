// A new document: one empty line and an empty undo history; batches of edits.
#include "text/Document.h"

#include "text/Layout.h"
#include "text/UndoHistory.h"
#include "text/WordIndex.h"

Document::Document() : undo(std::make_unique<UndoHistory>(*this)) {
  int rows = 0;
  std::uint32_t state = 0;
  ConstructLine(*this, 0, {}, rows, state);
  rowTotals.push_back(rows);
  widestLine = LineWidth(*this, lines[0]);
}

Document::~Document() = default;

EditBatch::EditBatch(Document& document)
    : document_(document), hook_(std::move(document.onStateChanged)),
      outermost_(!document.inBatch) {
  document.onStateChanged = nullptr;
  document.inBatch = true;
}

EditBatch::~EditBatch() {
  document_.onStateChanged = std::move(hook_);
  if (!outermost_) return;
  document_.inBatch = false;
  if (document_.widestStale) RecomputeWidestLine(document_);
  document_.widestStale = false;
}
