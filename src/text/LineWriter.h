// Writes UTF-16 lines to a file as ANSI bytes, with carriage return and line feed between lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Platform.h"

class LineWriter {
 public:
  // Creates (or truncates) the file at path.
  explicit LineWriter(const std::wstring& path);
  ~LineWriter();
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // Writes the separator (not before the first line) and the text.
  void WriteLine(const wchar_t* text, std::size_t length);
  // The same with `tabs` tab characters between the separator and the text.
  void WriteIndentedLine(const wchar_t* text, std::size_t length, int tabs);
  // Closes the file; false when any write failed or the file could not be created.
  bool Close();

  bool Failed() const { return failed_; }           // the file could not be created
  bool WriteFailed() const { return writeFailed_; }  // a write did not put every byte
  std::uint32_t ErrorCode() const { return errorCode_; }

 private:
  platform::FileHandle file_ = platform::invalidFile;
  bool firstLine_ = true;
  bool failed_ = false;
  bool writeFailed_ = false;
  std::uint32_t errorCode_ = 0;
  std::string bytes_;  // the converted line, reused between lines
};
