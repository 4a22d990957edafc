// The dialog's filters: the request's list of descriptions and pattern lists, and the test of a
// file name against one filter.
#pragma once

#include <string>
#include <vector>

namespace filedialog {

struct Filter {
  std::wstring description;
  std::vector<std::wstring> patterns;  // without blanks; empty patterns left out
};

// Reads a filter list: pairs of description and pattern list, each ending with a NUL, the list
// ending with an empty string. A description without its pattern list is dropped. A null list
// gives no filters.
std::vector<Filter> ReadFilterList(const wchar_t* list);

// Splits a pattern list at ";", dropping blanks and tabs and skipping empty patterns.
std::vector<std::wstring> SplitPatterns(const std::wstring& list);

// True when the name matches one of the patterns, or there are none. A pattern ending in ".*"
// takes names without a dot too.
bool PassesFilter(const std::wstring& name, const std::vector<std::wstring>& patterns);

}  // namespace filedialog
