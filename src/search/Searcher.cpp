// The shared search value and the search engine: preparation and the line-by-line walk with
// wrap-around in both directions.
#include "search/Searcher.h"

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

const SyntaxDef* Searcher::WordSyntax(const Document& document) {
  return document.settings.hassyntax ? document.settings.syntax : nullptr;
}

bool Searcher::PrepareSearch(const Document& document, const TextPos& start, bool forward) {
  if (changed_ || preparedSyntax_ != WordSyntax(document)) {
    preparedSyntax_ = WordSyntax(document);
    state_.options = options_;
    state_.pattern = findText_;
    state_.syntax = nullptr;
    state_.matcher.reset();
    bool& wholeWords = state_.options[searchWholeWords];
    if (wholeWords) {
      state_.syntax = preparedSyntax_;
      if (!LiteralMatcher::QualifiesAsWord(state_.pattern, state_.syntax)) {
        wholeWords = false;
        state_.syntax = nullptr;
      }
    }
    // Regular expressions have no matcher of their own yet: the pattern is literal text.
    if (!state_.pattern.empty()) {
      state_.matcher = std::make_unique<LiteralMatcher>(
          state_.pattern, state_.options[searchIgnoreCase], wholeWords, state_.syntax);
    }
    changed_ = false;
  }
  state_.forward = forward;
  state_.startLine = start.line;
  state_.startIndex = start.index;
  return state_.matcher != nullptr;
}

bool Searcher::TakeHit(const LineHit& hit, int line, TextPos& pos) {
  if (!hit.Found()) return false;
  state_.lastHitLength = hit.length;
  SetPos(pos, hit.index, line);
  return true;
}

bool Searcher::FindForward(const Document& document, TextPos& pos) {
  if (!PrepareSearch(document, pos, true)) return false;
  const LineMatcher& matcher = *state_.matcher;
  const int count = document.LineCount();
  const int startLine = pos.line;
  int from = pos.index;
  // count + 1 steps: the start line comes again at the end, searched from its start.
  for (int step = 0, line = startLine; step <= count; ++step) {
    if (TakeHit(matcher.MatchForwardInLine(document.lines[line].Text(), from), line, pos))
      return true;
    from = 0;
    line = line + 1 < count ? line + 1 : 0;
  }
  return false;
}

bool Searcher::FindBackward(const Document& document, TextPos& pos) {
  if (!PrepareSearch(document, pos, false)) return false;
  const LineMatcher& matcher = *state_.matcher;
  const int count = document.LineCount();
  const int startLine = pos.line;
  int from = pos.index - 1;
  for (int step = 0, line = startLine; step <= count; ++step) {
    if (TakeHit(matcher.MatchBackwardInLine(document.lines[line].Text(), from), line, pos))
      return true;
    line = line > 0 ? line - 1 : count - 1;
    from = document.lines[line].Length();
  }
  return false;
}
