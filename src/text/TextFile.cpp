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
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "text/ByteScan.h"
#include "text/CodePage.h"
#include "text/FileBytes.h"
#include "text/FileStamp.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "text/LineWriter.h"
#include "text/UndoHistory.h"
#include "text/WordIndex.h"

namespace {

// What loading carries from line to line.
struct Loading {
  Loading(const Document& document, const FileProgress& progress, std::uint64_t fileSize)
      : document(document), progress(progress), fileSize(fileSize) {}

  // Tells progress how far the read and the split got, as two halves of the work; false (and
  // cancelled) when it asks to stop.
  // Never less than told before, also when lines are split again.
  bool Tell(std::uint64_t splitBytes) {
    if (!progress) return true;
    told = std::max(told, std::min(readBytes, fileSize) + std::min(splitBytes, fileSize));
    if (!progress(told, 2 * fileSize)) cancelled = true;
    return !cancelled;
  }

  const Document& document;
  const FileProgress& progress;
  std::uint64_t fileSize;
  // Until the whole file is read and its encoding known, lines are split as the code page
  // reads them, and only lines of ASCII, which every encoding in question reads alike.
  Encoding encoding = Encoding::codePage;
  bool narrow = true;  // lines may stay in the file's bytes
  bool keptBytes = false;  // some did
  LineStore store;
  RowTotals totals;
  std::uint32_t state = 0;
  LineWidths widths;  // while word wrap is off
  std::uint64_t readBytes = 0;  // for progress
  std::uint64_t told = 0;  // the progress told so far
  bool anyLineEnd = false;  // a line was split off at a line feed
  bool firstLineFeed = false;  // the first line end is a line feed alone
  bool tooLong = false;  // a line was longer than Line::Longest(): the load stops
  bool cancelled = false;  // progress asked to stop
};

// Starts a load again with no line split, as far in the read and in progress as before.
void Restart(std::optional<Loading>& loading) {
  const Document& document = loading->document;
  const FileProgress& progress = loading->progress;
  const std::uint64_t fileSize = loading->fileSize, read = loading->readBytes, told = loading->told;
  loading.emplace(document, progress, fileSize);
  loading->readBytes = read;
  loading->told = told;
}

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

// Splits off the lines of [start, end) that end in a line feed; a carriage return right before
// the line feed belongs to the line end, and each line keeps the form of its own. A lone
// carriage return stays in its line. No line feed lies in [start, searched). Returns where the
// first line without a line feed begins (where the split stopped, when it was stopped). text is
// where the file's text begins, for progress.
template <typename Unit>
const Unit* SplitEndedLines(Loading& loading, const Unit* text, const Unit* start, const Unit* searched,
                            const Unit* end) {
  for (;;) {
    const Unit* feed = Find(std::max(start, searched), end, '\n');
    if (feed == end) return start;
    const bool crLf = feed > start && feed[-1] == Unit('\r');
    Line* line = AppendLine(loading, start, static_cast<std::size_t>(feed - start) - (crLf ? 1 : 0));
    if (!line) return start;
    line->SetEndsInLineFeed(!crLf);
    if (!loading.anyLineEnd) loading.firstLineFeed = !crLf;
    loading.anyLineEnd = true;
    start = feed + 1;
    if (loading.store.size() % linesPerProgress == 0 &&
        !loading.Tell(static_cast<std::uint64_t>(start - text) * sizeof(Unit)))
      return start;
  }
}

// Splits the rest of the text, [start, end), into lines: the text after the last line feed is
// the last line, even when empty, so that a file ending in a line end keeps it.
template <typename Unit>
void SplitLines(Loading& loading, const Unit* text, const Unit* start, const Unit* end) {
  // The lines counted first: the row totals are made at their size once, instead of being
  // copied as they grow (and held twice while they are).
  const std::size_t lines = Count(start, end, '\n') + 1;
  loading.totals.ReserveLines(lines);
  start = SplitEndedLines(loading, text, start, start, end);
  if (!loading.tooLong && !loading.cancelled)
    AppendLine(loading, start, static_cast<std::size_t>(end - start));
}

// Makes room for the lines of a file of fileSize bytes, guessed from the first bytes read: the
// lines made while the file is read then need no copy of the row totals as they grow. The guess
// has room to spare (room that lines do not use takes no memory), but no more than for lines
// of eight bytes on average: the first bytes may hold shorter lines than the rest, and a file
// of such short lines grows its totals as it goes instead.
void ReserveGuessedLines(Loading& loading, const char* data, std::size_t read) {
  const double feeds = static_cast<double>(Count(data, data + read, '\n'));
  const double guess = (feeds + 1) * static_cast<double>(loading.fileSize) / static_cast<double>(read) * 1.25;
  const auto lines = static_cast<std::size_t>(std::min(guess, static_cast<double>(loading.fileSize / 8 + 1)));
  loading.totals.ReserveLines(lines);
}

// Splits the lines of a file's bytes while the rest of the file is read. The file's encoding is
// known only once it is read whole; until then the lines are split as far as a guess allows:
// lines of ASCII, which every encoding in question reads alike; every line as the code page
// once a byte shows that starts no UTF-8 sequence (the file cannot be UTF-8 then); every line as
// UTF-8 once UTF-8 sequences show and nothing else yet, a guess that a byte further on may still
// prove wrong, and the lines are then split again.
class SplitAhead {
 public:
  enum class Guess { ascii, codePage, utf8, none };

