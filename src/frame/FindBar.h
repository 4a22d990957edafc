// The find bar: a second command bar under the edit view with the search options, the caret's
// line number (an entry field for Goto Line), and the find and replace texts.
#pragma once

#include <string>

class MainFrame;

// Creates the bar and its fields hidden, as children of the main window, with the bar font;
// sets the frame's find bar, its menu, its height and the line number field. False when the
// bar could not be made; the frame then has none and reserves no room for it.
bool CreateFindBar(MainFrame& frame);

// The texts of the find and replace fields; empty without a bar.
std::wstring FindBarFindText(const MainFrame& frame);
std::wstring FindBarReplaceText(const MainFrame& frame);

// The bar's share of commands 40041 (start goto-line entry with the caret's line) and 40343
// (select the whole find text and focus the find field); the frame shows the bar first.
void FindBarCommand(MainFrame& frame, int command);

// The line number field shows text.
void FindBarShowLineNumber(MainFrame& frame, const std::wstring& text);
