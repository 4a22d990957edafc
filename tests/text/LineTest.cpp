// A line keeps its characters and fields whether they fit its packed word or need a block.
#include <gtest/gtest.h>

#include <string>

#include "text/Line.h"

TEST(Line, KeepsItsFieldsEitherSideOfThePackedLimits) {
  for (int length : {0, 65534, 65535, 65536}) {
    std::string bytes(static_cast<std::size_t>(length), 'x');
    std::wstring units(static_cast<std::size_t>(length), L'y');
    for (int position : {-2, -1, 0, 125, 126, 127, 65535}) {
      // A far position is kept as far only: it is found again from the text when asked for.
      const int kept = position >= Line::farConstructStart || position < -1 ? Line::farConstruct : position;
      Line narrow(bytes.data(), length);
      Line arena(units.data(), length);
      for (Line* line : {&narrow, &arena}) {
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
      }
      EXPECT_TRUE(narrow.IsNarrow());
      EXPECT_EQ(narrow.Peek(), std::wstring(bytes.size(), L'x'));
      EXPECT_EQ(arena.Text(), units);
      narrow.Insert(0, L"a");  // moves the line to a block of its own
      EXPECT_EQ(narrow.Text(), L"a" + std::wstring(bytes.size(), L'x'));
      EXPECT_EQ(narrow.ConstructPosition(), kept);
      EXPECT_FALSE(narrow.EndsInLineFeed());
    }
  }
}
