// What identifies the bytes a document last read from or wrote to its file: the file's final
// path, its size and time of last write, and a hash of the bytes. The recovery journal names the
// file its changes apply to with it; a look for a file changed by another program compares it
// with the file as it is now (the status first, the bytes only when the status cannot tell).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct FileStamp {
  std::wstring path;            // the file's final path (links followed); empty: no file
  std::uint64_t size = 0;       // in bytes
  std::uint64_t writeTime = 0;  // last write, in 100 ns units since 1601-01-01 UTC
  std::uint64_t hash = 0;       // BytesHash of the bytes
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// A 64-bit hash of bytes given in pieces, the same however they are cut: fast enough to run over
// every file that is read or written (several bytes a cycle), not meant to resist an attacker.
class BytesHash {
 public:
  void Add(std::string_view bytes);
  std::uint64_t Value() const;

 private:
  static constexpr std::size_t stripe = 32;  // four lanes of eight bytes
  void AddStripe(const char* bytes);

  std::uint64_t lanes_[4] = {0x60EA27EEADC0B5D6ULL, 0xC2B2AE3D27D4EB4FULL, 0, 0x61C8864E7A143579ULL};
  char pending_[stripe] = {};  // the bytes of an unfinished stripe
  std::size_t pendingCount_ = 0;
  std::uint64_t total_ = 0;
};

std::uint64_t HashBytes(std::string_view bytes);

// The file at path as it is now, its bytes read and hashed; nullopt when it is not there or
// cannot be read whole.
std::optional<FileStamp> ReadFileStamp(const std::wstring& path);

// True when two stamps stand for the same bytes: the same size and hash, whatever their times.
bool SameBytes(const FileStamp& a, const FileStamp& b);
