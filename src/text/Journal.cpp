// Encoding and reading the records of a recovery journal, identifying saved files, and replaying
// a journal's changes onto a document.
#include "text/Journal.h"

#include <array>
#include <climits>

#include "platform/Platform.h"
#include "text/Document.h"
#include "text/Edit.h"
#include "text/TextPos.h"

namespace {

constexpr std::string_view headerTag = "FUMJ";
constexpr char changeTag = 'E';
// Version 1 hashed the saved file with FNV-1a and wrote every line break as CR LF after the
// line's own carriage returns; version 2 hashes it as FileStamp does and writes texts as
// TextBetween does.
constexpr std::uint32_t formatVersion = 2;
constexpr std::size_t recordPrefix = 8;  // the payload's length and its CRC-32

void PutU32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(value >> shift));
}

void PutU64(std::string& out, std::uint64_t value) {
  PutU32(out, static_cast<std::uint32_t>(value));
  PutU32(out, static_cast<std::uint32_t>(value >> 32));
}

// UTF-16 units, little-endian, after their count.
void PutText(std::string& out, std::wstring_view text) {
  PutU32(out, static_cast<std::uint32_t>(text.size()));
  for (wchar_t unit : text) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>((unit >> 8) & 0xFF));
  }
}

// Appends a record to out whose payload fill appends, then puts its length and CRC before it.
// When memory runs out, out is left as it was: a journal never holds part of a record.
template <typename Fill>
void AppendRecord(std::string& out, Fill fill) {
  const std::size_t start = out.size();
  try {
    out.append(recordPrefix, '\0');
    fill(out);
  } catch (...) {
    out.resize(start);
    throw;
  }
  const std::string_view payload = std::string_view(out).substr(start + recordPrefix);
  const std::uint32_t words[2] = {static_cast<std::uint32_t>(payload.size()), Crc32(payload)};
  for (std::size_t i = 0; i < recordPrefix; ++i)
    out[start + i] = static_cast<char>(words[i / 4] >> (8 * (i % 4)));
}

// Reads the fields of one payload; a read past its end leaves ok false for good.
class FieldReader {
 public:
  explicit FieldReader(std::string_view bytes) : bytes_(bytes) {}

  bool ok = true;
  bool AtEnd() const { return pos_ == bytes_.size(); }

