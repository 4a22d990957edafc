// The find and replace commands of the edit view. They read the find text, the replace text
// and the options from the one searcher; none of them shows a message, and with an empty find
// text each does nothing.
#pragma once

#include <span>

class Searcher;
struct EditView;
struct TextPos;

// Find next (IDM_FINDNEXT) from the caret, find previous (IDM_FINDPREV) from the start of the
// selection: the hit is selected with the caret at its end and the view's find-hit flag set.
// True when a hit was found.
bool FindNext(EditView& view, Searcher& searcher);
bool FindPrevious(EditView& view, Searcher& searcher);
// The first hit at or after from, wrapping as find next does, selected as find next selects it
// (find as you type); true when there is one. Nothing changes without a hit.
bool FindAndSelectFrom(EditView& view, Searcher& searcher, const TextPos& from);
// Replaces the selected hit by the replace text (its groups put in), keeping the end of the
// range of Selected Text behind it; false when no hit is selected.
bool ReplaceSelectedHit(EditView& view, Searcher& searcher);
// Replace next (IDM_REPLACENEXT): replaces a selected hit, then finds the next.
void ReplaceNext(EditView& view, Searcher& searcher);
// Replace (IDM_REPLACE): replaces a selected hit, or else finds (selects) the next one.
void ReplaceOne(EditView& view, Searcher& searcher);
// Replace all (IDM_REPLACEALL): every hit from the start of the document to its end in one pass and
// one undo step; the caret goes back to the line and index numbers it had. With Selected Text
// only the hits within the range, which a selection of the user's (not a hit) active now
// replaces, and which keeps its end as replacements change the length of its last line.
// Returns the number of replacements.
int ReplaceAll(EditView& view, Searcher& searcher);

// Selected Text switched on: the view's selection becomes the range searched, or, with none,
// there is none (the whole document is searched).
void TakeSelectedRange(const EditView& view, Searcher& searcher);

// Find next or previous with All Documents over the views of the open documents in their
// order, views[active] the one shown: the rest of it from the caret, the others in turn, and
// last its part before the caret. The hit is selected in its view; returns that view's index,
// -1 when there is none.
int FindInViews(std::span<EditView* const> views, int active, Searcher& searcher, bool forward);
// Replace all in every view's document, one undo step each; returns the replacements.
int ReplaceAllInViews(std::span<EditView* const> views, Searcher& searcher);
