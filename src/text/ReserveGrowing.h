// Room in a vector that grows by at least doubling.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// Makes room for needed elements in items. The capacity at least doubles when it grows, so that
// a run of edits that each add a few entries to an array of one per line does not copy the
// whole array every time.
template <typename T>
void ReserveGrowing(std::vector<T>& items, std::size_t needed) {
  if (needed > items.capacity()) items.reserve(std::max(needed, items.capacity() * 2));
}
