// The one search of the program: the find text, the replace text and the options, written by
// the find bar and the menus and read by every search command, and the search engine that
// finds the find text in a document, line by line, wrapping around its ends.
#pragma once

#include <array>
#include <chrono>
#include <memory>
#include <optional>
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
  std::unique_ptr<LineMatcher> matcher;  // null while the pattern is empty or invalid
  std::wstring error;  // why a regular expression is invalid, in one line; else empty
  bool forward = true;                   // direction of the search that prepared
  int startLine = 0;
  int startIndex = 0;
  int lastHitLength = 0;  // length of the last hit found
  int lastHitIndex = 0;   // where in its line the last hit found starts
};

// A stretch of one document that Selected Text confines the search to, from the first
// position up to the last (both line and index numbers).
struct SearchRange {
  const Document* document = nullptr;  // not owned; null when no range was taken
  int firstLine = 0, firstIndex = 0;
  int lastLine = 0, lastIndex = 0;
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
  bool PrepareSearch(const Document& document, int startLine, int startIndex, bool forward);

  // A matcher of the find text with the options, as Find Next uses them, for the text of files
  // that are not open: whole words go by the word characters of syntax (the document on screen)
  // or, without one, by letters and digits. Null while the find text is empty or no valid
  // expression; error then says why.
  std::unique_ptr<LineMatcher> MakeFileMatcher(const SyntaxDef* syntax, std::wstring& error) const;

  // A command begins: what an earlier command gave up is tried again, and the searches of this
  // one give up once they have spent a while matching (an expression that costs much on every
  // line would otherwise hold the program for minutes); the time between its searches, its
  // edits, does not count. Until the first call searches never give up.
  void BeginCommand();
  // The matching time a command may spend; for tests.
  void SetMatchingAllowance(std::chrono::steady_clock::duration allowance) { allowance_ = allowance; }

  // Why the find text does not compile as a regular expression, or why matching it was given
  // up, in one line; empty when neither or when regular expressions are off.
  std::wstring PatternError();

  // With Selected Text on, searches of document keep within range; the range stays with that
  // document until another is taken. Cleared: the whole document is searched.
  void SetSelectedRange(const SearchRange& range) { range_ = range; }
  const SearchRange& SelectedRange() const { return range_; }
  // The part of document searched: the selected range when it applies, else all of it;
  // brought into the document.
  SearchRange Bounds(const Document& document) const;
  // A replacement on line that changed its length by delta: on the range's last line the
  // range's end moves with the text.
  void LineLengthChanged(const Document& document, int line, int delta);

  // The next hit at or after pos, wrapping from the last line to the first and searching
  // every line once, the part of pos's line before pos last. On success pos is set to the
  // hit's first character; else it is left unchanged. Without wrap the search ends at the
  // last line.
  bool FindForward(const Document& document, TextPos& pos, bool wrap = true);
  // As FindForward from a place given by its line and index alone: no visual column is worked
  // out, so that going through the hits of a long line costs its length once, not per hit.
  bool FindForwardAt(const Document& document, int& line, int& index, bool wrap = true);
  // The last hit that begins before pos, wrapping from the first line to the last; the part
  // of pos's line after pos is searched last. Without wrap it ends at the first line.
  bool FindBackward(const Document& document, TextPos& pos, bool wrap = true);
  // What replaces the hit of the last length found at index in line: the replace text, with the groups
  // of a regular expression put in.
  std::wstring Replacement(const Document& document, int line, int index) const;
  // The length of the hit last found, and where in its line it starts.
  int HitLength() const { return state_.lastHitLength; }
  int HitIndex() const { return state_.lastHitIndex; }

  const SearchState& State() const { return state_; }

 private:
  // On a hit: its length and index are kept. False without a hit.
  bool TakeHit(const LineHit& hit);
  // The text of line that the search sees: cut at the end of bounds on its last line.
  static std::wstring_view SearchedText(const Document& document, int line,
                                        const SearchRange& bounds);
  void MakeMatcher();

  std::wstring findText_;
  std::wstring replaceText_;
  std::array<bool, searchOptionCount> options_{};
  bool changed_ = true;  // a text or an option changed since the last preparation
  const SyntaxDef* preparedSyntax_ = nullptr;  // SyntaxOf the document prepared for
  SearchState state_;
  SearchRange range_;
  // Takes the time one search spends matching off what the command has left.
  class MatchingTime;
  std::chrono::steady_clock::duration allowance_ = std::chrono::seconds(10);
  // Matching time the running command has left; none before the first command.
  std::optional<std::chrono::steady_clock::duration> matchingLeft_;
};
