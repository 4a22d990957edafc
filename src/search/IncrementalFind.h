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

  bool active_ = false;
  int viewNumber_ = 0;
  TextPos start_;   // where hits are searched from
  TextPos anchor_;  // the view's anchor and caret at the beginning
  TextPos caret_;
  bool hadSelection_ = false;
};
