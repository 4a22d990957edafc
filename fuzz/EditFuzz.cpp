// Fuzzes editing with sequences of ReplaceText, Undo and Redo decoded from the input, on
// documents with and without word wrap and syntax: after every step the text equals a plain
// model and the layout equals one made from scratch; undoing everything gives the first text.
#include <cstdlib>

#include "FuzzInput.h"
#include "syntax/TestSyntax.h"
#include "text/Edit.h"
#include "text/EditModel.h"

namespace {

TextPlace Place(FuzzInput& in, const Lines& lines) {
  int line = in.Number(static_cast<int>(lines.size()));
  return {in.Number(static_cast<int>(lines[line].size()) + 1), line};
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  std::uint8_t shape = in.Byte();
  DocClass settings = Settings(shape & 1, 1 + (shape >> 1) % 8, (shape >> 4) % 8, shape & 64);
  if (shape & 128) {
    settings.hassyntax = true;
    settings.syntax = &CLikeSyntax();
  }
  const int wrapWidth = settings.wordwrap ? 1 + in.Number(30) : Document::noWrapWidth;
  const Lines original{L"ab /* c", L"\t\"x\" */ d", L""};
  auto document = MakeDocument(original, settings, wrapWidth);
  Lines model = original;
  const wchar_t alphabet[] = L"ab \t\r\n/*\"\\";
  while (!in.Empty()) {
    int action = in.Number(8);
    if (action == 0) {
      Undo(*document->undo);
      model = LinesOf(*document);
    } else if (action == 1) {
      Redo(*document->undo);
      model = LinesOf(*document);
    } else {
      TextPlace from = Place(in, model), to = Place(in, model);
      std::wstring text = in.Text(6, alphabet);
      int kind = in.Number(6);
      ChangeRecord change = ReplaceText(*document, PosAt(*document, from.line, from.index),
                                        PosAt(*document, to.line, to.index), text, kind);
      TextPlace end = ModelReplace(model, from, to, text);
      Check(LinesOf(*document) == model);
      Check(change.endIndex == end.index && change.endLine == end.line);
      Check(change.firstRow >= 0 && change.firstRow <= change.lastRow + 1);
    }
    Check(LayoutDifference(*document).empty());
  }
  while (CanUndo(*document->undo)) Undo(*document->undo);
  Check(LinesOf(*document) == original);
  Check(LayoutDifference(*document).empty());
  return 0;
}
