// The visual rows of a document's lines, counted by blocks of lines: what row a line starts on
// and which line holds a row.
#pragma once

#include <cstddef>
#include <vector>

class LineStore;

// A line's own rows are its segment count, which the line keeps: this keeps, for each run of
// at most blockLines consecutive lines, how many lines and rows it holds. The rows before a
// line are the rows of the blocks before its block plus the segment counts of the few lines
// before it in its block. An edit changes the counts of the blocks it touches and nothing
// after them, and the whole costs a few bytes for each block instead of an entry per line.
//
// Every block holds at least one line and at most blockLines; together they hold the lines in
// order. Where each block starts (its first line and row) is summed up lazily from the blocks
// before it, up to the last block asked for, so that a run of edits going down a long
// document (a block indent, a replace-all) adds up the blocks above each edit only once.
class RowTotals {
 public:
  static constexpr int blockLines = 128;

  // No lines.
  void Clear();
  // Room for count lines appended one by one.
  void ReserveLines(std::size_t count);
  // Adds a line of rows rows after the last.
  void Append(int rows);

  int LineCount() const { return lineCount_; }
  int Total() const { return total_; }
  // The rows of the lines before line (Total() from the line count on); lines holds the lines
  // counted.
  int RowsBefore(const LineStore& lines, int line) const;
  // The line holding row, 0 <= row < Total().
  int LineOfRow(const LineStore& lines, int row) const;

  // The line, laid out again, takes delta rows more.
  void AddRows(int line, int delta);
  // Makes room for Replace(…, removed, added), so that it cannot fail.
  void ReserveReplace(int removed, int added);
  // Lines [first, first + removed) were replaced by added lines, already laid out in lines.
  // removed is at least one; the lines after keep their rows.
  void Replace(const LineStore& lines, int first, int removed, int added);

 private:
  struct Block {
    int lines;
    int rows;
    // Where the block starts: right for the blocks before known_.
    int firstLine;
    int firstRow;
  };

  // Makes the starts of blocks [0, block] right.
  void KnowUpTo(std::size_t block) const;
  // The block whose run [*first, *first + *count) holds value (a line or a row).
  template <int Block::*first, int Block::*count>
  std::size_t Find(int value) const;
  std::size_t BlockOfLine(int line) const { return Find<&Block::firstLine, &Block::lines>(line); }
  std::size_t BlockOfRow(int row) const { return Find<&Block::firstRow, &Block::rows>(row); }
  // The blocks [from, to) become blocks holding the count lines from line start (row startRow)
  // on, their rows counted from the lines.
  void Repartition(const LineStore& lines, std::size_t from, std::size_t to, int start, int startRow,
                   int count);

  // The starts are a cache of sums over the counts, updated on the way by queries.
  mutable std::vector<Block> blocks_;
  mutable std::size_t known_ = 0;
  int lineCount_ = 0;
  int total_ = 0;
};
