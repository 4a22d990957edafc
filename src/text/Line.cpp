// Storage of a line's characters, segment ends and packed fields.
#include "text/Line.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "text/SmallBlocks.h"

namespace {

void CopyUnits(wchar_t* to, const wchar_t* from, int count) {
  if (count > 0) std::memmove(to, from, static_cast<std::size_t>(count) * sizeof(wchar_t));
}

}  // namespace

static_assert(sizeof(Line) == 8, "a line is meant to take 8 bytes");

Line::Line(wchar_t* arenaText, int length) { Place(arenaText, length, 0); }

Line::Line(const char* fileBytes, int length) { Place(fileBytes, length, narrowFlag); }

void Line::Place(const void* text, int length, std::uint32_t flags) {
  bits_ = flags;
  const auto distance = static_cast<long long>(reinterpret_cast<std::uintptr_t>(text) -
                                               reinterpret_cast<std::uintptr_t>(this));
  const bool reached = !text || (distance != 0 && distance >= -reach_ && distance <= reach_);
  if (static_cast<std::uint32_t>(length) < lengthMask && reached) {
    const auto packedDistance = static_cast<std::uint64_t>(text ? distance : 0) << distanceShift;
    bits_ = packedDistance | static_cast<std::uint64_t>(length) << lengthShift | flags;
  } else {
    EnsureBlock();
    TheBlock()->outside = text;
    TheBlock()->length = length;
  }
}

std::wstring_view Line::Peek() const {
  if (!IsNarrow()) return Text();
  // Only ever grown, so that a look at a line costs no clearing of the buffer.
  static std::vector<wchar_t> scratch;
  const auto length = static_cast<std::size_t>(Length());
  if (scratch.size() < length) scratch.resize(length);
  codepage::ToWide(NarrowBytes(), length, scratch.data());
  return {scratch.data(), length};
}

int Line::RoomFor(int length) const {
  if (!HasBlock()) return length;
  // Room to grow by half again, so that typing into a line copies it only now and then.
  const long long roomy = static_cast<long long>(length) + length / 2 + 8;
  return std::max(length, static_cast<int>(std::min<long long>(roomy, INT_MAX / 2)));
}

void Line::ReserveText(int capacity) {
  const int length = Length();
  capacity = std::max(capacity, length);
  if (!IsNarrow() && HasBlock() && !TheBlock()->outside && TheBlock()->textCapacity >= capacity) return;
  Block* block = NewBlock(RoomFor(capacity), SegmentRoom());
  if (IsNarrow()) {
    codepage::ToWide(NarrowBytes(), static_cast<std::size_t>(length), InlineText(block));
    // Where converting back would not give every byte, the bytes stay known.
    if (!block->original && !codepage::BytesComeBack()) {
      block->original = NarrowBytes();
      block->originalLength = length;
    }
    block->word &= ~narrowFlag;
  } else {
    CopyUnits(InlineText(block), Data(), length);
  }
  SetBlock(block);
}

Line::Line(std::wstring_view text) {
  int length = static_cast<int>(text.size());
  SetBlock(NewBlock(length, 0));
  CopyUnits(InlineText(TheBlock()), text.data(), length);
  TheBlock()->length = length;
}

Line::~Line() { FreeBlock(); }

void Line::FreeBlock() {
  if (HasBlock()) ::operator delete(TheBlock());
  if (HasSpans()) smallblocks::Free(TheSpans(), SpansBytes(TheSpans()->capacity));
}

int Line::SegmentRoom() const {
  if (HasBlock()) return TheBlock()->segmentCapacity;
  return SegmentCount() > 1 ? SegmentCount() : 0;
}

Line::Block* Line::NewBlock(int textCapacity, int segmentCapacity) const {
  std::size_t bytes = sizeof(Block) + static_cast<std::size_t>(segmentCapacity) * sizeof(int) +
                      static_cast<std::size_t>(textCapacity) * sizeof(wchar_t);
  auto* block = static_cast<Block*>(::operator new(bytes));
  block->outside = nullptr;
  block->textCapacity = textCapacity;
  block->segmentCapacity = segmentCapacity;
  block->segmentCount = 1;
  block->length = Length();
  block->original = HasBlock() ? TheBlock()->original : nullptr;
  block->originalLength = HasBlock() ? TheBlock()->originalLength : 0;
  block->word = Word();
  const int count = SegmentCount();
  if (count > 1 && count <= segmentCapacity) {
    auto* ends = reinterpret_cast<int*>(block + 1);
    for (int k = 0; k < count; ++k) ends[k] = SegmentEnd(k);
    block->segmentCount = count;
  }
  return block;
}

