// The shared search value and the search engine: preparation and the line-by-line walk with
// wrap-around in both directions.
#include "search/Searcher.h"

#include <algorithm>

#include "search/RegexMatcher.h"
#include "syntax/Highlighter.h"
#include "text/Document.h"
#include "text/TextPos.h"

void Searcher::SetFindText(std::wstring_view text) {
  if (text == findText_) return;
  findText_ = text;
  changed_ = true;
}

bool Searcher::SetOption(SearchOption option, bool value) {
  if (options_[option] == value) return false;
  options_[option] = value;
  changed_ = true;
  return true;
}

namespace {

// The matcher of pattern under options with the word characters of syntax, as every search
// makes it; whole words (and syntax with it) is switched off when the pattern cannot stand as
// a word. Null while the pattern is empty or no valid expression (error then says why).
std::unique_ptr<LineMatcher> MatcherFor(const std::wstring& pattern,
                                        std::array<bool, searchOptionCount>& options,
                                        const SyntaxDef*& syntax, std::wstring& error) {
  const bool regex = options[searchRegularExpression];
  bool& wholeWords = options[searchWholeWords];
  // An expression stands as a whole word by its hits, not by its text.
  if (wholeWords && !regex && !LiteralMatcher::QualifiesAsWord(pattern, syntax)) wholeWords = false;
  if (!wholeWords) syntax = nullptr;
  if (pattern.empty()) return nullptr;
  const bool ignoreCase = options[searchIgnoreCase];
  if (regex) return RegexMatcher::Make(pattern, ignoreCase, wholeWords, syntax, error);
  return std::make_unique<LiteralMatcher>(pattern, ignoreCase, wholeWords, syntax);
}

}  // namespace

void Searcher::MakeMatcher() {
  changed_ = false;
  state_.options = options_;
  state_.pattern = findText_;
  state_.syntax = preparedSyntax_;
  state_.matcher.reset();
  state_.error.clear();
  state_.matcher = MatcherFor(state_.pattern, state_.options, state_.syntax, state_.error);
}

std::unique_ptr<LineMatcher> Searcher::MakeFileMatcher(const SyntaxDef* syntax,
                                                       std::wstring& error) const {
  std::array<bool, searchOptionCount> options = options_;
  error.clear();
  return MatcherFor(findText_, options, syntax, error);
}

void Searcher::BeginCommand() {
  // The allowance is far beyond the time of any search of a large file that costs what a
  // search should.
  matchingLeft_ = allowance_;
  if (state_.matcher) state_.matcher->Restart();
}

class Searcher::MatchingTime {
 public:
  using Clock = std::chrono::steady_clock;

  explicit MatchingTime(Searcher& searcher) : searcher_(searcher) {
    LineMatcher* matcher = searcher.state_.matcher.get();
    timed_ = searcher.matchingLeft_ && matcher && matcher->Timed();
    if (!timed_) return;
    start_ = Clock::now();
    matcher->SetDeadline(start_ + *searcher.matchingLeft_);
  }
  ~MatchingTime() {
    if (!timed_) return;
    Clock::duration& left = *searcher_.matchingLeft_;
    left = std::max(Clock::duration::zero(), left - (Clock::now() - start_));
  }
  MatchingTime(const MatchingTime&) = delete;
  MatchingTime& operator=(const MatchingTime&) = delete;

 private:
  Searcher& searcher_;
  bool timed_ = false;
  Clock::time_point start_;
};

std::wstring Searcher::PatternError() {
  if (changed_) MakeMatcher();
  if (state_.matcher && state_.matcher->GaveUp()) return L"The expression is too costly to match here";
  return state_.error;
}

bool Searcher::PrepareSearch(const Document& document, int startLine, int startIndex, bool forward) {
  if (changed_ || preparedSyntax_ != SyntaxOf(document)) {
    preparedSyntax_ = SyntaxOf(document);
    MakeMatcher();
  }
  state_.forward = forward;
  state_.startLine = startLine;
  state_.startIndex = startIndex;
  return state_.matcher != nullptr;
}

