// Fuzzes syntax definition files and the highlighter: any bytes are read as a syntax file, the
// definition highlights the lines that follow, and every line's stored end state equals a scan
// from the first line; the row cursor covers every row with runs in order.
#include <cstdlib>
#include <cstring>

#include "FuzzFiles.h"
#include "syntax/ConfigFile.h"
#include "syntax/LineScan.h"
#include "syntax/RowCursor.h"
#include "syntax/SyntaxDef.h"
#include "text/EditModel.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Walks every visual row as the painter does.
void PaintAllRows(Document& document, int columns) {
  TextPos cursor;
  OpenRowCursor(cursor, document, 0, 0);
  int rows = 0;
  do {
    int remaining = columns + 1;
    for (bool first = true; remaining > 0; first = false) {
      int before = remaining;
      ColourRun run = NextRun(cursor, first, remaining);
      Check(run.kind >= 0 && run.kind <= 13 && run.length >= 0 && remaining < before);
    }
    ++rows;
  } while (NextRow(cursor, 0));
  CloseRowCursor(cursor);
  Check(rows == document.TotalRows());
}

}  // namespace

// The input is a syntax file, then a NUL byte, then the text to highlight.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t* split = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
  std::size_t syntaxSize = split ? static_cast<std::size_t>(split - data) : size;
  WriteFuzzFile("in.syntax", data, syntaxSize);
  ConfigFile file;
  Check(file.Load(FuzzPath("in.syntax")));
  const SyntaxDef def = BuildSyntaxDef(file);

  Lines lines{L""};
  for (std::size_t i = syntaxSize + 1; i < size; ++i) {
    if (data[i] == '\n') lines.emplace_back();
    else lines.back() += static_cast<wchar_t>(data[i]);
  }
  DocClass settings = Settings(size % 2 == 0, 1 + static_cast<int>(size % 5), 2);
  settings.hassyntax = true;
  settings.syntax = &def;
  auto document = MakeDocument(lines, settings, settings.wordwrap ? 16 : Document::noWrapWidth);
  int code = 0;
  for (int i = 0; i < document->LineCount(); ++i) {
    LineEndState state = ScanLineEnd(def, document->lines[i].Text(), code);
    code = state.code;
    Check(lineState::Code(document->lines[i].State()) == state.code);
    Check(ConstructPositionOf(*document, i) == state.constructPosition);
    const bool isFar = state.constructPosition >= Line::farConstructStart;
    Check(document->lines[i].ConstructPosition() == (isFar ? Line::farConstruct : state.constructPosition));
  }
  PaintAllRows(*document, 16);
  return 0;
}
