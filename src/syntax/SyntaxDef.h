// A loaded syntax definition: comment, string and emphasis delimiters, word sets and keywords.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

// Inclusive range of UTF-16 units.
using CharRange = std::pair<wchar_t, wchar_t>;

struct SyntaxDef {
  std::map<std::wstring, int> keywords;  // word -> keyword class 2..10 (upper case with ignoreCase)
  bool ignoreCase = false;
  bool syntaxInEmphasisOnly = false;  // keywords, strings, comments only inside emphasis
  std::wstring singleLineComment;
  std::wstring commentBegin, commentEnd;  // both empty or both set
  std::wstring stringBegin, stringEnd;
  std::wstring stringBegin2, stringEnd2;
  std::wstring emphasisBegin, emphasisEnd;
  std::wstring emphasisBegin2, emphasisEnd2;
  std::wstring stringEscape;  // its first character escapes a string terminator
  std::vector<CharRange> wordFirstSet;
  std::vector<CharRange> wordSet;
};

// The keyword class of a word (2..10), or 1 when it is no keyword.
int KeywordClass(const SyntaxDef& def, const std::wstring& word);
bool IsWordFirst(const SyntaxDef& def, wchar_t ch);
bool IsWordChar(const SyntaxDef& def, wchar_t ch);
