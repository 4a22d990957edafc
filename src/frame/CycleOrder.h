// The reordering of the document list after "Next window" cycling: the document the user
// stopped at moves just before the one the cycling began with, so that the next "Next window"
// returns to where the cycling began, as task switchers do with the most recently used order.
#pragma once

#include <deque>
#include <utility>

// Moves the active item of items to the position before cycleStart (the last position when
// cycleStart is 0): the items after it, up to that position and going forward with wrapping,
// each move back by one place. Returns the new active index. Nothing moves when active equals
// cycleStart or either index lies outside the list.
template <typename T>
int ReorderAfterCycling(std::deque<T>& items, int active, int cycleStart) {
  int count = static_cast<int>(items.size());
  if (active == cycleStart || active < 0 || active >= count || cycleStart < 0 ||
      cycleStart >= count) {
    return active;
  }
  int target = cycleStart == 0 ? count - 1 : cycleStart - 1;
  int at = active;
  while (at != target) {
    int next = (at + 1) % count;
    std::swap(items[at], items[next]);
    at = next;
  }
  return target;
}