  SplitAhead(Loading& loading, const char* data)
      : loading_(loading), data_(data), start_(data), searched_(data), asciiEnd_(data) {}

  // Splits what the guess allows of the bytes read so far, [0, size).
  void Take(std::size_t size, bool ended) {
    if (size == 0) return;
    if (guess_ == Guess::ascii || guess_ == Guess::utf8) Reguess(size, ended);
    if (guess_ == Guess::none) return;
    if (!reserved_) ReserveGuessedLines(loading_, data_, size);
    reserved_ = true;
    const char* end = data_ + size;
    if (guess_ == Guess::ascii) end = asciiEnd_ = bytescan::FindNonAscii(asciiEnd_, end);
    start_ = SplitEndedLines(loading_, data_, start_, searched_, end);
    searched_ = std::max(start_, end);
  }
  // How many bytes the lines split hold, from the start of the file.
  std::size_t Split() const { return static_cast<std::size_t>(start_ - data_); }
  // The format of the file once it is read whole, where the guess tells it: every byte was
  // checked (a guess of ASCII or UTF-8), or one that no UTF-8 holds decided it (the code page).
  // Reading the file's bytes again would tell the same (see DetectFormat).
  std::optional<DetectedFormat> Detected(std::size_t size) const {
    if (guess_ == Guess::codePage || (guess_ == Guess::ascii && checked_ == size)) return DetectedFormat{};
    if (guess_ == Guess::utf8 && checked_ == size) return DetectedFormat{{Encoding::utf8, bomBytes_ > 0, false}, bomBytes_};
    return std::nullopt;
  }
  // Whether the lines split are the file's lines as its whole bytes show them to be read.
  bool Agrees(const DetectedFormat& detected) const {
    switch (guess_) {
      case Guess::ascii: return detected.bomBytes == 0;
      case Guess::codePage: return detected.format.encoding == Encoding::codePage && detected.bomBytes == 0;
      case Guess::utf8: return detected.format.encoding == Encoding::utf8 && detected.bomBytes == bomBytes_;
      case Guess::none: break;
    }
    return !wrong_ && Split() == 0;
  }

 private:
  // Checks the UTF-8 sequences read so far (a sequence may go on in the next piece: those of
  // the last three bytes wait for the end of the read) and changes the guess by them.
  void Reguess(std::size_t size, bool ended) {
    const std::size_t limit = ended ? size : size - std::min<std::size_t>(size, 3);
    if (limit <= checked_) return;
    const std::string_view read(data_, size);
    if (checked_ == 0 && (read.starts_with(ByteOrderMark(Encoding::utf16le)) ||
                          read.starts_with(ByteOrderMark(Encoding::utf16be)))) {
      guess_ = Guess::none;  // a UTF-16 byte-order mark: the file's length decides
      return;
    }
    const Utf8Check check = CheckUtf8(data_, size, checked_, limit);
    checked_ = check.end;
    if (check.invalid) {
      wrong_ = guess_ == Guess::utf8;
      guess_ = wrong_ ? Guess::none : Guess::codePage;
    } else if (check.multiByte && guess_ == Guess::ascii) {
      guess_ = Guess::utf8;
      loading_.encoding = Encoding::utf8;
      loading_.narrow = codepage::IsAsciiIdentity();
      // Nothing was split before a byte-order mark, which is no ASCII.
      if (start_ == data_ && read.starts_with(ByteOrderMark(Encoding::utf8))) {
        bomBytes_ = ByteOrderMark(Encoding::utf8).size();
        start_ = searched_ = data_ + bomBytes_;
      }
    }
  }

