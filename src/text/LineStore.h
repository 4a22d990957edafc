// The lines of a document in order, and the memory they live in.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/Line.h"
#include "text/LineOrder.h"

// Owns every line of a document. Line objects live in a pool of fixed-size slots and the
// characters of loaded lines in a text arena, both made of large blocks, so that a file of a
// million lines costs a few large allocations instead of millions of small ones. The order of
// the lines is kept as runs of slot numbers (LineOrder): what an edit changes when it inserts or
// removes lines. A line stays where it is in memory until it is destroyed.
class LineStore {
 public:
  LineStore() = default;
  ~LineStore();
  LineStore(const LineStore&) = delete;
  LineStore& operator=(const LineStore&) = delete;
  LineStore(LineStore&& other) noexcept;
  LineStore& operator=(LineStore&& other) noexcept;

  int size() const { return static_cast<int>(order_.size()); }
  bool empty() const { return order_.empty(); }
  Line& operator[](int i) { return SlotLine(order_[static_cast<std::size_t>(i)]); }
  const Line& operator[](int i) const { return SlotLine(order_[static_cast<std::size_t>(i)]); }

  // Room in the text arena for a line of count characters that is about to be appended.
  wchar_t* ArenaText(std::size_t count);
  // Gives back the end of the last arena text when its line turned out shorter.
  void ShrinkArenaText(wchar_t* text, std::size_t used, std::size_t asked);
  // A new line over arena characters, appended at the end.
  Line& AppendArenaLine(wchar_t* text, int length);
  // A new narrow line over bytes of a block the store keeps (AdoptBlock), appended at the end.
  Line& AppendNarrowLine(const char* bytes, int length);
  // Keeps a block of AllocateLargeBlock (a loaded file's bytes) until the store is cleared.
  void AdoptBlock(void* memory, std::size_t bytes);
  // A new line with its own copy of text, inserted before index at (at = size() appends).
  Line& InsertLine(int at, std::wstring_view text);

  // A line that belongs to no place yet: it goes in with ReplaceLines or away with
  // DestroyDetached.
  struct Detached {
    std::uint32_t slot;
    Line* line;
  };
  Detached NewLine(std::wstring_view text);
  void DestroyDetached(Detached line) noexcept;
  // Makes room for ReplaceLines of removed lines by added ones, so that it cannot fail.
  void ReserveReplace(int removed, int added);
  // Destroys the lines [first, last) and puts detached lines in their place; allocates nothing
  // after ReserveReplace.
  void ReplaceLines(int first, int last, const std::vector<Detached>& lines);

  void Clear();

 private:
  // Pool blocks grow with the document: blocks 0 and 1 hold 2^12 slots each, and block b > 1
  // holds 2^(11 + b), so that slot s lies in block bit_width(s) - 12 (0 for s < 2^12).
  static constexpr int firstBlockShift = 12;
  // Arena blocks grow from 64 KiB to 4 MiB.
  static constexpr std::size_t firstArenaBytes = std::size_t{64} << 10;
  static constexpr std::size_t largestArenaBytes = std::size_t{4} << 20;

  struct Block {
    void* memory;
    std::size_t bytes;
  };

  Line& SlotLine(std::uint32_t slot) const {
    if (slot < (1u << firstBlockShift)) return slotBlocks_[0][slot];
    int width = std::bit_width(slot);
    return slotBlocks_[static_cast<std::size_t>(width - firstBlockShift)][slot - (1u << (width - 1))];
  }
  std::uint32_t NewSlot();
  // Destroys the lines [first, last) and gives their slots back, in the order in which NewSlot
  // hands them out again from the last: first to last, so that their runs stay runs.
  void DestroyLines(int first, int last) noexcept;
  template <typename Text>
  Line& AppendOver(Text text, int length);  // a line over characters the store keeps
  static void* NewBlock(std::vector<Block>& blocks, std::size_t bytes);
  static void FreeBlocks(std::vector<Block>& blocks);

  LineOrder order_;  // the slots of the lines, in document order
  std::vector<Line*> slotBlocks_;      // pool blocks, growing as above
  std::vector<Block> slotMemory_;
  std::uint32_t slotsUsed_ = 0;        // slots handed out so far, over all pool blocks
  std::vector<std::uint32_t> freeSlots_;  // slots of destroyed lines
  std::vector<std::uint32_t> insertedSlots_;  // the slots ReplaceLines puts in, with room made first
  std::vector<Block> arenaMemory_;
  wchar_t* arenaNext_ = nullptr;  // free room of the current arena block
  std::size_t arenaLeft_ = 0;
};
