// Reading a file into one block, piece by piece.
#include "text/FileBytes.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

#include "text/LineStore.h"

namespace {

// The most bytes read at once: a large file is read in pieces, so that progress is told and
// the bytes read so far can be split into lines while the rest is read.
constexpr std::size_t usualPiece = std::size_t{4} << 20;
std::size_t readPiece = usualPiece;
std::size_t shortfall = 0;  // see SetShortfallForTests
// Files shorter than this are read on the caller's thread (see WorthReadingAhead).
constexpr std::uint64_t readAheadFrom = std::uint64_t{64} << 20;

}  // namespace

FileBytes::~FileBytes() { platform::FreeLargeBlock(memory_, capacity_); }

bool FileBytes::Open(const std::wstring& path) {
  file_ = platform::File(platform::OpenForReading(path));
  if (!file_.IsOpen()) return false;
  expected_ = platform::FileSize(file_.Get());
  expected_ -= std::min<std::uint64_t>(expected_, shortfall);
  Reserve(expected_ + 1);
  return true;
}

FileBytes::ReadEnd FileBytes::ReadPieces(bool growing, const std::function<bool(std::size_t)>& more) {
  for (;;) {
    if (size_ == capacity_) {
      if (!growing) return ReadEnd::full;
      Reserve(capacity_ * 2);
    }
    std::uint32_t got = 0;
    auto room = static_cast<std::uint32_t>(std::min(capacity_ - size_, readPiece));
    platform::PrefaultBlock(memory_ + size_, room);
    if (!platform::ReadFile(file_.Get(), memory_ + size_, room, got)) return ReadEnd::failed;
    if (got == 0) break;
    size_ += got;
    if (more && !more(size_)) return ReadEnd::stopped;
  }
  const std::optional<platform::FileStatus> status = platform::StatusOf(file_.Get());
  writeTime_ = status ? status->writeTime : 0;
  return ReadEnd::whole;
}

bool FileBytes::WorthReadingAhead() const { return readPiece != usualPiece || expected_ >= readAheadFrom; }

void FileBytes::SetPieceForTests(std::size_t bytes) { readPiece = bytes ? bytes : usualPiece; }

void FileBytes::SetShortfallForTests(std::size_t bytes) { shortfall = bytes; }

void FileBytes::MoveTo(LineStore& store) {
  store.AdoptBlock(memory_, capacity_);
  memory_ = nullptr;
  capacity_ = size_ = 0;
}

void FileBytes::Reserve(std::uint64_t bytes) {
  const std::size_t capacity = static_cast<std::size_t>(std::max<std::uint64_t>(bytes, 4096));
  auto* memory = static_cast<char*>(platform::AllocateLargeBlock(capacity));
  if (!memory) throw std::bad_alloc();
  if (size_ > 0) std::memcpy(memory, memory_, size_);
  platform::FreeLargeBlock(memory_, capacity_);
  memory_ = memory;
  capacity_ = capacity;
}

ReadAhead::Progress ReadAhead::WaitBeyond(std::size_t seen, std::chrono::milliseconds wait) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, wait, [&] { return ended_ || size_ > seen; });
  return {size_, ended_};
}

FileBytes::ReadEnd ReadAhead::Finish(bool stop) {
  if (stop) stop_ = true;
  if (thread_.joinable()) thread_.join();
  return end_;
}

void ReadAhead::Run() {
  FileBytes::ReadEnd end = FileBytes::ReadEnd::failed;
  try {
    end = bytes_.ReadPieces(false, [this](std::size_t size) {
      {
        std::lock_guard lock(mutex_);
        size_ = size;
      }
      changed_.notify_one();
      return !stop_;
    });
  } catch (...) {
    // Nothing in a read throws but a lock that fails; the read then counts as failed.
  }
  {
    std::lock_guard lock(mutex_);
    end_ = end;
    ended_ = true;
  }
  changed_.notify_one();
}
