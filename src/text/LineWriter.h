// Writes UTF-16 lines to a file in a text format (ANSI bytes with carriage return and line feed
// between lines unless told otherwise). The lines go to a new temporary file beside the target
// (the file a symbolic link finally names), made with the target's attributes, which takes the
// target's place only when every byte was written: a failed save never destroys the old file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "text/FileStamp.h"
#include "text/TextFormat.h"

class LineWriter {
 public:
  // Creates the temporary file beside path, or beside the file path links to; the file starts
  // with the format's byte-order mark.
  explicit LineWriter(const std::wstring& path, TextFormat format = {});
  ~LineWriter();
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // The line end written before the next line: a line feed alone, or a carriage return and a
  // line feed. The format's until set.
  void SetLineEnd(bool lineFeed) { lineFeed_ = lineFeed; }
  // Writes the separator (not before the first line) and the text.
  void WriteLine(const wchar_t* text, std::size_t length);
  // Writes the separator (not before the first line) and bytes already in the file's encoding.
  void WriteRawLine(std::string_view bytes);
  // The same with `tabs` tab characters between the separator and the text.
  void WriteIndentedLine(const wchar_t* text, std::size_t length, int tabs);
  // Closes the file and, when every write succeeded, replaces the target by it. False (the
  // target untouched, the temporary file removed) when anything failed.
  bool Close();

  bool Failed() const { return failed_; }           // the file could not be created
  bool WriteFailed() const { return writeFailed_; }  // a write did not put every byte
  std::uint32_t ErrorCode() const { return errorCode_; }
  // A character the format cannot store was written as a replacement.
  bool Replaced() const { return replaced_; }
  // After a successful Close: what identifies the bytes written.
  const FileStamp& Stamp() const { return stamp_; }

 private:
  bool StartLine();  // the separator before every line but the first; false without a file
  void Append(std::wstring_view text);  // converts text into the collected bytes
  void Flush();  // writes the collected bytes

  platform::FileHandle file_ = platform::invalidFile;
  TextFormat format_;
  bool firstLine_ = true;
  bool lineFeed_;  // see SetLineEnd
  bool failed_ = false;
  bool writeFailed_ = false;
  bool replaced_ = false;
  std::uint32_t errorCode_ = 0;
  BytesHash hash_;              // of every byte handed to the file
  FileStamp stamp_;
  std::wstring target_;
  std::wstring temporary_;
  std::string bytes_;  // converted lines not yet written
};
