// Fuzzes editing with sequences of ReplaceText, Undo and Redo decoded from the input, on
// documents with and without word wrap and syntax whose class (tab size and relative indent
// out of range included) is loaded as the program loads classes: after every step the text
// equals a plain model, the layout equals one made from scratch and the word index one built
// from the text; every Undo and Redo brings back the text of the history depth it arrives at;
// the row cursor walks every row of the result, the recovery journal of the changes replayed on
// the first text gives the result, and undoing everything gives the first text. The first text
// is typed lines (3 or 150) or a file's bytes (narrow lines, lone carriage returns, mixed line ends, every
// encoding), which undoing everything saves back byte for byte.
#include <climits>
#include <cstdlib>

#include "FuzzFiles.h"
#include "FuzzInput.h"
#include "config/DocClassIO.h"
#include "syntax/ConfigFile.h"
#include "syntax/RowWalk.h"
#include "syntax/TestSyntax.h"
#include "text/Edit.h"
#include "text/EditModel.h"
#include "text/Journal.h"
#include "text/TextFile.h"

#include <fstream>
#include <iterator>
#include <limits>

namespace {

TextPlace Place(FuzzInput& in, const Lines& lines) {
  int line = in.Number(static_cast<int>(lines.size()));
  return {in.Number(static_cast<int>(lines[line].size()) + 1), line};
}

void Check(bool condition) {
  if (!condition) std::abort();
}

// A class as the settings file may hold it, values out of range included, loaded the way the
// program loads classes.
DocClass LoadedClass(FuzzInput& in, std::uint8_t shape) {
  static const int values[] = {INT_MIN, -4, 0, 1, 2, 3, 4, 8, 20, 21, INT_MAX};
  ConfigFile tree;
  tree.EnterSection(L"c");
  tree.SetInt(L"wordwrap", shape & 1);
  tree.SetInt(L"indent", (shape & 64) != 0);
  tree.SetInt(L"tabsize", values[in.Number(std::size(values))]);
  tree.SetInt(L"relindent", values[in.Number(std::size(values))]);
  tree.LeaveSection();
  DocClass settings;
  LoadClassSection(tree, L"c", settings);
  return settings;
}

// The document the edits start from: typed lines (copies of three, enough copies for the row
// totals to keep them in several blocks), or the file a bytes of the input make.
std::unique_ptr<Document> FirstDocument(const DocClass& settings, int wrapWidth, const std::string& file,
                                        int copies) {
  if (file.empty()) {
    Lines lines;
    for (int n = 0; n < copies; ++n) lines.insert(lines.end(), {L"ab /* c", L"\t\"x\" */ d", L""});
    return MakeDocument(lines, settings, wrapWidth);
  }
  auto document = MakeDocument({L""}, settings, wrapWidth);
  Check(LoadText(*document, FuzzPath("edit.txt")));
  return document;
}

std::string ReadBytes(const char* name) {
  std::ifstream in(FuzzFolder() + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  std::uint8_t shape = in.Byte();
  DocClass settings = LoadedClass(in, shape);
  if (shape & 128) {
    settings.hassyntax = true;
    settings.syntax = &CLikeSyntax();
  }
  const int wrapWidth = settings.wordwrap ? 1 + in.Number(30) : Document::noWrapWidth;
  std::string file;
  if (shape & 2) {
    static const char* const marks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    file = marks[in.Number(4)];
    for (int n = 1 + in.Number(24); n > 0 && !in.Empty(); --n) file += static_cast<char>(in.Byte());
    if (file.empty()) file = "\n";
    WriteFuzzFile("edit.txt", reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
  }
  const int copies = shape & 4 ? 50 : 1;
  auto document = FirstDocument(settings, wrapWidth, file, copies);
  const Lines original = LinesOf(*document);
  Lines model = original;
  HistoryModel history(original);
  // The word index may still be being built, its first lines alone counted.
  AttachWordIndex(*document, in.Number(2) ? std::numeric_limits<std::size_t>::max()
                                           : static_cast<std::size_t>(in.Number(40)));
  std::string journal = EncodeJournalHeader({}, L"doc1");
  document->onReplace = [&](const TextPos& from, const TextPos& to, std::wstring_view text) {
    AppendJournalChange(journal, from.index, from.line, to.index, to.line, text);
  };
  // Wide characters, a mark and the halves of an emoji as well.
  const wchar_t alphabet[] = L"ab \t\r\n/*\"\\\u4E2D\u0301\xD83D\xDE00";
  while (!in.Empty()) {
    int action = in.Number(8);
    if (action <= 1) {
      Check(history.Step(*document, action == 1).empty());
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
      Check(history.AfterEdit(*document).empty());
    }
    Check(LayoutDifference(*document).empty());
    Check(WordIndexDifference(*document).empty());
  }
  Check(RowWalkProblem(*document, 40).empty());
  auto replayed = FirstDocument(settings, wrapWidth, file, copies);
  ReplayJournal(*replayed, ParseJournal(journal).value().changes);
  Check(LinesOf(*replayed) == LinesOf(*document));
  Check(LayoutDifference(*replayed).empty());
  while (CanUndo(*document->undo)) Undo(*document->undo);
  Check(LinesOf(*document) == original);
  Check(LayoutDifference(*document).empty());
  if (!file.empty()) {
    Check(SaveText(*document, FuzzPath("edited.txt")));
    Check(ReadBytes("edited.txt") == file);
  }
  return 0;
}
