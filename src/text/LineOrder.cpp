// The order of a document's lines as runs of slots.
#include "text/LineOrder.h"

#include <algorithm>

#include "text/ReserveGrowing.h"

std::uint32_t LineOrder::Find(std::size_t index) const {
  auto after = std::upper_bound(runs_.begin(), runs_.end(), index,
                                [](std::size_t at, const Run& run) { return at < run.start; });
  last_ = *(after - 1);
  return last_.slot + static_cast<std::uint32_t>(index - last_.start);
}

void LineOrder::ReserveAppend() { ReserveGrowing(runs_, runs_.size() + 1); }

void LineOrder::ReserveReplace(std::size_t added) {
  // A run split at either end of the lines replaced, and a run for each slot put in at worst.
  ReserveGrowing(runs_, runs_.size() + added + 2);
}

void LineOrder::Append(std::uint32_t slot) {
  last_ = {};
  if (!runs_.empty() && runs_.back().slot + runs_.back().count == slot) {
    ++runs_.back().count;
  } else {
    runs_.push_back({size_, slot, 1});
  }
  ++size_;
}

std::size_t LineOrder::RunStartingAt(std::size_t index) const {
  return static_cast<std::size_t>(
      std::lower_bound(runs_.begin(), runs_.end(), index, [](const Run& run, std::size_t at) { return run.start < at; }) -
      runs_.begin());
}

std::size_t LineOrder::SplitAt(std::size_t index) {
  const std::size_t at = RunStartingAt(index);
  if (at < runs_.size() && runs_[at].start == index) return at;
  // The run before holds index.
  Run& run = runs_[at - 1];
  const auto before = static_cast<std::uint32_t>(index - run.start);
  const Run rest{index, run.slot + before, run.count - before};
  run.count = before;
  runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(at), rest);
  return at;
}

void LineOrder::Replace(std::size_t first, std::size_t last, std::span<const std::uint32_t> slots) {
  last_ = {};
  ReserveReplace(slots.size());
  const std::size_t from = first == size_ ? runs_.size() : SplitAt(first);
  const std::size_t to = last == size_ ? runs_.size() : SplitAt(last);
  // The slots put in, as runs.
  std::size_t added = 0;
  for (std::size_t k = 0; k < slots.size(); ++k)
    if (k == 0 || slots[k] != slots[k - 1] + 1) ++added;
  const auto begin = runs_.begin();
  if (added > to - from) {
    runs_.insert(begin + static_cast<std::ptrdiff_t>(to), added - (to - from), Run{});
  } else {
    runs_.erase(begin + static_cast<std::ptrdiff_t>(from + added), begin + static_cast<std::ptrdiff_t>(to));
  }
  std::size_t at = from;
  for (std::size_t k = 0; k < slots.size(); ++k) {
    if (k == 0 || slots[k] != slots[k - 1] + 1)
      runs_[at++] = {0, slots[k], 1};
    else
      ++runs_[at - 1].count;
  }
  size_ = size_ - (last - first) + slots.size();
  // The run after the slots put in may go on from the last of them, as may the first of them
  // from the run before.
  JoinWithBefore(at);
  JoinWithBefore(from);
  // The runs from there on start anew; those before stay as they were.
  std::size_t start = from == 0 ? 0 : runs_[from - 1].start + runs_[from - 1].count;
  for (std::size_t k = from; k < runs_.size(); ++k) {
    runs_[k].start = start;
    start += runs_[k].count;
  }
}

void LineOrder::JoinWithBefore(std::size_t at) {
  if (at == 0 || at >= runs_.size()) return;
  Run& before = runs_[at - 1];
  if (before.slot + before.count != runs_[at].slot) return;
  before.count += runs_[at].count;
  runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(at));
}

void LineOrder::Clear() {
  runs_.clear();
  size_ = 0;
  last_ = {};
}
