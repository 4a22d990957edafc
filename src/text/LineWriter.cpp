// Writing UTF-16 lines in a text format through a temporary file that replaces the target at the end.
#include "text/LineWriter.h"

#include <algorithm>


namespace {

// Bytes collected before they go to the file in one write.
constexpr std::size_t flushSize = 1 << 16;

// Names tried for the temporary file before the save gives up.
constexpr int temporaryNames = 1000;

// Creates the temporary file beside the target under a name that no file has, with the
// target's attributes; a file that already has the name is never opened.
platform::FileHandle CreateTemporary(const std::wstring& target, std::wstring& name) {
  for (int n = 0; n < temporaryNames; ++n) {
    name = target + L".~" + std::to_wstring(n);
    platform::FileHandle file = platform::CreateNewForWriting(name, target);
    if (file != platform::invalidFile || platform::LastError() != platform::errorFileExists)
      return file;
  }
  return platform::invalidFile;
}

}  // namespace

LineWriter::LineWriter(const std::wstring& path, TextFormat format)
    : format_(format), lineFeed_(format.lineFeed), target_(platform::FinalPath(path)) {
  file_ = CreateTemporary(target_, temporary_);
  if (file_ == platform::invalidFile) {
    failed_ = true;
    errorCode_ = platform::LastError();
  }
  bytes_.reserve(flushSize + 4096);
  if (format_.bom) bytes_ = ByteOrderMark(format_.encoding);
}

LineWriter::~LineWriter() {
  if (file_ != platform::invalidFile) {
    // Never finished with Close: the target keeps its old content.
    platform::CloseFile(file_);
    platform::RemoveFile(temporary_);
  }
}

void LineWriter::WriteLine(const wchar_t* text, std::size_t length) {
  WriteIndentedLine(text, length, 0);
}

void LineWriter::WriteIndentedLine(const wchar_t* text, std::size_t length, int tabs) {
  if (!StartLine()) return;
  if (tabs > 0) Append(std::wstring(static_cast<std::size_t>(tabs), L'\t'));
  Append({text, length});
  if (bytes_.size() >= flushSize) Flush();
}

void LineWriter::WriteRawLine(std::string_view bytes) {
  if (!StartLine()) return;
  bytes_.append(bytes);
  if (bytes_.size() >= flushSize) Flush();
}

bool LineWriter::StartLine() {
  if (file_ == platform::invalidFile) return false;
  if (!firstLine_) Append(lineFeed_ ? L"\n" : L"\r\n");
  firstLine_ = false;
  return true;
}

void LineWriter::Append(std::wstring_view text) {
  if (!AppendEncoded(format_.encoding, text.data(), text.size(), bytes_)) replaced_ = true;
}

void LineWriter::Flush() {
  hash_.Add(bytes_);
  stamp_.size += bytes_.size();
  std::size_t done = 0;
  while (!writeFailed_ && done < bytes_.size()) {
    std::size_t piece = std::min<std::size_t>(bytes_.size() - done, 1u << 30);
    if (!platform::WriteFile(file_, bytes_.data() + done, static_cast<std::uint32_t>(piece))) {
      writeFailed_ = true;
      errorCode_ = platform::LastError();
    }
    done += piece;
  }
  bytes_.clear();
}

bool LineWriter::Close() {
  if (file_ == platform::invalidFile) return false;
  Flush();
  platform::CloseFile(file_);
  file_ = platform::invalidFile;
  if (!writeFailed_ && platform::ReplaceFileBy(target_, temporary_)) {
    stamp_.path = target_;
    stamp_.hash = hash_.Value();
    const std::optional<platform::FileStatus> status = platform::StatusOf(target_);
    stamp_.writeTime = status ? status->writeTime : 0;
    return true;
  }
  if (!writeFailed_) {
    writeFailed_ = true;
    errorCode_ = platform::LastError();
  }
  platform::RemoveFile(temporary_);
  return false;
}
