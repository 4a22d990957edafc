// One line of a document: its characters, its wrap segments and the highlighter's state word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/CodePage.h"
#include "text/LineState.h"

// A document may hold millions of lines, so a line is 8 bytes in the common case: a line whose
// text came from a file, with one segment and small numbers, is one word of packed fields and
// the distance from the line to its characters (lines never move, so the distance stays true);
// its one segment ends at the text's length. The characters lie in the document's text arena as
// UTF-16 units, or, for a narrow line, in the file's own bytes, one byte for each unit through
// the single-byte code page (a code page file, or a line of plain ASCII in a UTF-8 file): such a
// line is widened into UTF-16 units of its own when it is edited or its characters are asked
// for with Data, and read through Peek without that.
// A line cut into several segments, and nothing more, keeps its packed word and its characters
// where they are and gets a small block of spans with its segment ends. A line that is edited,
// too long for the packed length field or too far from its characters for the distance gets a
// block of its own with the segment ends, the full fields and (once edited or widened) the
// characters. A line also knows how it ends in its file (carriage return and line feed, or a
// line feed alone), and a line read from a code page file whose bytes the conversion would not
// give back keeps where those bytes are, so that a save can write them.
class Line {
 public:
  // The most characters a line holds: twice as many still fit an int, so that sums of indexes
  // and lengths cannot overflow.
  static constexpr int maxLength = (1 << 30) - 1;
  // The most characters a line may be given, by a load or an edit: maxLength, or fewer while a
  // test lowers it (0: maxLength again), so that tests need no line of gigabytes.
  static std::size_t Longest() { return longest_; }
  static void SetLongestForTests(std::size_t units) { longest_ = units == 0 ? maxLength : units; }
  // The farthest a line's characters may lie from it for the line to keep only the distance:
  // 32 GB, or less while a test lowers it (0 puts every line with characters in a block; a
  // negative value restores the reach).
  static void SetReachForTests(long long bytes) { reach_ = bytes < 0 ? farthest : bytes; }

  // A line over characters in the document's text arena, which outlives the line.
  Line(wchar_t* arenaText, int length);
  // A narrow line over bytes kept by the document, which outlive the line.
  Line(const char* fileBytes, int length);
  // A line with its own copy of text.
  explicit Line(std::wstring_view text);
  ~Line();
  Line(const Line&) = delete;
  Line& operator=(const Line&) = delete;

  // The characters; a narrow line is widened first, so that the pointer stays valid until the
  // line is edited.
  const wchar_t* Data() const {
    if (IsNarrow()) const_cast<Line*>(this)->Widen();
    return HasBlock() ? BlockText() : static_cast<const wchar_t*>(OutsideText());
  }
  int Length() const {
    return HasBlock() ? TheBlock()->length : static_cast<int>((Word() >> lengthShift) & lengthMask);
  }
  std::wstring_view Text() const { return {Data(), static_cast<std::size_t>(Length())}; }
  // The characters for one look that leaves a narrow line narrow: converted into a buffer
  // that the next Peek of any line reuses (the text model runs on one thread). For readers that
  // finish with one line before they look at the next (layout, highlighter states, saving,
  // copying).
  std::wstring_view Peek() const;
  // The character at index, or 0 beyond the end.
  wchar_t CharAt(int index) const {
    if (index < 0 || index >= Length()) return L'\0';
    return IsNarrow() ? codepage::WideOf(static_cast<unsigned char>(NarrowBytes()[index]))
                      : Data()[index];
  }
  // A narrow line's bytes, one for each unit; empty for any other line.
  bool IsNarrow() const { return (Word() & narrowFlag) != 0; }
  std::string_view Bytes() const {
    return IsNarrow() ? std::string_view(NarrowBytes(), static_cast<std::size_t>(Length()))
                      : std::string_view();
  }

  // The line end after the line: a line feed alone, or a carriage return and a line feed. The
  // last line's is not written. A line whose characters end in a carriage return ends in CR LF
  // (unless it is the last): with a line feed alone its bytes would read back as another line.
  bool EndsInLineFeed() const { return (Word() & lineFeedFlag) != 0; }
  void SetEndsInLineFeed(bool lineFeed) { SetWord(lineFeed ? Word() | lineFeedFlag : Word() & ~lineFeedFlag); }

  // The bytes the line was read from, kept where converting its characters back would not give
  // them (a multi-byte code page, bytes that a single-byte one maps to the same character);
  // empty for any other line. They stand for the line while its characters are still theirs.
  std::string_view Original() const;
  void KeepOriginal(const char* bytes, int count);
  // Keeps the bytes other was read from, as above, for a line that takes other's place.
  void KeepOriginalOf(const Line& other);

