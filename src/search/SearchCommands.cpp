// Find next and previous, replace and replace all on the edit view.
#include "search/SearchCommands.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

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
bool StepOn(const Document& document, int& line, int& index) {
  if (index < document.lines[line].Length()) {
    ++index;
  } else if (line + 1 < document.LineCount()) {
    ++line;
    index = 0;
  } else {
    return false;
  }
  return true;
}

bool StepOn(const Document& document, TextPos& pos) {
  int line = pos.line, index = pos.index;
  if (!StepOn(document, line, index)) return false;
  SetPos(pos, index, line);
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

// The replacements of the hits found in one line, gathered so that the line changes once: the
// stretch from the first hit's start to the last hit's end, and the text that takes its place in
// the form undo records keep, so that a carriage return of the line stays a character of it.
struct LineReplacements {
  int line = -1;  // -1: none gathered
  int first = 0;  // the stretch replaced, in the line as it was
  int end = 0;
  std::wstring text;
  int delta = 0;  // the change of the line's length, counting the replacements as given

  // The hit of length at index in line, whose text is lineText, to be replaced by replacement
  // (line breaks in it take the form of the document's, a line feed alone with lineFeed).
  void Add(int hitLine, std::wstring_view lineText, int index, int length,
           std::wstring_view replacement, bool lineFeed) {
    if (line < 0) first = end = index;
    line = hitLine;
    JoinRecordTexts(text, lineText.substr(static_cast<std::size_t>(end), static_cast<std::size_t>(index - end)), false);
    JoinRecordTexts(text, RecordForm(replacement, lineFeed), false);
    end = index + length;
    delta += static_cast<int>(replacement.size()) - length;
  }
};

// Puts the replacements gathered in their line, as the first change of the undo group or one
// continuing it; returns the lines they added (line breaks in the replace text).
int ApplyReplacements(Document& document, Searcher& searcher, LineReplacements& pending, bool first) {
  TextPos from(document);
  TextPos to(document);
  SetPos(from, pending.first, pending.line);
  SetPos(to, pending.end, pending.line);
  const int kind = first ? editReplace : editContinue;
  const ChangeRecord change = ::ReplaceText(document, from, to, pending.text, kind | editCrLfBreaks);
  searcher.LineLengthChanged(document, pending.line, pending.delta);
  const int added = change.endLine - pending.line;
  pending = {};
  return added;
}

// Every hit within the searched part of document replaced, each continuing the undo group of
// the first. Each search starts after the last hit; after an empty hit an empty hit at the same
// place is passed over, so that every place is replaced once. The hits of a line are all found
// in the line as it was, which then changes once: a line of many hits costs its length once,
// not once per hit, in the edit and in its undo.
int ReplaceHits(Document& document, Searcher& searcher) {
  searcher.BeginCommand();
  int replaced = 0;
  bool firstChange = true;
  const SearchRange bounds = searcher.Bounds(document);
  // Where the next search starts, and where the last empty hit ended; plain numbers, since
  // working out a visual column on every hit would cost the length of the line each time.
  int atLine = bounds.firstLine, atIndex = bounds.firstIndex;
  int emptyLine = -1, emptyIndex = 0;
  LineReplacements pending;
  for (;;) {
    int line = atLine, index = atIndex;
    if (!searcher.FindForwardAt(document, line, index) ||
        line < atLine || (line == atLine && index < atIndex))
      break;
    const int length = searcher.HitLength();
    if (length == 0 && line == emptyLine && index == emptyIndex) {
      if (!StepOn(document, atLine, atIndex)) break;
      emptyLine = -1;
      continue;
    }
    if (pending.line != line) {
      // The line is read once per hit: a line still held as its file's bytes is widened once
      // now, as the change will widen it, instead of converted for every look.
      document.lines[line].Data();
    }
    const std::wstring replacement = searcher.Replacement(document, line, index);
    if (pending.line >= 0 && pending.line != line) {
      // The lines the replacements of the line before add come before the hit.
      line += ApplyReplacements(document, searcher, pending, std::exchange(firstChange, false));
    }
    pending.Add(line, document.lines[line].Peek(), index, length, replacement,
                document.format.lineFeed);
    ++replaced;
    atLine = line;
    atIndex = index + length;
    emptyLine = length == 0 ? atLine : -1;
    emptyIndex = atIndex;
  }
  if (pending.line >= 0) ApplyReplacements(document, searcher, pending, firstChange);
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
  const std::wstring replacement = searcher.Replacement(*view.document, start.line, start.index);
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
