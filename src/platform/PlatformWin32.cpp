// The Win32 implementation of the platform layer.
#include <windows.h>

#include "Platform.h"
#include "WriteFault.h"

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

}  // namespace

FileHandle OpenForReading(const std::wstring& path) {
  return Wrap(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                          nullptr));
}

FileHandle CreateForWriting(const std::wstring& path) {
  return Wrap(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_ARCHIVE, nullptr));
}

FileHandle CreateNewForWriting(const std::wstring& path, const std::wstring& attributesOf) {
  // Read-only would stop the file from being replaced or removed again; archive marks it
  // as changed since the last backup.
  constexpr DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE;
  const DWORD model = GetFileAttributesW(attributesOf.c_str());
  const bool hasModel = model != INVALID_FILE_ATTRIBUTES && !(model & FILE_ATTRIBUTE_DIRECTORY);
  const DWORD attributes = FILE_ATTRIBUTE_ARCHIVE | (hasModel ? model & kept : 0);
  return Wrap(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
}

bool ReadFile(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
  DWORD got = 0;
  BOOL ok = ::ReadFile(Handle(file), buffer, size, &got, nullptr);
  bytesRead = ok ? got : 0;
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
bool FlushFile(FileHandle file) { return FlushFileBuffers(Handle(file)) != FALSE; }

std::uint32_t LastError() { return GetLastError(); }

bool ReplaceFileBy(const std::wstring& target, const std::wstring& replacement) {
  return MoveFileExW(replacement.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool RemoveFile(const std::wstring& path) { return DeleteFileW(path.c_str()) != FALSE; }

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring FinalPath(const std::wstring& path) {
  // Only a link itself needs resolving: a file in a linked folder is replaced in place anyway.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return path;
  HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
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
  HANDLE search = FindFirstFileW(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    FoundFile file{name};
    file.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    file.hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    file.link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    file.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    file.writeTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                     data.ftLastWriteTime.dwLowDateTime;
    found.push_back(std::move(file));
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return found;
}

std::wstring AnsiToWide(const char* bytes, std::size_t count) {
  if (count == 0) return {};
  int length = MultiByteToWideChar(GetACP(), 0, bytes, Clamp(count), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(GetACP(), 0, bytes, Clamp(count), text.data(), length);
  return text;
}

std::string WideToAnsi(const wchar_t* text, std::size_t count) {
  if (count == 0) return {};
  int length = WideCharToMultiByte(GetACP(), 0, text, Clamp(count), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(GetACP(), 0, text, Clamp(count), bytes.data(), length, nullptr, nullptr);
  return bytes;
}

void* AllocateLargeBlock(std::size_t bytes) {
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
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

}  // namespace platform
