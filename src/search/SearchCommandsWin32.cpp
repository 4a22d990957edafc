// The search and navigation commands of the edit view. Not written yet: each does nothing, as
// a command does when its search finds nothing.
#include "search/SearchCommands.h"

void FindNext(ViewWindow&, const std::wstring&) {}
void FindPrevious(ViewWindow&, const std::wstring&) {}
void ReplaceNext(ViewWindow&, const std::wstring&, const std::wstring&) {}
void ReplaceOne(ViewWindow&, const std::wstring&, const std::wstring&) {}
void ReplaceAll(ViewWindow&, const std::wstring&, const std::wstring&) {}
void ToggleMark(ViewWindow&) {}
void NextMark(ViewWindow&) {}
void PrevMark(ViewWindow&) {}
void ClearMarks(ViewWindow&) {}
bool MatchPair(ViewWindow&) { return false; }
