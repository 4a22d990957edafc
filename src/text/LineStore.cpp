// The line pool, the text arena and the ordered array of lines.
#include "text/LineStore.h"

#include <algorithm>
#include <utility>

LineStore::~LineStore() { Clear(); }

LineStore::LineStore(LineStore&& other) noexcept { *this = std::move(other); }

LineStore& LineStore::operator=(LineStore&& other) noexcept {
  if (this != &other) {
    Clear();
    lines_ = std::move(other.lines_);
    slotChunks_ = std::move(other.slotChunks_);
    slotsUsed_ = std::exchange(other.slotsUsed_, slotsPerChunk);
    freeSlots_ = std::move(other.freeSlots_);
    arenaChunks_ = std::move(other.arenaChunks_);
    arenaNext_ = std::exchange(other.arenaNext_, nullptr);
    arenaLeft_ = std::exchange(other.arenaLeft_, 0);
    other.lines_.clear();
    other.slotChunks_.clear();
    other.freeSlots_.clear();
    other.arenaChunks_.clear();
  }
  return *this;
}

void LineStore::Clear() {
  for (Line* line : lines_) line->~Line();
  lines_.clear();
  freeSlots_.clear();
  slotChunks_.clear();
  slotsUsed_ = slotsPerChunk;
  arenaChunks_.clear();
  arenaNext_ = nullptr;
  arenaLeft_ = 0;
}

void* LineStore::NewSlot() {
  if (!freeSlots_.empty()) {
    void* slot = freeSlots_.back();
    freeSlots_.pop_back();
    return slot;
  }
  if (slotsUsed_ == slotsPerChunk) {
    // for_overwrite: the pages of a chunk are touched only as its slots are used.
    slotChunks_.push_back(std::make_unique_for_overwrite<Slot[]>(slotsPerChunk));
    slotsUsed_ = 0;
  }
  return slotChunks_.back()[slotsUsed_++].bytes;
}

wchar_t* LineStore::ArenaText(std::size_t count) {
  if (count > arenaLeft_) {
    std::size_t units = count > arenaChunkUnits / 4 ? count : arenaChunkUnits;
    arenaChunks_.push_back(std::make_unique_for_overwrite<wchar_t[]>(units));
    wchar_t* text = arenaChunks_.back().get();
    // A very long line gets a chunk of its own; the current chunk stays open for the next.
    if (units != arenaChunkUnits) return text;
    arenaNext_ = text;
    arenaLeft_ = units;
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

void LineStore::MakeRoomForOne() {
  if (lines_.size() == lines_.capacity()) lines_.reserve(lines_.size() * 2 + 16);
}

Line& LineStore::AppendArenaLine(wchar_t* text, int length) {
  MakeRoomForOne();
  Line* line = new (NewSlot()) Line(text, length);
  lines_.push_back(line);
  return *line;
}

Line& LineStore::InsertLine(int at, std::wstring_view text) {
  MakeRoomForOne();
  Line* line = NewLine(text);
  lines_.insert(lines_.begin() + at, line);
  return *line;
}

Line* LineStore::NewLine(std::wstring_view text) {
  void* slot = NewSlot();
  try {
    return new (slot) Line(text);
  } catch (...) {
    freeSlots_.push_back(slot);
    throw;
  }
}

void LineStore::DestroyDetached(Line* line) {
  line->~Line();
  freeSlots_.push_back(line);
}

void LineStore::ReserveMore(std::size_t count) {
  std::size_t needed = lines_.size() + count;
  if (needed > lines_.capacity()) lines_.reserve(std::max(needed, lines_.capacity() * 2));
}

void LineStore::InsertLines(int at, Line* const* lines, int count) {
  ReserveMore(static_cast<std::size_t>(count));
  lines_.insert(lines_.begin() + at, lines, lines + count);
}

void LineStore::Erase(int first, int last) {
  if (first >= last) return;
  std::size_t needed = freeSlots_.size() + static_cast<std::size_t>(last - first);
  if (needed > freeSlots_.capacity()) freeSlots_.reserve(std::max(needed, freeSlots_.capacity() * 2));
  for (int i = first; i < last; ++i) {
    Line* line = lines_[static_cast<std::size_t>(i)];
    line->~Line();
    freeSlots_.push_back(line);
  }
  lines_.erase(lines_.begin() + first, lines_.begin() + last);
}
