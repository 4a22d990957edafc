// Reads a text file in the ANSI code page line by line as UTF-16 strings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Platform.h"

class LineReader {
 public:
  explicit LineReader(const std::wstring& path);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line without its line end, NUL characters included; false at the end of the file,
  // or when a read failed (Failed then tells). A carriage return never ends a line and is
  // dropped; a line feed ends it.
  bool ReadLine(std::wstring& line);
  // The same as raw code page bytes, without conversion: bytes points into the reader's own
  // storage and stays valid until the next call. For loaders that convert straight into place.
  bool ReadLineBytes(const char*& bytes, std::size_t& count);
  void Close();

  // Bytes asked of the file by one read.
  static constexpr std::uint32_t blockSize = 65536;

  // The file could not be opened, or a read failed before its end: what was read is not the
  // whole file.
  bool Failed() const { return failed_; }
  std::uint32_t ErrorCode() const { return errorCode_; }
  // The open failed because there is no such file (or no such folder).
  bool Missing() const { return missing_; }

 private:
  bool FillBuffer();

  std::unique_ptr<char[]> buffer_;  // the block last read from the file
  platform::FileHandle file_ = platform::invalidFile;
  std::uint32_t position_ = 0;   // offset of the next unread byte in the buffer
  std::uint32_t remaining_ = 0;  // unread bytes left in the buffer
  bool endReached_ = false;      // a read returned no bytes
  bool afterLineFeed_ = false;   // the last line delivered ended in a line feed
  bool failed_ = false;          // the file could not be opened or read
  bool missing_ = false;         // the open failed: no such file or folder
  std::uint32_t errorCode_ = 0;  // the error of the failed open or read
  std::string pending_;          // bytes of the line being collected
};
