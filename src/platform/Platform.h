// The one narrow way the portable core reaches the operating system: files, the ANSI code page,
// character classes and the program's own path. Implemented once for Win32 and once for POSIX.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// An open file. Equal to invalidFile when an open or create failed (see LastError).
using FileHandle = std::intptr_t;
inline constexpr FileHandle invalidFile = -1;

// Win32 error codes; the POSIX layer maps errno onto them.
inline constexpr std::uint32_t errorFileNotFound = 2;
inline constexpr std::uint32_t errorPathNotFound = 3;
inline constexpr std::uint32_t errorAccessDenied = 5;
inline constexpr std::uint32_t errorWriteFault = 29;
inline constexpr std::uint32_t errorFileExists = 80;
inline constexpr std::uint32_t errorDiskFull = 112;

// Opens an existing file for reading; other readers may open it at the same time.
FileHandle OpenForReading(const std::wstring& path);
// Creates a file for writing, truncating an existing one; others may read it meanwhile, as on
// POSIX systems.
FileHandle CreateForWriting(const std::wstring& path);
// Creates a file for writing that must not exist yet (errorFileExists when it does), with the
// attributes of the file attributesOf where that exists: its permissions (POSIX) or its file
// attributes less read-only, plus archive (Win32).
FileHandle CreateNewForWriting(const std::wstring& path, const std::wstring& attributesOf);
// Reads up to size bytes; bytesRead is 0 at the end of the file. False on a read error.
bool ReadFile(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t& bytesRead);
// Writes size bytes. False when not every byte could be written (a full disk, say).
bool WriteFile(FileHandle file, const void* data, std::uint32_t size);
void CloseFile(FileHandle file);
// The size of an open file in bytes; 0 when it cannot be told.
std::uint64_t FileSize(FileHandle file);
// Asks the system to put what was written to the file on the disk itself. False on failure.
bool FlushFile(FileHandle file);
// The error code of the last failed call of this layer on this thread.
std::uint32_t LastError();

// Puts the file at replacement in the place of target (which may not exist yet) in one step,
// so that target is either the old file or the complete new one.
bool ReplaceFileBy(const std::wstring& target, const std::wstring& replacement);
bool RemoveFile(const std::wstring& path);
bool FileExists(const std::wstring& path);
// The file a path finally names once every symbolic link on the way is followed; the path
// itself when it names no link or the link cannot be read.
std::wstring FinalPath(const std::wstring& path);

struct FoundFile {
  std::wstring name;          // the name alone, without its folder
  bool isFolder = false;
  std::uint64_t size = 0;     // in bytes
  std::uint64_t writeTime = 0; // last write, in 100 ns units since 1601-01-01 UTC
  bool hidden = false;        // the system hides it: its hidden attribute, or (POSIX) a leading dot
  bool link = false;          // a symbolic link or another reparse point
};

// Lists the entries of a folder whose names match the wildcards ('*' and '?', case-insensitive)
// of the last component of pattern, as in "C:\docs\*.txt". "." and ".." are never listed.
std::vector<FoundFile> ListFolder(const std::wstring& pattern);

// The system's ANSI code page (Windows-1252 in the POSIX layer) to UTF-16 and back.
// Characters the code page cannot represent become its default character.
std::wstring AnsiToWide(const char* bytes, std::size_t count);
std::string WideToAnsi(const wchar_t* text, std::size_t count);

// Memory for large buffers that live long (the text of a loaded file), zero-filled and in large
// pages where the system gives them without privileges: touching it page by page is what a
// large file costs most when it loads. Null when the memory is not available.
void* AllocateLargeBlock(std::size_t bytes);
void FreeLargeBlock(void* block, std::size_t bytes);

// Character classes of single UTF-16 units.
bool IsAlphaNumeric(wchar_t ch);
wchar_t ToUpper(wchar_t ch);
void ToUpperBuffer(wchar_t* text, std::size_t count);

// The full path of the running executable, with backslashes.
std::wstring ModulePath();

namespace testing {
// Makes every write of this layer fail, as on a full disk, once `bytes` more bytes have been
// written; a negative value turns the fault off. For tests of the callers' error paths.
void FailWritesAfter(long long bytes);
}  // namespace testing

}  // namespace platform
