// Lookups in a syntax definition: keyword classes and word character sets.
#include "syntax/SyntaxDef.h"

#include <algorithm>

#include "platform/Platform.h"

namespace {

bool InRanges(const std::vector<CharRange>& ranges, wchar_t ch) {
  return std::any_of(ranges.begin(), ranges.end(),
                     [ch](const CharRange& r) { return r.first <= ch && ch <= r.second; });
}

}  // namespace

int KeywordClass(const SyntaxDef& def, const std::wstring& word) {
  std::wstring key = word;
  if (def.ignoreCase)
    for (auto& ch : key) ch = platform::ToUpper(ch);
  auto found = def.keywords.find(key);
  return found == def.keywords.end() ? 1 : found->second;
}

bool IsWordFirst(const SyntaxDef& def, wchar_t ch) {
  if (def.ignoreCase) ch = platform::ToUpper(ch);
  return InRanges(def.wordFirstSet, ch);
}

bool IsWordChar(const SyntaxDef& def, wchar_t ch) {
  if (def.ignoreCase) ch = platform::ToUpper(ch);
  return InRanges(def.wordSet, ch);
}
