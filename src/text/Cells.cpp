// The table of cells: the generated ranges, and a lookup of two bits a unit for the Basic
// Multilingual Plane, which layout and painting ask for every character of a line.
#include "text/Cells.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

#include "text/CellWidthTable.inc"

bool InRanges(const CodePointRange* first, const CodePointRange* last, char32_t c) {
  const CodePointRange* found =
      std::upper_bound(first, last, c, [](char32_t value, const CodePointRange& range) {
        return value < range.first;
      });
  return found != first && c <= (found - 1)->last;
}

int CellsFromRanges(char32_t c) {
  if (InRanges(std::begin(zeroCellRanges), std::end(zeroCellRanges), c)) return 0;
  if (InRanges(std::begin(twoCellRanges), std::end(twoCellRanges), c)) return 2;
  return 1;
}

// Two bits for each unit of the plane: its cells (0, 1 or 2), built once from the ranges.
class UnitCells {
 public:
  UnitCells() {
    for (std::uint32_t u = cells::firstSpecialUnit; u < 0x10000; ++u)
      Set(u, CellsFromRanges(u));
    for (std::uint32_t u = 0; u < cells::firstSpecialUnit; ++u) Set(u, 1);
  }
  int Get(std::uint32_t unit) const { return (bits_[unit >> 2] >> ((unit & 3) * 2)) & 3; }

 private:
  void Set(std::uint32_t unit, int value) {
    bits_[unit >> 2] = static_cast<std::uint8_t>(
        (bits_[unit >> 2] & ~(3u << ((unit & 3) * 2))) | (static_cast<unsigned>(value) << ((unit & 3) * 2)));
  }
  std::array<std::uint8_t, 0x10000 / 4> bits_{};
};

const UnitCells& Table() {
  static const UnitCells table;
  return table;
}

}  // namespace

int CodePointCells(char32_t c) {
  if (c < 0x10000) return Table().Get(c);
  return CellsFromRanges(c);
}

const char* CellTableVersion() { return cellWidthUnicodeVersion; }

namespace cells {

int OfUnit(std::uint32_t unit) {
  if (unit < firstSpecialUnit) return 1;
  return Table().Get(unit & 0xFFFF);
}

}  // namespace cells

std::uint32_t HighestUnit(const wchar_t* units, std::size_t count) {
  // A loop the compiler turns into a few wide instructions.
  std::uint32_t highest = 0;
  for (std::size_t i = 0; i < count; ++i) highest = std::max(highest, cells::Unit(units[i]));
  return highest;
}

bool AllSingleCells(const wchar_t* units, std::size_t count) {
  // The highest unit first: the answer for almost every line of program source.
  if (HighestUnit(units, count) < cells::firstSpecialUnit) return true;
  for (std::size_t i = 0; i < count; ++i)
    if (!cells::IsSingleCellUnit(cells::Unit(units[i]))) return false;
  return true;
}
