// The General page's filter list: names with their pattern entries.
#include "config/FilterList.h"

#include <algorithm>
#include <utility>

#include "config/IgnoreCase.h"
#include "syntax/ConfigFile.h"

FilterList FilterList::FromStringList(const std::wstring& list) {
  FilterList filters;
  std::vector<std::wstring> items = SplitStringList(list);
  for (std::size_t i = 0; i < items.size(); i += 2) {
    filters.names_.push_back(items[i]);
    if (i + 1 < items.size()) filters.patterns_.push_back(items[i + 1]);
  }
  return filters;
}

std::wstring FilterList::ToStringList() const {
  std::vector<std::wstring> items;
  for (std::size_t i = 0; i < patterns_.size(); ++i) {
    items.push_back(names_[i]);
    items.push_back(patterns_[i]);
  }
  return JoinStringList(items);
}

std::wstring FilterList::PatternOf(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= patterns_.size()) return {};
  return patterns_[index];
}

int FilterList::Find(const std::wstring& name) const {
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (SameIgnoringCase(names_[i], name)) return static_cast<int>(i);
  return -1;
}

bool FilterList::Add(const std::wstring& name, const std::wstring& pattern) {
  std::wstring patterns = WithoutBlanks(pattern);
  if (name.empty() || Find(name) >= 0 || patterns.empty()) return false;
  // A name without a pattern entry can only be the last; the new pair goes before it, so that
  // every pattern stays with its name.
  std::size_t at = patterns_.size();
  names_.insert(names_.begin() + static_cast<std::ptrdiff_t>(at), name);
  patterns_.push_back(std::move(patterns));
  return true;
}

bool FilterList::Remove(const std::wstring& name) {
  int index = Find(name);
  if (index < 0) return false;
  names_.erase(names_.begin() + index);
  if (static_cast<std::size_t>(index) < patterns_.size()) patterns_.erase(patterns_.begin() + index);
  return true;
}

bool FilterList::MoveUp(int index) {
  // The name without a pattern entry stays last.
  if (index < 1 || static_cast<std::size_t>(index) >= patterns_.size()) return false;
  std::swap(names_[index], names_[index - 1]);
  std::swap(patterns_[index], patterns_[index - 1]);
  return true;
}

bool FilterList::Modify(const std::wstring& name, const std::wstring& pattern) {
  int index = Find(name);
  std::wstring patterns = WithoutBlanks(pattern);
  if (index < 0 || patterns.empty()) return false;
  if (static_cast<std::size_t>(index) < patterns_.size()) {
    patterns_[index] = std::move(patterns);
  } else {
    patterns_.push_back(std::move(patterns));  // the name without one gets its entry
  }
  return true;
}

std::wstring WithoutBlanks(const std::wstring& pattern) {
  std::wstring result;
  std::copy_if(pattern.begin(), pattern.end(), std::back_inserter(result),
               [](wchar_t ch) { return ch != L' ' && ch != L'\t'; });
  return result;
}
