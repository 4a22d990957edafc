// The row cursor: walks visual rows for the painter and hands out colour runs clipped to the
// wrap segments, with tabs and continuation indents as blank runs.
#pragma once

#include "text/ColourRun.h"
#include "text/TextPos.h"

class Document;

// Places the cursor on visual row row at visual column column and tokenizes its line.
void OpenRowCursor(TextPos& cursor, Document& document, int row, int column);
// The next run of the row; remaining (cells still to fill) is lowered by its length. rowStart
// asks for the continuation indent of a wrapped row as a blank run first.
ColourRun NextRun(TextPos& cursor, bool rowStart, int& remaining);
// Goes to the next visual row at column; false after the last line.
bool NextRow(TextPos& cursor, int column);
void CloseRowCursor(TextPos& cursor);

// Moves the cursor, within its segment, to the first index whose visual column reaches column
// (or the segment end); a column inside a tab lands after the tab.
void SetColumn(TextPos& cursor, int column);
// Replaces the cursor's runs by the colour runs of its whole line.
void TokenizeLine(TextPos& cursor);
