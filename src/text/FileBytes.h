// A whole file's bytes in one large block, read piece by piece, on the caller's thread or on one
// of its own while the caller splits the bytes already read into lines.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Platform.h"

class LineStore;

class FileBytes {
 public:
  // How a read ended: at the end of the file; at a read error; stopped by its caller; or at the
  // end of a block that was not to grow, with more of the file to come (a file that grew since
  // its size was asked for).
  enum class ReadEnd { whole, failed, stopped, full };

  FileBytes() = default;
  ~FileBytes();
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  // Opens the file and makes room for the bytes it holds and one more, so that the end of the
  // file is seen without growing the block. False when the file cannot be opened.
  bool Open(const std::wstring& path);
  std::uint64_t Expected() const { return expected_; }
  // Whether the file is long enough for reading it on a thread of its own (ReadAhead) to pay
  // off: a smaller one is read from the cache in a few milliseconds, less than the split of its
  // lines gains from the overlap, and the thread's memory is not spent on it.
  bool WorthReadingAhead() const;
  // Reads pieces after the bytes read so far until the end of the file. more hears of the size
  // after every piece and stops the read with false. A block that is full before the end grows
  // (moving the bytes read) when growing, else the read ends as full.
  ReadEnd ReadPieces(bool growing, const std::function<bool(std::size_t size)>& more);

  const char* Data() const { return memory_; }
  std::size_t Size() const { return size_; }
  // The file's time of last writing, as it was when the read reached its end.
  std::uint64_t WriteTime() const { return writeTime_; }
  // Hands the block to a store that keeps lines in it.
  void MoveTo(LineStore& store);

  // Makes reads take pieces of bytes bytes (0: the usual size), so that tests of small files
  // read them in many pieces; while it is not 0, files of any size are worth reading ahead.
  static void SetPieceForTests(std::size_t bytes);
  // Makes Open take files for bytes shorter than they are, as if they grew after their size was
  // asked for (0: as they are).
  static void SetShortfallForTests(std::size_t bytes);

 private:
  void Reserve(std::uint64_t bytes);

  platform::File file_;
  std::uint64_t expected_ = 0;
  char* memory_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t size_ = 0;
  std::uint64_t writeTime_ = 0;
};

// Reads a file's bytes on a thread of its own into a block that does not grow, so that the
// bytes read so far stay where they are while the caller reads them.
class ReadAhead {
 public:
  explicit ReadAhead(FileBytes& bytes) : bytes_(bytes), thread_([this] { Run(); }) {}
  // Stops the read and waits for its thread.
  ~ReadAhead() { Finish(true); }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  struct Progress {
    std::size_t size;  // bytes read so far: the first size bytes of the block are the file's
    bool ended;        // the read has ended
  };
  // Waits until more than seen bytes are read or the read ends, for at most wait.
  Progress WaitBeyond(std::size_t seen, std::chrono::milliseconds wait);
  // Waits for the read's end (stopping it first when stop) and tells how it ended.
  FileBytes::ReadEnd Finish(bool stop = false);

 private:
  void Run();

  FileBytes& bytes_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t size_ = 0;  // under mutex_, as the others
  bool ended_ = false;
  FileBytes::ReadEnd end_ = FileBytes::ReadEnd::failed;
  std::atomic<bool> stop_{false};
  std::thread thread_;  // last: it starts once the members above are made
};
