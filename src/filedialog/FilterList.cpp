// Reading the request's filter list and matching names against a filter's patterns.
#include "filedialog/FilterList.h"

#include <cwchar>

#include "config/Wildcard.h"

namespace filedialog {
namespace {

// Whether name matches pattern. A pattern ending in ".*" also matches a name without any dot
// by what comes before: "*.*" (All Files) lists Makefile and README too, as desktops do.
bool Matches(const std::wstring& name, const std::wstring& pattern) {
  if (WildcardMatch(name, pattern)) return true;
  return pattern.ends_with(L".*") && name.find(L'.') == std::wstring::npos &&
         WildcardMatch(name, pattern.substr(0, pattern.size() - 2));
}

}  // namespace

std::vector<Filter> ReadFilterList(const wchar_t* list) {
  std::vector<Filter> filters;
  if (!list) return filters;
  while (*list) {
    const wchar_t* patterns = list + std::wcslen(list) + 1;
    if (!*patterns) break;
    filters.push_back({list, SplitPatterns(patterns)});
    list = patterns + std::wcslen(patterns) + 1;
  }
  return filters;
}

std::vector<std::wstring> SplitPatterns(const std::wstring& list) {
  std::vector<std::wstring> patterns;
  std::wstring pattern;
  for (std::size_t i = 0; i <= list.size(); ++i) {
    wchar_t ch = i < list.size() ? list[i] : L';';
    if (ch == L' ' || ch == L'\t') continue;
    if (ch != L';') {
      pattern += ch;
      continue;
    }
    if (!pattern.empty()) patterns.push_back(pattern);
    pattern.clear();
  }
  return patterns;
}

bool PassesFilter(const std::wstring& name, const std::vector<std::wstring>& patterns) {
  if (patterns.empty()) return true;
  for (const std::wstring& pattern : patterns) {
    if (Matches(name, pattern)) return true;
  }
  return false;
}

}  // namespace filedialog
