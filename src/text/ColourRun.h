// A coloured run of one line: what the painter draws in one colour.
#pragma once

// Run kinds.
enum RunKind : int {
  runBlank = 0,      // tabs, continuation indent, empty cells
  runPlain = 1,
  runKeyword1 = 2,   // 2..10: keyword classes "Syntax 1" to "Syntax 9"
  runComment = 11,
  runString = 12,    // both kinds of string
  runEmphasis = 13,  // both kinds of emphasis
  runSelectedBlank = 14,
  runSelectedText = 15,
};

struct ColourRun {
  int kind = runPlain;
  int index = 0;   // character index of the run's first character in the line
  int length = 0;  // UTF-16 units; for blank runs, the cells they take
  const wchar_t* text = nullptr;  // the line's characters
  // The cells the run covers on its row, as the row cursor hands it to the painter: the
  // length for blank runs and for text of one unit to a cell. The highlighter's runs of a
  // whole line leave it 0.
  int cells = 0;
};
