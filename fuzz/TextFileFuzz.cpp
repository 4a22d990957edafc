// Fuzzes reading text files with any bytes, raw or behind each byte-order mark: a file is saved
// back byte for byte, also after a character was typed into a line and deleted again, and after
// a line was edited and the edit undone; loading what was saved gives the same lines.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "text/Document.h"
#include "text/Edit.h"
#include "text/Layout.h"
#include "text/Line.h"
#include "text/TextFile.h"
#include "text/TextPos.h"
#include "text/UndoHistory.h"

namespace {

std::vector<std::wstring> LinesOf(const Document& document) {
  std::vector<std::wstring> lines;
  for (int i = 0; i < document.LineCount(); ++i) lines.emplace_back(document.lines[i].Text());
  return lines;
}

std::string ReadBytes(const char* name) {
  std::ifstream in(FuzzFolder() + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void LoadOrStop(Document& document, const char* name, std::size_t size) {
  TextClass settings;
  settings.wordwrap = size % 2 == 0;
  settings.tabsize = 1 + static_cast<int>(size % 7);
  Relayout(document, settings, 1 + static_cast<int>(size % 50));
  if (!LoadText(document, FuzzPath(name))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* const marks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  std::string file = size > 0 ? marks[data[0] % 4] : "";
  if (size > 0) file.append(reinterpret_cast<const char*>(data + 1), size - 1);
  WriteFuzzFile("in.txt", reinterpret_cast<const std::uint8_t*>(file.data()), file.size());

  Document first;
  LoadOrStop(first, "in.txt", size);
  const int line = static_cast<int>(size % 5) % first.LineCount();
  const int index = static_cast<int>(size / 3) % (first.lines[line].Length() + 1);
  // A character typed and deleted, then an edit and its undo, leave the line widened with the
  // same characters and the same line end.
  TextPos at(first);
  SetPos(at, index, line);
  ReplaceText(first, at, at, L"\u00E9", editTyping);
  TextPos after(first);
  SetPos(after, index + 1, line);
  ReplaceText(first, after, at, L"", editDeleteBackward);
  SetPos(at, index, line);
  ReplaceText(first, at, at, L"x\r\ny", editOther);
  Undo(*first.undo);
  if (!SaveText(first, FuzzPath("out.txt")) || ReadBytes("out.txt") != file) std::abort();

  Document second;
  LoadOrStop(second, "out.txt", size);
  if (LinesOf(first) != LinesOf(second) || !(first.format == second.format)) std::abort();
  return 0;
}