void Line::SetBlock(Block* block) {
  FreeBlock();
  bits_ = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(block)) | blockFlag;
}

void Line::EnsureBlock() {
  if (HasBlock()) return;
  Block* block = NewBlock(0, SegmentRoom());
  block->outside = OutsideText();
  SetBlock(block);
}

void Line::Replace(int index, int count, const wchar_t* text, int length) {
  if (IsNarrow()) Widen();
  const int oldLength = Length();
  const int newLength = oldLength - count + length;
  const int tail = oldLength - index - count;
  if (HasBlock() && !TheBlock()->outside && TheBlock()->textCapacity >= newLength) {
    wchar_t* chars = InlineText(TheBlock());
    CopyUnits(chars + index + length, chars + index + count, tail);
    CopyUnits(chars + index, text, length);
  } else {
    Block* block = NewBlock(RoomFor(newLength), SegmentRoom());
    wchar_t* chars = InlineText(block);
    const wchar_t* old = Data();
    CopyUnits(chars, old, index);
    CopyUnits(chars + index, text, length);
    CopyUnits(chars + index + length, old + index + count, tail);
    SetBlock(block);
  }
  TheBlock()->length = newLength;
}

void Line::SetSegmentEnds(const int* ends, int count) {
  if (count <= 1) {
    if (HasBlock()) TheBlock()->segmentCount = 1;
    if (HasSpans()) TheSpans()->count = 1;
    return;
  }
  if (!HasBlock()) {
    // A span counts its segments in 16 bits; a line cut into more (ends may repeat) takes a block.
    if (count <= UINT16_MAX && SetSpans(ends, count)) return;
    EnsureBlock();
  }
  if (TheBlock()->segmentCapacity < count) {
    // Text in the arena or the file stays there; characters of the line's own move with the
    // block.
    int segmentCapacity = count + count / 2;
    Block* block;
    if (TheBlock()->outside) {
      block = NewBlock(0, segmentCapacity);
      block->outside = OutsideText();
    } else {
      block = NewBlock(TheBlock()->textCapacity, segmentCapacity);
      CopyUnits(InlineText(block), InlineText(TheBlock()), TheBlock()->length);
    }
    SetBlock(block);
  }
  std::memcpy(Ends(), ends, static_cast<std::size_t>(count) * sizeof(int));
  TheBlock()->segmentCount = count;
}

std::string_view Line::Original() const {
  if (!HasBlock() || !TheBlock()->original) return {};
  return {TheBlock()->original, static_cast<std::size_t>(TheBlock()->originalLength)};
}

void Line::KeepOriginal(const char* bytes, int count) {
  EnsureBlock();
  TheBlock()->original = bytes;
  TheBlock()->originalLength = count;
}

void Line::KeepOriginalOf(const Line& other) {
  std::string_view bytes = other.Original();
  if (other.IsNarrow() && !codepage::BytesComeBack()) bytes = other.Bytes();
  if (bytes.data()) KeepOriginal(bytes.data(), static_cast<int>(bytes.size()));
}

bool Line::SetSpans(const int* ends, int count) {
  // A line without a block is shorter than the length bits hold, so that its ends fit 16 bits.
  static_assert(lengthMask <= UINT16_MAX, "segment ends of a packed line fit a span");
  const int stored = count - 1;
  if (!HasSpans() || TheSpans()->capacity < stored) {
    const std::int64_t distance = HasSpans() ? TheSpans()->distance : PackedDistance();
    if (distance < INT32_MIN || distance > INT32_MAX) return false;
    // Room for as many ends as the block holds, so that laying the line out again seldom
    // needs another.
    const int room = std::max(stored, static_cast<int>((smallblocks::blockBytes - sizeof(Spans)) / sizeof(std::uint16_t)));
    auto* spans = static_cast<Spans*>(smallblocks::Allocate(SpansBytes(room)));
    spans->distance = static_cast<std::int32_t>(distance);
    spans->word = Word();
    spans->capacity = static_cast<std::uint16_t>(room);
    FreeBlock();
    bits_ = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(spans)) | tagBits;
  }
  TheSpans()->count = static_cast<std::uint16_t>(count);
  for (int k = 0; k < stored; ++k) SpanEnds()[k] = static_cast<std::uint16_t>(ends[k]);
  return true;
}
