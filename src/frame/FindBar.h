// The find bar: a second command bar under the edit view with the search options, the caret's
// line number (an entry field for Goto Line), the find and replace texts and their buttons.
#pragma once

#include <string>

class MainFrame;
struct ViewWindow;

// Creates the bar and its fields as children of the main window, with the bar font; sets the
// frame's find bar, its menu, its height, the line number field and the three entry fields.
// False when the bar could not be made; the frame then has none and reserves no room for it.
bool CreateFindBar(MainFrame& frame);

// The bar's share of commands IDM_GOTOLINE (start goto-line entry with the caret's line) and
// IDM_FINDTEXT (select the whole find text and focus the find field); the frame shows the bar
// first.
void FindBarCommand(MainFrame& frame, int command);

// The line number field shows text.
void FindBarShowLineNumber(MainFrame& frame, const std::wstring& text);

// Enter in the goto line field: the view goes to the line typed there.
void GotoLineFromFindBar(MainFrame& frame, ViewWindow& view);

// The tip above the find field says in one line why the find text is no valid regular
// expression, or why matching it was given up; hidden when there is nothing to say or the bar
// or the window is hidden. Called again when the field moves.
void FindBarShowPatternError(MainFrame& frame);
