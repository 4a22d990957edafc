// A new document: one empty line and an empty undo history.
#include "text/Document.h"

#include "text/Layout.h"
#include "text/UndoHistory.h"

Document::Document() : undo(std::make_unique<UndoHistory>(*this)) {
  int rows = 0;
  std::uint32_t state = 0;
  ConstructLine(*this, 0, {}, rows, state);
  rowTotals.push_back(rows);
  widestLine = LineWidth(*this, lines[0]);
}

Document::~Document() = default;
