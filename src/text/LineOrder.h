// Which pool slot holds each line of a document, in document order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The slots of the lines as runs of consecutive slots: a loaded file's lines take slots in the
// order they are read, so its whole order is one run, and each edit that adds or removes lines
// splits or adds only a few. Looking a line up finds its run by a binary search, and the run
// last found is remembered, so that walking the lines one after another costs no search. Where
// each run starts is summed up lazily, up to the run last asked for, so that edits going down
// a document of many runs (a replace-all) add up the runs above each edit only once.
class LineOrder {
 public:
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::uint32_t operator[](std::size_t index) const {
    const std::size_t into = index - last_.start;  // wraps around below the run
    return into < last_.count ? last_.slot + static_cast<std::uint32_t>(into) : Find(index);
  }

  // Makes room for an append, or for a Replace that puts in added slots, so that it cannot fail.
  void ReserveAppend();
  void ReserveReplace(std::size_t added);
  void Append(std::uint32_t slot);
  // Puts slots in the place of the lines [first, last); allocates nothing after ReserveReplace.
  void Replace(std::size_t first, std::size_t last, std::span<const std::uint32_t> slots);
  void Clear();

  // Calls visit(slot) for every slot, in order.
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (const Run& run : runs_)
      for (std::uint32_t k = 0; k < run.count; ++k) visit(run.slot + k);
  }
  // The runs that hold lines.
  std::size_t RunCount() const { return runs_.size() - emptyRuns_; }

 private:
  struct Run {
    std::uint32_t start;  // the index of its first line: right for the runs before known_
    std::uint32_t slot;   // the slot of its first line
    std::uint32_t count;
  };

  std::uint32_t Find(std::size_t index) const;
  // The position of the run holding index (< size()), the starts summed up as far as it.
  std::size_t RunOf(std::size_t index) const;
  // Makes a run start at index (< size()), splitting the run that holds it; returns the
  // position of the run that starts there.
  std::size_t SplitAt(std::size_t index);
  // Joins neighbouring runs whose slots go on one from the other, in place.
  void Compact();

  mutable std::vector<Run> runs_;  // its starts a cache of sums over the counts
  mutable std::size_t known_ = 0;   // runs whose start is right
  std::size_t emptyRuns_ = 0;       // runs of no line, left by edits that removed runs
  std::size_t compactFrom_ = minimumCompact;  // Compact when there are more runs than this
  static constexpr std::size_t minimumCompact = 64;
  std::size_t size_ = 0;
  mutable Run last_{0, 0, 0};  // the run last looked up; empty after any change
};
