// Lines that name a place in a file, as compilers, grep and Find in Files write them: reading
// the place from a line, and finding such lines in a document.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class Document;

struct Location {
  std::wstring path;  // as the line writes it, slashes and all
  int line = 1;       // counted from 1
  int column = 0;     // in characters, counted from 1; 0 when the line names none
};

// The place a line names in one of the forms "path(line): ...", "path(line,column): ...",
// "path:line: ..." and "path:line:column: ..." (leading blanks and the "In file included
// from" and indented "from" of an include chain are passed over, and there "path:line," counts
// too); none for any other line. The path may hold
// blanks and parentheses but no character that a file name cannot hold, must not end in a
// blank and, before a colon, must not be a bare number, so that times are not taken for places.
std::optional<Location> ParseLocation(std::wstring_view text);

// The index (in UTF-16 units) where a 1-based character column begins in line; a surrogate
// pair is one character. Columns beyond the line give its end, 0 or less its start.
int IndexOfColumn(std::wstring_view line, int column);

// The first line after from (forward) or the last before it whose text names a place; -1 when
// there is none. from may lie outside the document (-1 searches forward from the first line).
int FindLocationLine(const Document& document, int from, bool forward);
