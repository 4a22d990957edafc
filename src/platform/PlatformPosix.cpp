// The POSIX implementation of the platform layer: backslash paths become slash paths, the ANSI
// code page is Windows-1252, errno is mapped onto the Win32 error codes.
#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "Platform.h"
#include "Faults.h"

namespace platform {
namespace {

thread_local std::uint32_t lastError = 0;

std::uint32_t Win32Error(int err) {
  switch (err) {
    case ENOENT: return errorFileNotFound;
    case ENOTDIR: return errorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return errorAccessDenied;
    case ENOSPC:
    case EDQUOT: return errorDiskFull;
    case EEXIST: return errorFileExists;
    case EIO: return errorReadFault;
    default: return errorWriteFault;
  }
}

bool Fail(int err) {
  lastError = Win32Error(err);
  return false;
}

// File names on this side are UTF-8 with slashes.
std::string NativePath(const std::wstring& path) {
  std::string out;
  for (wchar_t ch : path) {
    auto c = static_cast<std::uint32_t>(ch);
    if (c == '\\') c = '/';
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Windows tells a missing folder (path not found) from a missing file (file not found).
bool FailOnPath(int err, const std::string& native) {
  if (err == ENOENT) {
    std::size_t slash = native.find_last_of('/');
    struct stat info {};
    if (slash != std::string::npos && slash > 0 && stat(native.substr(0, slash).c_str(), &info) != 0)
      err = ENOTDIR;
  }
  return Fail(err);
}

std::wstring ProgramPath(const std::string& native) {
  std::wstring out;
  for (std::size_t i = 0; i < native.size();) {
    auto c = static_cast<unsigned char>(native[i]);
    std::uint32_t unit = c;
    std::size_t length = 1;
    if (c >= 0xE0 && i + 2 < native.size()) {
      unit = ((c & 0x0F) << 12) | ((native[i + 1] & 0x3F) << 6) | (native[i + 2] & 0x3F);
      length = 3;
    } else if (c >= 0xC0 && i + 1 < native.size()) {
      unit = ((c & 0x1F) << 6) | (native[i + 1] & 0x3F);
      length = 2;
    }
    out += unit == '/' ? L'\\' : static_cast<wchar_t>(unit);
    i += length;
  }
  return out;
}

// Windows-1252: the bytes 0x80 to 0x9F; the five the code page leaves undefined map to the
// control characters of the same value, as Windows does.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
constexpr char defaultCharacter = '?';

char AnsiOf(wchar_t ch) {
  auto c = static_cast<std::uint32_t>(ch);
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i)
    if (cp1252High[i] == c) return static_cast<char>(0x80 + i);
  return defaultCharacter;
}

// Unicode character classes, independent of the process's locale.
locale_t UnicodeLocale() {
  static locale_t locale = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return l ? l : newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
  }();
  return locale;
}

// The time of last write in 100 ns units since 1601, from seconds and nanoseconds since 1970.
std::uint64_t WriteTimeOf(const struct stat& info) {
  return (static_cast<std::uint64_t>(info.st_mtim.tv_sec) + 11644473600ULL) * 10000000ULL +
         static_cast<std::uint64_t>(info.st_mtim.tv_nsec) / 100;
}

bool MatchesWildcards(const std::wstring& name, std::size_t n, const std::wstring& pattern,
                      std::size_t p) {
  for (; p < pattern.size(); ++p, ++n) {
    if (pattern[p] == L'*') {
      for (std::size_t rest = n; rest <= name.size(); ++rest)
        if (MatchesWildcards(name, rest, pattern, p + 1)) return true;
      return false;
    }
    if (n >= name.size()) return false;
    if (pattern[p] != L'?' && ToUpper(pattern[p]) != ToUpper(name[n])) return false;
  }
  return n == name.size();
}

}  // namespace

FileHandle OpenForReading(const std::wstring& path) {
  std::string native = NativePath(path);
  int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    FailOnPath(errno, native);
    return invalidFile;
  }
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    close(fd);
    Fail(EACCES);
    return invalidFile;
  }
  return fd;
}

FileHandle CreateForWriting(const std::wstring& path) {
  std::string native = NativePath(path);
  int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    FailOnPath(errno, native);
    return invalidFile;
  }
  return fd;
}

FileHandle CreateNewForWriting(const std::wstring& path, const std::wstring& attributesOf) {
  std::string native = NativePath(path);
  struct stat model {};
  const bool hasModel = stat(NativePath(attributesOf).c_str(), &model) == 0 && S_ISREG(model.st_mode);
  const mode_t mode = hasModel ? (model.st_mode & 07777) : 0644;
  int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) {
    FailOnPath(errno, native);
    return invalidFile;
  }
  // The process's file mode mask may have taken bits the model has.
  if (hasModel) fchmod(fd, mode);
  return fd;
}

