// Exact matching of construct openers and terminators inside a line.
#include "syntax/TextMatch.h"

bool CompareAt(std::wstring_view text, int index, std::wstring_view token) {
  if (index < 0 || static_cast<std::size_t>(index) > text.size()) return false;
  return text.substr(static_cast<std::size_t>(index)).starts_with(token);
}

int FindTerminator(std::wstring_view text, int from, std::wstring_view terminator,
                   std::wstring_view escape) {
  if (terminator.empty() || from < 0) return -1;
  for (std::size_t start = static_cast<std::size_t>(from);;) {
    std::size_t i = text.find(terminator, start);
    if (i == std::wstring_view::npos) return -1;
    std::size_t escapes = 0;
    if (!escape.empty())
      while (escapes < i && text[i - escapes - 1] == escape[0]) ++escapes;
    if (escapes % 2 == 0) return static_cast<int>(i + terminator.size() - 1);
    start = i + 1;
  }
}
