// A position in a document's text: line and character index, with the wrap segment and visual
// column that show it.
#pragma once

#include <memory>
#include <vector>

#include "text/ColourRun.h"

class Document;

struct TextPos {
  Document* document = nullptr;  // not owned
  int line = 0;                  // 0 <= line < number of lines
  int index = 0;                 // 0 <= index <= text length
  int segment = 0;               // the wrap segment that shows index
  int visualColumn = 0;          // column of index in its segment, counting the segment's start
  // The colour runs of the line, while the position serves as the highlighter's row cursor.
  // Never copied: a copy has none.
  std::unique_ptr<std::vector<ColourRun>> runs;

  TextPos() = default;
  explicit TextPos(Document& doc) : document(&doc) {}
  TextPos(const TextPos& other)
      : document(other.document), line(other.line), index(other.index), segment(other.segment),
        visualColumn(other.visualColumn) {}
  TextPos& operator=(const TextPos& other) {
    document = other.document;
    line = other.line;
    index = other.index;
    segment = other.segment;
    visualColumn = other.visualColumn;
    runs.reset();
    return *this;
  }
  TextPos(TextPos&&) = default;
  TextPos& operator=(TextPos&&) = default;
};

// Positions compare by line, then character index.
inline bool IsBefore(const TextPos& a, const TextPos& b) {
  return a.line < b.line || (a.line == b.line && a.index < b.index);
}
inline bool SamePlace(const TextPos& a, const TextPos& b) {
  return a.line == b.line && a.index == b.index;
}

// Clamps line and index into the text, then Normalize.
void SetPos(TextPos& pos, int index, int line);
// Clamps the index into its line and shows it on the first segment whose end is at or after it:
// an index equal to a segment's end shows at the end of that segment.
void Normalize(TextPos& pos);
// The visual column of the index on the position's segment (one segment back when the index
// lies before the segment's start).
void ComputeVisualColumn(TextPos& pos);
// One character left (with its zero-width marks, both units of a surrogate pair); from the
// start of a line to the end of the previous one. Onto a segment end the later segment is kept.
void MoveLeft(TextPos& pos);
// One character right (with its zero-width marks, both units of a surrogate pair); from the end
// of a line to the start of the next one. Onto a segment end the earlier segment is kept.
void MoveRight(TextPos& pos);
void MoveToLineEnd(TextPos& pos);
// Moves a position that lies inside a character (between the units of a surrogate pair, or
// before a mark of the character) to the character's end (forward) or its start.
void KeepCharacterWhole(TextPos& pos, bool forward);
// The character at the position, or 0 at the end of the line.
wchar_t CharAt(const TextPos& pos);
// The visual row of the position in the document.
int AbsoluteRow(const TextPos& pos);
