// Conversion tables built once from the platform's own conversion. For a single-byte code page
// every byte stands for one unit and every unit for one byte, independently of its neighbours,
// so a table lookup gives exactly what the platform gives for a whole line without a call and
// an allocation per line. Multi-byte code pages, and surrogates when writing, take the
// platform's path.
#include "text/CodePage.h"

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "text/Cells.h"

namespace codepage {
namespace {

constexpr std::size_t unitCount = 0x10000;
constexpr std::uint32_t surrogateFirst = 0xD800, surrogateLast = 0xDFFF;

struct Tables {
  bool singleByte = false;
  bool bytesComeBack = false;  // every byte converted to its unit and back is the same byte
  bool asciiIdentity = false;  // the bytes below 0x80 stand for the same units
  ByteUnits bytes;
  std::unique_ptr<unsigned char[]> ansi;  // unitCount entries; surrogates are not looked up
};

bool IsSurrogate(wchar_t ch) {
  auto c = static_cast<std::uint32_t>(ch);
  return c >= surrogateFirst && c <= surrogateLast;
}

Tables Build() {
  Tables t;
  char bytes[256];
  for (int b = 0; b < 256; ++b) bytes[b] = static_cast<char>(b);
  // Converted in one piece: in a multi-byte code page some pairs join into one character.
  std::wstring all = platform::AnsiToWide(bytes, 256);
  if (all.size() != 256) return t;
  for (int b = 0; b < 256; ++b) {
    std::wstring one = platform::AnsiToWide(bytes + b, 1);
    if (one.size() != 1 || one[0] != all[b]) return t;
    t.bytes.unit[b] = all[b];
  }
  // Every unit but the surrogates in one piece; neighbours cannot influence each other here.
  std::vector<wchar_t> units;
  units.reserve(unitCount);
  for (std::uint32_t c = 0; c < unitCount; ++c)
    if (c < surrogateFirst || c > surrogateLast) units.push_back(static_cast<wchar_t>(c));
  std::string converted = platform::WideToAnsi(units.data(), units.size());
  if (converted.size() != units.size()) return t;
  t.ansi = std::make_unique<unsigned char[]>(unitCount);
  for (std::size_t i = 0; i < units.size(); ++i)
    t.ansi[static_cast<std::uint32_t>(units[i])] = static_cast<unsigned char>(converted[i]);
  t.singleByte = true;
  t.bytesComeBack = true;
  for (int b = 0; b < 256; ++b)
    if (t.ansi[static_cast<std::uint32_t>(t.bytes.unit[b]) & 0xFFFF] != b) t.bytesComeBack = false;
  t.asciiIdentity = true;
  for (int b = 0; b < 0x80; ++b)
    if (t.bytes.unit[b] != static_cast<wchar_t>(b)) t.asciiIdentity = false;
  t.bytes.asciiExact = t.asciiIdentity;
  for (int b = 0x80; b < 0x100; ++b)
    if (static_cast<std::uint32_t>(t.bytes.unit[b]) < 0x80) t.bytes.asciiExact = false;
  t.bytes.singleCells = AllSingleCells(t.bytes.unit, 256);
  return t;
}

const Tables& Get() {
  // Never destroyed: objects destroyed at exit still write text (the settings file is saved by
  // a static object's destructor), and a table built after that object was constructed would
  // otherwise be gone before it. Built again only when tests choose another code page.
  static const Tables* tables = nullptr;
  static unsigned builtFor = 0;
  const unsigned codePage = platform::CodePageId();
  if (!tables || builtFor != codePage) {
    tables = new Tables(Build());
    builtFor = codePage;
  }
  return *tables;
}

}  // namespace

// True when none of the 16 bytes at bytes has its high bit set.
static bool IsAsciiBlock(const char* bytes) {
  std::uint64_t a, b;
  std::memcpy(&a, bytes, 8);
  std::memcpy(&b, bytes + 8, 8);
  return ((a | b) & 0x8080808080808080ULL) == 0;
}

std::size_t ToWide(const char* bytes, std::size_t count, wchar_t* out) {
  const Tables& t = Get();
  if (t.singleByte) {
    // Every single-byte code page agrees with ASCII below 0x80 except for a few of long ago;
    // the table decides, and runs of bytes that map to themselves are widened directly.
    std::size_t i = 0;
    if (t.asciiIdentity) {
      for (; i + 16 <= count; i += 16) {
        if (IsAsciiBlock(bytes + i)) {
          for (std::size_t j = 0; j < 16; ++j)
            out[i + j] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i + j]));
        } else {
          for (std::size_t j = 0; j < 16; ++j)
            out[i + j] = t.bytes.unit[static_cast<unsigned char>(bytes[i + j])];
        }
      }
    }
    for (; i < count; ++i) out[i] = t.bytes.unit[static_cast<unsigned char>(bytes[i])];
    return count;
  }
  std::wstring text = platform::AnsiToWide(bytes, count);
  std::memcpy(out, text.data(), text.size() * sizeof(wchar_t));
  return text.size();
}

bool IsSingleByte() { return Get().singleByte; }
bool BytesComeBack() { return Get().bytesComeBack; }
bool IsAsciiIdentity() { return Get().asciiIdentity; }
wchar_t WideOf(unsigned char byte) { return Get().bytes.unit[byte]; }
const ByteUnits& Units() { return Get().bytes; }

bool AppendAnsi(const wchar_t* text, std::size_t count, std::string& out) {
  const Tables& t = Get();
  const std::size_t start = out.size();
  if (t.singleByte) {
    out.resize(start + count);
    char* to = out.data() + start;
    bool exact = true;
    std::size_t i = 0;
    for (; i < count && !IsSurrogate(text[i]); ++i) {
      const auto unit = static_cast<std::uint32_t>(text[i]) & 0xFFFF;
      const unsigned char byte = t.ansi[unit];
      to[i] = static_cast<char>(byte);
      exact = exact && static_cast<std::uint32_t>(t.bytes.unit[byte]) == unit;
    }
    if (i == count) return exact;
    out.resize(start);  // a surrogate pair converts as one character: the platform decides
  }
  out += platform::WideToAnsi(text, count);
  // Read back, the bytes must give the same units.
  const std::wstring back = platform::AnsiToWide(out.data() + start, out.size() - start);
  return back.size() == count && std::equal(back.begin(), back.end(), text);
}

}  // namespace codepage
