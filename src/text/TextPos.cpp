// Moving positions through lines and wrap segments.
#include "text/TextPos.h"

#include <algorithm>

#include "text/Document.h"
#include "text/Layout.h"
#include "text/Line.h"

namespace {

const Line& LineOf(const TextPos& pos) { return pos.document->lines[pos.line]; }

int Advance(const Document& document, wchar_t ch, int column) {
  return ch == L'\t' ? NextTabStop(column, std::max(1, document.settings.tabsize)) : column + 1;
}

}  // namespace

void SetPos(TextPos& pos, int index, int line) {
  pos.line = std::clamp(line, 0, pos.document->LineCount() - 1);
  pos.index = index;
  Normalize(pos);
}

void Normalize(TextPos& pos) {
  const Line& line = LineOf(pos);
  pos.index = std::clamp(pos.index, 0, line.Length());
  int segment = 0;
  while (segment < line.LastSegment() && pos.index > line.SegmentEnd(segment)) ++segment;
  pos.segment = segment;
  ComputeVisualColumn(pos);
}

void ComputeVisualColumn(TextPos& pos) {
  const Document& document = *pos.document;
  const Line& line = LineOf(pos);
  pos.segment = std::clamp(pos.segment, 0, line.LastSegment());
  int start = pos.segment > 0 ? line.SegmentEnd(pos.segment - 1) : 0;
  while (start > pos.index) {
    --pos.segment;
    start = pos.segment > 0 ? line.SegmentEnd(pos.segment - 1) : 0;
  }
  int column = SegmentStartColumn(document, line, pos.segment);
  const wchar_t* text = line.Data();
  for (int i = start; i < pos.index; ++i) column = Advance(document, text[i], column);
  pos.visualColumn = column;
}

void MoveLeft(TextPos& pos) {
  if (pos.index > 0) {
    --pos.index;
    if (LineOf(pos).SplitsPair(pos.index)) --pos.index;
    ComputeVisualColumn(pos);
  } else if (pos.line > 0) {
    --pos.line;
    MoveToLineEnd(pos);
  }
}

void MoveRight(TextPos& pos) {
  const Line& line = LineOf(pos);
  if (pos.index >= line.Length()) {
    if (pos.line + 1 < pos.document->LineCount()) {
      ++pos.line;
      pos.index = 0;
      pos.segment = 0;
      pos.visualColumn = 0;
    }
    return;
  }
  pos.visualColumn = Advance(*pos.document, line.Data()[pos.index], pos.visualColumn);
  ++pos.index;
  if (line.SplitsPair(pos.index)) {
    ++pos.visualColumn;
    ++pos.index;
  }
  if (pos.index > line.SegmentEnd(pos.segment)) {
    // A pair cut by a wrap may pass a whole one-unit segment.
    while (pos.segment < line.LastSegment() && pos.index > line.SegmentEnd(pos.segment))
      ++pos.segment;
    ComputeVisualColumn(pos);
  }
}

void MoveToLineEnd(TextPos& pos) {
  const Line& line = LineOf(pos);
  pos.index = line.Length();
  pos.segment = line.LastSegment();
  ComputeVisualColumn(pos);
}

void KeepPairWhole(TextPos& pos, bool forward) {
  if (!LineOf(pos).SplitsPair(pos.index)) return;
  pos.index += forward ? 1 : -1;
  Normalize(pos);
}

wchar_t CharAt(const TextPos& pos) { return LineOf(pos).CharAt(pos.index); }

int AbsoluteRow(const TextPos& pos) { return RowsBefore(*pos.document, pos.line) + pos.segment; }
