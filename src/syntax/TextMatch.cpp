// Exact matching of construct openers and terminators inside a line, on UTF-16 units or on a
// narrow line's bytes read as units.
#include "syntax/TextMatch.h"

namespace {

template <typename Text>
bool CompareAtIn(const Text& text, int index, std::wstring_view token) {
  if (index < 0 || static_cast<std::size_t>(index) > text.size()) return false;
  const auto at = static_cast<std::size_t>(index);
  if (text.size() - at < token.size()) return false;
  for (std::size_t k = 0; k < token.size(); ++k)
    if (text[at + k] != token[k]) return false;
  return true;
}

template <typename Text>
int FindTerminatorIn(const Text& text, int from, std::wstring_view terminator,
                     std::wstring_view escape) {
  if (terminator.empty() || from < 0) return -1;
  for (std::size_t start = static_cast<std::size_t>(from);;) {
    std::size_t i = text.find(terminator, start);
    if (i == Text::npos) return -1;
    std::size_t escapes = 0;
    if (!escape.empty())
      while (escapes < i && text[i - escapes - 1] == escape[0]) ++escapes;
    if (escapes % 2 == 0) return static_cast<int>(i + terminator.size() - 1);
    start = i + 1;
  }
}

}  // namespace

bool CompareAt(std::wstring_view text, int index, std::wstring_view token) {
  return CompareAtIn(text, index, token);
}

bool CompareAt(const NarrowText& text, int index, std::wstring_view token) {
  return CompareAtIn(text, index, token);
}

int FindTerminator(std::wstring_view text, int from, std::wstring_view terminator,
                   std::wstring_view escape) {
  return FindTerminatorIn(text, from, terminator, escape);
}

int FindTerminator(const NarrowText& text, int from, std::wstring_view terminator,
                   std::wstring_view escape) {
  return FindTerminatorIn(text, from, terminator, escape);
}
