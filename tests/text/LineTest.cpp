// A line keeps its characters and fields whether they fit its packed word or need a block.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "text/Line.h"

namespace {

// A line made in the same allocation as its characters, before or after them, so that it lies
// close to them as lines of a document do; with the reach lowered to 0 it holds them through a
// block instead.
template <typename Unit>
struct NearLine {
  NearLine(std::size_t count, Unit fill, bool lineFirst) {
    const std::size_t slots = ((count + 1) * sizeof(Unit)) / sizeof(std::max_align_t) + 2;
    memory.reset(new std::max_align_t[slots + 1]);
    char* start = reinterpret_cast<char*>(memory.get());
    auto* text = reinterpret_cast<Unit*>(lineFirst ? start + sizeof(std::max_align_t) : start);
    for (std::size_t i = 0; i < count; ++i) text[i] = fill;
    line = new (lineFirst ? start : start + slots * sizeof(std::max_align_t)) Line(text, static_cast<int>(count));
  }
  ~NearLine() { line->~Line(); }
  std::unique_ptr<std::max_align_t[]> memory;
  Line* line;
};

}  // namespace

TEST(Line, KeepsItsFieldsEitherSideOfThePackedLimits) {
  for (long long reach : {-1LL, 0LL}) {
    Line::SetReachForTests(reach);
    for (int length : {0, 1, 4094, 4095, 4096, 65536}) {
      for (int position : {-2, -1, 0, 125, 126, 127, 65535}) {
        // A far position is kept as far only: it is found again from the text when asked for.
        const int kept = position >= Line::farConstructStart || position < -1 ? Line::farConstruct : position;
        const auto count = static_cast<std::size_t>(length);
        NearLine<char> narrow(count, 'x', position % 2 == 0);
        NearLine<wchar_t> arena(count, L'y', position % 2 != 0);
        for (Line* line : {narrow.line, arena.line}) {
          line->SetState(lineState::allBits);
          line->SetEndsInLineFeed(true);
          line->SetConstructPosition(126);
          line->SetConstructPosition(position);
          EXPECT_EQ(line->Length(), length);
          EXPECT_EQ(line->SegmentEnd(0), length);
          EXPECT_EQ(line->ConstructPosition(), kept);
          EXPECT_EQ(line->State(), lineState::allBits);
          EXPECT_TRUE(line->EndsInLineFeed());
          line->SetEndsInLineFeed(false);
          line->SetState(0);
          EXPECT_EQ(line->ConstructPosition(), kept) << length;
          EXPECT_EQ(line->Length(), length) << "the fields leave the length alone";
        }
        EXPECT_TRUE(narrow.line->IsNarrow());
        EXPECT_EQ(narrow.line->Peek(), std::wstring(count, L'x'));
        EXPECT_EQ(arena.line->Text(), std::wstring(count, L'y'));
        arena.line->SetState(lineState::allBits);
        const int ends[] = {length / 2, length};
        arena.line->SetSegmentEnds(ends, 2);  // a block for the segments, the text stays outside
        EXPECT_EQ(arena.line->SegmentEnd(0), length / 2);
        EXPECT_EQ(arena.line->Text(), std::wstring(count, L'y'));
        EXPECT_EQ(arena.line->ConstructPosition(), kept);
        EXPECT_EQ(arena.line->State(), lineState::allBits);
        narrow.line->Insert(0, L"a");  // moves the line to a block of its own
        EXPECT_EQ(narrow.line->Text(), L"a" + std::wstring(count, L'x'));
        EXPECT_FALSE(narrow.line->IsNarrow());
        EXPECT_EQ(narrow.line->ConstructPosition(), kept);
        EXPECT_FALSE(narrow.line->EndsInLineFeed());
      }
    }
  }
  Line::SetReachForTests(-1);
}


// Ends may repeat (they never decrease), so a short line can be cut into more segments than
// the count of a span holds; it keeps every one, in its spans while they fit, else in a block.
TEST(Line, KeepsEveryCountOfSegmentsAroundSixteenBits) {
  constexpr int length = 100;
  for (bool narrow : {false, true}) {
    for (int count : {7, 8, 65535, 65536, 65537}) {
      SCOPED_TRACE(testing::Message() << (narrow ? "narrow, " : "wide, ") << count << " segments");
      NearLine<char> bytes(length, 'x', false);
      NearLine<wchar_t> units(length, L'x', false);
      Line& line = narrow ? *bytes.line : *units.line;
      std::vector<int> ends(static_cast<std::size_t>(count));
      for (int k = 0; k < count; ++k) ends[static_cast<std::size_t>(k)] = std::min(length, k / 700);
      ends.back() = length;
      line.SetSegmentEnds(ends.data(), count);
      ASSERT_EQ(line.SegmentCount(), count);
      EXPECT_EQ(line.LastSegment(), count - 1);
      EXPECT_EQ(line.SegmentEnd(count - 2), ends[static_cast<std::size_t>(count - 2)]);
      EXPECT_EQ(line.SegmentEnd(count - 1), length);
      EXPECT_EQ(line.IsNarrow(), narrow);
      EXPECT_EQ(line.Length(), length);
    }
  }
}

// An edit reserves room for its text before it changes the line; typing into a line, short or
// longer than the packed length holds, must copy it only now and then, not at every key.
TEST(Line, TypingIntoALineCopiesItOnlyNowAndThen) {
  for (int length : {10, 5000}) {
    NearLine<char> bytes(static_cast<std::size_t>(length), 'x', false);
    Line& line = *bytes.line;
    int copies = 0;
    const wchar_t* characters = nullptr;
    for (int typed = 0; typed < 2000; ++typed) {
      line.ReserveText(line.Length() + 1);
      line.Replace(line.Length() / 2, 0, L"y", 1);
      if (line.Data() != characters) ++copies;
      characters = line.Data();
    }
    EXPECT_LE(copies, 20) << length;
    EXPECT_EQ(line.Length(), length + 2000);
    EXPECT_EQ(std::count(line.Text().begin(), line.Text().end(), L'y'), 2000);
  }
}
