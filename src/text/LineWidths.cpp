// Counting lines by width.
#include "text/LineWidths.h"

#include <algorithm>

LineWidths::LineWidths() : counts_(smallLimit, 0) {}

void LineWidths::Clear() {
  std::fill(counts_.begin(), counts_.end(), 0);
  widestSmall_ = -1;
  wide_.clear();
  wideSorted_ = false;
}

void LineWidths::Add(int width) {
  width = std::max(width, 0);
  if (width < smallLimit) {
    ++counts_[static_cast<std::size_t>(width)];
    widestSmall_ = std::max(widestSmall_, width);
  } else if (wideSorted_ && !wide_.empty() && width < wide_.back()) {
    wide_.insert(std::upper_bound(wide_.begin(), wide_.end(), width), width);
  } else {
    wide_.push_back(width);
  }
}

void LineWidths::Remove(int width) {
  width = std::max(width, 0);
  if (width < smallLimit) {
    int& count = counts_[static_cast<std::size_t>(width)];
    if (count > 0) --count;
    while (widestSmall_ >= 0 && counts_[static_cast<std::size_t>(widestSmall_)] == 0) --widestSmall_;
    return;
  }
  SortWide();
  auto found = std::lower_bound(wide_.begin(), wide_.end(), width);
  if (found != wide_.end() && *found == width) wide_.erase(found);
}

void LineWidths::Replace(int oldWidth, int newWidth) {
  oldWidth = std::max(oldWidth, 0);
  newWidth = std::max(newWidth, 0);
  if (oldWidth == newWidth) return;
  SortWide();
  const auto at = std::lower_bound(wide_.begin(), wide_.end(), oldWidth);
  if (oldWidth < smallLimit || newWidth < smallLimit || at == wide_.end() || *at != oldWidth) {
    Remove(oldWidth);
    Add(newWidth);
    return;
  }
  // The widths between the two move one place over, and the new width takes the place freed.
  if (newWidth > oldWidth) {
    const auto end = std::lower_bound(at, wide_.end(), newWidth);
    std::move(at + 1, end, at);
    *(end - 1) = newWidth;
  } else {
    const auto begin = std::upper_bound(wide_.begin(), at, newWidth);
    std::move_backward(begin, at, at + 1);
    *begin = newWidth;
  }
}

void LineWidths::ReserveWide(std::size_t count) {
  if (wide_.size() + count > wide_.capacity())
    wide_.reserve(std::max(wide_.size() + count, wide_.capacity() * 2));
}

int LineWidths::Widest() {
  SortWide();
  if (!wide_.empty()) return wide_.back();
  return std::max(widestSmall_, 0);
}

void LineWidths::SortWide() {
  if (wideSorted_) return;
  std::sort(wide_.begin(), wide_.end());
  wideSorted_ = true;
}
