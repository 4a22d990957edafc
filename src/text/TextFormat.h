// The form a document's file is kept in: its encoding, byte-order mark and line end.
#pragma once

#include <cstddef>
#include <string>

enum class Encoding : unsigned char {
  codePage,  // the system's ANSI code page, never with a byte-order mark
  utf8,
  utf16le,   // always with a byte-order mark
  utf16be,   // always with a byte-order mark
};

struct TextFormat {
  Encoding encoding = Encoding::codePage;
  bool bom = false;       // the file starts with the encoding's byte-order mark
  bool lineFeed = false;  // lines end in a line feed alone instead of carriage return and line feed
  friend bool operator==(const TextFormat&, const TextFormat&) = default;
};

// How a file's bytes are to be read: its format as far as the bytes tell, and the number of
// byte-order-mark bytes at its start. The line end is left at carriage return and line feed.
struct DetectedFormat {
  TextFormat format;
  std::size_t bomBytes = 0;
};
// A file is UTF-8 when it starts with the UTF-8 byte-order mark and is valid UTF-8 after it, or
// when it is valid UTF-8 with at least one multi-byte sequence; UTF-16 when it starts with a
// UTF-16 byte-order mark and has an even number of bytes; in the code page otherwise, so that
// every file that is only read and saved comes back byte for byte.
DetectedFormat DetectFormat(const char* bytes, std::size_t count);

// The UTF-8 sequences of bytes[0, count) that start in [from, to), checked in order until one
// is not valid UTF-8: end is where the check stopped (the first sequence boundary at or after
// to, or the invalid sequence), invalid tells whether one was found and multiByte whether a
// sequence of more than one byte came before it. A sequence cut off by count is invalid.
struct Utf8Check {
  std::size_t end;
  bool invalid;
  bool multiByte;
};
Utf8Check CheckUtf8(const char* bytes, std::size_t count, std::size_t from, std::size_t to);

// Converts count bytes of a file's content (after the byte-order mark) in the given encoding to
// UTF-16 units written to out, which has room for count units; returns the number written. UTF-8
// must be valid (DetectFormat checked it); a last odd byte of UTF-16 is ignored.
std::size_t Decode(Encoding encoding, const char* bytes, std::size_t count, wchar_t* out);
// Appends the bytes of count UTF-16 units in the given encoding. The code page writes what it
// cannot represent as its default character; UTF-8 writes a lone surrogate as U+FFFD. True when
// nothing had to be replaced.
bool AppendEncoded(Encoding encoding, const wchar_t* text, std::size_t count, std::string& out);
// True when no byte has its high bit set.
bool IsAscii(const char* bytes, std::size_t count);
// The byte-order mark of an encoding, empty for the code page.
std::string ByteOrderMark(Encoding encoding);
