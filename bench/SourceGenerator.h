// The benchmarks' input: a deterministic C-like source file of a million lines, written once and
// shared by every benchmark that reads it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Platform.h"

namespace bench {

// A deterministic C-like source: indented statements, comments, a few long lines and a few
// characters of the upper half of Windows-1252, lines ended by CR LF.
class SourceGenerator {
 public:
  std::string Line(int n) {
    static const char* const words[] = {"value", "count", "index", "buffer", "result", "length",
                                        "node",  "item",  "flags", "offset", "total",  "state"};
    static const char* const types[] = {"int", "char*", "size_t", "double", "struct entry*"};
    std::string line(static_cast<std::size_t>(Next() % 4) * 4, ' ');
    if (Next() % 5 == 0) line = std::string(Next() % 3, '\t');
    switch (Next() % 8) {
      case 0: line += "}"; break;
      case 1: line += "if ("; line += Word(words); line += " > "; line += Number(); line += ") {"; break;
      case 2: line += "// "; line += Word(words); line += " caf\xE9 \x80 "; line += Word(words); break;
      case 3: line += ""; break;
      default:
        line += Word(types); line += " "; line += Word(words); line += "_"; line += Number();
        line += " = "; line += Word(words); line += "("; line += Word(words); line += ", ";
        line += Number(); line += ");";
    }
    if (n % 37 == 0) {  // a long line of 200 to 400 characters
      std::size_t target = 200 + Next() % 201;
      while (line.size() < target) { line += " + "; line += Word(words); }
      line.resize(target);
    }
    return line;
  }

 private:
  std::uint32_t Next() {
    seed_ = seed_ * 1664525u + 1013904223u;
    return seed_ >> 8;
  }
  template <std::size_t N>
  const char* Word(const char* const (&list)[N]) { return list[Next() % N]; }
  std::string Number() { return std::to_string(Next() % 1000); }
  std::uint32_t seed_ = 12345;
};

inline constexpr int lineCount = 1000000;

inline void Generate(const std::wstring& path) {
  platform::FileHandle file = platform::CreateForWriting(path);
  if (file == platform::invalidFile) {
    std::fprintf(stderr, "cannot create the input file\n");
    std::exit(1);
  }
  SourceGenerator generator;
  std::string chunk;
  for (int n = 0; n < lineCount; ++n) {
    chunk += generator.Line(n);
    if (n + 1 < lineCount) chunk += "\r\n";
    if (chunk.size() > (1 << 20)) {
      platform::WriteFile(file, chunk.data(), static_cast<std::uint32_t>(chunk.size()));
      chunk.clear();
    }
  }
  platform::WriteFile(file, chunk.data(), static_cast<std::uint32_t>(chunk.size()));
  platform::CloseFile(file);
}

}  // namespace bench
