// The widest of the counted widths is always the greatest width still counted, however the
// narrow table and the list of wide lines are added to and taken from.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <set>

#include "text/LineWidths.h"

TEST(LineWidths, TheWidestFollowsAPlainSetThroughRandomAddsRemovesAndReplaces) {
  std::mt19937 random(11);
  for (int round = 0; round < 20; ++round) {
    LineWidths widths;
    std::multiset<int> model;
    // Rounds alternate between widths mostly below the table's limit and mostly above it.
    const int spread = round % 2 ? LineWidths::smallLimit * 3 : LineWidths::smallLimit + 50;
    for (int step = 0; step < 3000; ++step) {
      const unsigned action = random() % 10;
      if (action < 6 || model.empty()) {
        const int width = static_cast<int>(random() % static_cast<unsigned>(spread));
        if (random() % 2 == 0) widths.ReserveWide(1);
        widths.Add(width);
        model.insert(width);
      } else if (action < 8) {
        auto victim = std::next(model.begin(), static_cast<long>(random() % model.size()));
        widths.Remove(*victim);
        model.erase(victim);
      } else if (action < 9) {
        // An edited line: most edits change a width by a little.
        auto edited = std::next(model.begin(), static_cast<long>(random() % model.size()));
        const int change = static_cast<int>(random() % 2 ? random() % 7 : random() % static_cast<unsigned>(spread)) -
                           (random() % 2 ? 3 : 0);
        const int width = std::max(0, random() % 3 ? *edited + change : change);
        widths.ReserveWide(1);
        widths.Replace(*edited, width);
        model.erase(edited);
        model.insert(width);
      } else if (random() % 50 == 0) {
        widths.Clear();
        model.clear();
      }
      // Asked only now and then, so that runs of Adds in any order come before a sort.
      if (random() % 7 == 0) {
        ASSERT_EQ(widths.Widest(), model.empty() ? 0 : *model.rbegin()) << round << " " << step;
      }
    }
    ASSERT_EQ(widths.Widest(), model.empty() ? 0 : *model.rbegin());
  }
}
