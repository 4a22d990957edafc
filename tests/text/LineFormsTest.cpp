// A line's characters and fields stay what they were made as, whichever of its forms (packed,
// spans, block) each change moves it to: random changes against a plain model.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "text/Line.h"

namespace {

struct Model {
  std::wstring text;
  bool narrow = false;
  std::uint32_t state = 0;
  int construct = -1;
  bool lineFeed = false;
  std::vector<int> ends;  // empty: one segment
  std::optional<std::string> original;
};

int KeptPosition(int position) {
  return position >= Line::farConstructStart || position < -1 ? Line::farConstruct : position;
}

// Random segment ends of a text of length characters: count - 1 inner ends, then the length.
std::vector<int> RandomEnds(std::mt19937& random, int length, int count) {
  std::vector<int> ends;
  for (int k = 0; k + 1 < count; ++k) ends.push_back(length == 0 ? 0 : static_cast<int>(random() % (length + 1)));
  std::sort(ends.begin(), ends.end());
  ends.push_back(length);
  return ends;
}

void ExpectSame(const Line& line, const Model& model, const char* step) {
  SCOPED_TRACE(step);
  ASSERT_EQ(line.Length(), static_cast<int>(model.text.size()));
  ASSERT_EQ(line.IsNarrow(), model.narrow);
  ASSERT_EQ(std::wstring(line.Peek()), model.text);
  ASSERT_EQ(line.State(), model.state);
  ASSERT_EQ(line.ConstructPosition(), KeptPosition(model.construct));
  ASSERT_EQ(line.EndsInLineFeed(), model.lineFeed);
  const int count = model.ends.empty() ? 1 : static_cast<int>(model.ends.size());
  ASSERT_EQ(line.SegmentCount(), count);
  for (int k = 0; k < count; ++k)
    ASSERT_EQ(line.SegmentEnd(k), model.ends.empty() ? line.Length() : model.ends[static_cast<std::size_t>(k)]) << k;
  if (model.original) {
    ASSERT_EQ(std::string(line.Original()), *model.original);
  }
  for (int i = 0; i < line.Length(); i += 97) ASSERT_EQ(line.CharAt(i), model.text[static_cast<std::size_t>(i)]);
}

}  // namespace

TEST(LineForms, RandomChangesKeepTextAndFieldsInEveryForm) {
  std::mt19937 random(11);
  static const char kept[] = "original bytes";
  // 64: only lines near their characters keep the distance; 0: every line has a block.
  for (long long reach : {-1LL, 0LL, 64LL}) {
    Line::SetReachForTests(reach);
    for (int length : {0, 1, 30, 4093, 4094, 4095, 4096, 5000}) {
      for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(testing::Message() << "reach " << reach << " length " << length << " round " << round);
        const bool narrow = round % 2 == 0;
        const bool lineFirst = round % 3 == 0;
        // The characters before or after the line in one allocation, with a gap of some bytes.
        const std::size_t gap = 8 * (random() % 16);
        const std::size_t textBytes = static_cast<std::size_t>(length + 1) * sizeof(wchar_t);
        std::unique_ptr<std::max_align_t[]> memory(
            new std::max_align_t[(textBytes + gap + 64) / sizeof(std::max_align_t) + 2]);
        char* start = reinterpret_cast<char*>(memory.get());
        char* linePlace = lineFirst ? start : start + ((textBytes + gap + 15) / 16) * 16;
        char* textPlace = lineFirst ? start + 16 + gap : start;
        Model model;
        model.text.assign(static_cast<std::size_t>(length), L'a');
        model.narrow = narrow;
        for (int i = 0; i < length; ++i) model.text[static_cast<std::size_t>(i)] = static_cast<wchar_t>('a' + i % 26);
        Line* line;
        if (narrow) {
          for (int i = 0; i < length; ++i) textPlace[i] = static_cast<char>(model.text[static_cast<std::size_t>(i)]);
          line = new (linePlace) Line(length == 0 && round % 4 == 0 ? nullptr : textPlace, length);
        } else {
          auto* units = reinterpret_cast<wchar_t*>(textPlace);
          std::copy(model.text.begin(), model.text.end(), units);
          line = new (linePlace) Line(length == 0 && round % 4 == 1 ? nullptr : units, length);
        }
        ASSERT_NO_FATAL_FAILURE(ExpectSame(*line, model, "made"));
        for (int step = 0; step < 120; ++step) {
          const int len = static_cast<int>(model.text.size());
          switch (random() % 9) {
            case 0:
              model.state = random() % 64;
              line->SetState(model.state);
              break;
            case 1:
              model.construct = static_cast<int>(random() % 140) - 3;
              line->SetConstructPosition(model.construct);
              break;
            case 2:
              model.lineFeed = random() % 2;
              line->SetEndsInLineFeed(model.lineFeed);
              break;
            case 3:
            case 4: {
              // Mostly few segments, now and then many (more than a small block holds).
              const int count = random() % 5 == 0 ? 1 + static_cast<int>(random() % 80) : 1 + static_cast<int>(random() % 4);
              const std::vector<int> ends = RandomEnds(random, len, count);
              line->SetSegmentEnds(ends.data(), count);
              model.ends = count > 1 ? ends : std::vector<int>{};
              break;
            }
            case 5: {
              const int index = static_cast<int>(random() % (len + 1));
              const int count = static_cast<int>(random() % (len - index + 1));
              const std::wstring inserted(random() % 3, L'#');
              line->Replace(index, count, inserted.data(), static_cast<int>(inserted.size()));
              model.text.replace(static_cast<std::size_t>(index), static_cast<std::size_t>(count), inserted);
              model.narrow = false;
              // The ends are stale until the line is laid out again: laid out at once.
              const std::vector<int> ends = RandomEnds(random, static_cast<int>(model.text.size()), 1 + static_cast<int>(random() % 3));
              line->SetSegmentEnds(ends.data(), static_cast<int>(ends.size()));
              model.ends = ends.size() > 1 ? ends : std::vector<int>{};
              break;
            }
            case 6:
              line->ReserveText(len + static_cast<int>(random() % 10));
              model.narrow = false;
              break;
            case 7:
              line->KeepOriginal(kept, static_cast<int>(std::strlen(kept)));
              model.original = kept;
              break;
            default:
              ASSERT_EQ(std::wstring(line->Text()), model.text);  // widens a narrow line
              model.narrow = false;
              break;
          }
          ASSERT_NO_FATAL_FAILURE(ExpectSame(*line, model, "changed")) << "step " << step;
        }
        line->~Line();
      }
    }
  }
  Line::SetReachForTests(-1);
}
