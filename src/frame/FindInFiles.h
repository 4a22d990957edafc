// Find in Files (IDM_FINDINFILES): the dialog that asks what to find, where and in which files,
// the search on a thread of its own while the dialog shows its progress, and the document of
// its hits.
#pragma once

#include <string>

class MainFrame;

// What the last search used, offered again when nothing better is known.
struct FindInFilesChoices {
  std::wstring folder;    // empty until a search ran
  std::wstring patterns;  // empty until a search ran
  bool subfolders = true;
};

// Shows the dialog with the find bar's text, the active document's folder and its class's file
// patterns; OK searches with the find bar's options, and the hits, with a last line that
// counts them, go into a new untitled document. Cancel, also while the search runs, shows
// nothing.
void FindInFiles(MainFrame& frame);
