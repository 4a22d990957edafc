// The find, replace, mark, goto and bracket commands of the edit view, as the main window's
// command dispatch calls them. The texts come from the find bar; the search options from the
// main window.
#pragma once

#include <string>

struct ViewWindow;

// Find next and find previous of the find text from the caret (40053, 40054).
void FindNext(ViewWindow& view, const std::wstring& findText);
void FindPrevious(ViewWindow& view, const std::wstring& findText);
// Replace next (40323), replace the found text (40324) and replace all (40325).
void ReplaceNext(ViewWindow& view, const std::wstring& findText, const std::wstring& replaceText);
void ReplaceOne(ViewWindow& view, const std::wstring& findText, const std::wstring& replaceText);
void ReplaceAll(ViewWindow& view, const std::wstring& findText, const std::wstring& replaceText);

// Marks on lines: toggle on the caret's line (40032), go to the next (40033) or previous
// (40034) marked line, clear every mark (40044).
void ToggleMark(ViewWindow& view);
void NextMark(ViewWindow& view);
void PrevMark(ViewWindow& view);
void ClearMarks(ViewWindow& view);

// Moves the caret to the bracket that matches the one at it (40031); false when there is none.
bool MatchPair(ViewWindow& view);
