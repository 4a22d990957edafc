// Find as you type: while the find field has the focus, every change of the find text selects
// the first hit from the place where that search began, or goes back to that place.
#pragma once

#include "text/TextPos.h"

class Searcher;
struct EditView;

class IncrementalFind {
 public:
  enum class Result {
    found,     // the hit is selected
    notFound,  // the view is back as it was when the search began
    empty,     // no find text: the view is back as it was
    invalid,   // the expression does not compile (or matching it was given up): nothing changed
  };

  // The find field got the focus: the search begins at the caret, or at the start of the
  // selection (a hit just found, which a longer find text may still match).
  void Begin(const EditView& view);
  void End() { active_ = false; }
  bool IsActive() const { return active_; }

  // The find text changed: the first hit at or after the start place, wrapping as find next
  // does. A search that began in another view begins anew in this one.
  Result Update(EditView& view, Searcher& searcher);

 private:
  // Caret and selection as they were when the search began.
  void Restore(EditView& view) const;

  // A place kept as numbers, not as a position: the view's document may have been read anew
  // (another document object) by the time the place is used.
  struct Place {
    int line = 0;
    int index = 0;
  };
  // The place as a position in the view's document, brought into its text.
  static TextPos At(const EditView& view, Place place);

  bool active_ = false;
  int viewNumber_ = 0;
  Place start_;   // where hits are searched from
  Place anchor_;  // the view's anchor and caret at the beginning
  Place caret_;
  bool hadSelection_ = false;
};
