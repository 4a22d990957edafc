// Storage of a line's characters and segment ends.
#include "text/Line.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

void CopyUnits(wchar_t* to, const wchar_t* from, int count) {
  if (count > 0) std::memmove(to, from, static_cast<std::size_t>(count) * sizeof(wchar_t));
}

}  // namespace

Line::Line(wchar_t* arenaText, int length) : text_(arenaText), length_(length) {}

Line::Line(std::wstring_view text) : text_(nullptr) {
  int length = static_cast<int>(text.size());
  SetBlock(NewBlock(length, 0));
  CopyUnits(BlockText(), text.data(), length);
  length_ = length;
}

Line::~Line() {
  if (hasBlock_) ::operator delete(block_);
}

Line::Block* Line::NewBlock(int textCapacity, int segmentCapacity) const {
  std::size_t bytes = sizeof(Block) + static_cast<std::size_t>(segmentCapacity) * sizeof(int) +
                      static_cast<std::size_t>(textCapacity) * sizeof(wchar_t);
  auto* block = static_cast<Block*>(::operator new(bytes));
  block->arenaText = nullptr;
  block->textCapacity = textCapacity;
  block->segmentCapacity = segmentCapacity;
  block->segmentCount = 1;
  int count = SegmentCount();
  if (count > 1 && count <= segmentCapacity) {
    std::memcpy(reinterpret_cast<int*>(block + 1), Ends(),
                static_cast<std::size_t>(count) * sizeof(int));
    block->segmentCount = count;
  }
  return block;
}

void Line::SetBlock(Block* block) {
  if (hasBlock_) ::operator delete(block_);
  block_ = block;
  hasBlock_ = true;
}

void Line::Replace(int index, int count, const wchar_t* text, int length) {
  int newLength = length_ - count + length;
  int tail = length_ - index - count;
  if (hasBlock_ && !block_->arenaText && block_->textCapacity >= newLength) {
    wchar_t* chars = BlockText();
    CopyUnits(chars + index + length, chars + index + count, tail);
    CopyUnits(chars + index, text, length);
  } else {
    // Room to grow by half again, so that typing into a line copies it only now and then.
    int capacity = std::max(newLength, hasBlock_ ? newLength + newLength / 2 + 8 : newLength);
    Block* block = NewBlock(capacity, hasBlock_ ? block_->segmentCapacity : 0);
    auto* chars = reinterpret_cast<wchar_t*>(reinterpret_cast<int*>(block + 1) +
                                             block->segmentCapacity);
    const wchar_t* old = Data();
    CopyUnits(chars, old, index);
    CopyUnits(chars + index, text, length);
    CopyUnits(chars + index + length, old + index + count, tail);
    SetBlock(block);
  }
  length_ = newLength;
}

void Line::SetSegmentEnds(const int* ends, int count) {
  if (count <= 1) {
    if (hasBlock_) block_->segmentCount = 1;
    return;
  }
  if (!hasBlock_ || block_->segmentCapacity < count) {
    // A line's text in the arena stays there; characters of its own move with the block.
    int segmentCapacity = count + count / 2;
    Block* block;
    if (!hasBlock_ || block_->arenaText) {
      block = NewBlock(0, segmentCapacity);
      block->arenaText = const_cast<wchar_t*>(Data());
    } else {
      block = NewBlock(block_->textCapacity, segmentCapacity);
      CopyUnits(reinterpret_cast<wchar_t*>(reinterpret_cast<int*>(block + 1) + segmentCapacity),
                BlockText(), length_);
    }
    SetBlock(block);
  }
  std::memcpy(Ends(), ends, static_cast<std::size_t>(count) * sizeof(int));
  block_->segmentCount = count;
}
