// The literal text matcher of the search engine and the whole-word test of every matcher.
#include "search/LineMatcher.h"

#include <algorithm>

#include "platform/Platform.h"
#include "syntax/SyntaxDef.h"

namespace {

int Size(std::wstring_view text) { return static_cast<int>(text.size()); }

// From this length on a pattern is searched by skipping (Horspool) rather than by the places
// of its first unit.
constexpr int longPattern = 4;

}  // namespace

LiteralMatcher::LiteralMatcher(std::wstring pattern, bool ignoreCase, bool wholeWords,
                               const SyntaxDef* syntax)
    : pattern_(std::move(pattern)), ignoreCase_(ignoreCase), wholeWords_(wholeWords),
      syntax_(syntax) {
  if (ignoreCase_) {
    upper_ = UpperTable();
    for (wchar_t& ch : pattern_) ch = UpperUnit(upper_, ch);
  }
  // The skips of a Horspool search: a unit that occurs in the pattern before its last place
  // lets the pattern move only as far as that unit's last such occurrence allows.
  const int n = Size(pattern_);
  skips_.fill(std::max(n, 1));
  for (int k = 0; k + 1 < n; ++k)
    skips_[static_cast<std::uint32_t>(pattern_[static_cast<std::size_t>(k)]) & 0xFF] = n - 1 - k;
}

bool LiteralMatcher::QualifiesAsWord(std::wstring_view pattern, const SyntaxDef* syntax) {
  if (pattern.empty()) return false;
  if (syntax && IsWordFirst(*syntax, pattern[0])) {
    for (std::size_t i = 1; i < pattern.size(); ++i)
      if (!IsWordChar(*syntax, pattern[i])) return false;
  }
  return std::all_of(pattern.begin(), pattern.end(), platform::IsAlphaNumeric);
}

bool IsWholeWordAt(std::wstring_view line, int begin, int end, const SyntaxDef* syntax) {
  if (begin > 0) {
    const wchar_t before = line[static_cast<std::size_t>(begin - 1)];
    if (syntax ? IsWordFirst(*syntax, before) : platform::IsAlphaNumeric(before)) return false;
  }
  if (end < Size(line)) {
    const wchar_t after = line[static_cast<std::size_t>(end)];
    if (syntax ? IsWordChar(*syntax, after) : platform::IsAlphaNumeric(after)) return false;
  }
  return true;
}

bool LiteralMatcher::MatchesAt(std::wstring_view line, int i) const {
  const wchar_t* text = line.data() + i;
  const std::size_t n = pattern_.size();
  if (ignoreCase_) {
    for (std::size_t k = 0; k < n; ++k)
      if (UpperUnit(upper_, text[k]) != pattern_[k]) return false;
  } else if (!std::equal(pattern_.begin(), pattern_.end(), text)) {
    return false;
  }
  return !wholeWords_ || IsWholeWordAt(line, i, i + Size(pattern_), syntax_);
}

LineHit LiteralMatcher::MatchForwardInLine(std::wstring_view line, int from) const {
  const int n = Size(pattern_);
  const int last = Size(line) - n;  // the last index a hit can begin at
  if (n == 0) return {};
  if (n >= longPattern) {
    const wchar_t lastUnit = pattern_.back();
    for (int i = std::max(from, 0); i <= last;) {
      const wchar_t ch = Unit(line[static_cast<std::size_t>(i + n - 1)]);
      if (ch == lastUnit && MatchesAt(line, i)) return {i, n};
      i += Skip(ch);
    }
    return {};
  }
  // A short pattern moves on by little: the places of its first unit are found faster.
  const wchar_t first = pattern_[0];
  for (int i = std::max(from, 0); i <= last; ++i) {
    if (ignoreCase_) {
      while (i <= last && Unit(line[static_cast<std::size_t>(i)]) != first) ++i;
      if (i > last) break;
    } else {
      const std::size_t at = line.find(first, static_cast<std::size_t>(i));
      if (at == std::wstring_view::npos || static_cast<int>(at) > last) break;
      i = static_cast<int>(at);
    }
    if (MatchesAt(line, i)) return {i, n};
  }
  return {};
}

LineHit LiteralMatcher::MatchBackwardInLine(std::wstring_view line, int from) const {
  const int n = Size(pattern_);
  if (n == 0) return {};
  for (int i = std::min(from, Size(line) - n); i >= 0; --i)
    if (MatchesAt(line, i)) return {i, n};
  return {};
}
