// Word wrap, tab expansion and the conversions between lines and visual rows.
#pragma once

#include <cstdint>
#include <string_view>

#include "text/Cells.h"

class Document;
class Line;
struct TextClass;

// Recomputes the line's segment ends for the document's settings and
// wrap width, and its highlighter end state when the document has highlighting (highlightState
// holds the state the line starts with and receives the state it ends with). Returns the new
// number of segments minus the old one; the caller adds it to the row totals of this and later
// lines.
int LayoutLine(const Document& document, Line& line, std::uint32_t& highlightState);

// Makes a line of text, inserts it before line index at and lays it out; adds its number of
// segments to rowAccumulator. The row totals are the caller's.
Line& ConstructLine(Document& document, int at, std::wstring_view text, int& rowAccumulator,
                    std::uint32_t& highlightState);

// The wrap width while word wrap is on, else the tab-expanded width of the line.
int LineWidth(const Document& document, const Line& line);
// Width of the line's leading spaces and tabs in visual columns; 0 when continuation rows
// indented this far would leave no room before the wrap width. Reads a narrow line without
// widening it, and only as far as its first other character.
int IndentWidth(const Document& document, const Line& line);
// The visual column segment k starts at: 0 for the first segment, the continuation indent for
// the others (indent width + relindent, or 0 when that leaves no room before the wrap width),
// the indent width for k = -1.
int SegmentStartColumn(const Document& document, const Line& line, int k);

// The number of visual rows of the lines before line.
int RowsBefore(const Document& document, int line);
// The line that holds visual row row. A negative row becomes 0; a row at or beyond the last
// one becomes the last row, and the last line is returned.
int LineOfRow(const Document& document, int& row);

// Takes the widest line from the line widths (the wrap width while word wrap is on).
void UpdateWidestLine(Document& document);

// Lays the whole document out again for settings and wrapWidth and takes a copy of settings.
// False, and nothing done, when neither the tab size, the wrap flag, the relative indent, the
// resulting wrap width nor (under word wrap) the automatic indent changed.
bool Relayout(Document& document, const TextClass& settings, int wrapWidth);

// Lays the whole document out for its own settings and wrap width, whatever changed: for
// when the document's class settings were replaced.
void LayoutDocument(Document& document);

// The word-boundary test of the document: used by word wrap and word-wise caret moves.
bool IsDelimiter(const Document& document, wchar_t ch);

// Computes the state a line ends in from the state it is entered with, through the document's
// highlighting. state holds the full state word of the previous line (0 before the first line)
// and receives this line's word. True when the line's word changed; false, and nothing done,
// without highlighting. Called whenever a line is laid out, and for the lines after an edit
// while their end states keep changing.
bool ComputeLineEndState(const Document& document, Line& line, std::uint32_t& state);

// The construct position of the line at index, found again from its text and the state it is
// entered with where the line keeps it only as far (see Line::ConstructPosition).
int ConstructPositionOf(const Document& document, int index);
