// Fast conversion between the system's ANSI code page and UTF-16 for the text file streams.
#pragma once

#include <cstddef>
#include <string>

namespace codepage {

// Converts count bytes and writes the UTF-16 units to out, which has room for count units
// (no code page yields more units than bytes). Returns the number of units written.
std::size_t ToWide(const char* bytes, std::size_t count, wchar_t* out);

// Appends the code page bytes of count UTF-16 units to out; what the code page cannot
// represent becomes its default character (or a look-alike). True when every character was
// stored as itself: the bytes read back give the same units.
bool AppendAnsi(const wchar_t* text, std::size_t count, std::string& out);

// True for a single-byte code page: every byte is one unit and ToWide converts byte by byte, so
// a line may be kept in its file's bytes and widened when needed.
bool IsSingleByte();
// True for a single-byte code page in which every byte converted to its unit and back is the
// same byte, so that a line's characters written back give the bytes it was read from.
bool BytesComeBack();
// True when the bytes below 0x80 stand for the same units.
bool IsAsciiIdentity();
// The unit of one byte of a single-byte code page.
wchar_t WideOf(unsigned char byte);

// How a single-byte code page reads bytes, for readers of a narrow line's bytes.
struct ByteUnits {
  wchar_t unit[256] = {};  // the unit of each byte
  // The bytes below 0x80 stand for the same units and no other byte stands for one of them, so
  // that a search for such a unit may search for its byte.
  bool asciiExact = false;
  // Every byte stands for a whole character of one cell: no byte is a combining mark (as a
  // few code pages have) or wide, so the page's text lays out one byte to a cell.
  bool singleCells = false;
};
const ByteUnits& Units();

}  // namespace codepage
