// The editing operations of the edit view: what typing, Enter, the deletion keys, block
// indentation, undo and redo do to the document's text.
#pragma once

#include <string_view>

#include "view/EditView.h"

// Replaces the selection (or inserts at the caret) by text with the given edit kind; typing
// passes editTyping, the clipboard and Enter editOther, the replace commands editReplace.
void ReplaceSelection(EditView& view, std::wstring_view text, int kind);
// A line break, followed by the caret line's indentation when the class indents new lines.
void Enter(EditView& view);
// The selection, or the character after (before) the caret.
void DeleteForward(EditView& view);
void DeleteBackward(EditView& view);
// The selection, or the caret's way to the next (previous) word start: IDM_DELETEWORD forward.
void DeleteWordForward(EditView& view);
void DeleteWordBackward(EditView& view);
// A tab at the start of every line of the block (IDM_BLOCKINDENT). From the Tab key, only a
// selection over several lines is a block: otherwise the tab replaces the selection.
void Indent(EditView& view, bool fromTabKey);
// Removes the blanks up to the first tab stop of every line of a selection over several lines
// (IDM_BLOCKUNINDENT, Shift+Tab).
void Unindent(EditView& view);
// IDM_UNDO and IDM_REDO: replay one step of the history and put the caret at the change.
void UndoEdit(EditView& view);
void RedoEdit(EditView& view);
