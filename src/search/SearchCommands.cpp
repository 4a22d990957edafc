// Find next and previous, replace and replace all on the edit view.
#include "search/SearchCommands.h"

#include <algorithm>

#include "search/Searcher.h"
#include "text/Document.h"
#include "text/Edit.h"
#include "text/TextPos.h"
#include "view/Caret.h"
#include "view/Editing.h"
#include "view/Movement.h"

namespace {

// Ends an active selection where the caret is.
void EndSelectionAtCaret(EditView& view) {
  if (view.selectionActive) UpdateCaret(view, view.caret, false, caretRowMove);
}

// Selects the hit that begins at start, the anchor at its start and the caret at its end. A hit
// that starts or ends inside a character (a mark without its base, half an emoji) is selected
// with the whole of that character; replacing it replaces only the hit.
void SelectHit(EditView& view, const TextPos& start, int length) {
  EndSelectionAtCaret(view);
  TextPos from = start;
  KeepCharacterWhole(from, false);
  view.caret = start;
  // A hit never spans lines: its end is on the same line.
  SetPos(view.caret, start.index + length, start.line);
  KeepCharacterWhole(view.caret, true);
  UpdateCaret(view, from, true, caretRowMove);
  view.desiredColumn = view.caret.visualColumn;
  view.findHitSelected = true;
}

// One unit further, or the start of the next line; false at the end of the document.
bool StepOn(const Document& document, TextPos& pos) {
  if (pos.index < document.lines[pos.line].Length()) {
    SetPos(pos, pos.index + 1, pos.line);
  } else if (pos.line + 1 < document.LineCount()) {
    SetPos(pos, 0, pos.line + 1);
  } else {
    return false;
  }
  return true;
}

// Where a search in direction forward starts in view: the caret, past an empty hit selected
// there (it would be found again), or the start of the selection going backwards.
TextPos SearchStart(const EditView& view, bool forward) {
  if (!forward) return view.selectionActive ? view.anchor : view.caret;
  TextPos pos = view.caret;
  if (view.findHitSelected && SamePlace(view.anchor, view.caret) && !StepOn(*view.document, pos))
    SetPos(pos, 0, 0);
  return pos;
}

// The first or last position of view's document.
TextPos DocumentEnd(const EditView& view, bool last) {
  TextPos pos(*view.document);
  if (last) DocumentEnd(pos);
  else DocumentStart(pos);
  return pos;
}

bool FindFrom(EditView& view, Searcher& searcher, TextPos pos, bool forward, bool wrap) {
  const bool found = forward ? searcher.FindForward(*view.document, pos, wrap)
                             : searcher.FindBackward(*view.document, pos, wrap);
  if (found) SelectHit(view, pos, searcher.HitLength());
  return found;
}

bool Find(EditView& view, Searcher& searcher, bool forward) {
  if (searcher.FindText().empty()) return false;
  searcher.BeginCommand();
  const TextPos pos = SearchStart(view, forward);
  view.findHitSelected = false;
  return FindFrom(view, searcher, pos, forward, true);
}

// Takes the view's selection as the range of Selected Text.
void TakeRange(const EditView& view, Searcher& searcher) {
  const bool anchorFirst = IsBefore(view.anchor, view.caret);
  const TextPos& first = anchorFirst ? view.anchor : view.caret;
  const TextPos& last = anchorFirst ? view.caret : view.anchor;
  searcher.SetSelectedRange({view.document, first.line, first.index, last.line, last.index});
}

// Every hit within the searched part of document replaced, each continuing the undo group of
// the first. The search starts after the last replacement; after an empty hit an empty hit at
// the same place is passed over, so that every place is replaced once.
int ReplaceHits(Document& document, Searcher& searcher) {
  searcher.BeginCommand();
  int replaced = 0;
  const SearchRange bounds = searcher.Bounds(document);
  TextPos at(document);
  SetPos(at, bounds.firstIndex, bounds.firstLine);
  TextPos emptyAt(document);
  bool afterEmpty = false;
  for (;;) {
    TextPos hit = at;
    if (!searcher.FindForward(document, hit) || IsBefore(hit, at)) break;
    const int length = searcher.HitLength();
    if (length == 0 && afterEmpty && SamePlace(hit, emptyAt)) {
      if (!StepOn(document, at)) break;
      afterEmpty = false;
      continue;
    }
    TextPos end = hit;
    SetPos(end, hit.index + length, hit.line);
    const std::wstring replacement = searcher.Replacement(document, hit);
    const int kind = replaced == 0 ? editReplace : editContinue;
    const ChangeRecord change = ::ReplaceText(document, hit, end, replacement, kind);
    ++replaced;
    searcher.LineLengthChanged(document, hit.line, static_cast<int>(replacement.size()) - length);
    SetPos(at, change.endIndex, change.endLine);
    afterEmpty = length == 0;
    emptyAt = at;
  }
  return replaced;
}

}  // namespace

