// The sixteen-at-a-time searches and count agree with a plain walk, wherever the block
// boundaries fall and whatever the bytes' sign.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "text/ByteScan.h"

TEST(ByteScan, EverySearchAndTheCountAgreeWithAPlainWalkAtEveryOffsetAndLength) {
  std::mt19937 random(7);
  std::string bytes(200, '\0');
  for (char& b : bytes) b = "ab\n\x80\xFF"[random() % 5];
  for (char wanted : {'\n', '\x80', '\xFF', 'z'}) {
    for (std::size_t from = 0; from < 40; ++from) {
      for (std::size_t to = from; to <= bytes.size(); to += 7) {
        const char* begin = bytes.data() + from;
        const char* end = bytes.data() + to;
        EXPECT_EQ(bytescan::Find(begin, end, wanted), std::find(begin, end, wanted)) << from << " " << to;
        EXPECT_EQ(bytescan::Count(begin, end, wanted),
                  static_cast<std::size_t>(std::count(begin, end, wanted)));
        const char values[] = {wanted, '\n', 'b'};
        for (int count : {1, 3})
          EXPECT_EQ(bytescan::FindAnyOf(begin, end, values, count),
                    std::find_first_of(begin, end, values, values + count));
        EXPECT_EQ(bytescan::FindNonAscii(begin, end),
                  std::find_if(begin, end, [](char b) { return static_cast<unsigned char>(b) >= 0x80; }));
      }
    }
  }
}

// Each of eight values, NUL and 0x7F among them, is found wherever it stands alone in bytes
// that hold none of them, in the first block, a later one or the tail.
TEST(ByteScan, FindAnyOfFindsEachOfEightValuesAtEveryPlace) {
  const char values[] = {'\0', '\x7F', '/', '"', '\'', '<', '\xE9', '\n'};
  for (int k = 0; k < 8; ++k) {
    for (std::size_t at = 0; at < 50; ++at) {
      std::string bytes(50, 'a');
      bytes[at] = values[k];
      const char* begin = bytes.data();
      EXPECT_EQ(bytescan::FindAnyOf(begin, begin + bytes.size(), values, 8), begin + at) << k << " " << at;
      EXPECT_EQ(bytescan::FindAnyOf(begin, begin + bytes.size(), values, k), begin + bytes.size()) << k;
    }
  }
}

// The count adds up byte counters that would overflow after 256 blocks of hits.
TEST(ByteScan, CountHoldsOverManyBlocksOfHits) {
  for (std::size_t size : {4079u, 4080u, 4096u, 100001u}) {
    std::string bytes(size, '\n');
    bytes[size / 2] = 'x';
    EXPECT_EQ(bytescan::Count(bytes.data(), bytes.data() + size, '\n'), size - 1) << size;
  }
}
