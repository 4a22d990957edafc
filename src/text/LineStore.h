// The lines of a document in order, and the memory they live in.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "text/Line.h"

// Owns every line of a document. Line objects come from a pool of fixed-size slots and the
// characters of loaded lines from a text arena, so that a file of a million lines costs a few
// large allocations instead of millions of small ones. Lines are addressed by index; the
// pointer array is what an edit shifts when it inserts or removes lines.
class LineStore {
 public:
  LineStore() = default;
  ~LineStore();
  LineStore(const LineStore&) = delete;
  LineStore& operator=(const LineStore&) = delete;
  LineStore(LineStore&& other) noexcept;
  LineStore& operator=(LineStore&& other) noexcept;

  int size() const { return static_cast<int>(lines_.size()); }
  bool empty() const { return lines_.empty(); }
  Line& operator[](int i) { return *lines_[static_cast<std::size_t>(i)]; }
  const Line& operator[](int i) const { return *lines_[static_cast<std::size_t>(i)]; }
  Line& back() { return *lines_.back(); }

  // Room in the text arena for a line of count characters that is about to be appended.
  wchar_t* ArenaText(std::size_t count);
  // Gives back the end of the last arena text when its line turned out shorter.
  void ShrinkArenaText(wchar_t* text, std::size_t used, std::size_t asked);
  // A new line over arena characters, appended at the end.
  Line& AppendArenaLine(wchar_t* text, int length);
  // A new line with its own copy of text, inserted before index at (at = size() appends).
  Line& InsertLine(int at, std::wstring_view text);
  // A new line with its own copy of text that belongs to no place yet: it goes in with
  // InsertLines or away with DestroyDetached.
  Line* NewLine(std::wstring_view text);
  void DestroyDetached(Line* line);
  // Makes room for count more lines, so that inserting them cannot fail.
  void ReserveMore(std::size_t count);
  // Puts detached lines in before index at.
  void InsertLines(int at, Line* const* lines, int count);
  // Destroys the lines [first, last).
  void Erase(int first, int last);
  void Clear();
  void Reserve(std::size_t lines) { lines_.reserve(lines); }

 private:
  void* NewSlot();
  void MakeRoomForOne();  // so that adding one line cannot fail after the line was made

  struct Slot {
    alignas(Line) unsigned char bytes[sizeof(Line)];
  };
  static constexpr std::size_t slotsPerChunk = 4096;
  static constexpr std::size_t arenaChunkUnits = std::size_t{1} << 20;

  std::vector<Line*> lines_;
  std::vector<std::unique_ptr<Slot[]>> slotChunks_;
  std::size_t slotsUsed_ = slotsPerChunk;  // slots handed out of the last chunk
  std::vector<void*> freeSlots_;           // slots of destroyed lines
  std::vector<std::unique_ptr<wchar_t[]>> arenaChunks_;
  wchar_t* arenaNext_ = nullptr;  // free room of the last arena chunk
  std::size_t arenaLeft_ = 0;
};
