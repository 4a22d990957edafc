// Jumps through a document in the edit view: marks on lines, goto line and the bracket that
// matches another. Every jump centres its target when it lies off screen.
#pragma once

struct EditView;

// Mark (IDM_MARK): inverts the mark of the caret's line and redraws its sign at once.
void ToggleMark(EditView& view);
// Next Mark (IDM_NEXTMARK) and Prev Mark (IDM_PREVMARK): the caret goes to the start of the
// next or previous marked line, wrapping around the document's ends.
void NextMark(EditView& view);
void PrevMark(EditView& view);
// Clear Marks (IDM_CLEARMARKS): no line keeps a mark; the margins are repainted.
void ClearMarks(EditView& view);

// The line index of a line number typed by the user (counted from 1): 0 or less gives the
// first line, a number beyond the document the last.
int LineOfNumber(const EditView& view, int number);
// Goto line (the number entered after IDM_GOTOLINE): the caret goes to the start of line,
// brought into the document.
void GotoLine(EditView& view, int line);
// The caret goes to index of line, both brought into the document, and its row is scrolled to
// the middle of the screen as far as the document allows.
void GotoPlace(EditView& view, int line, int index);

// Match (IDM_MATCH): the caret goes to the bracket that pairs with the one under it (or, failing
// that, the one before it), counting nested pairs of the same two brackets. False, with the
// caret left where it was, when there is no such bracket.
bool MatchPair(EditView& view);