  std::string_view Bytes(std::size_t count) {
    if (!ok || bytes_.size() - pos_ < count) {
      ok = false;
      return {};
    }
    std::string_view taken = bytes_.substr(pos_, count);
    pos_ += count;
    return taken;
  }
  std::uint32_t U32() {
    std::string_view b = Bytes(4);
    std::uint32_t value = 0;
    for (std::size_t i = b.size(); i-- > 0;) value = (value << 8) | static_cast<unsigned char>(b[i]);
    return value;
  }
  std::uint64_t U64() {
    std::uint64_t low = U32();
    return low | (static_cast<std::uint64_t>(U32()) << 32);
  }
  // A count or position: it must fit an int.
  int Int() {
    std::uint32_t value = U32();
    if (value > INT_MAX) ok = false;
    return ok ? static_cast<int>(value) : 0;
  }
  std::wstring Text() {
    std::uint32_t count = U32();
    if (!ok || (bytes_.size() - pos_) / 2 < count) {
      ok = false;
      return {};
    }
    std::string_view b = Bytes(std::size_t{count} * 2);
    std::wstring text(count, L'\0');
    for (std::size_t i = 0; i < count; ++i) {
      text[i] = static_cast<wchar_t>(static_cast<unsigned char>(b[2 * i]) |
                                     (static_cast<unsigned char>(b[2 * i + 1]) << 8));
    }
    return text;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

// The payload of the next whole record at pos, which moves past it; nullopt when the record is
// cut short or its checksum does not match.
std::optional<std::string_view> NextRecord(std::string_view bytes, std::size_t& pos) {
  FieldReader prefix(bytes.substr(pos));
  std::uint32_t length = prefix.U32();
  std::uint32_t crc = prefix.U32();
  std::string_view payload = prefix.Bytes(length);
  if (!prefix.ok || Crc32(payload) != crc) return std::nullopt;
  pos += recordPrefix + length;
  return payload;
}

std::optional<JournalContents> ParseHeader(std::string_view payload) {
  FieldReader fields(payload);
  JournalContents contents;
  if (fields.Bytes(headerTag.size()) != headerTag) return std::nullopt;
  contents.version = fields.U32();
  if (contents.version < 1 || contents.version > formatVersion) return std::nullopt;
  contents.savedKnown = fields.U32() != 0;
  contents.saved.size = fields.U64();
  contents.saved.writeTime = fields.U64();
  contents.saved.hash = fields.U64();
  contents.saved.path = fields.Text();
  contents.name = fields.Text();
  if (!fields.ok || !fields.AtEnd()) return std::nullopt;
  return contents;
}

std::optional<JournalChange> ParseChange(std::string_view payload) {
  FieldReader fields(payload);
  JournalChange change;
  if (fields.Bytes(1) != std::string_view(&changeTag, 1)) return std::nullopt;
  change.firstIndex = fields.Int();
  change.firstLine = fields.Int();
  change.secondIndex = fields.Int();
  change.secondLine = fields.Int();
  change.text = fields.Text();
  if (!fields.ok || !fields.AtEnd()) return std::nullopt;
  return change;
}

// Hands the file to consume block by block; false when it cannot be opened or read whole.
template <typename Consume>
bool ReadWhole(const std::wstring& path, Consume consume) {
  platform::File file(platform::OpenForReading(path));
  if (!file.IsOpen()) return false;
  std::array<char, 65536> block;
  for (;;) {
    std::uint32_t got = 0;
    if (!platform::ReadFile(file.Get(), block.data(), block.size(), got)) return false;
    if (got == 0) return true;
    consume(std::string_view(block.data(), got));
  }
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (char ch : bytes) crc = table[(crc ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::uint64_t Fnv1a64(std::string_view bytes, std::uint64_t hash) {
  for (char ch : bytes) {
    hash ^= static_cast<unsigned char>(ch);
    hash *= 1099511628211ULL;
  }
  return hash;
}

std::string EncodeJournalHeader(const FileStamp& saved, const std::wstring& name) {
  std::string record;
  AppendRecord(record, [&](std::string& payload) {
    payload += headerTag;
    PutU32(payload, formatVersion);
    PutU32(payload, 1);  // the saved bytes are known
    PutU64(payload, saved.size);
    PutU64(payload, saved.writeTime);
    PutU64(payload, saved.hash);
    PutText(payload, saved.path);
    PutText(payload, name);
  });
  return record;
}

void AppendJournalChange(std::string& out, int firstIndex, int firstLine, int secondIndex,
                         int secondLine, std::wstring_view text) {
  AppendRecord(out, [&](std::string& payload) {
    payload.push_back(changeTag);
    for (int value : {firstIndex, firstLine, secondIndex, secondLine})
      PutU32(payload, static_cast<std::uint32_t>(value));
    PutText(payload, text);
  });
}

namespace {

// A text of the first version in the form TextBetween writes: of the k carriage returns before
// a line feed, k - 1 were the line's own.
std::wstring FromFirstVersion(std::wstring_view text) {
  std::wstring converted;
  std::size_t returns = 0;
  for (wchar_t ch : text) {
    if (ch == L'\r') {
      ++returns;
      continue;
    }
    if (ch == L'\n') returns = returns > 0 ? 2 * returns - 1 : 0;
    converted.append(returns, L'\r');
    converted += ch;
    returns = 0;
  }
  return converted.append(returns, L'\r');
}

}  // namespace

std::optional<JournalContents> ParseJournal(std::string_view bytes) {
  std::size_t pos = 0;
  std::optional<std::string_view> header = NextRecord(bytes, pos);
  std::optional<JournalContents> contents = header ? ParseHeader(*header) : std::nullopt;
  if (!contents) return std::nullopt;
  while (std::optional<std::string_view> payload = NextRecord(bytes, pos)) {
    std::optional<JournalChange> change = ParseChange(*payload);
    if (!change) break;
    if (contents->version == 1) change->text = FromFirstVersion(change->text);
    contents->changes.push_back(std::move(*change));
  }
  return contents;
}

std::optional<JournalContents> ReadJournal(const std::wstring& path) {
  std::string bytes;
  if (!ReadWhole(path, [&](std::string_view block) { bytes += block; })) return std::nullopt;
  return ParseJournal(bytes);
}

bool SavedFileUnchanged(const JournalContents& journal) {
  if (!journal.savedKnown || journal.saved.path.empty()) return false;
  if (journal.version >= 2) {
    const std::optional<FileStamp> now = ReadFileStamp(journal.saved.path);
    return now && SameBytes(*now, journal.saved);
  }
  std::uint64_t hash = Fnv1a64({}), size = 0;
  const bool read = ReadWhole(journal.saved.path, [&](std::string_view block) {
    hash = Fnv1a64(block, hash);
    size += block.size();
  });
  return read && size == journal.saved.size && hash == journal.saved.hash;
}

void ReplayJournal(Document& document, const std::vector<JournalChange>& changes) {
  bool first = true;
  {
    // The document's state is told of once, after the last change.
    EditBatch batch(document);
    for (const JournalChange& change : changes) {
      // A change that changes nothing would still mark the text modified before the first step.
      if (change.text.empty() && change.firstIndex == change.secondIndex &&
          change.firstLine == change.secondLine)
        continue;
      TextPos from(document), to(document);
      SetPos(from, change.firstIndex, change.firstLine);
      SetPos(to, change.secondIndex, change.secondLine);
      ReplaceText(document, from, to, change.text, (first ? editOther : editContinue) | editCrLfBreaks);
      first = false;
    }
  }
  if (!first) document.NotifyStateChanged();
}
