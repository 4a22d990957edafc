// Loading reads the whole file into one block, recognises its encoding and line end, and makes a
// fresh line store, which takes the place of the document's lines only when the whole file was
// read. Where a byte stands for one unit (a single-byte code page, ASCII in UTF-8) the lines
// stay in the file's bytes, which the store then keeps; other lines are converted into its text
// arena. Saving writes the lines back in the same form, narrow lines as the bytes they were.
#include "text/TextFile.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "text/ByteScan.h"
#include "text/CodePage.h"
#include "text/FileStamp.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "text/LineWriter.h"
#include "text/UndoHistory.h"
#include "text/WordIndex.h"

namespace {

// The most bytes read at once: a large file is read in pieces, so that progress is told.
constexpr std::size_t readPiece = std::size_t{16} << 20;

// A whole file's bytes in one large block.
class FileBytes {
 public:
  FileBytes() = default;
  ~FileBytes() { platform::FreeLargeBlock(memory_, capacity_); }
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  // False when the file could not be opened or a read failed before its end: a file read in
  // part is never taken for the whole.
  // progress hears of each piece read, as the first half of expected bytes' work (the split
  // is the other); false from it stops the read, and cancelled tells so.
  bool Read(const std::wstring& path, const FileProgress& progress, bool& cancelled) {
    platform::File file(platform::OpenForReading(path));
    if (!file.IsOpen()) return false;
    const std::uint64_t expected = platform::FileSize(file.Get());
    Reserve(expected + 1);
    for (;;) {
      if (size_ == capacity_) Reserve(capacity_ * 2);
      std::uint32_t got = 0;
      auto room = static_cast<std::uint32_t>(std::min<std::size_t>(capacity_ - size_, readPiece));
      platform::PrefaultBlock(memory_ + size_, room);
      if (!platform::ReadFile(file.Get(), memory_ + size_, room, got)) return false;
      if (got == 0) break;
      size_ += got;
      if (progress && !progress(std::min<std::uint64_t>(size_, expected), 2 * expected)) {
        cancelled = true;
        return false;
      }
    }
    const std::optional<platform::FileStatus> status = platform::StatusOf(file.Get());
    writeTime_ = status ? status->writeTime : 0;
    return true;
  }
  const char* Data() const { return memory_; }
  std::size_t Size() const { return size_; }
  std::uint64_t WriteTime() const { return writeTime_; }
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
  std::uint64_t writeTime_ = 0;
};

// What loading carries from line to line; LoadText gives every member its start value.
struct Loading {
  const Document& document;
  Encoding encoding;
  bool narrow;  // lines may stay in the file's bytes
  bool keptBytes;  // some did
  LineStore store;
  RowTotals totals;
  std::uint32_t state;
  LineWidths widths;  // while word wrap is off
  const FileProgress& progress;
  std::uint64_t fileSize;
  bool tooLong = false;  // a line was longer than Line::Longest(): the load stops
  bool cancelled = false;  // progress asked to stop
};

// Lines split between two words to progress.
constexpr int linesPerProgress = 1 << 16;

// The first unit equal to ch in [from, to), or to.
template <typename Unit>
const Unit* Find(const Unit* from, const Unit* to, char ch) {
  if constexpr (sizeof(Unit) == 1) return bytescan::Find(from, to, ch);
  else return std::find(from, to, Unit(ch));
}

// How many units of [from, to) equal ch.
template <typename Unit>
std::size_t Count(const Unit* from, const Unit* to, char ch) {
  if constexpr (sizeof(Unit) == 1) return bytescan::Count(from, to, ch);
  else return static_cast<std::size_t>(std::count(from, to, Unit(ch)));
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
  Line& line = loading.store.AppendArenaLine(text, static_cast<int>(length));
  // A multi-byte code page may read bytes that it does not write back the same (a sequence it
  // does not know): such a line keeps its bytes for the save.
  if (loading.encoding == Encoding::codePage) {
    std::string back;
    if (!codepage::AppendAnsi(text, length, back) || back != std::string_view(bytes, count)) {
      line.KeepOriginal(bytes, static_cast<int>(count));
      loading.keptBytes = true;
    }
  }
  return line;
}

Line& StoreLine(Loading& loading, const wchar_t* units, std::size_t count) {
  wchar_t* text = loading.store.ArenaText(count);
  std::copy(units, units + count, text);
  return loading.store.AppendArenaLine(text, static_cast<int>(count));
}

// Null when the line is too long to be held.
template <typename Unit>
Line* AppendLine(Loading& loading, const Unit* units, std::size_t count) {
  const Document& document = loading.document;
  // Bytes are never fewer than the units they make, so a line of few enough bytes fits.
  if (count > Line::Longest()) {
    loading.tooLong = true;
    return nullptr;
  }
  Line& line = StoreLine(loading, units, count);
  LayoutLine(document, line, loading.state);
  loading.totals.Append(line.SegmentCount());
  // Wide characters and marks take other than one cell each: the width is counted in cells.
  if (!document.settings.wordwrap) loading.widths.Add(LineWidth(document, line));
  return &line;
}

// Splits text at line feeds; a carriage return right before a line feed belongs to the line
// end, and each line keeps the form of its own. A lone carriage return stays in its line. The
// text after the last line feed is the last line, even when empty, so that a file ending in a
// line end keeps it. Returns whether the first line end is a line feed alone: the form new lines
// take.
template <typename Unit>
bool SplitLines(Loading& loading, const Unit* text, std::size_t count) {
  const Unit* end = text + count;
  // The lines counted first: the line order and the row totals are made at their size once,
  // instead of being copied as they grow (and held twice while they are). The order gets an
  // eighth more room, which takes no memory until lines use it, so that the first Enter after
  // the load does not copy the order of every line into a new array.
  const std::size_t lines = Count(text, end, '\n') + 1;
  loading.store.ReserveMore(lines + lines / 8);
  loading.totals.ReserveLines(lines);
  bool first = true, firstLineFeed = false;
  for (const Unit* start = text;;) {
    const Unit* feed = Find(start, end, '\n');
    const bool crLf = feed != end && feed > start && feed[-1] == Unit('\r');
    Line* line = AppendLine(loading, start, static_cast<std::size_t>(feed - start) - (crLf ? 1 : 0));
    if (!line || feed == end) break;
    line->SetEndsInLineFeed(!crLf);
    if (first) firstLineFeed = !crLf;
    first = false;
    start = feed + 1;
    if (loading.progress && loading.store.size() % linesPerProgress == 0) {
      // The read was the first half; the units split so far stand for as many bytes.
      const auto split = static_cast<std::uint64_t>(start - text) * loading.fileSize / std::max<std::size_t>(count, 1);
      if (!loading.progress(loading.fileSize + split, 2 * loading.fileSize)) {
        loading.cancelled = true;
        break;
      }
    }
  }
  return firstLineFeed;
}

// True when a narrow line's bytes are already what the encoding writes for them.
bool BytesFit(Encoding encoding, std::string_view bytes) {
  return encoding == Encoding::codePage ||
         (encoding == Encoding::utf8 && IsAscii(bytes.data(), bytes.size()));
}

// The bytes a save writes for a line as they are, without converting its characters: a narrow
// line's own, or the bytes a code page line was read from while its characters are still what
// they make. A null view when the characters are to be converted.
std::string_view FileBytesOf(Encoding encoding, const Line& line) {
  if (line.IsNarrow()) return BytesFit(encoding, line.Bytes()) ? line.Bytes() : std::string_view();
  const std::string_view original = line.Original();
  if (encoding != Encoding::codePage || !original.data()) return {};
  // Compared unit by unit as the bytes convert; a changed line has other characters.
  std::wstring units(original.size(), L'\0');
  units.resize(codepage::ToWide(original.data(), original.size(), units.data()));
  return line.Peek() == units ? original : std::string_view();
}

}  // namespace

