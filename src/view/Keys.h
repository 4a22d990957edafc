// The key table of the edit view, typing and the editing and movement commands behind keys
// and key-binding commands.
#pragma once

#include <string_view>

#include "view/EditView.h"

// Virtual-key codes of the keys the view handles (the window system's VK_ values).
enum ViewKey : unsigned {
  keyBack = 0x08,
  keyTab = 0x09,
  keyPageUp = 0x21,
  keyPageDown = 0x22,
  keyEnd = 0x23,
  keyHome = 0x24,
  keyLeft = 0x25,
  keyUp = 0x26,
  keyRight = 0x27,
  keyDown = 0x28,
  keyDelete = 0x2E,
};

// A key-down the frame received while the view's document is shown. Returns whether the key
// is one of the table's keys (whatever the modifiers made of it); false leaves it to the
// default handling.
bool OnKeyDown(EditView& view, unsigned key, bool shift, bool ctrl);
// A character message forwarded to the view. Returns false when the view does not take the
// character (the window's default handling then applies).
bool OnChar(EditView& view, wchar_t ch);

// Commands of the frame's dispatch that act on the view.
void UndoCommand(EditView& view);        // IDM_UNDO
void RedoCommand(EditView& view);        // IDM_REDO
void BlockIndentCommand(EditView& view);    // IDM_BLOCKINDENT
void BlockUnindentCommand(EditView& view);  // IDM_BLOCKUNINDENT
// IDM_DOCSTART and IDM_DOCEND; IDM_DOCSTARTEXTEND and IDM_DOCENDEXTEND with extend.
void DocumentStartCommand(EditView& view, bool extend);
void DocumentEndCommand(EditView& view, bool extend);
void DeleteWordForwardCommand(EditView& view);           // IDM_DELETEWORD
// IDM_SELECTALL: anchor at the start, caret at the end.
void SelectAllCommand(EditView& view);
// Runs any of the commands above by its id; false for other ids.
bool RunViewCommand(EditView& view, int command);

// Editing operations, also used by the clipboard and the search commands.
// Replaces the selection (or inserts at the caret) by text with the given edit kind.
void ReplaceSelection(EditView& view, std::wstring_view text, int kind);
void InsertText(EditView& view, std::wstring_view text);  // typing
void Enter(EditView& view);
void DeleteForward(EditView& view);
void DeleteBackward(EditView& view);
void DeleteWordBackward(EditView& view);
void DeleteWordForward(EditView& view);
void Indent(EditView& view, bool fromTabKey);
void Unindent(EditView& view);
// Escape: ends an active selection; false when there was none.
bool EndSelection(EditView& view);

// Movement commands: move the caret and run the caret update with the table's policy.
void MoveCharLeft(EditView& view, bool extend);
void MoveCharRight(EditView& view, bool extend);
void MoveWordLeft(EditView& view, bool extend);
void MoveWordRight(EditView& view, bool extend);
void MoveRowStart(EditView& view, bool extend);
void MoveRowEnd(EditView& view, bool extend);
void MoveDocumentStart(EditView& view, bool extend);
void MoveDocumentEnd(EditView& view, bool extend);
void MoveRowUp(EditView& view, bool extend);
void MoveRowDown(EditView& view, bool extend);
void MovePageUp(EditView& view, bool extend);
void MovePageDown(EditView& view, bool extend);
