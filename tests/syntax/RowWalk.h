// Walks every visual row of a document with the row cursor, as the painter does: shared by the
// tests of class values and the edit fuzz target.
#pragma once

#include <string>

#include "syntax/RowCursor.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "text/Line.h"

// Where a row gave an empty run, a continuation row starts outside the wrap width or a wrap
// parts a character; empty when every row of the document filled columns cells with runs of at
// least one cell.
inline std::string RowWalkProblem(Document& document, int columns) {
  for (int i = 0; i < document.LineCount(); ++i) {
    const Line& line = document.lines[i];
    for (int k = 1; k <= line.LastSegment(); ++k) {
      const int start = SegmentStartColumn(document, line, k);
      if (start < 0 || (document.settings.wordwrap && start >= document.wrapWidth))
        return "continuation start " + std::to_string(start) + " of line " + std::to_string(i);
      if (!IsCharacterBoundary(line.Text(), static_cast<std::size_t>(line.SegmentEnd(k - 1))))
        return "a wrap inside a character of line " + std::to_string(i);
    }
  }
  TextPos cursor;
  OpenRowCursor(cursor, document, 0, 0);
  std::string problem;
  int row = 0;
  do {
    int remaining = columns;
    for (bool first = true; remaining > 0 && problem.empty(); first = false) {
      const ColourRun run = NextRun(cursor, first, remaining);
      if (run.length <= 0 || run.cells <= 0) problem = "empty run in row " + std::to_string(row);
    }
    ++row;
  } while (problem.empty() && NextRow(cursor, 0));
  CloseRowCursor(cursor);
  if (problem.empty() && row != document.TotalRows()) problem = "rows walked " + std::to_string(row);
  return problem;
}
