// The order of lines as runs of slots, against a plain array of slots.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "text/LineOrder.h"

namespace {

void ExpectSame(const LineOrder& order, const std::vector<std::uint32_t>& model, std::mt19937& random) {
  ASSERT_EQ(order.size(), model.size());
  // One after another, backwards (as lines are destroyed) and at random.
  for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(order[i], model[i]) << i;
  for (std::size_t i = model.size(); i-- > 0;) ASSERT_EQ(order[i], model[i]) << i;
  for (int k = 0; k < 50 && !model.empty(); ++k) {
    const std::size_t i = random() % model.size();
    ASSERT_EQ(order[i], model[i]) << i;
  }
  std::vector<std::uint32_t> visited;
  order.ForEach([&](std::uint32_t slot) { visited.push_back(slot); });
  ASSERT_EQ(visited, model);
}

}  // namespace

TEST(LineOrder, RandomReplacesKeepTheOrderOfAPlainArray) {
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    LineOrder order;
    std::vector<std::uint32_t> model;
    std::uint32_t next = 0;
    // The last rounds load many lines in scattered slots, a run each, so that edits leave
    // enough empty runs to be joined away.
    const bool scattered = round >= 30;
    const int loaded = static_cast<int>(scattered ? 600 + random() % 400 : random() % 200);
    for (int i = 0; i < loaded; ++i) {
      order.ReserveAppend();
      order.Append(next);
      model.push_back(next);
      next += scattered ? 2 : 1;
    }
    if (random() % 3 == 0) next += 5;  // appends after a gap start a run of their own
    for (int i = 0; i < 3; ++i) {
      order.Append(next);
      model.push_back(next++);
    }
    ExpectSame(order, model, random);
    for (int step = 0; step < 200; ++step) {
      const std::size_t first = random() % (model.size() + 1);
      const std::size_t last = first + random() % (model.size() - first + 1) / (random() % 4 + 1);
      std::vector<std::uint32_t> slots;
      const int added = static_cast<int>(random() % 5);
      for (int k = 0; k < added; ++k) {
        switch (random() % 4) {
          case 0:  // slots given back by the lines replaced, in order: they join their neighbours
            slots.push_back(first + static_cast<std::size_t>(k) < last ? model[first + static_cast<std::size_t>(k)] : next++);
            break;
          case 1:  // a slot out of order
            slots.push_back(static_cast<std::uint32_t>(random() % (next + 1)));
            break;
          default:
            slots.push_back(next++);
        }
      }
      order.ReserveReplace(slots.size());
      order.Replace(first, last, slots);
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(first), model.begin() + static_cast<std::ptrdiff_t>(last));
      model.insert(model.begin() + static_cast<std::ptrdiff_t>(first), slots.begin(), slots.end());
      ASSERT_LE(order.RunCount(), model.size());
      if (random() % 8 == 0) {  // appended after runs an edit left empty at the end
        order.ReserveAppend();
        order.Append(next);
        model.push_back(next++);
      }
      // Now and then the whole order is checked; in between a few lines are looked up, or
      // none, so that edits meet starts summed up part of the way.
      if (random() % 4 == 0) {
        ASSERT_NO_FATAL_FAILURE(ExpectSame(order, model, random)) << "round " << round << " step " << step;
      } else if (!model.empty() && random() % 2 == 0) {
        const std::size_t i = random() % model.size();
        ASSERT_EQ(order[i], model[i]) << "round " << round << " step " << step;
      }
    }
    ASSERT_NO_FATAL_FAILURE(ExpectSame(order, model, random)) << "round " << round;
    order.Clear();
    ASSERT_NO_FATAL_FAILURE(ExpectSame(order, {}, random));
  }
}

// A loaded file's order is one run, lines put in as one block of slots make one run more, and a
// line replaced by one in a run of its own leaves the count of runs as it was: edits that
// replace lines one for one (typing on each line of a long document) do not shift the runs.
TEST(LineOrder, RunsStayFewAsLinesAreLoadedAndReplaced) {
  LineOrder order;
  for (std::uint32_t slot = 0; slot < 1000; ++slot) {
    order.ReserveAppend();
    order.Append(slot);
  }
  EXPECT_EQ(order.RunCount(), 1u);
  const std::uint32_t block[] = {2000, 2001, 2002, 2003, 2004};
  order.Replace(10, 20, block);
  EXPECT_EQ(order.RunCount(), 3u);
  EXPECT_EQ(order.size(), 995u);
  EXPECT_EQ(order[14], 2004u);
  EXPECT_EQ(order[15], 20u);
  for (std::uint32_t i = 0; i < 5; ++i) {
    const std::uint32_t slot = 3000 + 7 * i;
    order.Replace(12, 13, {&slot, 1});  // a run of one line of its own, replaced
  }
  EXPECT_EQ(order.RunCount(), 5u);
  EXPECT_EQ(order[12], 3028u);
  EXPECT_EQ(order[13], 2003u);
}