  Loading& loading_;
  const char* data_;
  const char* start_;     // the first line not split yet
  const char* searched_;  // no line feed in [start_, searched_)
  const char* asciiEnd_;  // the bytes before are ASCII (a guess of ASCII)
  std::size_t checked_ = 0;  // the UTF-8 sequences before are checked
  std::size_t bomBytes_ = 0;  // skipped before the first line (a guess of UTF-8)
  Guess guess_ = Guess::ascii;
  bool wrong_ = false;  // a guess of UTF-8 was wrong
  bool reserved_ = false;  // room for the lines was made
};

// Reads the file whole on a thread of its own while splitting its lines as far as SplitAhead
// can. Returns how the read ended; nothing when no thread could be started (nothing is read
// then).
std::optional<FileBytes::ReadEnd> ReadAndSplit(Loading& loading, FileBytes& file, SplitAhead& split) {
  std::optional<ReadAhead> started;
  try {
    started.emplace(file);
  } catch (const std::system_error&) {
    return std::nullopt;
  }
  ReadAhead& ahead = *started;
  for (std::size_t seen = 0;;) {
    const ReadAhead::Progress read = ahead.WaitBeyond(seen, std::chrono::milliseconds(50));
    loading.readBytes = read.size;
    if (read.size > seen || read.ended) split.Take(read.size, read.ended);
    seen = read.size;
    if (loading.tooLong || loading.cancelled || !loading.Tell(split.Split()) || read.ended) break;
  }
  return ahead.Finish(loading.tooLong || loading.cancelled);
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
  if (!file.Open(path)) return fail(LoadFailure::cannotRead);
  std::optional<Loading> loading(std::in_place, document, progress, file.Expected());
  auto more = [&](std::size_t size) {
    loading->readBytes = size;
    return loading->Tell(0);
  };
  // Lines are split while a long file is read where lines of ASCII stay in the file's bytes in
  // every encoding the file may turn out to have.
  std::optional<SplitAhead> ahead(std::in_place, *loading, file.Data());
  const bool overlapped =
      codepage::IsSingleByte() && codepage::IsAsciiIdentity() && file.WorthReadingAhead();
  std::optional<FileBytes::ReadEnd> overlappedEnd;
  if (overlapped) overlappedEnd = ReadAndSplit(*loading, file, *ahead);
  FileBytes::ReadEnd end = overlappedEnd ? *overlappedEnd : file.ReadPieces(true, more);
  if (loading->tooLong) return fail(LoadFailure::lineTooLong);
  if (end == FileBytes::ReadEnd::stopped || loading->cancelled) return fail(LoadFailure::cancelled);
  if (end == FileBytes::ReadEnd::full) {
    // The file grew since its size was asked for: the rest goes into a block that grows and
    // moves, and the lines, which may lie in its bytes, are split again.
    ahead.reset();
    Restart(loading);
    end = file.ReadPieces(true, more);
  }
  if (end == FileBytes::ReadEnd::stopped || loading->cancelled) return fail(LoadFailure::cancelled);
  if (end == FileBytes::ReadEnd::failed) return fail(LoadFailure::cannotRead);
  std::optional<DetectedFormat> known = ahead ? ahead->Detected(file.Size()) : std::nullopt;
  const DetectedFormat detected = known ? *known : DetectFormat(file.Data(), file.Size());
  TextFormat format = detected.format;
  std::size_t split = ahead ? ahead->Split() : 0;
  if (split > 0 && !ahead->Agrees(detected)) {
    // A guess of UTF-8 that a byte further on proved wrong: the lines are split again.
    Restart(loading);
    split = 0;
  }
  loading->readBytes = file.Size();
  loading->encoding = format.encoding;
  loading->narrow = format.encoding == Encoding::codePage
                        ? codepage::IsSingleByte()
                        : format.encoding == Encoding::utf8 && codepage::IsAsciiIdentity();
  const char* content = file.Data() + detected.bomBytes;
  const std::size_t count = file.Size() - detected.bomBytes;
  if (format.encoding == Encoding::utf16le || format.encoding == Encoding::utf16be) {
    // A byte of a UTF-16 unit may look like a line feed: the units are split, not the bytes.
    std::vector<wchar_t> units(count / 2);
    units.resize(Decode(format.encoding, content, count, units.data()));
    SplitLines(*loading, units.data(), units.data(), units.data() + units.size());
  } else {
    SplitLines(*loading, content, std::max(content, file.Data() + split), content + count);
  }
  if (loading->tooLong) return fail(LoadFailure::lineTooLong);
  if (loading->cancelled) return fail(LoadFailure::cancelled);
  format.lineFeed = loading->firstLineFeed;
  FileStamp stamp{platform::FinalPath(path), file.Size(), file.WriteTime(),
                  HashBytes({file.Data(), file.Size()})};
  if (loading->keptBytes) file.MoveTo(loading->store);
  document.lines = std::move(loading->store);
  document.rowTotals = std::move(loading->totals);
  document.widths = std::move(loading->widths);
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
