// Find in Files on a generated tree of 10,000 C-like files (with a hidden folder the walk passes
// over) and on folders given, such as the program's own sources: a literal with few hits, a word
// on many lines with Ignore Case, an expression without a hit, and the walk alone (a pattern no
// file matches).
//   fum_files_bench TREE [RUNS] [FOLDER...]   (TREE is generated when missing)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchArguments.h"
#include "BenchTiming.h"
#include "SourceGenerator.h"
#include "search/FileSearch.h"
#include "search/Searcher.h"
#include "text/Document.h"
#include "text/Edit.h"
#include "text/TextPos.h"

namespace {

constexpr int topFolders = 20, subFolders = 10, filesPerFolder = 50;
constexpr int linesPerFile = 120;
constexpr int hiddenFiles = 500;

std::filesystem::path NativePath(const std::wstring& path) {
#ifdef _WIN32
  return std::filesystem::path(path);
#else
  std::string native;
  for (wchar_t ch : path) native += ch == L'\\' ? '/' : static_cast<char>(ch);
  return std::filesystem::path(native);
#endif
}

// Writes count files of generated lines into folder; every hundredth file holds "needle" once.
void WriteFiles(const std::filesystem::path& folder, int count, int& serial,
                bench::SourceGenerator& generator) {
  std::filesystem::create_directories(folder);
  for (int i = 0; i < count; ++i, ++serial) {
    std::string text;
    for (int n = 0; n < linesPerFile; ++n) {
      text += generator.Line(n);
      if (serial % 100 == 0 && n == linesPerFile / 2) text += " /* needle */";
      text += "\r\n";
    }
    char name[32];
    std::snprintf(name, sizeof name, "f%03d.c", i);
    std::ofstream(folder / name, std::ios::binary) << text;
  }
}

void GenerateTree(const std::filesystem::path& root) {
  if (std::filesystem::exists(root / ".generated")) return;
  std::filesystem::remove_all(root);
  bench::SourceGenerator generator;
  int serial = 0;
  for (int top = 0; top < topFolders; ++top) {
    for (int sub = 0; sub < subFolders; ++sub) {
      char name[32];
      std::snprintf(name, sizeof name, "d%02d/s%d", top, sub);
      WriteFiles(root / name, filesPerFolder, serial, generator);
    }
  }
  int hidden = 0;
  WriteFiles(root / ".hidden", hiddenFiles, hidden, generator);
  std::ofstream(root / ".generated") << "";
}

struct Measured {
  double wall = 0, cpu = 0;
  FileSearchResult result;
};

Measured Run(const std::wstring& folder, const std::wstring& patterns, LineMatcher& matcher,
             int runs) {
  std::vector<double> walls, cpus;
  Measured measured;
  for (int run = 0; run < runs; ++run) {
    FileSearchProgress progress;
    const bench::Clock::time_point start = bench::Clock::now();
    const double cpu = bench::CpuSeconds();
    measured.result = SearchFiles({folder, SplitPatterns(patterns), true, {}}, matcher, progress);
    walls.push_back(bench::Milliseconds(start));
    cpus.push_back((bench::CpuSeconds() - cpu) * 1e3);
  }
  measured.wall = bench::Median(walls);
  measured.cpu = bench::Median(cpus);
  return measured;
}

void Measure(const char* label, const std::wstring& folder, const std::wstring& patterns,
             const std::wstring& text, bool ignoreCase, bool regex, int runs) {
  Searcher searcher;
  searcher.SetFindText(text);
  searcher.SetOption(searchIgnoreCase, ignoreCase);
  searcher.SetOption(searchRegularExpression, regex);
  std::wstring error;
  const std::unique_ptr<LineMatcher> matcher = searcher.MakeFileMatcher(nullptr, error);
  if (!matcher) {
    std::printf("  %s: no matcher\n", label);
    return;
  }
  const Measured m = Run(folder, patterns, *matcher, runs);
  std::printf("  %-44s %8.1f ms  (cpu %7.1f ms)   %d files searched, %zu hits\n", label, m.wall,
              m.cpu, m.result.filesSearched, m.result.lines.size());
  if (m.result.lines.size() < 10000) return;
  // The hits become the text of a new document, as the results show them.
  std::vector<double> walls;
  for (int run = 0; run < runs; ++run) {
    const bench::Clock::time_point start = bench::Clock::now();
    const std::wstring text = HitLinesText(m.result);
    Document document;
    TextPos at(document);
    ReplaceText(document, at, at, text, editOther);
    walls.push_back(bench::Milliseconds(start));
  }
  std::printf("  %-44s %8.1f ms\n", "  its hits made the text of a document", bench::Median(walls));
}

}  // namespace

int main(int argc, char** argv) {
  const std::wstring tree = bench::PathArgument(argc, argv, 1);
  if (tree.empty()) {
    std::fprintf(stderr, "usage: fum_files_bench TREE [RUNS] [FOLDER...]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  GenerateTree(NativePath(tree));

  std::printf("find in files, %d files of %d lines (and %d hidden), medians of %d runs\n",
              topFolders * subFolders * filesPerFolder, linesPerFile, hiddenFiles, runs);
  // The first search reads the files into the system's cache; every later one finds them there.
  Measure("warming up: \"needle\"", tree, L"*.*", L"needle", false, false, 1);
  Measure("\"needle\" (100 hits)", tree, L"*.*", L"needle", false, false, runs);
  Measure("\"TOTAL\", ignore case (many hits)", tree, L"*.c", L"TOTAL", true, false, runs);
  Measure("\"int\" (a hit on most lines)", tree, L"*.c", L"int", false, false, runs);
  Measure("expression fo+zz[0-9] (no hit)", tree, L"*.*", L"fo+zz[0-9]", false, true, runs);
  Measure("the walk alone (pattern *.h: no file)", tree, L"*.h", L"needle", false, false, runs);

  for (int i = 3; i < argc; ++i) {
    const std::wstring folder = bench::PathArgument(argc, argv, i);
    std::printf("find in files in %s\n", argv[i]);
    Measure("warming up: \"Document\"", folder, L"*.*", L"Document", false, false, 1);
    Measure("\"Document\"", folder, L"*.*", L"Document", false, false, runs);
    Measure("expression fo+zz[0-9] (no hit)", folder, L"*.*", L"fo+zz[0-9]", false, true, runs);
  }
  return 0;
}