bool ReadFile(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
  bytesRead = 0;
  const std::uint32_t limit = detail::ReadLimit(size);
  if (limit == 0 && size > 0) return Fail(EIO);
  ssize_t got;
  do got = read(static_cast<int>(file), buffer, limit);
  while (got < 0 && errno == EINTR);
  if (got < 0) return Fail(errno);
  bytesRead = static_cast<std::uint32_t>(got);
  detail::CountRead(bytesRead);
  return true;
}

bool WriteFile(FileHandle file, const void* data, std::uint32_t size) {
  if (!detail::WriteAllowed(size)) return Fail(ENOSPC);
  auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t put = write(static_cast<int>(file), bytes, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return Fail(put < 0 ? errno : ENOSPC);
    bytes += put;
    size -= static_cast<std::uint32_t>(put);
  }
  return true;
}

void CloseFile(FileHandle file) {
  if (file != invalidFile) close(static_cast<int>(file));
}

FileHandle OpenForAppending(const std::wstring& path) {
  std::string native = NativePath(path);
  int fd = open(native.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) {
    FailOnPath(errno, native);
    return invalidFile;
  }
  return fd;
}

std::optional<FileStatus> StatusOf(const std::wstring& path) {
  struct stat info {};
  if (stat(NativePath(path).c_str(), &info) != 0) {
    Fail(errno);
    return std::nullopt;
  }
  if (S_ISDIR(info.st_mode)) {
    lastError = 0;  // no failure: a folder is there
    return std::nullopt;
  }
  return FileStatus{static_cast<std::uint64_t>(info.st_size), WriteTimeOf(info)};
}

std::optional<FileStatus> StatusOf(FileHandle file) {
  struct stat info {};
  if (fstat(static_cast<int>(file), &info) != 0) {
    Fail(errno);
    return std::nullopt;
  }
  return FileStatus{static_cast<std::uint64_t>(info.st_size), WriteTimeOf(info)};
}

