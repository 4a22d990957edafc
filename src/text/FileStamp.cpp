// Hashing the bytes of a file and reading the stamp of a file as it is now.
#include "text/FileStamp.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "platform/Platform.h"

namespace {

constexpr std::uint64_t prime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t prime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t prime3 = 0x165667B19E3779F9ULL;
constexpr std::uint64_t prime4 = 0x85EBCA77C2B2AE63ULL;
constexpr std::uint64_t prime5 = 0x27D4EB2F165667C5ULL;

// Eight bytes as a little-endian number, whatever the machine.
std::uint64_t Word(const char* bytes) {
  std::uint64_t word;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&word, bytes, sizeof word);
  } else {
    word = 0;
    for (int i = 7; i >= 0; --i) word = (word << 8) | static_cast<unsigned char>(bytes[i]);
  }
  return word;
}

std::uint64_t Mix(std::uint64_t lane, std::uint64_t word) {
  return std::rotl(lane + word * prime2, 31) * prime1;
}

}  // namespace

void BytesHash::AddStripe(const char* bytes) {
  for (int i = 0; i < 4; ++i) lanes_[i] = Mix(lanes_[i], Word(bytes + 8 * i));
}

void BytesHash::Add(std::string_view bytes) {
  total_ += bytes.size();
  if (pendingCount_ > 0) {
    const std::size_t take = std::min(stripe - pendingCount_, bytes.size());
    std::memcpy(pending_ + pendingCount_, bytes.data(), take);
    pendingCount_ += take;
    bytes.remove_prefix(take);
    if (pendingCount_ < stripe) return;
    AddStripe(pending_);
    pendingCount_ = 0;
  }
  while (bytes.size() >= stripe) {
    AddStripe(bytes.data());
    bytes.remove_prefix(stripe);
  }
  std::memcpy(pending_, bytes.data(), bytes.size());
  pendingCount_ = bytes.size();
}

std::uint64_t BytesHash::Value() const {
  std::uint64_t h = std::rotl(lanes_[0], 1) + std::rotl(lanes_[1], 7) + std::rotl(lanes_[2], 12) +
                    std::rotl(lanes_[3], 18);
  for (std::uint64_t lane : lanes_) h = (h ^ Mix(0, lane)) * prime1 + prime4;
  h += total_ + prime5;
  std::size_t i = 0;
  for (; i + 8 <= pendingCount_; i += 8) h = std::rotl(h ^ Mix(0, Word(pending_ + i)), 27) * prime1 + prime4;
  for (; i < pendingCount_; ++i)
    h = std::rotl(h ^ (static_cast<unsigned char>(pending_[i]) * prime5), 11) * prime1;
  h ^= h >> 33;
  h *= prime2;
  h ^= h >> 29;
  h *= prime3;
  return h ^ (h >> 32);
}

std::uint64_t HashBytes(std::string_view bytes) {
  BytesHash hash;
  hash.Add(bytes);
  return hash.Value();
}

std::optional<FileStamp> ReadFileStamp(const std::wstring& path) {
  platform::File file(platform::OpenForReading(path));
  if (!file.IsOpen()) return std::nullopt;
  BytesHash hash;
  std::uint64_t size = 0;
  std::array<char, 65536> block;
  for (;;) {
    std::uint32_t got = 0;
    if (!platform::ReadFile(file.Get(), block.data(), block.size(), got)) return std::nullopt;
    if (got == 0) break;
    hash.Add({block.data(), got});
    size += got;
  }
  const std::optional<platform::FileStatus> status = platform::StatusOf(file.Get());
  if (!status || status->size != size) return std::nullopt;
  return FileStamp{platform::FinalPath(path), size, status->writeTime, hash.Value()};
}

bool SameBytes(const FileStamp& a, const FileStamp& b) { return a.size == b.size && a.hash == b.hash; }
