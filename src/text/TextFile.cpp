// Loading reads the whole file into one block, recognises its encoding and line end, and makes a
// fresh line store, which takes the place of the document's lines only when the whole file was
// read. Where a byte stands for one unit (a single-byte code page, ASCII in UTF-8) the lines
// stay in the file's bytes, which the store then keeps; other lines are converted into its text
// arena. Saving writes the lines back in the same form, narrow lines as the bytes they were.
#include "text/TextFile.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "text/CodePage.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "text/LineWriter.h"
#include "text/UndoHistory.h"
#include "text/WordIndex.h"

namespace {

// A whole file's bytes in one large block.
class FileBytes {
 public:
  FileBytes() = default;
  ~FileBytes() { platform::FreeLargeBlock(memory_, capacity_); }
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  // False when the file could not be opened. A read error ends the file where it happened.
  bool Read(const std::wstring& path) {
    platform::FileHandle file = platform::OpenForReading(path);
    if (file == platform::invalidFile) return false;
    Reserve(platform::FileSize(file) + 1);
    for (;;) {
      if (size_ == capacity_) Reserve(capacity_ * 2);
      std::uint32_t got = 0;
      auto room = static_cast<std::uint32_t>(std::min<std::size_t>(capacity_ - size_, 1u << 30));
      if (!platform::ReadFile(file, memory_ + size_, room, got) || got == 0) break;
      size_ += got;
    }
    platform::CloseFile(file);
    return true;
  }
  const char* Data() const { return memory_; }
  std::size_t Size() const { return size_; }
  // Hands the block to a store that keeps lines in it.
  void MoveTo(LineStore& store) {
    store.AdoptBlock(memory_, capacity_);
    memory_ = nullptr;
    capacity_ = size_ = 0;
  }

 private:
  void Reserve(std::uint64_t bytes) {
    const std::size_t capacity = static_cast<std::size_t>(std::max<std::uint64_t>(bytes, 4096));
    auto* memory = static_cast<char*>(platform::AllocateLargeBlock(capacity));
    if (!memory) throw std::bad_alloc();
    if (size_ > 0) std::memcpy(memory, memory_, size_);
    platform::FreeLargeBlock(memory_, capacity_);
    memory_ = memory;
    capacity_ = capacity;
  }