SearchRange Searcher::Bounds(const Document& document) const {
  const int count = document.LineCount();
  SearchRange bounds{&document, 0, 0, count - 1, document.lines[count - 1].Length()};
  if (!options_[searchSelectedText] || range_.document != &document) return bounds;
  // Brought into the document: lines may have gone since the range was taken.
  bounds.firstLine = std::clamp(range_.firstLine, 0, count - 1);
  bounds.lastLine = std::clamp(range_.lastLine, bounds.firstLine, count - 1);
  bounds.firstIndex = std::clamp(range_.firstIndex, 0, document.lines[bounds.firstLine].Length());
  bounds.lastIndex = std::clamp(range_.lastIndex, 0, document.lines[bounds.lastLine].Length());
  if (bounds.firstLine == bounds.lastLine) bounds.lastIndex = std::max(bounds.lastIndex, bounds.firstIndex);
  return bounds;
}

void Searcher::LineLengthChanged(const Document& document, int line, int delta) {
  if (!options_[searchSelectedText] || range_.document != &document) return;
  if (line == std::clamp(range_.lastLine, 0, document.LineCount() - 1)) {
    range_.lastLine = line;
    range_.lastIndex += delta;
  }
}

std::wstring_view Searcher::SearchedText(const Document& document, int line,
                                         const SearchRange& bounds) {
  // Read without widening: a search through a loaded file leaves its lines as they are stored.
  std::wstring_view text = document.lines[line].Peek();
  return line == bounds.lastLine ? text.substr(0, static_cast<std::size_t>(bounds.lastIndex)) : text;
}

bool Searcher::TakeHit(const LineHit& hit) {
  if (!hit.Found()) return false;
  state_.lastHitLength = hit.length;
  state_.lastHitIndex = hit.index;
  return true;
}

namespace {

bool Before(int line, int index, int otherLine, int otherIndex) {
  return line < otherLine || (line == otherLine && index < otherIndex);
}

}  // namespace

bool Searcher::FindForward(const Document& document, TextPos& pos, bool wrap) {
  int line = pos.line, index = pos.index;
  if (!FindForwardAt(document, line, index, wrap)) return false;
  SetPos(pos, index, line);
  return true;
}

bool Searcher::FindForwardAt(const Document& document, int& startLine, int& startIndex, bool wrap) {
  if (!PrepareSearch(document, startLine, startIndex, true)) return false;
  const MatchingTime timing(*this);
  const LineMatcher& matcher = *state_.matcher;
  const SearchRange b = Bounds(document);
  int line = startLine, from = startIndex;
  // A start outside the range begins at its first position.
  if (Before(line, from, b.firstLine, b.firstIndex) || Before(b.lastLine, b.lastIndex, line, from)) {
    line = b.firstLine;
    from = b.firstIndex;
  }
  // count + 1 steps with wrap: the start line comes again at the end, searched from its start.
  const int steps = wrap ? b.lastLine - b.firstLine + 1 : b.lastLine - line;
  for (int step = 0; step <= steps; ++step) {
    if (line == b.firstLine) from = std::max(from, b.firstIndex);
    if (TakeHit(matcher.MatchForwardInLine(SearchedText(document, line, b), from))) {
      startLine = line;
      startIndex = state_.lastHitIndex;
      return true;
    }
    from = 0;
    line = line < b.lastLine ? line + 1 : b.firstLine;
  }
  return false;
}

bool Searcher::FindBackward(const Document& document, TextPos& pos, bool wrap) {
  if (!PrepareSearch(document, pos.line, pos.index, false)) return false;
  const MatchingTime timing(*this);
  const LineMatcher& matcher = *state_.matcher;
  const SearchRange b = Bounds(document);
  int line = pos.line, index = pos.index;
  // A start outside the range begins at its last position.
  if (Before(line, index, b.firstLine, b.firstIndex) || Before(b.lastLine, b.lastIndex, line, index)) {
    line = b.lastLine;
    index = b.lastIndex + 1;
  }
  int from = index - 1;
  const int steps = wrap ? b.lastLine - b.firstLine + 1 : line - b.firstLine;
  for (int step = 0; step <= steps; ++step) {
    LineHit hit = matcher.MatchBackwardInLine(SearchedText(document, line, b), from);
    if (line == b.firstLine && hit.index < b.firstIndex) hit = {};
    if (TakeHit(hit)) {
      SetPos(pos, hit.index, line);
      return true;
    }
    line = line > b.firstLine ? line - 1 : b.lastLine;
    from = static_cast<int>(SearchedText(document, line, b).size());
  }
  return false;
}

std::wstring Searcher::Replacement(const Document& document, int line, int index) const {
  if (!state_.matcher) return replaceText_;
  return state_.matcher->Replacement(SearchedText(document, line, Bounds(document)),
                                     {index, state_.lastHitLength}, replaceText_);
}
