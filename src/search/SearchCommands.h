// The find and replace commands of the edit view. They read the find text, the replace text
// and the options from the one searcher; none of them shows a message, and with an empty find
// text each does nothing.
#pragma once

class Searcher;
struct EditView;

// Find next (40053) from the caret, find previous (40054) from the start of the selection:
// the hit is selected with the caret at its end and the view's find-hit flag set. True when
// a hit was found.
bool FindNext(EditView& view, Searcher& searcher);
bool FindPrevious(EditView& view, Searcher& searcher);
// Replace next (40323): replaces a selected hit, then finds the next.
void ReplaceNext(EditView& view, Searcher& searcher);
// Replace (40324): replaces a selected hit, or else finds (selects) the next one.
void ReplaceOne(EditView& view, Searcher& searcher);
// Replace all (40325): every hit from the start of the document to its end in one pass and
// one undo step; the caret goes back to the line and index numbers it had. Returns the
// number of replacements.
int ReplaceAll(EditView& view, Searcher& searcher);