// Replacing each line of a loaded file by one new line, going down, as a Replace All with word
// wrap does: the store hands each new line the slot the line above just gave back, so the new
// slots go on one from another. Their runs must not stay apart, or the order ends up with a
// run for every line, and every later edit that adds or removes lines shifts them all. So also
// after the order held many runs that could not be joined and an edit removed them all.
TEST(LineOrder, LinesReplacedOneForOneGoingDownStayFewRuns) {
  constexpr std::uint32_t lines = 20000;
  for (bool manyRunsBefore : {false, true}) {
    SCOPED_TRACE(manyRunsBefore ? "after many runs removed" : "fresh");
    LineOrder order;
    if (manyRunsBefore) {
      std::vector<std::uint32_t> scattered;
      for (std::uint32_t k = 0; k < 3 * lines; ++k) scattered.push_back(1000000 + 2 * k);
      order.ReserveReplace(scattered.size());
      order.Replace(0, 0, scattered);
      order.Replace(0, order.size(), {});
    }
    for (std::uint32_t slot = 0; slot < lines; ++slot) {
      order.ReserveAppend();
      order.Append(slot);
    }
    std::vector<std::uint32_t> freed;  // given back last, handed out first
    std::uint32_t next = lines;
    for (std::size_t i = 0; i < lines; ++i) {
      std::uint32_t made;
      if (freed.empty()) {
        made = next++;
      } else {
        made = freed.back();
        freed.pop_back();
      }
      const std::uint32_t old = order[i];
      order.ReserveReplace(1);
      order.Replace(i, i + 1, {&made, 1});
      freed.push_back(old);
    }
    EXPECT_EQ(order[0], lines);
    EXPECT_EQ(order[lines - 1], lines - 2);
    // A few runs, or at least not one for every line.
    EXPECT_LE(order.RunCount(), std::size_t{lines / 100});
  }
}

// Every line cut in two going down (a Replace All that breaks each line), then the cuts undone
// going up, with slots handed out as the store does: each join takes the slot the join below
// gave back. The joins remove a run each; were each removal to shift the runs below, or the
// runs left to stay apart, the undo would take time in the square of the lines.
TEST(LineOrder, CutsUndoneGoingUpLeaveFewRunsAndTheRightOrder) {
  constexpr std::uint32_t lines = 20000;
  LineOrder order;
  std::vector<std::uint32_t> model;
  for (std::uint32_t slot = 0; slot < lines; ++slot) {
    order.ReserveAppend();
    order.Append(slot);
    model.push_back(slot);
  }
  const auto replace = [&](std::size_t first, std::size_t last, std::vector<std::uint32_t> slots) {
    order.ReserveReplace(slots.size());
    order.Replace(first, last, slots);
    model.erase(model.begin() + static_cast<std::ptrdiff_t>(first), model.begin() + static_cast<std::ptrdiff_t>(last));
    model.insert(model.begin() + static_cast<std::ptrdiff_t>(first), slots.begin(), slots.end());
  };
  for (std::uint32_t i = 0; i < lines; ++i)
    replace(2 * i, 2 * i + 1, {i == 0 ? lines : i - 1, lines + 1 + i});
  EXPECT_GE(order.RunCount(), std::size_t{lines});
  for (std::uint32_t i = lines; i-- > 0;) {
    replace(2 * i, 2 * i + 2, {i});
    if (i % 997 == 0) ASSERT_EQ(order[i + 1 < order.size() ? i + 1 : i], model[i + 1 < model.size() ? i + 1 : i]);
  }
  std::mt19937 random(3);
  ASSERT_NO_FATAL_FAILURE(ExpectSame(order, model, random));
  EXPECT_LE(order.RunCount(), std::size_t{lines / 100});
}