  char* memory_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t size_ = 0;
};

// What loading carries from line to line; LoadText gives every member its start value.
struct Loading {
  const Document& document;
  Encoding encoding;
  bool narrow;  // lines may stay in the file's bytes
  bool keptBytes;  // some did
  LineStore store;
  std::vector<int> totals;
  int rows;
  std::uint32_t state;
  int widest;
};

// The first unit equal to ch in [from, to), or to; memchr for bytes, which searches fastest.
template <typename Unit>
const Unit* Find(const Unit* from, const Unit* to, char ch) {
  if constexpr (sizeof(Unit) == 1) {
    const void* found = std::memchr(from, ch, static_cast<std::size_t>(to - from));
    return found ? static_cast<const Unit*>(found) : to;
  } else {
    return std::find(from, to, Unit(ch));
  }
}

// Appends one line of count units (bytes, or UTF-16 units already decoded) to the store, its
// row total to the totals, and its width to the widest line while the line is fresh in the cache.
Line& StoreLine(Loading& loading, const char* bytes, std::size_t count) {
  if (loading.narrow && (loading.encoding == Encoding::codePage || IsAscii(bytes, count))) {
    loading.keptBytes = true;
    return loading.store.AppendNarrowLine(bytes, static_cast<int>(count));
  }
  wchar_t* text = loading.store.ArenaText(count);
  std::size_t length = Decode(loading.encoding, bytes, count, text);
  loading.store.ShrinkArenaText(text, length, count);
  return loading.store.AppendArenaLine(text, static_cast<int>(length));
}

Line& StoreLine(Loading& loading, const wchar_t* units, std::size_t count) {
  wchar_t* text = loading.store.ArenaText(count);
  std::copy(units, units + count, text);
  return loading.store.AppendArenaLine(text, static_cast<int>(count));
}

template <typename Unit>
void AppendLine(Loading& loading, const Unit* units, std::size_t count) {
  const Document& document = loading.document;
  Line& line = StoreLine(loading, units, count);
  LayoutLine(document, line, loading.state);
  loading.rows += line.SegmentCount();
  std::vector<int>& totals = loading.totals;
  if (totals.size() == totals.capacity()) totals.reserve(totals.size() * 2 + 16);
  totals.push_back(loading.rows);
  if (!document.settings.wordwrap) {
    // No encoding turns anything but the tab unit into a tab.
    int width = Find(units, units + count, '\t') != units + count
                    ? LineWidth(document, line)
                    : line.Length();
    loading.widest = std::max(loading.widest, width);
  }
}

// Splits text at line feeds. The first line end gives the form of all: when it is CR LF, a
// carriage return right before a line feed belongs to the line end; when it is a line feed
// alone, every carriage return is a character of its line, since a line ending in one could not
// be written back in that form otherwise. A lone carriage return always stays in its line. The
// text after the last line feed is the last line, even when empty, so that a file ending in a
// line end keeps it. Returns whether the first line end is a line feed alone.
template <typename Unit>
bool SplitLines(Loading& loading, const Unit* text, std::size_t count) {
  const Unit* end = text + count;
  const Unit* firstFeed = Find(text, end, '\n');
  const bool lineFeed = firstFeed != end && (firstFeed == text || firstFeed[-1] != Unit('\r'));
  for (const Unit* start = text;;) {
    const Unit* feed = Find(start, end, '\n');
    const Unit* lineEnd = feed;
    if (!lineFeed && feed != end && feed > start && feed[-1] == Unit('\r')) --lineEnd;
    AppendLine(loading, start, static_cast<std::size_t>(lineEnd - start));
    if (feed == end) break;
    start = feed + 1;
  }
  return lineFeed;
}

// True when a narrow line's bytes are already what the encoding writes for them.
bool BytesFit(Encoding encoding, std::string_view bytes) {
  return encoding == Encoding::codePage ||
         (encoding == Encoding::utf8 && IsAscii(bytes.data(), bytes.size()));
}

}  // namespace

bool LoadText(Document& document, const std::wstring& path) {
  FileBytes file;
  if (!file.Read(path)) return false;
  DetectedFormat detected = DetectFormat(file.Data(), file.Size());
  TextFormat format = detected.format;
  const bool narrow = format.encoding == Encoding::codePage
                          ? codepage::IsSingleByte()
                          : format.encoding == Encoding::utf8 && codepage::IsAsciiIdentity();
  Loading loading{document, format.encoding, narrow, false, {}, {}, 0, 0, 0};
  const char* content = file.Data() + detected.bomBytes;
  const std::size_t count = file.Size() - detected.bomBytes;
  if (format.encoding == Encoding::utf16le || format.encoding == Encoding::utf16be) {
    // A byte of a UTF-16 unit may look like a line feed: the units are split, not the bytes.
    std::vector<wchar_t> units(count / 2);
    units.resize(Decode(format.encoding, content, count, units.data()));
    format.lineFeed = SplitLines(loading, units.data(), units.size());
  } else {
    format.lineFeed = SplitLines(loading, content, count);
  }
  if (loading.keptBytes) file.MoveTo(loading.store);
  document.lines = std::move(loading.store);
  document.rowTotals = std::move(loading.totals);
  document.widestLine = document.settings.wordwrap ? document.wrapWidth : loading.widest;
  document.format = format;
  document.words.reset();
  return true;
}

bool SaveText(Document& document, const std::wstring& path) {
  LineWriter writer(path, document.format);
  if (writer.Failed()) return false;
  for (int i = 0; i < document.LineCount(); ++i) {
    const Line& line = document.lines[i];
    const std::string_view bytes = line.Bytes();
    if (line.IsNarrow() && BytesFit(document.format.encoding, bytes)) {
      writer.WriteRawLine(bytes);
    } else {
      const std::wstring_view text = line.Peek();
      writer.WriteLine(text.data(), text.size());
    }
  }
  if (!writer.Close()) return false;
  document.modified = false;
  MarkAllModified(*document.undo);
  return true;
}
