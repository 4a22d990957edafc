// What the text model asks of a document's highlighting: the state a line ends in, and which
// characters start words. The syntax definitions provide it; the document holds one while its
// class has highlighting on.
#pragma once

class Line;

// The highlighter state at the end of a line.
struct LineEndState {
  int code = 0;                // see lineState::Code
  int constructPosition = -1;  // the index that belongs to the code; -1 when none
};

class LineSyntax {
 public:
  virtual ~LineSyntax() = default;
  // The end state of a line entered with enteringCode (the previous line's code, 0 before the
  // first line).
  virtual LineEndState EndOfLine(const Line& line, int enteringCode) const = 0;
  // True when ch may start a word: word wrap keeps it with the word that follows.
  virtual bool IsWordStart(wchar_t ch) const = 0;
};
