// The line pool, the text arena and the order of the lines.
#include "text/LineStore.h"

#include <algorithm>
#include <new>
#include <utility>

#include "platform/Platform.h"
#include "text/ReserveGrowing.h"

LineStore::~LineStore() { Clear(); }

LineStore::LineStore(LineStore&& other) noexcept { *this = std::move(other); }

LineStore& LineStore::operator=(LineStore&& other) noexcept {
  if (this != &other) {
    Clear();
    order_ = std::exchange(other.order_, {});
    slotBlocks_ = std::exchange(other.slotBlocks_, {});
    slotMemory_ = std::exchange(other.slotMemory_, {});
    slotsUsed_ = std::exchange(other.slotsUsed_, 0);
    freeSlots_ = std::exchange(other.freeSlots_, {});
    insertedSlots_ = std::exchange(other.insertedSlots_, {});
    arenaMemory_ = std::exchange(other.arenaMemory_, {});
    arenaNext_ = std::exchange(other.arenaNext_, nullptr);
    arenaLeft_ = std::exchange(other.arenaLeft_, 0);
  }
  return *this;
}

void* LineStore::NewBlock(std::vector<Block>& blocks, std::size_t bytes) {
  ReserveGrowing(blocks, blocks.size() + 1);
  void* memory = platform::AllocateLargeBlock(bytes);
  if (!memory) throw std::bad_alloc();
  blocks.push_back({memory, bytes});
  return memory;
}

void LineStore::FreeBlocks(std::vector<Block>& blocks) {
  for (const Block& block : blocks) platform::FreeLargeBlock(block.memory, block.bytes);
  blocks.clear();
}

void LineStore::Clear() {
  order_.ForEach([this](std::uint32_t slot) { SlotLine(slot).~Line(); });
  order_.Clear();
  freeSlots_.clear();
  slotBlocks_.clear();
  FreeBlocks(slotMemory_);
  slotsUsed_ = 0;
  FreeBlocks(arenaMemory_);
  arenaNext_ = nullptr;
  arenaLeft_ = 0;
}

std::uint32_t LineStore::NewSlot() {
  if (!freeSlots_.empty()) {
    std::uint32_t slot = freeSlots_.back();
    freeSlots_.pop_back();
    return slot;
  }
  // The blocks so far hold 2^(11 + count) slots, or none.
  const std::size_t blocks = slotBlocks_.size();
  const std::size_t capacity = blocks == 0 ? 0 : std::size_t{1} << (firstBlockShift - 1 + blocks);
  if (slotsUsed_ == capacity) {
    std::size_t slots = blocks < 2 ? std::size_t{1} << firstBlockShift : capacity;
    ReserveGrowing(slotBlocks_, blocks + 1);
    slotBlocks_.push_back(static_cast<Line*>(NewBlock(slotMemory_, slots * sizeof(Line))));
  }
  return slotsUsed_++;
}

wchar_t* LineStore::ArenaText(std::size_t count) {
  if (count > arenaLeft_) {
    // A very long line gets a block of its own; the current block stays open for the next.
    if (count > largestArenaBytes / sizeof(wchar_t) / 4)
      return static_cast<wchar_t*>(NewBlock(arenaMemory_, count * sizeof(wchar_t)));
    std::size_t bytes = std::min(largestArenaBytes, firstArenaBytes << std::min<std::size_t>(arenaMemory_.size(), 8));
    while (bytes < count * sizeof(wchar_t)) bytes *= 2;
    arenaNext_ = static_cast<wchar_t*>(NewBlock(arenaMemory_, bytes));
    arenaLeft_ = bytes / sizeof(wchar_t);
  }
  wchar_t* text = arenaNext_;
  arenaNext_ += count;
  arenaLeft_ -= count;
  return text;
}

void LineStore::ShrinkArenaText(wchar_t* text, std::size_t used, std::size_t asked) {
  if (text + asked == arenaNext_) {
    arenaNext_ -= asked - used;
    arenaLeft_ += asked - used;
  }
}

template <typename Text>
Line& LineStore::AppendOver(Text text, int length) {
  order_.ReserveAppend();
  std::uint32_t slot = NewSlot();
  Line* line = new (&SlotLine(slot)) Line(text, length);
  order_.Append(slot);
  return *line;
}

Line& LineStore::AppendArenaLine(wchar_t* text, int length) { return AppendOver(text, length); }

Line& LineStore::AppendNarrowLine(const char* bytes, int length) { return AppendOver(bytes, length); }

void LineStore::AdoptBlock(void* memory, std::size_t bytes) {
  ReserveGrowing(arenaMemory_, arenaMemory_.size() + 1);
  arenaMemory_.push_back({memory, bytes});
}

Line& LineStore::InsertLine(int at, std::wstring_view text) {
  order_.ReserveReplace(1);
  Detached made = NewLine(text);
  order_.Replace(static_cast<std::size_t>(at), static_cast<std::size_t>(at), {&made.slot, 1});
  return *made.line;
}

LineStore::Detached LineStore::NewLine(std::wstring_view text) {
  ReserveGrowing(freeSlots_, freeSlots_.size() + 1);  // so that a failed line can give its slot back
  std::uint32_t slot = NewSlot();
  try {
    return {slot, new (&SlotLine(slot)) Line(text)};
  } catch (...) {
    freeSlots_.push_back(slot);
    throw;
  }
}

void LineStore::DestroyDetached(Detached line) noexcept {
  line.line->~Line();
  // Without room the slot stays unused until the store is cleared: this may run while an
  // edit unwinds for want of memory.
  if (freeSlots_.size() < freeSlots_.capacity()) freeSlots_.push_back(line.slot);
}

void LineStore::DestroyLines(int first, int last) noexcept {
  for (int i = last - 1; i >= first; --i) {
    const std::uint32_t slot = order_[static_cast<std::size_t>(i)];
    SlotLine(slot).~Line();
    freeSlots_.push_back(slot);
  }
}

void LineStore::ReserveReplace(int removed, int added) {
  order_.ReserveReplace(static_cast<std::size_t>(added));
  ReserveGrowing(freeSlots_, freeSlots_.size() + static_cast<std::size_t>(removed));
  ReserveGrowing(insertedSlots_, static_cast<std::size_t>(added));
}

void LineStore::ReplaceLines(int first, int last, const std::vector<Detached>& lines) {
  ReserveReplace(last - first, static_cast<int>(lines.size()));
  DestroyLines(first, last);
  insertedSlots_.clear();
  for (const Detached& line : lines) insertedSlots_.push_back(line.slot);
  order_.Replace(static_cast<std::size_t>(first), static_cast<std::size_t>(last), insertedSlots_);
}
