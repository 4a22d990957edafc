// Recognising a file's encoding and converting between it and UTF-16.
#include "text/TextFormat.h"

#include <cstdint>

#include "text/ByteScan.h"
#include "text/CodePage.h"

namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

bool StartsWith(const char* bytes, std::size_t count, const char* prefix, std::size_t length) {
  if (count < length) return false;
  for (std::size_t i = 0; i < length; ++i)
    if (bytes[i] != prefix[i]) return false;
  return true;
}

unsigned char Byte(const char* bytes, std::size_t i) { return static_cast<unsigned char>(bytes[i]); }

// The length of the valid UTF-8 sequence at bytes[i], or 0 when it is not one: no overlong
// forms, no surrogates, nothing beyond U+10FFFF.
std::size_t SequenceLength(const char* bytes, std::size_t count, std::size_t i) {
  const unsigned char lead = Byte(bytes, i);
  if (lead < 0x80) return 1;
  std::size_t length;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (count - i < length) return 0;
  if (Byte(bytes, i + 1) < low || Byte(bytes, i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if ((Byte(bytes, i + k) & 0xC0) != 0x80) return 0;
  return length;
}

// Valid UTF-8 holding at least one multi-byte sequence (or any valid UTF-8 when anyValid).
bool IsUtf8(const char* bytes, std::size_t count, bool anyValid) {
  const Utf8Check check = CheckUtf8(bytes, count, 0, count);
  return !check.invalid && (check.multiByte || anyValid);
}

std::size_t DecodeUtf8(const char* bytes, std::size_t count, wchar_t* out) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < count;) {
    const unsigned char lead = Byte(bytes, i);
    if (lead < 0x80) {
      out[n++] = static_cast<wchar_t>(lead);
      ++i;
      continue;
    }
    std::size_t length = SequenceLength(bytes, count, i);
    if (length == 0) {  // not reached for checked input; kept safe all the same
      out[n++] = static_cast<wchar_t>(replacementCharacter);
      ++i;
      continue;
    }
    char32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (Byte(bytes, i + k) & 0x3F);
    i += length;
    if (code >= 0x10000) {
      code -= 0x10000;
      out[n++] = static_cast<wchar_t>(0xD800 + (code >> 10));
      out[n++] = static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    } else {
      out[n++] = static_cast<wchar_t>(code);
    }
  }
  return n;
}

std::size_t DecodeUtf16(const char* bytes, std::size_t count, bool bigEndian, wchar_t* out) {
  const std::size_t units = count / 2;
  for (std::size_t i = 0; i < units; ++i) {
    unsigned first = Byte(bytes, 2 * i), second = Byte(bytes, 2 * i + 1);
    out[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return units;
}

// False when a lone surrogate had to be written as U+FFFD.
bool AppendUtf8(const wchar_t* text, std::size_t count, std::string& out) {
  bool exact = true;
  for (std::size_t i = 0; i < count; ++i) {
    char32_t code = static_cast<std::uint32_t>(text[i]) & 0xFFFF;
    if (code < 0x80) {
      out += static_cast<char>(code);
      continue;
    }
    if (IsHighSurrogate(code) && i + 1 < count &&
        IsLowSurrogate(static_cast<std::uint32_t>(text[i + 1]) & 0xFFFF)) {
      code = 0x10000 + ((code - 0xD800) << 10) + ((static_cast<std::uint32_t>(text[++i]) & 0xFFFF) - 0xDC00);
    } else if (IsHighSurrogate(code) || IsLowSurrogate(code)) {
      code = replacementCharacter;
      exact = false;
    }
    if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return exact;
}

void AppendUtf16(const wchar_t* text, std::size_t count, bool bigEndian, std::string& out) {
  for (std::size_t i = 0; i < count; ++i) {
    auto unit = static_cast<std::uint32_t>(text[i]) & 0xFFFF;
    char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
}

}  // namespace

bool IsAscii(const char* bytes, std::size_t count) {
  unsigned char all = 0;
  for (std::size_t i = 0; i < count; ++i) all |= static_cast<unsigned char>(bytes[i]);
  return all < 0x80;
}

std::string ByteOrderMark(Encoding encoding) {
  switch (encoding) {
    case Encoding::utf8: return "\xEF\xBB\xBF";
    case Encoding::utf16le: return "\xFF\xFE";
    case Encoding::utf16be: return "\xFE\xFF";
    case Encoding::codePage: break;
  }
  return {};
}

Utf8Check CheckUtf8(const char* bytes, std::size_t count, std::size_t from, std::size_t to) {
  Utf8Check check{from, false, false};
  while (check.end < to) {
    if (Byte(bytes, check.end) < 0x80) {
      check.end = static_cast<std::size_t>(bytescan::FindNonAscii(bytes + check.end, bytes + to) - bytes);
      continue;
    }
    const std::size_t length = SequenceLength(bytes, count, check.end);
    if (length == 0) {
      check.invalid = true;
      return check;
    }
    check.multiByte = true;
    check.end += length;
  }
  return check;
}

DetectedFormat DetectFormat(const char* bytes, std::size_t count) {
  for (Encoding encoding : {Encoding::utf8, Encoding::utf16le, Encoding::utf16be}) {
    const std::string bom = ByteOrderMark(encoding);
    if (!StartsWith(bytes, count, bom.data(), bom.size())) continue;
    const std::size_t rest = count - bom.size();
    bool readable = encoding == Encoding::utf8 ? IsUtf8(bytes + bom.size(), rest, true)
                                               : rest % 2 == 0;
    if (readable) return {{encoding, true, false}, bom.size()};
    break;
  }
  if (IsUtf8(bytes, count, false)) return {{Encoding::utf8, false, false}, 0};
  return {};
}

std::size_t Decode(Encoding encoding, const char* bytes, std::size_t count, wchar_t* out) {
  switch (encoding) {
    case Encoding::utf8: return DecodeUtf8(bytes, count, out);
    case Encoding::utf16le: return DecodeUtf16(bytes, count, false, out);
    case Encoding::utf16be: return DecodeUtf16(bytes, count, true, out);
    case Encoding::codePage: break;
  }
  return codepage::ToWide(bytes, count, out);
}

bool AppendEncoded(Encoding encoding, const wchar_t* text, std::size_t count, std::string& out) {
  switch (encoding) {
    case Encoding::utf8: return AppendUtf8(text, count, out);
    case Encoding::utf16le: AppendUtf16(text, count, false, out); return true;
    case Encoding::utf16be: AppendUtf16(text, count, true, out); return true;
    case Encoding::codePage: break;
  }
  return codepage::AppendAnsi(text, count, out);
}
