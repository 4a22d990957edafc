// The caret commands of the edit view: moves by characters, words, rows, pages and to the
// row's and the document's ends, selecting everything and ending the selection.
#pragma once

#include "view/EditView.h"

// Each moves the caret and runs the caret update with the move's scroll policy; extend (Shift)
// extends the selection instead of ending it.
void MoveCharLeft(EditView& view, bool extend);
void MoveCharRight(EditView& view, bool extend);
void MoveWordLeft(EditView& view, bool extend);
void MoveWordRight(EditView& view, bool extend);
void MoveRowStart(EditView& view, bool extend);
void MoveRowEnd(EditView& view, bool extend);
// IDM_DOCSTART and IDM_DOCEND; IDM_DOCSTARTEXTEND and IDM_DOCENDEXTEND with extend.
void MoveDocumentStart(EditView& view, bool extend);
void MoveDocumentEnd(EditView& view, bool extend);
void MoveRowUp(EditView& view, bool extend);
void MoveRowDown(EditView& view, bool extend);
void MovePageUp(EditView& view, bool extend);
void MovePageDown(EditView& view, bool extend);
// IDM_SELECTALL: anchor at the start, caret at the end.
void SelectAll(EditView& view);
// Escape: ends an active selection; false when there was none.
bool EndSelection(EditView& view);
