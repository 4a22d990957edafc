// The line highlighter's end-state computation, kept in every line of a document with syntax.
#include "syntax/Highlighter.h"

#include "syntax/LineScan.h"
#include "text/Document.h"
#include "text/Line.h"

bool ComputeLineEndState(const Document& document, Line& line, std::uint32_t& state) {
  const SyntaxDef* def = document.settings.syntax;
  if (!def) return false;
  const std::uint32_t old = line.State();
  LineEndState end = ScanLineEnd(*def, line, static_cast<int>(state & stateCodeMask));
  line.SetConstructPosition(end.constructPosition);
  // The mark and any other bits above the code belong to the line, not to the highlighter.
  const std::uint32_t word = (old & ~stateCodeMask) | static_cast<std::uint32_t>(end.code);
  line.SetState(word);
  state = word;
  return word != old;
}
