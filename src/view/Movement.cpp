// Caret movement primitives over characters, rows, words and the ends of the document.
#include "view/Movement.h"

#include <algorithm>

#include "syntax/RowCursor.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "text/Line.h"
#include "text/NarrowText.h"

namespace {

const Line& LineOf(const TextPos& pos) { return pos.document->lines[pos.line]; }

int SegmentStart(const Line& line, int segment) {
  return segment > 0 ? line.SegmentEnd(segment - 1) : 0;
}

int TabSize(const TextPos& pos) { return std::max(1, pos.document->settings.tabsize); }

// Passes whole characters back from index i while they are word characters (word) or
// delimiters (!word); a character is what its first unit is.
int SkipBack(const TextPos& pos, const Line& line, int i, bool word) {
  while (i > 0) {
    const int previous = PreviousCharacter(line, i);
    if (IsWordCharacter(pos, line.CharAt(previous)) != word) break;
    i = previous;
  }
  return i;
}

// The same forward, up to the end of the line.
int SkipForward(const TextPos& pos, const Line& line, int i, bool word) {
  while (i < line.Length() && IsWordCharacter(pos, line.CharAt(i)) == word) i = NextCharacter(line, i);
  return i;
}

}  // namespace

int NextCharacter(const Line& line, int index) {
  const auto step = [index](const auto& text) {
    return index + CharacterAt(text, static_cast<std::size_t>(index)).units;
  };
  // A narrow line is read in its bytes: a walk over many lines widens none of them.
  return line.IsNarrow() ? step(NarrowText(line.Bytes())) : step(line.Text());
}

int PreviousCharacter(const Line& line, int index) {
  const auto step = [index](const auto& text) {
    return static_cast<int>(CharacterStartBefore(text, static_cast<std::size_t>(index)));
  };
  return line.IsNarrow() ? step(NarrowText(line.Bytes())) : step(line.Text());
}

bool IsWordCharacter(const TextPos& pos, wchar_t ch) {
  return !IsDelimiter(*pos.document, ch);
}

void CharLeft(TextPos& pos) {
  const Line& line = LineOf(pos);
  if (pos.index <= SegmentStart(line, pos.segment)) {
    if (pos.segment > 0) {
      // Same index, shown at the end of the previous row.
      --pos.segment;
      ComputeVisualColumn(pos);
    } else if (pos.line > 0) {
      --pos.line;
      MoveToLineEnd(pos);
    }
    return;
  }
  pos.index = PreviousCharacter(line, pos.index);
  if (line.CharAt(pos.index) == L'\t')
    ComputeVisualColumn(pos);
  else
    pos.visualColumn -= CharacterAt(line.Text(), static_cast<std::size_t>(pos.index)).cells;
}

void CharRight(TextPos& pos) {
  const Line& line = LineOf(pos);
  if (pos.index < line.SegmentEnd(pos.segment)) {
    if (line.CharAt(pos.index) == L'\t') {
      pos.visualColumn = NextTabStop(pos.visualColumn, TabSize(pos));
      ++pos.index;
    } else {
      const CharacterSpan passed = CharacterAt(line.Text(), static_cast<std::size_t>(pos.index));
      pos.visualColumn += passed.cells;
      pos.index += passed.units;
    }
  } else if (pos.segment < line.LastSegment()) {
    // Same index, shown at the start of the next row.
    ++pos.segment;
    pos.visualColumn = SegmentStartColumn(*pos.document, line, pos.segment);
  } else if (pos.line + 1 < pos.document->LineCount()) {
    ++pos.line;
    pos.index = 0;
    pos.segment = 0;
    pos.visualColumn = 0;
  }
}

void MoveRows(TextPos& pos, int n, int column) {
  const Document& document = *pos.document;
  for (; n < 0; ++n) {
    if (pos.segment > 0) {
      --pos.segment;
    } else if (pos.line > 0) {
      --pos.line;
      pos.segment = document.lines[pos.line].LastSegment();
    } else {
      break;
    }
  }
  for (; n > 0; --n) {
    if (pos.segment < document.lines[pos.line].LastSegment()) {
      ++pos.segment;
    } else if (pos.line + 1 < document.LineCount()) {
      ++pos.line;
      pos.segment = 0;
    } else {
      break;
    }
  }
  SetColumn(pos, column);
}

void RowStart(TextPos& pos) { SetColumn(pos, 0); }

void RowEnd(TextPos& pos) {
  pos.index = LineOf(pos).SegmentEnd(pos.segment);
  Normalize(pos);
}

void DocumentStart(TextPos& pos) {
  pos.line = 0;
  pos.index = 0;
  pos.segment = 0;
  pos.visualColumn = 0;
}

void DocumentEnd(TextPos& pos) {
  pos.line = pos.document->LineCount() - 1;
  pos.index = LineOf(pos).Length();
  Normalize(pos);
}

void WordLeft(TextPos& pos) {
  if (pos.index == 0) {
    if (pos.line == 0) return;
    --pos.line;
    pos.index = LineOf(pos).Length();
  }
  const Line& line = LineOf(pos);
  const int i = std::min(pos.index, line.Length());
  pos.index = SkipBack(pos, line, SkipBack(pos, line, i, false), true);
  Normalize(pos);
}

void WordRight(TextPos& pos) {
  if (pos.index >= LineOf(pos).Length()) {
    if (pos.line + 1 >= pos.document->LineCount()) return;
    ++pos.line;
    pos.index = 0;
  }
  const Line& line = LineOf(pos);
  pos.index = SkipForward(pos, line, SkipForward(pos, line, pos.index, true), false);
  Normalize(pos);
}