std::uint64_t FileSize(FileHandle file) {
  struct stat info {};
  if (fstat(static_cast<int>(file), &info) != 0 || info.st_size < 0) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

bool IsDiskFile(FileHandle file) {
  struct stat info {};
  return fstat(static_cast<int>(file), &info) == 0 && S_ISREG(info.st_mode);
}

bool FlushFile(FileHandle file) {
  return fsync(static_cast<int>(file)) == 0 || Fail(errno);
}

std::uint32_t LastError() { return lastError; }

bool ReplaceFileBy(const std::wstring& target, const std::wstring& replacement) {
  if (rename(NativePath(replacement).c_str(), NativePath(target).c_str()) != 0) return Fail(errno);
  return true;
}

bool RemoveFile(const std::wstring& path) {
  if (unlink(NativePath(path).c_str()) != 0) return Fail(errno);
  return true;
}

bool FileExists(const std::wstring& path) {
  struct stat info {};
  return stat(NativePath(path).c_str(), &info) == 0;
}

bool RenameFile(const std::wstring& from, const std::wstring& to) {
  const std::string source = NativePath(from), target = NativePath(to);
  // A second name fails when the name is taken, in one step; the first name then goes.
  if (link(source.c_str(), target.c_str()) == 0) {
    unlink(source.c_str());
    return true;
  }
  if (errno == EEXIST) return Fail(EEXIST);
  // A file system without hard links: the name is checked first.
  struct stat info {};
  if (lstat(target.c_str(), &info) == 0) return Fail(EEXIST);
  if (rename(source.c_str(), target.c_str()) != 0) return Fail(errno);
  return true;
}

std::wstring FinalPath(const std::wstring& path) {
  std::string native = NativePath(path);
  // As many links as the system itself follows; a longer chain is a loop.
  int links = 0;
  for (; links < 40; ++links) {
    struct stat info {};
    if (lstat(native.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
    std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
    ssize_t length = readlink(native.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) break;
    target.resize(static_cast<std::size_t>(length));
    // A relative link is relative to the folder holding it.
    std::size_t slash = native.find_last_of('/');
    native = target.front() == '/' || slash == std::string::npos ? target : native.substr(0, slash + 1) + target;
  }
  return links == 0 ? path : ProgramPath(native);
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
  struct stat first {}, second {};
  if (stat(NativePath(a).c_str(), &first) == 0 && stat(NativePath(b).c_str(), &second) == 0)
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  return NativePath(FinalPath(a)) == NativePath(FinalPath(b));
}

std::vector<FoundFile> ListFolder(const std::wstring& pattern) {
  std::vector<FoundFile> found;
  std::size_t slash = pattern.find_last_of(L"\\/");
  std::wstring folder = slash == std::wstring::npos ? L"." : pattern.substr(0, slash + 1);
  std::wstring wildcards = slash == std::wstring::npos ? pattern : pattern.substr(slash + 1);
  if (folder.empty()) folder = L"\\";
  DIR* dir = opendir(NativePath(folder).c_str());
  if (!dir) {
    Fail(errno);
    return found;
  }
  while (dirent* entry = readdir(dir)) {
    std::string native = entry->d_name;
    if (native == "." || native == "..") continue;
    std::wstring name = ProgramPath(native);
    if (!MatchesWildcards(name, 0, wildcards, 0)) continue;
    FoundFile file{name};
    file.hidden = native[0] == '.';
    struct stat info {};
    std::string full = NativePath(folder) + "/" + native;
    file.link = lstat(full.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
    if (stat(full.c_str(), &info) == 0) {
      file.isFolder = S_ISDIR(info.st_mode);
      file.special = !file.isFolder && !S_ISREG(info.st_mode);
      file.size = static_cast<std::uint64_t>(info.st_size);
      file.writeTime = WriteTimeOf(info);
    }
    found.push_back(std::move(file));
  }
  closedir(dir);
  return found;
}

std::wstring AnsiToWide(const char* bytes, std::size_t count) {
  std::wstring text(count, L'\0');
  for (std::size_t i = 0; i < count; ++i) {
    auto b = static_cast<unsigned char>(bytes[i]);
    text[i] = b >= 0x80 && b < 0xA0 ? static_cast<wchar_t>(cp1252High[b - 0x80])
                                    : static_cast<wchar_t>(b);
  }
  return text;
}

std::string WideToAnsi(const wchar_t* text, std::size_t count) {
  std::string bytes(count, '\0');
  for (std::size_t i = 0; i < count; ++i) bytes[i] = AnsiOf(text[i]);
  return bytes;
}

unsigned CodePageId() { return 1252; }

bool testing::UseCodePage(unsigned codePage) { return codePage == 0 || codePage == 1252; }

namespace {
constexpr std::size_t largePage = std::size_t{2} << 20;
}

// The block lies in large pages, which come in a few faults each.
void PrefaultBlock(void*, std::size_t) {}

void* AllocateLargeBlock(std::size_t bytes) {
  if (!detail::LargeBlockAllowed()) return nullptr;
  // Mapped with one large page of slack, so that the block can start on a large-page boundary.
  std::size_t mapped = bytes + largePage;
  void* map = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (map == MAP_FAILED) return nullptr;
  auto start = reinterpret_cast<std::uintptr_t>(map);
  auto aligned = (start + largePage - 1) & ~(largePage - 1);
  if (aligned > start) munmap(map, aligned - start);
  std::size_t after = start + mapped - (aligned + bytes);
  if (after > 0) munmap(reinterpret_cast<void*>(aligned + bytes), after);
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void FreeLargeBlock(void* block, std::size_t bytes) {
  if (block) munmap(block, bytes);
}

bool IsAlphaNumeric(wchar_t ch) {
  return static_cast<std::uint32_t>(ch) <= 0xFFFF && iswalnum_l(static_cast<wint_t>(ch), UnicodeLocale());
}

wchar_t ToUpper(wchar_t ch) {
  if (static_cast<std::uint32_t>(ch) > 0xFFFF) return ch;
  auto upper = static_cast<std::uint32_t>(towupper_l(static_cast<wint_t>(ch), UnicodeLocale()));
  // A few letters upper-case outside the Basic Multilingual Plane; UTF-16 units cannot hold them.
  return upper > 0xFFFF ? ch : static_cast<wchar_t>(upper);
}

void ToUpperBuffer(wchar_t* text, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) text[i] = ToUpper(text[i]);
}

std::wstring ModulePath() {
  char buffer[4096];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return L"";
  return ProgramPath(std::string(buffer, static_cast<std::size_t>(length)));
}

bool RunWithin(std::function<void()> work, unsigned waitMs) {
  struct Shared {
    std::function<void()> work;
    std::mutex mutex;
    std::condition_variable done;
    bool ended = false;
  };
  const auto shared = std::make_shared<Shared>();
  shared->work = std::move(work);
  try {
    std::thread([shared] {
      shared->work();
      const std::lock_guard lock(shared->mutex);
      shared->ended = true;
      shared->done.notify_one();
    }).detach();
  } catch (const std::system_error&) {
    shared->work();  // no thread to be had: the work is done here
    return true;
  }
  std::unique_lock lock(shared->mutex);
  return shared->done.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return shared->ended; });
}

}  // namespace platform
