// One line of a document: its characters, its wrap segments, its indentation width and the
// highlighter's state word.
#pragma once

#include <cstdint>
#include <string_view>

// A line is kept small because a document may hold millions of them. A line whose text came
// from a file and that has a single segment is nothing but this object: its characters lie in
// the document's text arena, and its one segment ends at the text's length. A line that is
// edited or cut into several segments gets a block of its own holding the segment ends and
// (once edited) the characters.
class Line {
 public:
  // A line over characters in the document's text arena, which outlives the line.
  Line(wchar_t* arenaText, int length);
  // A line with its own copy of text.
  explicit Line(std::wstring_view text);
  ~Line();
  Line(const Line&) = delete;
  Line& operator=(const Line&) = delete;

  const wchar_t* Data() const { return hasBlock_ ? BlockText() : text_; }
  int Length() const { return length_; }
  std::wstring_view Text() const { return {Data(), static_cast<std::size_t>(length_)}; }
  // The character at index, or 0 beyond the end.
  wchar_t CharAt(int index) const {
    return index >= 0 && index < length_ ? Data()[index] : L'\0';
  }

  // Replaces count characters at index by the given ones. The segment ends are stale until
  // the line is laid out again.
  void Replace(int index, int count, const wchar_t* text, int length);
  void Insert(int index, std::wstring_view text) {
    Replace(index, 0, text.data(), static_cast<int>(text.size()));
  }
  void Erase(int index, int count) { Replace(index, count, nullptr, 0); }
  void Append(std::wstring_view text) { Insert(length_, text); }

  // Segment k ends (exclusively) at SegmentEnd(k), where segment k + 1 begins. The ends never
  // decrease, the last one equals the text length, and there is at least one.
  int SegmentCount() const { return hasBlock_ ? block_->segmentCount : 1; }
  int SegmentEnd(int k) const {
    return hasBlock_ && block_->segmentCount > 1 ? Ends()[k] : length_;
  }
  int LastSegment() const { return SegmentCount() - 1; }
  void SetSegmentEnds(const int* ends, int count);

  // Width of the leading spaces and tabs in visual columns (0 when too wide for the wrap width).
  int indentWidth = 0;
  // Character index that belongs to the highlighter state; -1 when there is none.
  int constructPosition = -1;

  // Bits 0-4: the highlighter's end-of-line state; bit 5: the line carries a mark.
  std::uint32_t State() const { return state_; }
  void SetState(std::uint32_t state) { state_ = static_cast<std::uint8_t>(state & stateBits); }
  static constexpr std::uint32_t stateBits = 63;
  static constexpr std::uint32_t markBit = 32;

 private:
  // Segment ends and (when textCapacity > 0) the characters, in one allocation:
  // the header, then segmentCapacity ints, then textCapacity characters.
  struct Block {
    wchar_t* arenaText;       // the characters when they still lie in the arena, else null
    std::int32_t textCapacity;
    std::int32_t segmentCount;
    std::int32_t segmentCapacity;
  };

  int* Ends() const { return reinterpret_cast<int*>(block_ + 1); }
  wchar_t* BlockText() const {
    return block_->arenaText ? block_->arenaText
                             : reinterpret_cast<wchar_t*>(Ends() + block_->segmentCapacity);
  }
  // A block with room for the given characters and segment ends, holding the segment ends
  // of this line (as many as fit) and no characters yet.
  Block* NewBlock(int textCapacity, int segmentCapacity) const;
  // Puts block in the place of the current one.
  void SetBlock(Block* block);

  union {
    wchar_t* text_;  // without a block: the characters in the arena
    Block* block_;   // with a block (hasBlock_): owned
  };
  std::int32_t length_ = 0;
  std::uint8_t state_ = 0;
  bool hasBlock_ = false;
};
