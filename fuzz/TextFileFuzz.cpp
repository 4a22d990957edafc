// Fuzzes reading text files with any bytes: loading, saving and loading again gives the same
// lines, and the saved file holds every byte of the input but the line ends.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzFiles.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "text/Line.h"
#include "text/TextFile.h"

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

// What saving must give back: every byte, with carriage returns dropped and every line feed
// written as carriage return and line feed.
std::string Expected(const std::uint8_t* data, std::size_t size) {
  std::string out;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\r') continue;
    if (data[i] == '\n') out += '\r';
    out += static_cast<char>(data[i]);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteFuzzFile("in.txt", data, size);
  DocClass settings;
  settings.wordwrap = size % 2 == 0;
  settings.tabsize = 1 + static_cast<int>(size % 7);
  Document first;
  Relayout(first, settings, 1 + static_cast<int>(size % 50));
  if (!LoadText(first, FuzzPath("in.txt"))) std::abort();
  if (!SaveText(first, FuzzPath("out.txt"))) std::abort();
  if (ReadBytes("out.txt") != Expected(data, size)) std::abort();
  Document second;
  if (!LoadText(second, FuzzPath("out.txt"))) std::abort();
  if (LinesOf(first) != LinesOf(second)) std::abort();
  return 0;
}
