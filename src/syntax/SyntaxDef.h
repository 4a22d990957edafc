// A loaded syntax definition: comment, string and emphasis delimiters, word sets and keywords.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "text/LineSyntax.h"

// Inclusive range of UTF-16 units.
using CharRange = std::pair<wchar_t, wchar_t>;

// Documents of a class with highlighting hold their definition as their LineSyntax.
struct SyntaxDef final : LineSyntax {
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

  LineEndState EndOfLine(const Line& line, int enteringCode) const override;
  bool IsWordStart(wchar_t ch) const override;
};

class ConfigFile;

// The ranges of a character set string such as "a-zA-Z_": a '-' between two characters joins
// them into a range; any other character, a leading '-' included, stands for itself; a '-' at
// the very end after a character is dropped. Ranges stay in the order read and may overlap.
std::vector<CharRange> ParseCharacterSet(const std::wstring& text);

// Builds a definition from the root section of a loaded syntax file. Missing keys read as 0 or
// empty; a construct whose terminator is missing is left out.
SyntaxDef BuildSyntaxDef(ConfigFile& file);

// The keyword class of a word (2..10), or 1 when it is no keyword.
int KeywordClass(const SyntaxDef& def, const std::wstring& word);
bool IsWordFirst(const SyntaxDef& def, wchar_t ch);
bool IsWordChar(const SyntaxDef& def, wchar_t ch);