bool LoadText(Document& document, const std::wstring& path, LoadFailure* failure,
              const FileProgress& progress) {
  auto fail = [&](LoadFailure why) {
    if (failure) *failure = why;
    return false;
  };
  FileBytes file;
  bool cancelled = false;
  if (!file.Read(path, progress, cancelled))
    return fail(cancelled ? LoadFailure::cancelled : LoadFailure::cannotRead);
  DetectedFormat detected = DetectFormat(file.Data(), file.Size());
  TextFormat format = detected.format;
  const bool narrow = format.encoding == Encoding::codePage
                          ? codepage::IsSingleByte()
                          : format.encoding == Encoding::utf8 && codepage::IsAsciiIdentity();
  Loading loading{document, format.encoding, narrow, false, {}, {}, 0, {}, progress, file.Size()};
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
  if (loading.tooLong) return fail(LoadFailure::lineTooLong);
  if (loading.cancelled) return fail(LoadFailure::cancelled);
  FileStamp stamp{platform::FinalPath(path), file.Size(), file.WriteTime(),
                  HashBytes({file.Data(), file.Size()})};
  if (loading.keptBytes) file.MoveTo(loading.store);
  document.lines = std::move(loading.store);
  document.rowTotals = std::move(loading.totals);
  document.widths = std::move(loading.widths);
  UpdateWidestLine(document);
  document.format = format;
  document.words.reset();
  document.stamp = std::move(stamp);
  if (failure) *failure = LoadFailure::none;
  return true;
}

