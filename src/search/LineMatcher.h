// How a prepared search finds its pattern within one line. The searcher asks a matcher line
// by line and never looks inside it, so another kind of pattern is another matcher.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "search/UpperCase.h"

struct SyntaxDef;

// A hit in a line: the index of its first character and its length; index -1 when none.
struct LineHit {
  int index = -1;
  int length = 0;
  bool Found() const { return index >= 0; }
};

class LineMatcher {
 public:
  virtual ~LineMatcher() = default;
  // The first hit beginning at from or later.
  virtual LineHit MatchForwardInLine(std::wstring_view line, int from) const = 0;
  // The last hit beginning at from or earlier.
  virtual LineHit MatchBackwardInLine(std::wstring_view line, int from) const = 0;
  // Whether matching may take long: the searcher then limits the time spent in it.
  virtual bool Timed() const { return false; }
  // A timed matcher finds nothing more once the steady clock passes deadline (checked now and
  // then, not on every line), until it is restarted.
  virtual void SetDeadline(std::chrono::steady_clock::time_point /*deadline*/) {}
  // A new command begins: a matcher that gave up matches again.
  virtual void Restart() {}
  // Whether the matcher gave up (an expression too costly on some line, or past its
  // deadline) and finds nothing until it is restarted.
  virtual bool GaveUp() const { return false; }
  // What replaces hit, a hit this matcher found in line, when the replace text is replacement.
  virtual std::wstring Replacement(std::wstring_view /*line*/, const LineHit& /*hit*/,
                                   std::wstring_view replacement) const {
    return std::wstring(replacement);
  }
};

// Whether the text of line from begin to end stands as a whole word: no word character right
// before it or right after it. With a syntax definition the character before is tested with
// the definition's can-start-a-word set and the one after with its can-continue set, without
// one both are tested as letters or digits.
bool IsWholeWordAt(std::wstring_view line, int begin, int end, const SyntaxDef* syntax);

// The literal text matcher: the pattern's units compared one for one, both sides upper-cased
// when ignoring case. With whole words every hit stands as a whole word (IsWholeWordAt).
class LiteralMatcher final : public LineMatcher {
 public:
  // pattern is upper-cased here when ignoring case. syntax may be null and is not owned.
  LiteralMatcher(std::wstring pattern, bool ignoreCase, bool wholeWords, const SyntaxDef* syntax);

  LineHit MatchForwardInLine(std::wstring_view line, int from) const override;
  LineHit MatchBackwardInLine(std::wstring_view line, int from) const override;

  // Whether pattern can be searched as a whole word (with the syntax definition's word
  // characters when there is one): every character a letter or digit, and, with a
  // definition, when the first can start a word every further one can continue it.
  static bool QualifiesAsWord(std::wstring_view pattern, const SyntaxDef* syntax);

 private:
  bool MatchesAt(std::wstring_view line, int i) const;
  wchar_t Unit(wchar_t ch) const { return ignoreCase_ ? UpperUnit(upper_, ch) : ch; }
  // How far a forward search may move on when the line unit under the pattern's last one is
  // ch: at least 1, at most the pattern's length, by the low byte of ch (conservative).
  int Skip(wchar_t ch) const { return skips_[static_cast<std::uint32_t>(ch) & 0xFF]; }

  std::wstring pattern_;  // upper-cased when ignoreCase_
  bool ignoreCase_;
  bool wholeWords_;
  const SyntaxDef* syntax_;
  const std::uint16_t* upper_ = nullptr;  // the upper-casing table while ignoring case
  std::array<int, 256> skips_{};
};
