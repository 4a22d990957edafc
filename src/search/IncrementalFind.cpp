// Find as you type on the edit view.
#include "search/IncrementalFind.h"

#include "search/SearchCommands.h"
#include "search/Searcher.h"
#include "view/Caret.h"
#include "view/EditView.h"

void IncrementalFind::Begin(const EditView& view) {
  active_ = true;
  viewNumber_ = view.viewNumber;
  anchor_ = view.anchor;
  caret_ = view.caret;
  hadSelection_ = view.selectionActive;
  start_ = hadSelection_ && IsBefore(view.anchor, view.caret) ? view.anchor : view.caret;
}

IncrementalFind::Result IncrementalFind::Update(EditView& view, Searcher& searcher) {
  if (!active_ || view.viewNumber != viewNumber_) Begin(view);
  if (searcher.FindText().empty()) {
    Restore(view);
    return Result::empty;
  }
  if (!searcher.PatternError().empty()) return Result::invalid;
  if (FindAndSelectFrom(view, searcher, start_)) return Result::found;
  if (!searcher.PatternError().empty()) return Result::invalid;
  Restore(view);
  return Result::notFound;
}

void IncrementalFind::Restore(EditView& view) const {
  // Kept positions are brought into the text as it is now.
  TextPos anchor = anchor_, caret = caret_;
  SetPos(anchor, anchor.index, anchor.line);
  SetPos(caret, caret.index, caret.line);
  if (view.selectionActive) UpdateCaret(view, view.caret, false, caretRowMove);
  const TextPos previous = view.caret;
  view.caret = hadSelection_ ? anchor : caret;
  UpdateCaret(view, previous, false, caretRowMove);
  if (hadSelection_) {
    view.caret = caret;
    UpdateCaret(view, anchor, true, caretRowMove);
  }
  TakeDesiredColumn(view);
}
