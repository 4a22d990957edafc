// Comparing names with letter case ignored, as the settings pages' lists compare them.
#pragma once

#include <string>

#include "platform/Platform.h"

inline bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (platform::ToUpper(a[i]) != platform::ToUpper(b[i])) return false;
  return true;
}
