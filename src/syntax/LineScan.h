// The two halves of highlighting one line, on the line's text alone: the state the line ends in
// (which multi-line construct is still open) and the coloured runs of the whole line.
#pragma once

#include <string_view>
#include <vector>

#include "syntax/SyntaxDef.h"
#include "text/ColourRun.h"

class Line;

// Line state codes (lineState::Code of a line's state word).
//  0       nothing open at the end of the line
//  1       a single-line comment starts in the line
//  4..12   (even) a construct carried in from the previous line ends here, nothing open after
//  5       a multi-line comment opens here and stays open
//  7..13   (odd) a string, second string, emphasis or second emphasis opens and stays open
//  14..18  the whole line lies inside a carried comment, string, string 2, emphasis, emphasis 2

// The end state of a line entered with enteringCode (the previous line's code).
LineEndState ScanLineEnd(const SyntaxDef& def, std::wstring_view text, int enteringCode);
// The same for a line of a document, read without widening it.
LineEndState ScanLineEnd(const SyntaxDef& def, const Line& line, int enteringCode);

// True when the construct of a line's code covers the line from its first character.
bool ConstructReachesBack(int code, int constructPosition);

// Cuts a line into coloured runs, starting from the line's own end state. Runs of tabs get the
// cells the tabs take when the line starts at column 0.
void TokenizeText(const SyntaxDef& def, std::wstring_view text, LineEndState state, int tabSize,
                  std::vector<ColourRun>& runs);