  // Makes the characters the line's own (a narrow line widened) with room for capacity of them,
  // so that a Replace that leaves no more than that allocates nothing. The text stays the same.
  void ReserveText(int capacity);
  // Replaces count characters at index by the given ones. The segment ends are stale until
  // the line is laid out again.
  void Replace(int index, int count, const wchar_t* text, int length);
  void Insert(int index, std::wstring_view text) {
    Replace(index, 0, text.data(), static_cast<int>(text.size()));
  }
  void Erase(int index, int count) { Replace(index, count, nullptr, 0); }

  // Segment k ends (exclusively) at SegmentEnd(k), where segment k + 1 begins. The ends never
  // decrease, the last one equals the text length, and there is at least one.
  int SegmentCount() const {
    return HasBlock() ? TheBlock()->segmentCount : HasSpans() ? TheSpans()->count : 1;
  }
  int SegmentEnd(int k) const {
    if (HasBlock()) return TheBlock()->segmentCount > 1 ? Ends()[k] : Length();
    return HasSpans() && k < TheSpans()->count - 1 ? SpanEnds()[k] : Length();
  }
  int LastSegment() const { return SegmentCount() - 1; }
  void SetSegmentEnds(const int* ends, int count);

  // Character index that belongs to the highlighter state; -1 when there is none, farConstruct
  // when it is farConstructStart or more. The line keeps only the small indexes (setting one
  // never allocates, so that the states after an edit are walked without a failure halfway);
  // ConstructPositionOf in Layout.h finds a far one again from the line's text.
  static constexpr int farConstructStart = 126;
  static constexpr int farConstruct = -2;
  int ConstructPosition() const {
    const int packed = static_cast<int>((Word() & constructMask) >> constructShift);
    return packed == farPacked ? farConstruct : packed - 1;
  }
  void SetConstructPosition(int position) {
    // Below -1 (farConstruct) is far as well, so that a far position given back stays far.
    const bool packedFar = position >= farConstructStart || position < -1;
    const auto packed = static_cast<std::uint32_t>(packedFar ? farPacked : position + 1);
    SetWord((Word() & ~constructMask) | (packed << constructShift));
  }

  // The state word: the highlighter's end-state code and the mark (see LineState.h).
  std::uint32_t State() const { return (Word() >> stateShift) & lineState::allBits; }
  void SetState(std::uint32_t state) {
    SetWord((Word() & ~(lineState::allBits << stateShift)) | ((state & lineState::allBits) << stateShift));
  }
  bool Marked() const { return lineState::Marked(State()); }

 private:
  // The fields of a line with a block, then segmentCapacity ints, then textCapacity characters.
  struct Block {
    // The characters while they lie outside the block: units in the arena, or the file's
    // bytes of a narrow line; null once they are the block's own.
    const void* outside;
    const char* original;  // see Original(); null for none
    std::int32_t textCapacity;
    std::int32_t segmentCount;
    std::int32_t segmentCapacity;
    std::int32_t length;
    std::int32_t originalLength;  // bytes at original
    std::uint32_t word;           // the packed fields as below; its length bits unused
  };
  // The small block of a line that keeps its packed word: the distance from the line to its
  // characters (within 32 bits), its word (with the length) and then capacity 16-bit segment
  // ends, all but the last (which is the length). It comes from the small blocks
  // (SmallBlocks.h), on bounds of eight bytes.
  struct Spans {
    std::int32_t distance;
    std::uint32_t word;
    std::uint16_t count;
    std::uint16_t capacity;
  };
  static_assert(alignof(Block) >= 4 && alignof(Spans) >= 4, "the tag bits of the address are free");
  static std::size_t SpansBytes(int capacity) {
    return sizeof(Spans) + static_cast<std::size_t>(capacity) * sizeof(std::uint16_t);
  }

