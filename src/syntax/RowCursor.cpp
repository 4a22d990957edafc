// The row cursor over a document's visual rows.
#include "syntax/RowCursor.h"

#include <algorithm>
#include <vector>

#include "syntax/Highlighter.h"
#include "syntax/LineScan.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "text/Line.h"
#include "text/LineState.h"

namespace {

const Line& LineOf(const TextPos& cursor) { return cursor.document->lines[cursor.line]; }

int SegmentStart(const Line& line, int segment) {
  return segment > 0 ? line.SegmentEnd(segment - 1) : 0;
}

bool Highlighted(const TextPos& cursor) { return SyntaxOf(*cursor.document) != nullptr; }

ColourRun Blank(const TextPos& cursor, int cells, int& remaining) {
  remaining -= cells;
  return {runBlank, cursor.index, cells, LineOf(cursor).Data()};
}

// The colour run of the run list that holds index: the last one starting at or before it.
const ColourRun* RunHolding(const std::vector<ColourRun>& runs, int index) {
  auto after = std::upper_bound(runs.begin(), runs.end(), index,
                                [](int i, const ColourRun& run) { return i < run.index; });
  return after == runs.begin() ? nullptr : &*(after - 1);
}

}  // namespace

void TokenizeLine(TextPos& cursor) {
  if (!cursor.runs) cursor.runs = std::make_unique<std::vector<ColourRun>>();
  const Document& document = *cursor.document;
  const Line& line = LineOf(cursor);
  LineEndState state{lineState::Code(line.State()), line.ConstructPosition()};
  TokenizeText(*SyntaxOf(document), line.Text(), state, document.settings.tabsize,
               *cursor.runs);
}

void SetColumn(TextPos& cursor, int column) {
  const Document& document = *cursor.document;
  const Line& line = LineOf(cursor);
  int visual = SegmentStartColumn(document, line, cursor.segment);
  int index = SegmentStart(line, cursor.segment);
  const int end = line.SegmentEnd(cursor.segment);
  const wchar_t* text = line.Data();
  while (visual < column && index < end) {
    visual = text[index] == L'\t' ? NextTabStop(visual, document.settings.tabsize) : visual + 1;
    ++index;
  }
  cursor.index = index;
  cursor.visualColumn = visual;
}

void OpenRowCursor(TextPos& cursor, Document& document, int row, int column) {
  cursor.document = &document;
  cursor.line = LineOfRow(document, row);
  cursor.segment = row - RowsBefore(document, cursor.line);
  SetColumn(cursor, column);
  if (Highlighted(cursor)) TokenizeLine(cursor);
}

ColourRun NextRun(TextPos& cursor, bool rowStart, int& remaining) {
  const Document& document = *cursor.document;
  const Line& line = LineOf(cursor);
  const int startColumn = SegmentStartColumn(document, line, cursor.segment);
  if (rowStart && startColumn > 0 && cursor.visualColumn <= startColumn)
    return Blank(cursor, startColumn, remaining);

  const int end = line.SegmentEnd(cursor.segment);
  if (cursor.index >= end) return Blank(cursor, remaining, remaining);
  if (cursor.segment > 0 && startColumn > cursor.visualColumn) {
    ColourRun run = Blank(cursor, startColumn - cursor.visualColumn, remaining);
    cursor.visualColumn = startColumn;
    return run;
  }

  const wchar_t* text = line.Data();
  const int tabSize = document.settings.tabsize;
  if (text[cursor.index] == L'\t') {
    ColourRun run{runBlank, cursor.index, 0, text};
    const int before = cursor.visualColumn;
    while (cursor.index < end && text[cursor.index] == L'\t') {
      cursor.visualColumn = NextTabStop(cursor.visualColumn, tabSize);
      ++cursor.index;
    }
    run.length = cursor.visualColumn - before;
    remaining -= run.length;
    return run;
  }

  // Text runs stop at the row's last visible cell: what lies beyond is never drawn.
  int length = end - cursor.index;
  ColourRun run{runPlain, cursor.index, 0, text};
  if (Highlighted(cursor) && cursor.runs) {
    const ColourRun* colour = RunHolding(*cursor.runs, cursor.index);
    if (!colour) return Blank(cursor, remaining, remaining);
    run.kind = colour->kind;
    length = std::min({length, remaining, colour->index + colour->length - cursor.index});
  } else {
    const wchar_t* tab = std::find(text + cursor.index, text + end, L'\t');
    length = std::min(static_cast<int>(tab - (text + cursor.index)), std::max(remaining, 1));
  }
  length = std::max(length, 1);
  run.length = length;
  cursor.index += length;
  cursor.visualColumn += length;
  remaining -= length;
  return run;
}

bool NextRow(TextPos& cursor, int column) {
  const Line& line = LineOf(cursor);
  if (cursor.segment >= line.LastSegment()) {
    if (cursor.line + 1 >= cursor.document->LineCount()) return false;
    ++cursor.line;
    cursor.segment = 0;
    if (Highlighted(cursor)) TokenizeLine(cursor);
  } else {
    ++cursor.segment;
  }
  SetColumn(cursor, column);
  return true;
}

void CloseRowCursor(TextPos& cursor) { cursor.runs.reset(); }
