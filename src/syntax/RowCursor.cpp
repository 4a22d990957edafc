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
  return {runBlank, cursor.index, cells, LineOf(cursor).Data(), cells};
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
  LineEndState state{lineState::Code(line.State()), ConstructPositionOf(document, cursor.line)};
  TokenizeText(*SyntaxOf(document), line.Text(), state, document.settings.tabsize,
               *cursor.runs);
}

void SetColumn(TextPos& cursor, int column) {
  const Document& document = *cursor.document;
  const Line& line = LineOf(cursor);
  int visual = SegmentStartColumn(document, line, cursor.segment);
  const std::size_t index =
      PassColumns(line.Text(), static_cast<std::size_t>(SegmentStart(line, cursor.segment)),
                  static_cast<std::size_t>(line.SegmentEnd(cursor.segment)), visual, column,
                  std::max(1, document.settings.tabsize));
  cursor.index = static_cast<int>(index);
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
  const int tabSize = std::max(1, document.settings.tabsize);
  if (text[cursor.index] == L'\t') {
    ColourRun run{runBlank, cursor.index, 0, text};
    const int before = cursor.visualColumn;
    while (cursor.index < end && text[cursor.index] == L'\t') {
      cursor.visualColumn = NextTabStop(cursor.visualColumn, tabSize);
      ++cursor.index;
    }
    run.length = cursor.visualColumn - before;
    run.cells = run.length;
    remaining -= run.length;
    return run;
  }

  // Text runs stop at the row's last visible cell: what lies beyond is never drawn. They end
  // at a tab, or where their colour ends. Only the units the remaining cells can hold are
  // looked at, so that a row of a very long line costs what its cells cost.
  int limit = end;
  ColourRun run{runPlain, cursor.index, 0, text};
  if (Highlighted(cursor) && cursor.runs) {
    const ColourRun* colour = RunHolding(*cursor.runs, cursor.index);
    if (!colour) return Blank(cursor, remaining, remaining);
    run.kind = colour->kind;
    limit = std::min(limit, colour->index + colour->length);
  }
  const std::wstring_view lineText(text, static_cast<std::size_t>(line.Length()));
  const int window = std::min(limit, cursor.index + std::max(remaining, 1));
  CharacterSpan span;
  // The unit after the window tells whether the window ends a character.
  const auto checked = std::min(static_cast<std::size_t>(window) + 1, lineText.size());
  if (AllSingleCells(lineText, static_cast<std::size_t>(cursor.index), checked)) {
    const wchar_t* tab = std::find(text + cursor.index, text + window, L'\t');
    span.units = span.cells = std::max(1, static_cast<int>(tab - (text + cursor.index)));
  } else {
    // A colour that ends inside a character (a keyword before a mark that is no word
    // character) gives the whole character to the run it starts in.
    span = SpanOfCells(lineText, static_cast<std::size_t>(cursor.index),
                       static_cast<std::size_t>(limit), remaining);
  }
  run.length = span.units;
  run.cells = span.cells;
  cursor.index += span.units;
  cursor.visualColumn += span.cells;
  remaining -= span.cells;
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
