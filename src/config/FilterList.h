// The General page's list of file type filters: display names, each with its pattern entry
// (patterns separated by ";"), as the open and save dialogs offer them.
#pragma once

#include <string>
#include <vector>

class FilterList {
 public:
  // From the stored list of name, pattern pairs. A last name without a pattern entry is kept,
  // without one.
  static FilterList FromStringList(const std::wstring& list);
  // The stored form: name and pattern entry for every name that has one.
  std::wstring ToStringList() const;

  const std::vector<std::wstring>& Names() const { return names_; }
  // The pattern entry of name index; empty for a name without one.
  std::wstring PatternOf(int index) const;
  // The index of the name equal to name with letter case ignored, or -1.
  int Find(const std::wstring& name) const;

  // Each operation returns whether the list changed. Patterns lose their blanks first; an
  // empty pattern changes nothing.
  bool Add(const std::wstring& name, const std::wstring& pattern);
  bool Remove(const std::wstring& name);
  bool MoveUp(int index);
  bool Modify(const std::wstring& name, const std::wstring& pattern);

 private:
  std::vector<std::wstring> names_;
  std::vector<std::wstring> patterns_;  // never longer than names_; patterns_[i] belongs to names_[i]
};

// A pattern entry without its spaces and tabs: "* .c ; *.h" gives "*.c;*.h".
std::wstring WithoutBlanks(const std::wstring& pattern);