bool SaveText(Document& document, const std::wstring& path, const FileProgress& progress) {
  LineWriter writer(path, document.format);
  if (writer.Failed()) return false;
  const auto lines = static_cast<std::uint64_t>(document.LineCount());
  for (int i = 0; i < document.LineCount(); ++i) {
    // A writer never closed removes its file: the target keeps its old content.
    if (progress && i % linesPerProgress == 0 && i > 0 && !progress(static_cast<std::uint64_t>(i), lines))
      return false;
    const Line& line = document.lines[i];
    if (i > 0) writer.SetLineEnd(document.lines[i - 1].EndsInLineFeed());
    const std::string_view bytes = FileBytesOf(document.format.encoding, line);
    if (bytes.data()) {
      writer.WriteRawLine(bytes);
    } else {
      const std::wstring_view text = line.Peek();
      writer.WriteLine(text.data(), text.size());
    }
  }
  if (!writer.Close()) return false;
  document.stamp = writer.Stamp();
  // A character the encoding could not store leaves the file different from the text.
  if (!writer.Replaced()) document.modified = false;
  MarkSaved(*document.undo);
  return true;
}

bool EncodingHoldsText(const Document& document) {
  const Encoding encoding = document.format.encoding;
  std::string scratch;
  for (int i = 0; i < document.LineCount(); ++i) {
    const Line& line = document.lines[i];
    if (FileBytesOf(encoding, line).data()) continue;
    const std::wstring_view text = line.Peek();
    scratch.clear();
    if (!AppendEncoded(encoding, text.data(), text.size(), scratch)) return false;
  }
  return true;
}

namespace {

// The line end a line takes when all take one: a line ending in a carriage return keeps CR LF,
// since with a line feed alone it would read back without it.
bool LineEndFor(const Line& line, bool lineFeed) {
  return lineFeed && !(line.Length() > 0 && line.CharAt(line.Length() - 1) == L'\r');
}

}  // namespace

void SetLineEnds(Document& document, bool lineFeed) {
  document.format.lineFeed = lineFeed;
  for (int i = 0; i < document.LineCount(); ++i)
    document.lines[i].SetEndsInLineFeed(LineEndFor(document.lines[i], lineFeed));
}

bool LineEndsAlike(const Document& document) {
  const bool lineFeed = document.format.lineFeed;
  for (int i = 0; i + 1 < document.LineCount(); ++i)
    if (document.lines[i].EndsInLineFeed() != LineEndFor(document.lines[i], lineFeed)) return false;
  return true;
}

void textfile::testing::SetLongestLine(std::size_t units) {
  Line::SetLongestForTests(units);
}
