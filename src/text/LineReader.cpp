// Reading a text file line by line: blocks of bytes split at line feeds, carriage returns dropped.
#include "text/LineReader.h"

#include <cstring>

#include "text/CodePage.h"

LineReader::LineReader(const std::wstring& path) : buffer_(new char[blockSize]) {
  file_ = platform::OpenForReading(path);
  if (file_ == platform::invalidFile) {
    failed_ = true;
    errorCode_ = platform::LastError();
    missing_ = errorCode_ == platform::errorFileNotFound || errorCode_ == platform::errorPathNotFound;
  }
}

LineReader::~LineReader() { Close(); }

void LineReader::Close() {
  platform::CloseFile(file_);
  file_ = platform::invalidFile;
}

// Reads the next block; false (and end reached) when no byte came. A read error ends the file
// and is kept: the lines read so far are not all of it.
bool LineReader::FillBuffer() {
  std::uint32_t got = 0;
  if (file_ != platform::invalidFile && !platform::ReadFile(file_, buffer_.get(), blockSize, got)) {
    got = 0;
    failed_ = true;
    errorCode_ = platform::LastError();
  }
  position_ = 0;
  remaining_ = got;
  if (got == 0) endReached_ = true;
  return got != 0;
}

bool LineReader::ReadLineBytes(const char*& bytes, std::size_t& count) {
  pending_.clear();
  bool inPending = false;  // the line began in an earlier block and is collected in pending_
  for (;;) {
    // At the end of the file: the bytes after the last line feed form the last line, even
    // none, so that a file ending in a line end keeps it when it is saved again.
    if (endReached_ || (remaining_ == 0 && !FillBuffer())) {
      // After a failed read no line is given, not even one cut short.
      if (failed_ || (pending_.empty() && !afterLineFeed_)) return false;
      afterLineFeed_ = false;
      break;
    }
    const char* start = buffer_.get() + position_;
    const char* feed = static_cast<const char*>(std::memchr(start, '\n', remaining_));
    std::uint32_t scanned = feed ? static_cast<std::uint32_t>(feed - start) + 1 : remaining_;
    std::uint32_t kept = feed ? scanned - 1 : scanned;
    position_ += scanned;
    remaining_ -= scanned;
    // Carriage returns are dropped wherever they stand. The common line ends in CR LF: when the
    // only one is its last byte and the line lies whole in the block, no copy is needed.
    const char* cr = static_cast<const char*>(std::memchr(start, '\r', kept));
    if (feed && !inPending && (cr == nullptr || cr == start + kept - 1)) {
      afterLineFeed_ = true;
      bytes = start;
      count = cr ? kept - 1 : kept;
      return true;
    }
    for (const char* p = start; p < start + kept; ++p)
      if (*p != '\r') pending_ += *p;
    inPending = true;
    if (feed) {
      afterLineFeed_ = true;
      break;
    }
  }
  bytes = pending_.data();
  count = pending_.size();
  return true;
}

bool LineReader::ReadLine(std::wstring& line) {
  const char* bytes = nullptr;
  std::size_t count = 0;
  if (!ReadLineBytes(bytes, count)) {
    line.clear();
    return false;
  }
  line.resize(count);
  line.resize(codepage::ToWide(bytes, count, line.data()));
  return true;
}
