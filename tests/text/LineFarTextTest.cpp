// Lines whose characters lie farther away than a span's distance reaches (2 GB) but near
// enough for the packed distance: cut into segments they must take a block and still read
// their own characters, on either side of the line and at the edge of the span's reach.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "text/Line.h"

#if defined(__linux__) && UINTPTR_MAX > 0xFFFFFFFFu
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Address space reserved without memory behind it; pages are opened where they are used.
class Reserved {
 public:
  explicit Reserved(std::size_t bytes) : bytes_(bytes) {
    void* at = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    base_ = at == MAP_FAILED ? nullptr : static_cast<char*>(at);
  }
  ~Reserved() {
    if (base_) munmap(base_, bytes_);
  }
  Reserved(const Reserved&) = delete;
  Reserved& operator=(const Reserved&) = delete;
  char* base() const { return base_; }
  // Opens the pages over [offset, offset + bytes) for reading and writing.
  char* Open(std::size_t offset, std::size_t bytes) const {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t from = offset / page * page;
    const std::size_t to = (offset + bytes + page - 1) / page * page;
    if (mprotect(base_ + from, to - from, PROT_READ | PROT_WRITE) != 0) return nullptr;
    return base_ + offset;
  }

 private:
  char* base_;
  std::size_t bytes_;
};

}  // namespace

TEST(LineFarText, SegmentsOfALineFarFromItsCharactersKeepThem) {
  constexpr std::size_t gb = std::size_t{1} << 30;
  Reserved space(5 * gb);
  if (!space.base()) GTEST_SKIP() << "no address space to reserve";
  const int length = 60;
  std::wstring text;
  for (int i = 0; i < length; ++i) text.push_back(static_cast<wchar_t>(L'a' + i % 26));
  // Distances from the line to its characters: just inside a span's reach, just beyond it,
  // and far beyond it; the characters before the line and after it.
  const std::size_t distances[] = {2 * gb - 256, 2 * gb, 2 * gb + 256, 4 * gb};
  for (std::size_t distance : distances) {
    for (bool textFirst : {true, false}) {
      for (bool narrow : {true, false}) {
        SCOPED_TRACE(testing::Message() << "distance " << distance << " text first " << textFirst << " narrow " << narrow);
        const std::size_t textAt = textFirst ? 0 : distance;
        const std::size_t lineAt = textFirst ? distance : 0;
        char* chars = space.Open(textAt, length * sizeof(wchar_t));
        char* place = space.Open(lineAt, sizeof(Line));
        ASSERT_TRUE(chars && place);
        Line* line;
        if (narrow) {
          for (int i = 0; i < length; ++i) chars[i] = static_cast<char>(text[static_cast<std::size_t>(i)]);
          line = new (place) Line(static_cast<const char*>(chars), length);
        } else {
          auto* units = reinterpret_cast<wchar_t*>(chars);
          for (int i = 0; i < length; ++i) units[i] = text[static_cast<std::size_t>(i)];
          line = new (place) Line(units, length);
        }
        line->SetState(5);
        ASSERT_EQ(std::wstring(line->Peek()), text);
        // Few ends (a small block's worth), then more, then few again.
        const std::vector<int> few = {10, 20, length};
        line->SetSegmentEnds(few.data(), static_cast<int>(few.size()));
        ASSERT_EQ(line->SegmentCount(), 3);
        ASSERT_EQ(line->SegmentEnd(1), 20);
        ASSERT_EQ(line->SegmentEnd(2), length);
        ASSERT_EQ(line->Length(), length);
        ASSERT_EQ(line->IsNarrow(), narrow);
        ASSERT_EQ(line->State(), 5u);
        ASSERT_EQ(std::wstring(line->Peek()), text);
        std::vector<int> many;
        for (int k = 1; k <= 12; ++k) many.push_back(k * 4);
        many.push_back(length);
        line->SetSegmentEnds(many.data(), static_cast<int>(many.size()));
        ASSERT_EQ(line->SegmentCount(), 13);
        ASSERT_EQ(line->SegmentEnd(11), 48);
        ASSERT_EQ(std::wstring(line->Peek()), text);
        line->SetSegmentEnds(few.data(), static_cast<int>(few.size()));
        ASSERT_EQ(line->SegmentCount(), 3);
        ASSERT_EQ(line->CharAt(length - 1), text.back());
        // Widened and edited, the line's characters become its own.
        ASSERT_EQ(std::wstring(line->Text()), text);
        line->Insert(0, L"#");
        ASSERT_EQ(std::wstring(line->Text()), L"#" + text);
        line->~Line();
      }
    }
  }
}

#endif
