// Find next and previous, replace and replace all on the edit view.
#include "search/SearchCommands.h"

#include <algorithm>

#include "search/Searcher.h"
#include "text/Document.h"
#include "text/Edit.h"
#include "text/TextPos.h"
#include "view/Caret.h"
#include "view/Keys.h"

namespace {

// Ends an active selection where the caret is.
void EndSelectionAtCaret(EditView& view) {
  if (view.selectionActive) UpdateCaret(view, view.caret, false, caretRowMove);
}

// Selects the hit that begins at start, the anchor at its start and the caret at its end.
void SelectHit(EditView& view, const TextPos& start, int length) {
  EndSelectionAtCaret(view);
  view.caret = start;
  // A hit never spans lines: its end is on the same line.
  SetPos(view.caret, start.index + length, start.line);
  UpdateCaret(view, start, true, caretRowMove);
  view.desiredColumn = view.caret.visualColumn;
  view.findHitSelected = true;
}

bool Find(EditView& view, Searcher& searcher, bool forward) {
  if (searcher.FindText().empty()) return false;
  TextPos pos = forward || !view.selectionActive ? view.caret : view.anchor;
  view.findHitSelected = false;
  const bool found = forward ? searcher.FindForward(*view.document, pos)
                             : searcher.FindBackward(*view.document, pos);
  if (found) SelectHit(view, pos, searcher.HitLength());
  return found;
}

// Replaces the selected hit by the replace text; false when no hit is selected.
bool ReplaceHit(EditView& view, const Searcher& searcher) {
  if (!view.findHitSelected) return false;
  ReplaceSelection(view, searcher.ReplaceText(), editReplace);
  view.findHitSelected = false;
  return true;
}

}  // namespace

bool FindNext(EditView& view, Searcher& searcher) { return Find(view, searcher, true); }

bool FindPrevious(EditView& view, Searcher& searcher) { return Find(view, searcher, false); }

void ReplaceNext(EditView& view, Searcher& searcher) {
  if (searcher.FindText().empty()) return;
  ReplaceHit(view, searcher);
  FindNext(view, searcher);
}

void ReplaceOne(EditView& view, Searcher& searcher) {
  if (searcher.FindText().empty()) return;
  if (!ReplaceHit(view, searcher)) FindNext(view, searcher);
}

int ReplaceAll(EditView& view, Searcher& searcher) {
  if (searcher.FindText().empty()) return 0;
  Document& document = *view.document;
  const int oldLine = view.caret.line, oldIndex = view.caret.index;
  EndSelectionAtCaret(view);
  view.findHitSelected = false;

  // The replacements go straight to the editing operation, each continuing the group of the
  // first; the view and the frame are brought up to date once at the end, not after every hit.
  const std::wstring replacement = searcher.ReplaceText();
  int replaced = 0;
  {
    EditBatch batch(document);
    TextPos at(document);  // where the next search starts: after the last replacement
    for (;;) {
      TextPos hit = at;
      if (!searcher.FindForward(document, hit) || IsBefore(hit, at)) break;
      TextPos end = hit;
      SetPos(end, hit.index + searcher.HitLength(), hit.line);
      const int kind = replaced == 0 ? editReplace : editContinue;
      const ChangeRecord change = ::ReplaceText(document, hit, end, replacement, kind);
      ++replaced;
      SetPos(at, change.endIndex, change.endLine);
    }
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
