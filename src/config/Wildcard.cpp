// Wildcard matching in linear passes: "*" backtracks only to the most recent star.
#include "config/Wildcard.h"

#include <cstddef>

#include "platform/Platform.h"

namespace {

// Whether the pattern element at pos (not a "*") matches ch; next receives the position after
// the element.
bool ElementMatches(const std::wstring& pattern, std::size_t pos, wchar_t ch, std::size_t& next) {
  wchar_t p = pattern[pos];
  if (p == L'?') {
    next = pos + 1;
    return true;
  }
  if (p != L'[') {
    next = pos + 1;
    return platform::ToUpper(p) == platform::ToUpper(ch);
  }
  std::size_t close = pattern.find(L']', pos + 1);
  if (close == std::wstring::npos) {
    next = pattern.size();
    return false;
  }
  next = close + 1;
  wchar_t upper = platform::ToUpper(ch);
  for (std::size_t i = pos + 1; i < close; ++i) {
    wchar_t low = pattern[i];
    wchar_t high = low;
    if (i + 2 < close && pattern[i + 1] == L'-') {
      high = pattern[i + 2];
      i += 2;
    }
    if (low <= upper && upper <= high) return true;
  }
  return false;
}

}  // namespace

// Every element other than "*" consumes exactly one character, so when a later attempt fails
// it is enough to let the most recent "*" swallow one more character: an earlier star could
// only produce splits that the later one also covers. Time is O(name × pattern) at worst.
bool WildcardMatch(const std::wstring& name, const std::wstring& pattern) {
  std::size_t n = 0, p = 0;
  std::size_t starPattern = std::wstring::npos;  // position after the most recent "*"
  std::size_t starName = 0;                      // name characters that star has swallowed up to
  while (n < name.size()) {
    std::size_t next = 0;
    if (p < pattern.size() && pattern[p] == L'*') {
      starPattern = ++p;
      starName = n;
    } else if (p < pattern.size() && ElementMatches(pattern, p, name[n], next)) {
      p = next;
      ++n;
    } else if (starPattern != std::wstring::npos) {
      p = starPattern;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}
