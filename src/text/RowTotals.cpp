// Row totals kept by blocks of lines, the rows within a block read from its lines.
#include "text/RowTotals.h"

#include <algorithm>

#include "text/LineStore.h"
#include "text/ReserveGrowing.h"

void RowTotals::Clear() {
  blocks_.clear();
  known_ = 0;
  lineCount_ = 0;
  total_ = 0;
}

void RowTotals::ReserveLines(std::size_t count) {
  ReserveGrowing(blocks_, blocks_.size() + count / blockLines + 1);
}

void RowTotals::Append(int rows) {
  if (blocks_.empty() || blocks_.back().lines == blockLines) {
    // The new block starts right where the lines end: it is known when all before it are.
    const bool allKnown = known_ == blocks_.size();
    blocks_.push_back({0, 0, lineCount_, total_});
    if (allKnown) known_ = blocks_.size();
  }
  ++blocks_.back().lines;
  blocks_.back().rows += rows;
  ++lineCount_;
  total_ += rows;
}

void RowTotals::KnowUpTo(std::size_t block) const {
  for (; known_ <= block; ++known_) {
    Block& next = blocks_[known_];
    if (known_ == 0) {
      next.firstLine = next.firstRow = 0;
    } else {
      const Block& before = blocks_[known_ - 1];
      next.firstLine = before.firstLine + before.lines;
      next.firstRow = before.firstRow + before.rows;
    }
  }
}

// Every run is at least one long, so the starts rise strictly: a binary search over the known
// blocks, or a walk that makes the following ones known until one holds the value.
template <int RowTotals::Block::*first, int RowTotals::Block::*count>
std::size_t RowTotals::Find(int value) const {
  if (known_ == 0) KnowUpTo(0);
  const auto holds = [&](std::size_t k) { return value < blocks_[k].*first + blocks_[k].*count; };
  if (!holds(known_ - 1)) {
    std::size_t k = known_ - 1;
    do KnowUpTo(++k);
    while (!holds(k));
    return k;
  }
  const auto end = blocks_.begin() + static_cast<std::ptrdiff_t>(known_);
  const auto after = std::upper_bound(blocks_.begin(), end, value,
                                      [](int v, const Block& block) { return v < block.*first; });
  return static_cast<std::size_t>(after - blocks_.begin()) - 1;
}

int RowTotals::RowsBefore(const LineStore& lines, int line) const {
  if (line <= 0) return 0;
  if (line >= lineCount_) return total_;
  const Block& block = blocks_[BlockOfLine(line)];
  // A block with as many rows as lines has one row to each line (a line has at least one).
  if (block.rows == block.lines) return block.firstRow + (line - block.firstLine);
  // Counted from the nearer end of the block.
  const int end = block.firstLine + block.lines;
  if (line - block.firstLine <= end - line) {
    int rows = block.firstRow;
    for (int i = block.firstLine; i < line; ++i) rows += lines[i].SegmentCount();
    return rows;
  }
  int rows = block.firstRow + block.rows;
  for (int i = line; i < end; ++i) rows -= lines[i].SegmentCount();
  return rows;
}

int RowTotals::LineOfRow(const LineStore& lines, int row) const {
  const Block& block = blocks_[BlockOfRow(row)];
  if (block.rows == block.lines) return block.firstLine + (row - block.firstRow);
  int line = block.firstLine;
  for (int rows = block.firstRow + lines[line].SegmentCount(); rows <= row;)
    rows += lines[++line].SegmentCount();
  return line;
}

void RowTotals::AddRows(int line, int delta) {
  if (delta == 0) return;
  const std::size_t block = BlockOfLine(line);
  blocks_[block].rows += delta;
  total_ += delta;
  known_ = std::min(known_, block + 1);
}

void RowTotals::ReserveReplace(int removed, int added) {
  // Replace makes at most one block more for every blockLines lines added (see Repartition).
  if (added > removed) ReserveLines(static_cast<std::size_t>(added));
}

void RowTotals::Replace(const LineStore& lines, int first, int removed, int added) {
  std::size_t from = BlockOfLine(first);
  std::size_t to = BlockOfLine(first + removed - 1) + 1;
  int start = blocks_[from].firstLine;
  int count = added - removed;
  for (std::size_t k = from; k < to; ++k) count += blocks_[k].lines;
  // A few lines left alone join a neighbouring block, so that blocks stay well filled.
  if (count < blockLines / 2) {
    if (to < blocks_.size()) {
      count += blocks_[to++].lines;
    } else if (from > 0) {
      count += blocks_[--from].lines;
      start = blocks_[from].firstLine;
    }
  }
  lineCount_ += added - removed;
  Repartition(lines, from, to, start, blocks_[from].firstRow, count);
}

void RowTotals::Repartition(const LineStore& lines, std::size_t from, std::size_t to, int start,
                            int startRow, int count) {
  int oldRows = 0;
  for (std::size_t k = from; k < to; ++k) oldRows += blocks_[k].rows;
  // count lines in n blocks of at most blockLines lines each, as even as can be: n is at most
  // the blocks there were plus one for every blockLines lines added, as they held at most
  // blockLines lines each.
  const int n = (count + blockLines - 1) / blockLines;
  const auto at = blocks_.begin() + static_cast<std::ptrdiff_t>(from);
  const auto had = static_cast<std::ptrdiff_t>(to - from);
  if (n > had) blocks_.insert(at + had, static_cast<std::size_t>(n - had), Block{});
  else blocks_.erase(at + n, at + had);
  int line = start, row = startRow;
  for (int k = 0; k < n; ++k) {
    Block& block = blocks_[from + static_cast<std::size_t>(k)];
    const int size = count / n + (k < count % n ? 1 : 0);
    block = {size, 0, line, row};
    for (const int end = line + size; line < end; ++line) block.rows += lines[line].SegmentCount();
    row += block.rows;
  }
  total_ += row - startRow - oldRows;
  known_ = from + static_cast<std::size_t>(n);
}
