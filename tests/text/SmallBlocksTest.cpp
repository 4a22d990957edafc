// Small blocks handed out, given back and handed out again never overlap a block in use.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "text/SmallBlocks.h"

TEST(SmallBlocks, BlocksInUseKeepTheirBytesWhileOthersComeAndGo) {
  struct Held {
    unsigned char* bytes;
    std::size_t size;
    unsigned char fill;
  };
  std::mt19937 random(3);
  std::vector<Held> held;
  auto intact = [](const Held& block) {
    for (std::size_t i = 0; i < block.size; ++i)
      if (block.bytes[i] != block.fill) return false;
    return true;
  };
  for (int step = 0; step < 60000; ++step) {
    if (!held.empty() && random() % 5 < 2) {
      const std::size_t k = random() % held.size();
      ASSERT_TRUE(intact(held[k])) << "step " << step;
      smallblocks::Free(held[k].bytes, held[k].size);
      held[k] = held.back();
      held.pop_back();
      continue;
    }
    // Sizes on both sides of the largest pooled one.
    const std::size_t size = 1 + random() % (smallblocks::blockBytes + 16);
    Held block{static_cast<unsigned char*>(smallblocks::Allocate(size)), size,
               static_cast<unsigned char>(random())};
    ASSERT_EQ(reinterpret_cast<std::uintptr_t>(block.bytes) % 8, 0u);
    std::memset(block.bytes, block.fill, size);
    held.push_back(block);
  }
  for (const Held& block : held) {
    EXPECT_TRUE(intact(block));
    smallblocks::Free(block.bytes, block.size);
  }
}
