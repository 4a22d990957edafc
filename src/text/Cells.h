// The cells characters take on the editor's grid, the steps over whole characters and the
// visual columns of text. A character is a code point (a surrogate pair is one) together with
// the zero-width characters that follow it: they are drawn with it, take no cell of their own,
// and the caret, a deletion or a wrap never parts them from it. A tab is a character of its
// own and takes no marks; a zero-width character at the start of a line or after a tab stands
// alone in one cell.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/NarrowText.h"

struct CodePointRange {
  char32_t first;
  char32_t last;
};

// The visual column after a tab standing at column, for the given tab size.
inline int NextTabStop(int column, int tabSize) { return column + tabSize - column % tabSize; }

// The cells a code point takes: none for combining marks (which include the variation
// selectors) and the zero-width joiner and non-joiner, two for East Asian wide and fullwidth
// characters, one for every other.
int CodePointCells(char32_t c);
// The Unicode version the table of cells was made from.
const char* CellTableVersion();

namespace cells {

// Below this unit every unit is a whole character of one cell: the first combining marks
// start here, and nothing before them is wide.
constexpr std::uint32_t firstSpecialUnit = 0x300;

// The cells of a unit that is not a surrogate; 1 for a surrogate.
int OfUnit(std::uint32_t unit);

inline bool IsHighSurrogate(std::uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
inline bool IsLowSurrogate(std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }
inline std::uint32_t Unit(wchar_t ch) { return static_cast<std::uint32_t>(ch) & 0xFFFF; }

// True when the unit is a whole character of one cell wherever it stands (no surrogate, no
// zero-width character, nothing wide).
inline bool IsSingleCellUnit(std::uint32_t unit) {
  return unit < firstSpecialUnit || (!IsHighSurrogate(unit) && !IsLowSurrogate(unit) && OfUnit(unit) == 1);
}

// The code point at i, advancing i past it (both units of a pair; a lone surrogate is one).
template <typename Text>
char32_t ReadCodePoint(const Text& text, std::size_t& i) {
  const std::uint32_t unit = Unit(text[i++]);
  if (IsHighSurrogate(unit) && i < text.size()) {
    const std::uint32_t low = Unit(text[i]);
    if (IsLowSurrogate(low)) {
      ++i;
      return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
  }
  return unit;
}

// The start of the code point that ends at i (i > 0).
template <typename Text>
std::size_t CodePointStartBefore(const Text& text, std::size_t i) {
  --i;
  if (i > 0 && IsLowSurrogate(Unit(text[i])) && IsHighSurrogate(Unit(text[i - 1]))) --i;
  return i;
}

inline int CellsOf(char32_t c) { return c < 0x10000 ? OfUnit(c) : CodePointCells(c); }

}  // namespace cells

// The highest of count units (0 for none).
std::uint32_t HighestUnit(const wchar_t* units, std::size_t count);

// True when every unit of text[from, to) is a whole character of one cell: the text then lays
// out one unit to a cell, as code page text always did. A narrow line of a code page without
// combining marks answers at once.
bool AllSingleCells(const wchar_t* units, std::size_t count);
inline bool AllSingleCells(std::wstring_view text, std::size_t from, std::size_t to) {
  return AllSingleCells(text.data() + from, to - from);
}
inline bool AllSingleCells(const NarrowText& text, std::size_t from, std::size_t to) {
  if (text.SingleCells()) return true;
  for (std::size_t i = from; i < to; ++i)
    if (!cells::IsSingleCellUnit(cells::Unit(text[i]))) return false;
  return true;
}

// A character's extent: its units and the cells it takes (a tab counts one here).
struct CharacterSpan {
  int units = 1;
  int cells = 1;
};

// The character that starts at i (i before the end).
template <typename Text>
CharacterSpan CharacterAt(const Text& text, std::size_t i) {
  const std::size_t size = text.size();
  const std::uint32_t first = cells::Unit(text[i]);
  if (first < cells::firstSpecialUnit &&
      (i + 1 >= size || cells::Unit(text[i + 1]) < cells::firstSpecialUnit))
    return {};
  std::size_t end = i;
  const char32_t base = cells::ReadCodePoint(text, end);
  if (base == U'\t') return {};
  int width = cells::CellsOf(base);
  if (width == 0) width = 1;  // a mark with nothing to sit on
  while (end < size) {
    std::size_t next = end;
    if (cells::CellsOf(cells::ReadCodePoint(text, next)) != 0) break;
    end = next;
  }
  return {static_cast<int>(end - i), width};
}

// The start of the character that ends at i (i > 0, at a character boundary).
template <typename Text>
std::size_t CharacterStartBefore(const Text& text, std::size_t i) {
  std::size_t start = i;
  for (;;) {
    start = cells::CodePointStartBefore(text, start);
    if (start == 0) return 0;
    std::size_t next = start;
    if (cells::CellsOf(cells::ReadCodePoint(text, next)) != 0 || text[start - 1] == L'\t')
      return start;
  }
}

// True when i is the start or end of a character: not between the units of a pair, nor before
// a zero-width character that belongs to the character before it.
template <typename Text>
bool IsCharacterBoundary(const Text& text, std::size_t i) {
  if (i == 0 || i >= text.size()) return true;
  const std::uint32_t unit = cells::Unit(text[i]);
  if (unit < cells::firstSpecialUnit) return true;
  if (cells::IsLowSurrogate(unit) && cells::IsHighSurrogate(cells::Unit(text[i - 1]))) return false;
  std::size_t next = i;
  return cells::CellsOf(cells::ReadCodePoint(text, next)) != 0 || text[i - 1] == L'\t';
}

// The visual column reached from column over the characters that lie wholly in [from, to):
// a tab to the next tab stop, every other character by its cells.
template <typename Text>
int ColumnAfter(const Text& text, std::size_t from, std::size_t to, int column, int tabSize) {
  std::size_t i = from;
  // The unit at to tells whether to ends a character.
  if (AllSingleCells(text, from, std::min(to + 1, text.size()))) {
    for (; i < to; ++i) column = text[i] == L'\t' ? NextTabStop(column, tabSize) : column + 1;
    return column;
  }
  while (i < to) {
    if (text[i] == L'\t') {
      column = NextTabStop(column, tabSize);
      ++i;
      continue;
    }
    const CharacterSpan character = CharacterAt(text, i);
    if (i + static_cast<std::size_t>(character.units) > to) break;
    column += character.cells;
    i += static_cast<std::size_t>(character.units);
  }
  return column;
}

// Passes whole characters from index from, standing at column, while the column is below
// target and the index before end; returns the index reached and sets column to its visual
// column. A target inside a tab or a wide character lands after it.
template <typename Text>
std::size_t PassColumns(const Text& text, std::size_t from, std::size_t end, int& column,
                        int target, int tabSize) {
  std::size_t i = from;
  while (column < target && i < end) {
    if (text[i] == L'\t') {
      column = NextTabStop(column, tabSize);
      ++i;
    } else {
      const CharacterSpan character = CharacterAt(text, i);
      column += character.cells;
      i += static_cast<std::size_t>(character.units);
    }
  }
  return i;
}

// The whole characters of a run of text from index from (before the end of text): the first
// one, then more up to limit (a character that reaches beyond it is taken whole) or a tab
// while fewer than maxCells cells are taken.
template <typename Text>
CharacterSpan SpanOfCells(const Text& text, std::size_t from, std::size_t limit, int maxCells) {
  CharacterSpan span = CharacterAt(text, from);
  std::size_t i = from + static_cast<std::size_t>(span.units);
  while (i < limit && span.cells < maxCells && text[i] != L'\t') {
    const CharacterSpan character = CharacterAt(text, i);
    span.units += character.units;
    span.cells += character.cells;
    i += static_cast<std::size_t>(character.units);
  }
  return span;
}
