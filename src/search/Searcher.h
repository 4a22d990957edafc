// The one search of the program: the find text, the replace text and the options, written by
// the find bar and the menus and read by every search command, and the search engine that
// finds the find text in a document, line by line, wrapping around its ends.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "search/LineMatcher.h"

class Document;
struct SyntaxDef;
struct TextPos;

// The options, in the order of the menus' check marks. They start off at every start of the
// program and are never saved.
enum SearchOption : int {
  searchIgnoreCase,
  searchWholeWords,
  searchAllDocuments,
  searchRegularExpression,
  searchSelectedText,
  searchOptionCount
};

// What a preparation made of the texts and options; reused until one of them changes.
struct SearchState {
  std::array<bool, searchOptionCount> options{};  // as copied; whole words cleared when the
                                                  // pattern does not qualify
  std::wstring pattern;                            // the find text as copied
  const SyntaxDef* syntax = nullptr;  // the word characters, when whole words applies and the
                                      // document is highlighted
  std::unique_ptr<LineMatcher> matcher;  // null while the pattern is empty
  bool forward = true;                   // direction of the search that prepared
  int startLine = 0;
  int startIndex = 0;
  int lastHitLength = 0;  // length of the last hit found
};

class Searcher {
 public:
  const std::wstring& FindText() const { return findText_; }
  // Edits of the find text make the next search prepare anew.
  void SetFindText(std::wstring_view text);
  const std::wstring& ReplaceText() const { return replaceText_; }
  void SetReplaceText(std::wstring_view text) { replaceText_ = text; }

  bool Option(SearchOption option) const { return options_[option]; }
  // Stores the value; true when it differs from the old one (the next search then prepares
  // anew).
  bool SetOption(SearchOption option, bool value);

  // Prepares the search of document from start in a direction; the preparation of the
  // previous search is reused while the texts, the options and the document's word
  // characters stay the same. False when there is nothing to search for.
  bool PrepareSearch(const Document& document, const TextPos& start, bool forward);

  // The next hit at or after pos, wrapping from the last line to the first and searching
  // every line once, the part of pos's line before pos last. On success pos is set to the
  // hit's first character; else it is left unchanged.
  bool FindForward(const Document& document, TextPos& pos);
  // The last hit that begins before pos, wrapping from the first line to the last; the part
  // of pos's line after pos is searched last.
  bool FindBackward(const Document& document, TextPos& pos);
  // The length of the hit last found.
  int HitLength() const { return state_.lastHitLength; }

  const SearchState& State() const { return state_; }

 private:
  // The syntax definition whose word characters a whole-word search of document would use.
  static const SyntaxDef* WordSyntax(const Document& document);
  // On a hit in line: pos goes to it and its length is kept. False without a hit.
  bool TakeHit(const LineHit& hit, int line, TextPos& pos);

  std::wstring findText_;
  std::wstring replaceText_;
  std::array<bool, searchOptionCount> options_{};
  bool changed_ = true;  // a text or an option changed since the last preparation
  const SyntaxDef* preparedSyntax_ = nullptr;  // WordSyntax of the document prepared for
  SearchState state_;
};
