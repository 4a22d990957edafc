// Find as you type on the edit view.
#include "search/IncrementalFind.h"

#include "search/SearchCommands.h"
#include "search/Searcher.h"
#include "view/Caret.h"
#include "view/EditView.h"

void IncrementalFind::Begin(const EditView& view) {
  active_ = true;
  viewNumber_ = view.viewNumber;
  anchor_ = {view.anchor.line, view.anchor.index};
  caret_ = {view.caret.line, view.caret.index};
  hadSelection_ = view.selectionActive;
  start_ = hadSelection_ && IsBefore(view.anchor, view.caret) ? anchor_ : caret_;
}

TextPos IncrementalFind::At(const EditView& view, Place place) {
  TextPos pos(*view.document);
  SetPos(pos, place.index, place.line);
  return pos;
}

IncrementalFind::Result IncrementalFind::Update(EditView& view, Searcher& searcher) {
  if (!active_ || view.viewNumber != viewNumber_) Begin(view);
  if (searcher.FindText().empty()) {
    Restore(view);
    return Result::empty;
  }
  if (!searcher.PatternError().empty()) return Result::invalid;
  if (FindAndSelectFrom(view, searcher, At(view, start_))) return Result::found;
  if (!searcher.PatternError().empty()) return Result::invalid;
  Restore(view);
  return Result::notFound;
}

void IncrementalFind::Restore(EditView& view) const {
  const TextPos anchor = At(view, anchor_), caret = At(view, caret_);
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
