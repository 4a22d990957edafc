// Command-line arguments of the benchmarks: paths in the program's form and the shipped syntax
// definition they highlight with.
#pragma once

#include <string>

#include "syntax/ConfigFile.h"
#include "syntax/SyntaxDef.h"

namespace bench {

// A path argument with backslashes, as the program writes paths; empty when absent.
inline std::wstring PathArgument(int argc, char** argv, int index) {
  std::wstring path;
  for (const char* c = argc > index ? argv[index] : ""; *c; ++c)
    path += static_cast<wchar_t>(*c == '/' ? '\\' : *c);
  return path;
}

// Reads a syntax file the way the program does; false when it cannot be opened.
inline bool LoadSyntaxFile(const std::wstring& path, SyntaxDef& def) {
  ConfigFile file;
  if (path.empty() || !file.Load(path)) return false;
  def = BuildSyntaxDef(file);
  return true;
}

}  // namespace bench
