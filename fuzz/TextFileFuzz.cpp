// Fuzzes reading text files with any bytes, raw or behind each byte-order mark: a file is saved
// back byte for byte, also after a line was edited and the edit undone, unless its first line
// end is CR LF and a later one a line feed alone; that one is saved with CR LF everywhere, and
// loading and saving it again changes nothing.
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

// The units of the text as the loader sees them: UTF-16 after a UTF-16 mark, else bytes.
std::vector<unsigned> UnitsOf(const std::string& file) {
  std::vector<unsigned> units;
  const bool little = file.rfind("\xFF\xFE", 0) == 0, big = file.rfind("\xFE\xFF", 0) == 0;
  if ((little || big) && file.size() % 2 == 0) {
    for (std::size_t i = 2; i < file.size(); i += 2) {
      unsigned a = static_cast<unsigned char>(file[i]), b = static_cast<unsigned char>(file[i + 1]);
      units.push_back(little ? a | (b << 8) : (a << 8) | b);
    }
  } else {
    for (char c : file) units.push_back(static_cast<unsigned char>(c));
  }
  return units;
}

// True when the first line feed follows a carriage return and a later one does not: the only
// files whose line ends change (an LF file keeps its carriage returns as characters).
bool MixedLineEnds(const std::vector<unsigned>& units) {
  bool first = true, crLf = false;
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (units[i] != '\n') continue;
    const bool afterCr = i > 0 && units[i - 1] == '\r';
    if (first) crLf = afterCr;
    if (!first && crLf && !afterCr) return true;
    first = false;
  }
  return false;
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
  // An edit and its undo leave the line widened with the same characters.
  TextPos at(first);
  SetPos(at, static_cast<int>(size / 3), static_cast<int>(size % 5));
  ReplaceText(first, at, at, L"\u00E9", editTyping);
  Undo(*first.undo);
  if (!SaveText(first, FuzzPath("out.txt"))) std::abort();
  const std::string saved = ReadBytes("out.txt");
  if (!MixedLineEnds(UnitsOf(file)) && saved != file) std::abort();

  // A code page file that starts like a UTF-16 mark only because its length is odd may become
  // even when its line ends are made alike; it is then read as UTF-16 the next time.
  if (first.format.encoding == Encoding::codePage && UnitsOf(saved).size() * 2 + 2 == saved.size())
    return 0;
  Document second;
  LoadOrStop(second, "out.txt", size);
  if (LinesOf(first) != LinesOf(second) || !(first.format == second.format)) std::abort();
  if (!SaveText(second, FuzzPath("again.txt")) || ReadBytes("again.txt") != saved) std::abort();
  return 0;
}
