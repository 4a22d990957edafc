// Upper-casing of single UTF-16 units through a table built once from the platform's own
// upper-casing of every unit, so that a search that ignores case costs a lookup per character.
#pragma once

#include <cstdint>

// The table: entry u is the upper-case form of the unit u, as the platform's buffer
// upper-casing gives it. Built at the first call; 65536 entries.
const std::uint16_t* UpperTable();

// The upper-case form of one unit through the table; in the native build wchar_t is wider
// than a UTF-16 unit, and anything beyond one stays as it is.
inline wchar_t UpperUnit(const std::uint16_t* table, wchar_t ch) {
  const auto unit = static_cast<std::uint32_t>(ch);
  return unit <= 0xFFFF ? static_cast<wchar_t>(table[unit]) : ch;
}