bool FindNext(EditView& view, Searcher& searcher) { return Find(view, searcher, true); }

bool FindPrevious(EditView& view, Searcher& searcher) { return Find(view, searcher, false); }

bool FindAndSelectFrom(EditView& view, Searcher& searcher, const TextPos& from) {
  searcher.BeginCommand();
  TextPos pos = from;
  SetPos(pos, from.index, from.line);
  return FindFrom(view, searcher, pos, true, true);
}

bool ReplaceSelectedHit(EditView& view, Searcher& searcher) {
  if (!view.findHitSelected) return false;
  const bool anchorFirst = IsBefore(view.anchor, view.caret);
  TextPos start = anchorFirst ? view.anchor : view.caret;
  const TextPos end = anchorFirst ? view.caret : view.anchor;
  int length = end.index - start.index;
  // The hit itself, inside the whole characters the selection holds.
  if (searcher.HitIndex() >= start.index && searcher.HitIndex() + searcher.HitLength() <= end.index) {
    SetPos(start, searcher.HitIndex(), start.line);
    length = searcher.HitLength();
    view.anchor = start;
    SetPos(view.caret, start.index + length, start.line);
  }
  const std::wstring replacement = searcher.Replacement(*view.document, start);
  ReplaceSelection(view, replacement, editReplace);
  searcher.LineLengthChanged(*view.document, start.line,
                             static_cast<int>(replacement.size()) - length);
  view.findHitSelected = false;
  return true;
}

void ReplaceNext(EditView& view, Searcher& searcher) {
  if (searcher.FindText().empty()) return;
  ReplaceSelectedHit(view, searcher);
  FindNext(view, searcher);
}

void ReplaceOne(EditView& view, Searcher& searcher) {
  if (searcher.FindText().empty()) return;
  if (!ReplaceSelectedHit(view, searcher)) FindNext(view, searcher);
}

int ReplaceAll(EditView& view, Searcher& searcher) {
  if (searcher.FindText().empty()) return 0;
  Document& document = *view.document;
  // A selection of the user's own, not a hit, becomes the range of Selected Text.
  if (searcher.Option(searchSelectedText) && view.selectionActive && !view.findHitSelected)
    TakeRange(view, searcher);
  const int oldLine = view.caret.line, oldIndex = view.caret.index;
  EndSelectionAtCaret(view);
  view.findHitSelected = false;

  // The replacements go straight to the editing operation; the view and the frame are brought
  // up to date once at the end, not after every hit.
  int replaced = 0;
  {
    EditBatch batch(document);
    replaced = ReplaceHits(document, searcher);
  }

  // The caret goes back to its line and index numbers, brought into the changed text.
  TextPos previous = view.caret;
  SetPos(previous, previous.index, previous.line);
  if (replaced > 0) {
    view.surface->InvalidateAll(false);
    UpdateScrollBars(view);
  }
  SetPos(view.caret, oldIndex, oldLine);
  view.anchor = view.caret;
  UpdateCaret(view, previous, false, caretRowMove);
  view.desiredColumn = view.caret.visualColumn;
  if (replaced > 0) document.NotifyStateChanged();
  return replaced;
}

void TakeSelectedRange(const EditView& view, Searcher& searcher) {
  if (view.selectionActive) {
    TakeRange(view, searcher);
  } else {
    searcher.SetSelectedRange({});
  }
}

int FindInViews(std::span<EditView* const> views, int active, Searcher& searcher, bool forward) {
  const int count = static_cast<int>(views.size());
  if (searcher.FindText().empty() || active < 0 || active >= count) return -1;
  searcher.BeginCommand();
  EditView& first = *views[static_cast<std::size_t>(active)];
  const TextPos start = SearchStart(first, forward);
  first.findHitSelected = false;
  // The rest of the active document, the others in turn from their start (or end), then the
  // part of the active one before the caret.
  if (FindFrom(first, searcher, start, forward, false)) return active;
  for (int k = 1; k < count; ++k) {
    const int i = forward ? (active + k) % count : (active - k + count) % count;
    EditView& view = *views[static_cast<std::size_t>(i)];
    if (FindFrom(view, searcher, DocumentEnd(view, !forward), forward, false)) return i;
  }
  return FindFrom(first, searcher, DocumentEnd(first, !forward), forward, false) ? active : -1;
}

int ReplaceAllInViews(std::span<EditView* const> views, Searcher& searcher) {
  int replaced = 0;
  for (EditView* view : views) replaced += ReplaceAll(*view, searcher);
  return replaced;
}
