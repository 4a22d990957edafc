// How many lines there are of each width, so that the widest line is known at once.
#pragma once

#include <cstddef>
#include <vector>

// The widths of a document's lines while word wrap is off (the horizontal scroll bar reaches
// the widest). When the widest line narrows or goes, the next widest is found here, without a
// walk over every line of the document. Widths below smallLimit are counted in a table; the
// few lines wider than that are kept in a sorted list.
class LineWidths {
 public:
  LineWidths();

  // No lines. Until Widest or Remove is next asked, the Adds may come in any order (a whole
  // document counted at once): the list of wide lines is sorted then, once. The same holds for
  // a new LineWidths.
  void Clear();
  // Counts a line of the given width. Allocates nothing for a narrow width, nor for a wide one
  // after ReserveWide.
  void Add(int width);
  // Takes back a line counted with Add. Allocates nothing.
  void Remove(int width);
  // Takes back a line of oldWidth and counts it as newWidth (a line edited): between two wide
  // widths it costs the wide lines whose widths lie between them, not the whole list. Allocates
  // nothing when newWidth is narrow or room was reserved for one wide line.
  void Replace(int oldWidth, int newWidth);
  // Makes room for count more lines wider than smallLimit, so that adding them cannot fail.
  void ReserveWide(std::size_t count);
  // The greatest width counted; 0 when none is.
  int Widest();

  static constexpr int smallLimit = 4096;

 private:
  void SortWide();

  std::vector<int> counts_;  // counts_[w]: lines of width w, for w < smallLimit
  int widestSmall_ = -1;     // the greatest w with counts_[w] > 0; -1 when none
  std::vector<int> wide_;    // the widths of at least smallLimit, sorted while wideSorted_
  bool wideSorted_ = false;
};
