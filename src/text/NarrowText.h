// A narrow line's bytes read as UTF-16 units, each through the single-byte code page's table,
// for readers that look at a line's characters without widening it (layout, highlighter states).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "text/ByteScan.h"
#include "text/CodePage.h"

// Reads like a std::wstring_view of the line's units: the same size, indexing and find.
class NarrowText {
 public:
  static constexpr std::size_t npos = std::wstring_view::npos;

  explicit NarrowText(std::string_view bytes) : bytes_(bytes), units_(&codepage::Units()) {}

  std::size_t size() const { return bytes_.size(); }
  // True when every byte of the code page is a whole character of one cell.
  bool SingleCells() const { return units_->singleCells; }
  wchar_t operator[](std::size_t i) const {
    return units_->unit[static_cast<unsigned char>(bytes_[i])];
  }

  // The index of the first unit equal to unit at or after from, or npos.
  std::size_t find(wchar_t unit, std::size_t from = 0) const {
    if (from >= bytes_.size()) return npos;
    if (units_->asciiExact && static_cast<std::uint32_t>(unit) < 0x80) {
      const char* start = bytes_.data();
      const void* found = std::memchr(start + from, static_cast<int>(unit), bytes_.size() - from);
      return found ? static_cast<std::size_t>(static_cast<const char*>(found) - start) : npos;
    }
    for (std::size_t i = from; i < bytes_.size(); ++i)
      if ((*this)[i] == unit) return i;
    return npos;
  }

  // The index of the first unit at or after from that is one of units, or npos.
  std::size_t find_first_of(std::wstring_view units, std::size_t from = 0) const {
    // When the bytes of the units are theirs alone, a bit per byte marks the bytes looked for.
    std::uint64_t marked[4] = {};
    bool byBytes = units_->asciiExact;
    char values[8];
    int count = 0;
    for (wchar_t unit : units) {
      const auto u = static_cast<std::uint32_t>(unit);
      if (u >= 0x80) byBytes = false;
      else marked[u >> 6] |= std::uint64_t{1} << (u & 63);
      if (count < 8) values[count] = static_cast<char>(u);
      ++count;
    }
    if (from >= bytes_.size()) return npos;
    if (byBytes && count <= 8) {
      // A few bytes looked for, as the highlighter's openers are: sixteen bytes at a time.
      const char* start = bytes_.data();
      const char* found = bytescan::FindAnyOf(start + from, start + bytes_.size(), values, count);
      return found == start + bytes_.size() ? npos : static_cast<std::size_t>(found - start);
    }
    for (std::size_t i = from; i < bytes_.size(); ++i) {
      const auto b = static_cast<unsigned char>(bytes_[i]);
      if (byBytes ? (marked[b >> 6] >> (b & 63)) & 1 : units.find(units_->unit[b]) != npos) return i;
    }
    return npos;
  }

  // The index of the first occurrence of token at or after from, or npos; an empty token is
  // found at from when from lies within the text, as in a std::wstring_view.
  std::size_t find(std::wstring_view token, std::size_t from = 0) const {
    if (token.empty()) return from <= size() ? from : npos;
    for (std::size_t i = find(token[0], from); i != npos && size() - i >= token.size();
         i = find(token[0], i + 1)) {
      std::size_t k = 1;
      while (k < token.size() && (*this)[i + k] == token[k]) ++k;
      if (k == token.size()) return i;
    }
    return npos;
  }

 private:
  std::string_view bytes_;
  const codepage::ByteUnits* units_;
};