  // bits_: with bit 0 (blockFlag) set, the line's block (owned) with the tag bits 0 and 1
  // cleared; bit 1 (spansFlag) tells a Spans from a Block (both lie on bounds of at least four
  // bytes). Else the low 28 bits are the word and the high 36 bits the signed distance in bytes
  // from the line to its characters (0: none). The word: bit 0 clear, bits 1-12 the length (without a block),
  // bits 13-19 the construct position + 1 (or farPacked), bit 20 a line feed alone ends the
  // line, bit 21 a narrow line, bits 22-27 the state. A line longer than the length bits hold
  // (a block is little beside its text), or characters out of reach, move the line to a block.
  static constexpr std::uint64_t blockFlag = 1;
  static constexpr std::uint64_t spansFlag = 2;
  static constexpr std::uint64_t tagBits = blockFlag | spansFlag;
  static constexpr int lengthShift = 1;
  static constexpr std::uint32_t lengthMask = (1u << 12) - 1;
  static constexpr int constructShift = 13;
  static constexpr int farPacked = (1 << 7) - 1;
  static constexpr std::uint32_t constructMask = static_cast<std::uint32_t>(farPacked) << constructShift;
  static_assert(farPacked == farConstructStart + 1, "every position below the far ones fits");
  static constexpr std::uint32_t lineFeedFlag = 1u << 20;
  static constexpr std::uint32_t narrowFlag = 1u << 21;
  static constexpr int stateShift = 22;
  static_assert(lineState::allBits < (1u << 6), "the state word has six bits");
  static constexpr int distanceShift = 28;
  static constexpr std::uint64_t wordBits = (std::uint64_t{1} << distanceShift) - 1;
  static constexpr long long farthest = (1LL << (63 - distanceShift)) - 1;
  static inline std::size_t longest_ = maxLength;  // see Longest
  static inline long long reach_ = farthest;       // see SetReachForTests

  bool HasBlock() const { return (bits_ & tagBits) == blockFlag; }
  bool HasSpans() const { return (bits_ & tagBits) == tagBits; }
  Block* TheBlock() const { return reinterpret_cast<Block*>(static_cast<std::uintptr_t>(bits_ & ~tagBits)); }
  Spans* TheSpans() const { return reinterpret_cast<Spans*>(static_cast<std::uintptr_t>(bits_ & ~tagBits)); }
  std::uint16_t* SpanEnds() const { return reinterpret_cast<std::uint16_t*>(TheSpans() + 1); }
  std::uint32_t Word() const {
    if (HasBlock()) return TheBlock()->word;
    return HasSpans() ? TheSpans()->word : static_cast<std::uint32_t>(bits_ & wordBits);
  }
  // Sets the word's fields; a packed length is kept as it is.
  void SetWord(std::uint32_t word) {
    constexpr std::uint32_t lengthBits = lengthMask << lengthShift;
    if (HasBlock())
      TheBlock()->word = word;
    else if (HasSpans())
      TheSpans()->word = word;
    else
      bits_ = (bits_ & ~wordBits) | (word & wordBits & ~lengthBits) | (bits_ & lengthBits);
  }
  // The characters of a line without a block, from their distance.
  std::int64_t PackedDistance() const { return static_cast<std::int64_t>(bits_) >> distanceShift; }
  const void* PackedText() const { return At(PackedDistance()); }
  // What lies distance bytes from the line; null for 0.
  const void* At(std::int64_t distance) const {
    if (distance == 0) return nullptr;
    return reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(this) +
                                         static_cast<std::uintptr_t>(distance));
  }
  // Starts the line over text of length units with the given word flags: packed where the
  // length and the distance fit, else in a block.
  void Place(const void* text, int length, std::uint32_t flags);
  int* Ends() const { return reinterpret_cast<int*>(TheBlock() + 1); }
  static wchar_t* InlineText(Block* block) {
    return reinterpret_cast<wchar_t*>(reinterpret_cast<int*>(block + 1) + block->segmentCapacity);
  }
  const wchar_t* BlockText() const {
    return TheBlock()->outside ? static_cast<const wchar_t*>(TheBlock()->outside) : InlineText(TheBlock());
  }
  // Where the characters lie while they are not the block's own (see Block::outside).
  const void* OutsideText() const {
    if (HasBlock()) return TheBlock()->outside;
    return HasSpans() ? At(TheSpans()->distance) : PackedText();
  }
  // How many segment ends a new block for this line needs room for.
  int SegmentRoom() const;
  // How many characters a new block of the line's own holds when length must fit: a line that
  // had a block already (a long line, or one edited before) gets room to grow.
  int RoomFor(int length) const;
  // Keeps the segment ends of a line without a block in its spans; false, with nothing changed,
  // where its characters lie too far for a span's distance.
  bool SetSpans(const int* ends, int count);
  // Frees the block or the spans, if any.
  void FreeBlock();
  const char* NarrowBytes() const { return static_cast<const char*>(OutsideText()); }
  // Converts a narrow line's bytes into characters of its own.
  void Widen() { ReserveText(Length()); }
  // A block with room for the given characters and segment ends, holding this line's fields
  // and segment ends (as many as fit) but no characters.
  Block* NewBlock(int textCapacity, int segmentCapacity) const;
  // Puts block in the place of the current one (or of the packed fields).
  void SetBlock(Block* block);
  // Makes sure the line has a block; its characters stay where they are.
  void EnsureBlock();

  std::uint64_t bits_ = 0;
};
