// A syntax definition as a document's highlighting: the state each line ends in, and the way
// back from a document to the definition that highlights it.
#include "syntax/Highlighter.h"

#include "syntax/LineScan.h"
#include "text/Document.h"
#include "text/Line.h"

LineEndState SyntaxDef::EndOfLine(const Line& line, int enteringCode) const {
  return ScanLineEnd(*this, line, enteringCode);
}

const SyntaxDef* SyntaxOf(const Document& document) {
  return dynamic_cast<const SyntaxDef*>(document.highlighter);
}
