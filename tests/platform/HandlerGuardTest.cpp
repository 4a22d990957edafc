// A guarded handler returns its body's result, or after a failure its fallback; only running
// out of memory reaches the program's reaction.
#include "platform/HandlerGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

int reactions = 0;
void CountReaction() { ++reactions; }

}  // namespace

TEST(HandlerGuard, FailuresEndInTheFallbackAndOnlyOutOfMemoryIsReported) {
  platform::SetOutOfMemoryReaction(CountReaction);
  struct Case {
    int thrown;  // 0 none, 1 out of memory, 2 another exception, 3 not an exception class
    long expected;
    int reactions;
  };
  for (const Case& c : {Case{0, 7, 0}, Case{1, -1, 1}, Case{2, -1, 0}, Case{3, -1, 0}}) {
    reactions = 0;
    const long result = platform::Guarded(
        [&]() -> long {
          if (c.thrown == 1) throw std::bad_alloc();
          if (c.thrown == 2) throw std::runtime_error("x");
          if (c.thrown == 3) throw 3;
          return 7;
        },
        [] { return -1L; });
    EXPECT_EQ(result, c.expected) << c.thrown;
    EXPECT_EQ(reactions, c.reactions) << c.thrown;
  }
  platform::SetOutOfMemoryReaction(nullptr);
}
