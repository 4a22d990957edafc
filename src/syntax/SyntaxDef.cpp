// Lookups in a syntax definition: keyword classes and word character sets.
#include "syntax/SyntaxDef.h"

#include <algorithm>

#include "platform/Platform.h"
#include "syntax/ConfigFile.h"

namespace {

bool InRanges(const std::vector<CharRange>& ranges, wchar_t ch) {
  return std::any_of(ranges.begin(), ranges.end(),
                     [ch](const CharRange& r) { return r.first <= ch && ch <= r.second; });
}

// Reads an opener and, only when it is given, its terminator; an opener without terminator is
// cleared, so that the construct does not exist. True when the opener was given.
bool ReadPair(ConfigFile& file, const wchar_t* beginKey, const wchar_t* endKey,
              std::wstring& begin, std::wstring& end) {
  begin = file.GetString(beginKey, L"");
  if (begin.empty()) return false;
  end = file.GetString(endKey, L"");
  if (end.empty()) begin.clear();
  return true;
}

}  // namespace

std::vector<CharRange> ParseCharacterSet(const std::wstring& text) {
  std::vector<CharRange> ranges;
  bool pending = false;
  wchar_t low = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    wchar_t ch = text[i];
    if (pending && ch == L'-') {
      // A '-' at the very end is dropped; the pending character stays a range of its own.
      if (i + 1 == text.size()) break;
      ranges.emplace_back(low, text[++i]);
      pending = false;
      continue;
    }
    if (pending) ranges.emplace_back(low, low);
    low = ch;
    pending = true;
  }
  if (pending) ranges.emplace_back(low, low);
  return ranges;
}

SyntaxDef BuildSyntaxDef(ConfigFile& file) {
  file.GoToRoot();
  SyntaxDef def;
  def.ignoreCase = file.GetInt(L"ignorecase", 0) != 0;
  def.syntaxInEmphasisOnly = file.GetInt(L"syntaxemph", 0) != 0;
  def.singleLineComment = file.GetString(L"singlelinecomment", L"");
  ReadPair(file, L"mlinecommentbegin", L"mlinecommentend", def.commentBegin, def.commentEnd);
  // The escape is read with each string kind; the last reading applies to both kinds.
  if (ReadPair(file, L"stringbegin", L"stringend", def.stringBegin, def.stringEnd))
    def.stringEscape = file.GetString(L"stringescape", L"");
  if (ReadPair(file, L"stringbegin2", L"stringend2", def.stringBegin2, def.stringEnd2))
    def.stringEscape = file.GetString(L"stringescape", L"");
  ReadPair(file, L"emphbegin", L"emphend", def.emphasisBegin, def.emphasisEnd);
  ReadPair(file, L"emphbegin2", L"emphend2", def.emphasisBegin2, def.emphasisEnd2);

  std::wstring firstChars = file.GetString(L"wordfirstchars", L"");
  std::wstring chars = file.GetString(L"wordchars", L"");
  if (!chars.empty()) def.wordSet = ParseCharacterSet(chars);
  def.wordFirstSet = firstChars.empty() ? def.wordSet : ParseCharacterSet(firstChars);

  for (int key = 1; key <= 9; ++key) {
    std::wstring words = file.GetString(std::to_wstring(key), L"");
    if (def.ignoreCase) platform::ToUpperBuffer(words.data(), words.size());
    // A string list gives its elements, a plain string one word (blanks included).
    std::size_t start = 0;
    while (start < words.size()) {
      std::size_t end = words.find(L'\0', start);
      if (end == std::wstring::npos) end = words.size();
      if (end > start) def.keywords[words.substr(start, end - start)] = key + 1;
      start = end + 1;
    }
  }
  return def;
}

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

bool SyntaxDef::IsWordStart(wchar_t ch) const { return IsWordFirst(*this, ch); }

bool IsWordChar(const SyntaxDef& def, wchar_t ch) {
  if (def.ignoreCase) ch = platform::ToUpper(ch);
  return InRanges(def.wordSet, ch);
}
