// The Win32 implementation of the platform layer.
#include <algorithm>
#include <memory>
#include <windows.h>

#include "Platform.h"
#include "Faults.h"

namespace platform {
namespace {

HANDLE Handle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

FileHandle Wrap(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? invalidFile : reinterpret_cast<FileHandle>(handle);
}

bool Fail(DWORD error) {
  SetLastError(error);
  return false;
}

int Clamp(std::size_t count) { return count > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(count); }

// A full path too long for the plain file functions in the form that lifts their limit:
// "\\?\C:\..." or "\\?\UNC\server\...". Shorter paths and relative ones stay as they are.
std::wstring Long(const std::wstring& path) {
  if (path.size() < MAX_PATH || path.rfind(L"\\\\?\\", 0) == 0) return path;
  if (path.size() > 2 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

std::uint64_t Join(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

// The code page of the conversions: the system's, or the one a test chose.
UINT chosenCodePage = 0;
UINT ConversionCodePage() {
  static const UINT system = GetACP();  // fixed for the life of the process
  return chosenCodePage ? chosenCodePage : system;
}

// The volume and number that identify a file, read through a handle that asks for no access.
bool FileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
  HANDLE file = CreateFileW(Long(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool ok = GetFileInformationByHandle(file, &info) != FALSE;
  CloseHandle(file);
  return ok;
}

DWORD WINAPI RunWork(void* parameter) {
  const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
  (*work)();
  return 0;
}

}  // namespace

FileHandle OpenForReading(const std::wstring& path) {
  return Wrap(CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          0, nullptr));
}

FileHandle CreateForWriting(const std::wstring& path) {
  return Wrap(CreateFileW(Long(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_ARCHIVE, nullptr));
}

FileHandle OpenForAppending(const std::wstring& path) {
  HANDLE file = CreateFileW(Long(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return Wrap(file);
}

FileHandle CreateNewForWriting(const std::wstring& path, const std::wstring& attributesOf) {
  // Read-only would stop the file from being replaced or removed again; archive marks it
  // as changed since the last backup.
  constexpr DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE;
  const DWORD model = GetFileAttributesW(Long(attributesOf).c_str());
  const bool hasModel = model != INVALID_FILE_ATTRIBUTES && !(model & FILE_ATTRIBUTE_DIRECTORY);
  const DWORD attributes = FILE_ATTRIBUTE_ARCHIVE | (hasModel ? model & kept : 0);
  return Wrap(CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes,
                          nullptr));
}

bool ReadFile(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
  bytesRead = 0;
  const std::uint32_t limit = detail::ReadLimit(size);
  if (limit == 0 && size > 0) return Fail(ERROR_READ_FAULT);
  DWORD got = 0;
  BOOL ok = ::ReadFile(Handle(file), buffer, limit, &got, nullptr);
  bytesRead = ok ? got : 0;
  detail::CountRead(bytesRead);
  return ok != FALSE;
}

bool WriteFile(FileHandle file, const void* data, std::uint32_t size) {
  if (!detail::WriteAllowed(size)) return Fail(ERROR_DISK_FULL);
  DWORD put = 0;
  if (!::WriteFile(Handle(file), data, size, &put, nullptr)) return false;
  return put == size || Fail(ERROR_DISK_FULL);
}

void CloseFile(FileHandle file) {
  if (file != invalidFile) CloseHandle(Handle(file));
}

std::uint64_t FileSize(FileHandle file) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(Handle(file), &size) || size.QuadPart < 0) return 0;
  return static_cast<std::uint64_t>(size.QuadPart);
}
bool IsDiskFile(FileHandle file) { return GetFileType(Handle(file)) == FILE_TYPE_DISK; }
bool FlushFile(FileHandle file) { return FlushFileBuffers(Handle(file)) != FALSE; }

std::uint32_t LastError() { return GetLastError(); }

std::optional<FileStatus> StatusOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Long(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    // No failure: a folder is there. A success leaves the error of an earlier call in place.
    SetLastError(ERROR_SUCCESS);
    return std::nullopt;
  }
  return FileStatus{Join(data.nFileSizeHigh, data.nFileSizeLow),
                    Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

std::optional<FileStatus> StatusOf(FileHandle file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(Handle(file), &info)) return std::nullopt;
  return FileStatus{Join(info.nFileSizeHigh, info.nFileSizeLow),
                    Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)};
}

bool ReplaceFileBy(const std::wstring& target, const std::wstring& replacement) {
  const std::wstring to = Long(target), from = Long(replacement);
  // The system's own replacing keeps what a rename would drop: the old file's access control
  // list, alternate data streams and creation time. Where it cannot (a file system without
  // them, a target that is not there yet), the rename does it. Only a file is replaced so; a
  // replacement still there afterwards did not take the target's place, whatever was answered.
  const DWORD attributes = GetFileAttributesW(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
      ReplaceFileW(to.c_str(), from.c_str(), nullptr,
                   REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr) &&
      GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES)
    return true;
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
         FALSE;
}

bool RemoveFile(const std::wstring& path) { return DeleteFileW(Long(path).c_str()) != FALSE; }

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RenameFile(const std::wstring& from, const std::wstring& to) {
  return MoveFileExW(Long(from).c_str(), Long(to).c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
  BY_HANDLE_FILE_INFORMATION first{}, second{};
  if (FileIdentity(a, first) && FileIdentity(b, second))
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
  const std::wstring finalA = FinalPath(a), finalB = FinalPath(b);
  return CompareStringOrdinal(finalA.c_str(), static_cast<int>(finalA.size()), finalB.c_str(),
                              static_cast<int>(finalB.size()), TRUE) == CSTR_EQUAL;
}

std::wstring FinalPath(const std::wstring& path) {
  // Only a link itself needs resolving: a file in a linked folder is replaced in place anyway.
  const DWORD attributes = GetFileAttributesW(Long(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return path;
  HANDLE file = CreateFileW(Long(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return path;
  std::wstring resolved(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(file, resolved.data(), static_cast<DWORD>(resolved.size()), 0);
  if (length >= resolved.size()) {
    resolved.resize(length + 1);
    length = GetFinalPathNameByHandleW(file, resolved.data(), static_cast<DWORD>(resolved.size()), 0);
  }
  CloseHandle(file);
  if (length == 0 || length >= resolved.size()) return path;
  resolved.resize(length);
  // The answer comes in the long form: \\?\C:\... or \\?\UNC\server\share\...
  if (resolved.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + resolved.substr(8);
  if (resolved.rfind(L"\\\\?\\", 0) == 0) return resolved.substr(4);
  return resolved;
}

std::vector<FoundFile> ListFolder(const std::wstring& pattern) {
  std::vector<FoundFile> found;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(Long(pattern).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    FoundFile file{name};
    file.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    file.hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    file.link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    file.size = Join(data.nFileSizeHigh, data.nFileSizeLow);
    file.writeTime = Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    found.push_back(std::move(file));
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return found;
}

std::wstring AnsiToWide(const char* bytes, std::size_t count) {
  if (count == 0) return {};
  const UINT codePage = ConversionCodePage();
  int length = MultiByteToWideChar(codePage, 0, bytes, Clamp(count), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, bytes, Clamp(count), text.data(), length);
  return text;
}

std::string WideToAnsi(const wchar_t* text, std::size_t count) {
  if (count == 0) return {};
  const UINT codePage = ConversionCodePage();
  int length = WideCharToMultiByte(codePage, 0, text, Clamp(count), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, text, Clamp(count), bytes.data(), length, nullptr, nullptr);
  return bytes;
}

unsigned CodePageId() { return ConversionCodePage(); }

bool testing::UseCodePage(unsigned codePage) {
  if (codePage != 0 && !IsValidCodePage(codePage)) return false;
  chosenCodePage = codePage;
  return true;
}

void* AllocateLargeBlock(std::size_t bytes) {
  if (!detail::LargeBlockAllowed()) return nullptr;
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void PrefaultBlock(void* at, std::size_t bytes) {
  // Locking pages makes the system bring them in with one call; they are unlocked at once, so
  // that they page as any other. Where a megabyte is more than the process may lock (a
  // working set left at its default size), the first refusal ends this and the pages come in
  // as the read touches them.
  constexpr std::size_t piece = std::size_t{1} << 20;
  auto* bytesAt = static_cast<char*>(at);
  for (std::size_t done = 0; done < bytes; done += piece) {
    const std::size_t size = std::min(piece, bytes - done);
    if (!VirtualLock(bytesAt + done, size)) return;
    VirtualUnlock(bytesAt + done, size);
  }
}

void FreeLargeBlock(void* block, std::size_t bytes) {
  (void)bytes;
  if (block) VirtualFree(block, 0, MEM_RELEASE);
}

bool IsAlphaNumeric(wchar_t ch) { return iswctype(ch, _ALPHA | _UPPER | _LOWER | _DIGIT) != 0; }

wchar_t ToUpper(wchar_t ch) {
  wchar_t text[2] = {ch, 0};
  CharUpperBuffW(text, 1);
  return text[0];
}

void ToUpperBuffer(wchar_t* text, std::size_t count) {
  while (count > 0) {
    DWORD piece = count > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<DWORD>(count);
    CharUpperBuffW(text, piece);
    text += piece;
    count -= piece;
  }
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// A thread of the system's own: the C++ library's threads, once detached, may start with their
// work lost under some systems when the process is busy, and then fault.
bool RunWithin(std::function<void()> work, unsigned waitMs) {
  auto owned = std::make_unique<std::function<void()>>(std::move(work));
  const HANDLE thread = CreateThread(nullptr, 0, RunWork, owned.get(), 0, nullptr);
  if (!thread) {
    (*owned)();
    return true;
  }
  owned.release();  // the thread's now
  const bool ended = WaitForSingleObject(thread, std::min<DWORD>(waitMs, INFINITE - 1)) == WAIT_OBJECT_0;
  CloseHandle(thread);
  return ended;
}

}  // namespace platform
