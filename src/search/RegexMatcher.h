// The regular expression matcher: the find text is an expression in the ECMAScript (Perl)
// syntax, matched within one line by Boost.Regex.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "search/LineMatcher.h"

struct SyntaxDef;

class RegexMatcher final : public LineMatcher {
 public:
  // The matcher of pattern, or null with error set to one line saying why the expression is
  // invalid. With whole words every hit stands as a whole word (IsWholeWordAt); syntax may be
  // null and is not owned.
  static std::unique_ptr<RegexMatcher> Make(std::wstring_view pattern, bool ignoreCase,
                                            bool wholeWords, const SyntaxDef* syntax,
                                            std::wstring& error);
  ~RegexMatcher() override;

  LineHit MatchForwardInLine(std::wstring_view line, int from) const override;
  LineHit MatchBackwardInLine(std::wstring_view line, int from) const override;
  // The replace text with $1 to $9 standing for the hit's groups (empty when the group took no
  // part or does not exist), $& for the whole hit and $$ for one $; any other $ is itself.
  std::wstring Replacement(std::wstring_view line, const LineHit& hit,
                           std::wstring_view replacement) const override;

  bool Timed() const override { return true; }
  void SetDeadline(std::chrono::steady_clock::time_point deadline) override;
  void Restart() override { gaveUp_ = false; }

  // Set once a match grew too complex for the engine (runaway backtracking), or matching ran
  // past the deadline: from then on, until Restart, the matcher finds nothing, so one search
  // cannot stall on every line in turn.
  bool GaveUp() const override { return gaveUp_; }

 private:
  struct Compiled;
  RegexMatcher(std::unique_ptr<Compiled> compiled, bool wholeWords, const SyntaxDef* syntax);
  // The first match beginning at from or later, whole word or not; continuous: only at from.
  LineHit Search(std::wstring_view line, int from, bool continuous) const;
  // The first hit at from or later that passes the whole-word test.
  LineHit NextHit(std::wstring_view line, int from) const;

  std::unique_ptr<Compiled> compiled_;
  bool wholeWords_;
  const SyntaxDef* syntax_;
  mutable bool gaveUp_ = false;
  std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();
  mutable unsigned searches_ = 0;  // the clock is read every so many searches
};
