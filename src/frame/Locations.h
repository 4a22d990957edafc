// Go to Location and Next / Previous Location: from a line that names a place in a file (a hit
// of Find in Files, a compiler's message, grep's output) to that file at that line and column.
#pragma once

#include <string>

class MainFrame;
struct OpenDocument;

// The document whose place lines Next and Previous Location work through, and the line of it
// last gone to.
struct LocationList {
  unsigned documentId = 0;  // 0: none
  int line = -1;            // -1: before the first line
};

// Go to Location (IDM_GOTOLOCATION): opens the file the caret's line names, or shows it when it
// is open, with the caret at the line and column named. The document of the line becomes the
// list that Next and Previous Location work through. A line that names no place only beeps.
void GoToLocation(MainFrame& frame);
// Next Location (IDM_NEXTLOCATION) and Previous Location (IDM_PREVLOCATION): the next or
// previous place line of the list, after (before) the one last gone to, or from the caret's
// line when the user moved it there in the list itself; the list's caret follows. Beeps at the
// list's ends and when there is no list.
void StepLocation(MainFrame& frame, bool forward);
// Whether there is a list for Next and Previous Location.
bool HasLocationList(const MainFrame& frame);
// Makes document (new results or captured output) the list, from its start; the relative
// paths of its lines start from folder.
void UseAsLocationList(MainFrame& frame, OpenDocument& document, const std::wstring& folder);
