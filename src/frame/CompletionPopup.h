// The drop-down list of word completion at the caret: its window, and the keys, characters and
// taps that choose from it while it is open.
#pragma once

#include <windows.h>

class MainFrame;

// Complete Word (IDM_COMPLETEWORD) in the active view.
void CompleteWord(MainFrame& frame);

// A message of the main window while the list is open: keys and characters that choose from it,
// and what closes it (another command, the focus or the window going elsewhere). True when the
// message was handled here and needs nothing more.
bool CompletionMessage(MainFrame& frame, UINT message, WPARAM wParam, LPARAM lParam);

// Closes the list, if it is open, and changes nothing else.
void CloseCompletion(MainFrame& frame);

// Work for the main message loop when no message waits: builds the word indexes of the open
// documents a small part at a time, so that the first Complete Word in a large file finds its
// index ready. True while some index still has lines to count.
bool CountWordsInIdleTime(MainFrame& frame);
