// The order of a document's lines as runs of slots.
#include "text/LineOrder.h"

#include <algorithm>

#include "text/ReserveGrowing.h"

std::size_t LineOrder::RunOf(std::size_t index) const {
  std::size_t end = known_ == 0 ? 0 : std::size_t{runs_[known_ - 1].start} + runs_[known_ - 1].count;
  for (; end <= index; ++known_) {
    runs_[known_].start = static_cast<std::uint32_t>(end);
    end += runs_[known_].count;
  }
  const auto known = runs_.begin() + static_cast<std::ptrdiff_t>(known_);
  const auto after = std::upper_bound(runs_.begin(), known, index,
                                      [](std::size_t at, const Run& run) { return at < run.start; });
  return static_cast<std::size_t>(after - runs_.begin()) - 1;
}

std::uint32_t LineOrder::Find(std::size_t index) const {
  last_ = runs_[RunOf(index)];
  return last_.slot + static_cast<std::uint32_t>(index - last_.start);
}

void LineOrder::ReserveAppend() { ReserveGrowing(runs_, runs_.size() + 1); }

void LineOrder::ReserveReplace(std::size_t added) {
  // A run split at either end of the lines replaced, and a run for each slot put in at worst.
  ReserveGrowing(runs_, runs_.size() + added + 2);
}

void LineOrder::Append(std::uint32_t slot) {
  last_ = {};
  if (!runs_.empty() && runs_.back().count > 0 && runs_.back().slot + runs_.back().count == slot) {
    ++runs_.back().count;
  } else {
    runs_.push_back({static_cast<std::uint32_t>(size_), slot, 1});
  }
  ++size_;
}

std::size_t LineOrder::SplitAt(std::size_t index) {
  const std::size_t at = RunOf(index);
  Run& run = runs_[at];
  if (run.start == index) return at;
  const auto before = static_cast<std::uint32_t>(index - run.start);
  const Run rest{static_cast<std::uint32_t>(index), run.slot + before, run.count - before};
  run.count = before;
  runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(at + 1), rest);
  ++known_;  // the new run starts right, and those after it keep their starts
  return at + 1;
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
  // Runs replaced by fewer are left empty rather than erased: an erase shifts every run after
  // them, and edits going up a document of many runs (an undo of a Replace All) would each
  // shift all the runs below. No lookup lands in an empty run: RunOf sums starts only until a
  // run that holds the line, and empty runs lie before the run that shares their start. They go
  // at the next Compact.
  for (std::size_t k = from; k < to; ++k)
    if (runs_[k].count == 0) --emptyRuns_;
  if (added > to - from) {
    runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(to), added - (to - from), Run{});
  } else {
    std::fill(runs_.begin() + static_cast<std::ptrdiff_t>(from + added),
              runs_.begin() + static_cast<std::ptrdiff_t>(to), Run{});
    emptyRuns_ += to - from - added;
  }
  // Runs put in are not joined with their neighbours here: a join shifts every run after it,
  // and an edit that replaces lines one for one would then cost a walk of the order. They are
  // joined all at once when the runs have doubled (lines replaced one by one going down take
  // the slots the lines above gave back, which go on one from another), or when a third of
  // the runs are empty.
  std::size_t at = from;
  for (std::size_t k = 0; k < slots.size(); ++k) {
    if (k == 0 || slots[k] != slots[k - 1] + 1)
      runs_[at++] = {0, slots[k], 1};
    else
      ++runs_[at - 1].count;
  }
  size_ = size_ - (last - first) + slots.size();
  // The runs from there on start elsewhere; those before stay as they were.
  known_ = std::min(known_, from);
  const std::size_t live = RunCount();
  if (runs_.size() > compactFrom_ || (2 * emptyRuns_ > live && emptyRuns_ > minimumCompact)) {
    Compact();
  } else if (4 * live < compactFrom_) {
    // Most runs went away: the next pass comes when those left have doubled, not the old ones.
    compactFrom_ = std::max(minimumCompact, 2 * live);
  }
}

void LineOrder::Compact() {
  std::size_t kept = 0, start = 0;
  for (const Run& run : runs_) {
    if (run.count == 0) continue;
    if (kept > 0 && runs_[kept - 1].slot + runs_[kept - 1].count == run.slot) {
      runs_[kept - 1].count += run.count;
    } else {
      runs_[kept++] = {static_cast<std::uint32_t>(start), run.slot, run.count};
    }
    start += run.count;
  }
  runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(kept), runs_.end());
  known_ = kept;
  emptyRuns_ = 0;
  compactFrom_ = std::max(minimumCompact, 2 * kept);
}

void LineOrder::Clear() {
  runs_.clear();
  known_ = 0;
  emptyRuns_ = 0;
  compactFrom_ = minimumCompact;
  size_ = 0;
  last_ = {};
}
