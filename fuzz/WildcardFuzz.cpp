// Fuzzes the wildcard matcher against a plain memoised recursion over every split that "*"
// can make; both must agree, and the matcher must stay fast on patterns full of stars.
#include <cstdlib>
#include <vector>

#include "FuzzInput.h"
#include "config/Wildcard.h"
#include "platform/Platform.h"

namespace {

// Whether one non-star pattern element at p matches ch; next is the position after it.
bool ElementMatches(const std::wstring& pattern, std::size_t p, wchar_t ch, std::size_t& next) {
  if (pattern[p] == L'?') {
    next = p + 1;
    return true;
  }
  if (pattern[p] != L'[') {
    next = p + 1;
    return platform::ToUpper(pattern[p]) == platform::ToUpper(ch);
  }
  std::size_t close = pattern.find(L']', p + 1);
  if (close == std::wstring::npos) return false;
  next = close + 1;
  wchar_t upper = platform::ToUpper(ch);
  std::wstring set = pattern.substr(p + 1, close - p - 1);
  for (std::size_t i = 0; i < set.size(); ++i) {
    if (i + 2 < set.size() && set[i + 1] == L'-') {
      if (set[i] <= upper && upper <= set[i + 2]) return true;
      i += 2;
    } else if (set[i] == upper) {
      return true;
    }
  }
  return false;
}

struct Reference {
  const std::wstring& name;
  const std::wstring& pattern;
  std::vector<signed char> memo;  // -1 unknown, else the answer for (n, p)

  bool Match(std::size_t n, std::size_t p) {
    signed char& known = memo[n * (pattern.size() + 1) + p];
    if (known >= 0) return known;
    bool result;
    std::size_t next = 0;
    if (p == pattern.size()) result = n == name.size();
    else if (pattern[p] == L'*') result = Match(n, p + 1) || (n < name.size() && Match(n + 1, p));
    else result = n < name.size() && ElementMatches(pattern, p, name[n], next) && Match(n + 1, next);
    known = result;
    return result;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const wchar_t alphabet[] = L"aAbB.*?[]-z\xE9\xC9";
  std::wstring pattern = in.Text(40, alphabet);
  std::wstring name = in.Rest(alphabet);
  Reference reference{name, pattern,
                      std::vector<signed char>((name.size() + 1) * (pattern.size() + 1), -1)};
  if (WildcardMatch(name, pattern) != reference.Match(0, 0)) std::abort();
  return 0;
}
