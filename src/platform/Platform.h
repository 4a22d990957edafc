// The one narrow way the portable core reaches the operating system: files, the ANSI code page,
// character classes and the program's own path. Implemented once for Win32 and once for POSIX.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
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
inline constexpr std::uint32_t errorReadFault = 30;
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
// Opens an existing file for writing at its end; others may read it meanwhile.
FileHandle OpenForAppending(const std::wstring& path);
// The size of an open file in bytes; 0 when it cannot be told.
std::uint64_t FileSize(FileHandle file);
// Whether an open file is a file on a disk, not a device or a pipe, whose reading may never end.
bool IsDiskFile(FileHandle file);
// Asks the system to put what was written to the file on the disk itself. False on failure.
bool FlushFile(FileHandle file);
// The error code of the last failed call of this layer on this thread.
std::uint32_t LastError();

// An open file, closed when the object goes, on every path.
class File {
 public:
  File() = default;
  explicit File(FileHandle handle) : handle_(handle) {}
  ~File() { CloseFile(handle_); }
  File(File&& other) noexcept : handle_(std::exchange(other.handle_, invalidFile)) {}
  File& operator=(File&& other) noexcept {
    if (this != &other) {
      CloseFile(handle_);
      handle_ = std::exchange(other.handle_, invalidFile);
    }
    return *this;
  }
  FileHandle Get() const { return handle_; }
  bool IsOpen() const { return handle_ != invalidFile; }
  void Close() { CloseFile(std::exchange(handle_, invalidFile)); }

 private:
  FileHandle handle_ = invalidFile;
};

// The size and time of last write of a file.
struct FileStatus {
  std::uint64_t size = 0;       // in bytes
  std::uint64_t writeTime = 0;  // in 100 ns units since 1601-01-01 UTC
  friend bool operator==(const FileStatus&, const FileStatus&) = default;
};
// The status of the file at path; nullopt when there is none, or when a folder is there (with
// LastError 0).
std::optional<FileStatus> StatusOf(const std::wstring& path);
std::optional<FileStatus> StatusOf(FileHandle file);

// Puts the file at replacement in the place of target (which may not exist yet) in one step,
// so that target is either the old file or the complete new one.
bool ReplaceFileBy(const std::wstring& target, const std::wstring& replacement);
bool RemoveFile(const std::wstring& path);
bool FileExists(const std::wstring& path);
// Gives a file a name that no file has yet; false (and the file keeps its name) when one has.
bool RenameFile(const std::wstring& from, const std::wstring& to);
// The file a path finally names once every symbolic link on the way is followed; the path
// itself when it names no link or the link cannot be read.
std::wstring FinalPath(const std::wstring& path);
// True when both paths name the same file, compared as the file system compares them: the same
// file of the same volume when both exist (whatever links, case or form led to it); else their
// final paths spelt alike, without regard to case where the file system ignores it (Windows).
bool SameFile(const std::wstring& a, const std::wstring& b);

struct FoundFile {
  std::wstring name;          // the name alone, without its folder
  bool isFolder = false;
  std::uint64_t size = 0;     // in bytes
  std::uint64_t writeTime = 0; // last write, in 100 ns units since 1601-01-01 UTC
  bool hidden = false;        // the system hides it: its hidden attribute, or (POSIX) a leading dot
  bool link = false;          // a symbolic link or another reparse point
  bool special = false;       // (POSIX) a device, pipe or socket, which even opening may block on
};

// Lists the entries of a folder whose names match the wildcards ('*' and '?', case-insensitive)
// of the last component of pattern, as in "C:\docs\*.txt". "." and ".." are never listed.
std::vector<FoundFile> ListFolder(const std::wstring& pattern);

// The system's ANSI code page (Windows-1252 in the POSIX layer) to UTF-16 and back.
// Characters the code page cannot represent become its default character.
std::wstring AnsiToWide(const char* bytes, std::size_t count);
std::string WideToAnsi(const wchar_t* text, std::size_t count);
// The number of the code page the two conversions use.
unsigned CodePageId();

// Memory for large buffers that live long (the text of a loaded file), zero-filled and in large
// pages where the system gives them without privileges: touching it page by page is what a
// large file costs most when it loads. Null when the memory is not available.
void* AllocateLargeBlock(std::size_t bytes);
void FreeLargeBlock(void* block, std::size_t bytes);
// Brings the pages of [at, at + bytes) of a large block in at once, ahead of a read that fills
// them: where pages are small, a fault for each page as the read reaches it costs several times
// more. Nothing happens where the system declines; the pages then come in as they are touched.
void PrefaultBlock(void* at, std::size_t bytes);

// Character classes of single UTF-16 units.
bool IsAlphaNumeric(wchar_t ch);
wchar_t ToUpper(wchar_t ch);
void ToUpperBuffer(wchar_t* text, std::size_t count);

// The full path of the running executable, with backslashes.
std::wstring ModulePath();

// Runs work on a thread of its own and waits up to waitMs for it to end: true when it ended (or
// when no thread could be had and work ran on the caller's thread). Otherwise the thread is left
// to end by itself, so work must own everything it touches. Work must not throw. A wait of
// UINT_MAX is a long one, not an endless one, on every system.
bool RunWithin(std::function<void()> work, unsigned waitMs);

namespace testing {
// Makes every write of this layer fail, as on a full disk, once `bytes` more bytes have been
// written; a negative value turns the fault off. For tests of the callers' error paths.
void FailWritesAfter(long long bytes);
// Makes reads fail, as on a bad sector or a dropped network share, once `bytes` more bytes have
// been read; a negative value turns the fault off.
void FailReadsAfter(long long bytes);
// Makes AllocateLargeBlock give no memory once `blocks` more blocks have been given; a negative
// value turns the fault off.
void FailLargeBlocksAfter(long long blocks);
// Makes the code page conversions use another code page (0: the system's again). False, and
// nothing changed, where this layer cannot be given that code page.
bool UseCodePage(unsigned codePage);
}  // namespace testing

}  // namespace platform
