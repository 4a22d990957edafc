// Moving positions through lines and wrap segments.
#include "text/TextPos.h"

#include <algorithm>

#include "text/Document.h"
#include "text/Layout.h"
#include "text/Line.h"

namespace {

const Line& LineOf(const TextPos& pos) { return pos.document->lines[pos.line]; }

int TabSize(const TextPos& pos) { return std::max(1, pos.document->settings.tabsize); }

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
  pos.visualColumn = ColumnAfter(line.Text(), static_cast<std::size_t>(start),
                                 static_cast<std::size_t>(pos.index),
                                 SegmentStartColumn(document, line, pos.segment), TabSize(pos));
}

void MoveLeft(TextPos& pos) {
  if (pos.index > 0) {
    pos.index = static_cast<int>(CharacterStartBefore(LineOf(pos).Text(), static_cast<std::size_t>(pos.index)));
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
  const std::wstring_view text = line.Text();
  if (text[static_cast<std::size_t>(pos.index)] == L'\t') {
    pos.visualColumn = NextTabStop(pos.visualColumn, TabSize(pos));
    ++pos.index;
  } else {
    const CharacterSpan character = CharacterAt(text, static_cast<std::size_t>(pos.index));
    pos.visualColumn += character.cells;
    pos.index += character.units;
  }
  if (pos.index > line.SegmentEnd(pos.segment)) {
    // A character cut by a wrap (of a layout from before it was whole) may pass a whole
    // segment.
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

void KeepCharacterWhole(TextPos& pos, bool forward) {
  const std::wstring_view text = LineOf(pos).Text();
  auto index = static_cast<std::size_t>(std::clamp(pos.index, 0, static_cast<int>(text.size())));
  if (IsCharacterBoundary(text, index)) return;
  while (!IsCharacterBoundary(text, index)) forward ? ++index : --index;
  pos.index = static_cast<int>(index);
  Normalize(pos);
}

wchar_t CharAt(const TextPos& pos) { return LineOf(pos).CharAt(pos.index); }

int AbsoluteRow(const TextPos& pos) { return RowsBefore(*pos.document, pos.line) + pos.segment; }
