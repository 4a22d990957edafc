// The regular expression matcher on Boost.Regex: compiling with a one-line reason for a
// rejected expression, matching within a line, and expanding the groups in a replacement.
#include "search/RegexMatcher.h"

#include <stdexcept>

#include <boost/regex.hpp>

#include "search/UpperCase.h"

namespace {

// Letter case folded by the search's own upper-casing table, the same for every character in
// both builds, instead of the C++ locale's, which knows little beyond ASCII.
struct FoldingTraits : boost::cpp_regex_traits<wchar_t> {
  wchar_t translate(wchar_t c) const { return c; }
  wchar_t translate_nocase(wchar_t c) const { return UpperUnit(UpperTable(), c); }
  wchar_t translate(wchar_t c, bool icase) const { return icase ? translate_nocase(c) : c; }
};

using Expression = boost::basic_regex<wchar_t, FoldingTraits>;

int Size(std::wstring_view text) { return static_cast<int>(text.size()); }

// The first sentence of the engine's message (it goes on to quote the whole expression) and
// the place in the expression it complains about, counted from 1, or its end.
std::wstring OneLine(const boost::regex_error& error, std::size_t patternLength) {
  std::string text = error.what();
  const std::size_t stop = text.find(". ");
  if (stop != std::string::npos) text.resize(stop);
  if (!text.empty() && text.back() == '.') text.pop_back();
  std::wstring line(text.begin(), text.end());
  const std::ptrdiff_t at = error.position();
  if (at >= static_cast<std::ptrdiff_t>(patternLength)) {
    line += L" (at the end)";
  } else if (at >= 0) {
    line += L" (at " + std::to_wstring(at + 1) + L")";
  }
  return line;
}

}  // namespace

struct RegexMatcher::Compiled {
  Expression expression;
  boost::wcmatch match;  // reused by every line: its storage is made once
};

RegexMatcher::RegexMatcher(std::unique_ptr<Compiled> compiled, bool wholeWords,
                           const SyntaxDef* syntax)
    : compiled_(std::move(compiled)), wholeWords_(wholeWords), syntax_(syntax) {}

RegexMatcher::~RegexMatcher() = default;

std::unique_ptr<RegexMatcher> RegexMatcher::Make(std::wstring_view pattern, bool ignoreCase,
                                                 bool wholeWords, const SyntaxDef* syntax,
                                                 std::wstring& error) {
  auto compiled = std::make_unique<Compiled>();
  Expression::flag_type flags = boost::regex_constants::ECMAScript;
  if (ignoreCase) flags |= boost::regex_constants::icase;
  try {
    compiled->expression.assign(pattern.data(), pattern.data() + pattern.size(), flags);
  } catch (const boost::regex_error& e) {
    error = OneLine(e, pattern.size());
    return nullptr;
  } catch (const std::exception&) {
    error = L"The expression is too large";
    return nullptr;
  }
  error.clear();
  return std::unique_ptr<RegexMatcher>(new RegexMatcher(std::move(compiled), wholeWords, syntax));
}

void RegexMatcher::SetDeadline(std::chrono::steady_clock::time_point deadline) {
  deadline_ = deadline;
}

LineHit RegexMatcher::Search(std::wstring_view line, int from, bool continuous) const {
  if (gaveUp_ || from < 0 || from > Size(line)) return {};
  // Each line's search is bounded by the engine; many lines of costly searches by the clock.
  if ((++searches_ & 255) == 0 && std::chrono::steady_clock::now() > deadline_) {
    gaveUp_ = true;
    return {};
  }
  const wchar_t* begin = line.data();
  const wchar_t* end = begin + line.size();
  // The text before from still counts for ^, \b and look-behind.
  boost::match_flag_type flags = boost::match_not_dot_newline;
  if (from > 0) flags |= boost::match_prev_avail;
  if (continuous) flags |= boost::match_continuous;
  boost::wcmatch& match = compiled_->match;
  try {
    if (!boost::regex_search(begin + from, end, match, compiled_->expression, flags)) return {};
  } catch (const std::runtime_error&) {
    gaveUp_ = true;
    return {};
  }
  return {static_cast<int>(match[0].first - begin), static_cast<int>(match.length(0))};
}

LineHit RegexMatcher::NextHit(std::wstring_view line, int from) const {
  for (;;) {
    const LineHit hit = Search(line, from, false);
    if (!hit.Found() || !wholeWords_ ||
        IsWholeWordAt(line, hit.index, hit.index + hit.length, syntax_)) {
      return hit;
    }
    from = hit.index + 1;
  }
}

LineHit RegexMatcher::MatchForwardInLine(std::wstring_view line, int from) const {
  return NextHit(line, std::max(from, 0));
}

LineHit RegexMatcher::MatchBackwardInLine(std::wstring_view line, int from) const {
  // Hits are found forwards: the last one that begins at from or earlier wins.
  LineHit last;
  for (LineHit hit = NextHit(line, 0); hit.Found() && hit.index <= from;
       hit = NextHit(line, hit.index + 1)) {
    last = hit;
  }
  return last;
}

std::wstring RegexMatcher::Replacement(std::wstring_view line, const LineHit& hit,
                                       std::wstring_view replacement) const {
  if (gaveUp_ || !hit.Found() || hit.index > Size(line)) return std::wstring(replacement);
  const wchar_t* begin = line.data();
  boost::match_flag_type flags = boost::match_not_dot_newline | boost::match_continuous;
  if (hit.index > 0) flags |= boost::match_prev_avail;
  boost::wcmatch match;
  bool matched = false;
  try {
    matched = boost::regex_search(begin + hit.index, begin + line.size(), match,
                                  compiled_->expression, flags);
  } catch (const std::runtime_error&) {
    gaveUp_ = true;
  }
  std::wstring text;
  const std::size_t n = replacement.size();
  for (std::size_t i = 0; i < n; ++i) {
    const wchar_t ch = replacement[i];
    const wchar_t next = i + 1 < n ? replacement[i + 1] : 0;
    if (ch != L'$' || !(next == L'$' || next == L'&' || (next >= L'1' && next <= L'9'))) {
      text += ch;
      continue;
    }
    ++i;
    if (next == L'$') {
      text += L'$';
    } else if (next == L'&') {
      text += matched ? match.str(0)
                      : std::wstring(line.substr(static_cast<std::size_t>(hit.index),
                                                 static_cast<std::size_t>(hit.length)));
    } else if (matched && static_cast<std::size_t>(next - L'0') < match.size()) {
      text += match.str(next - L'0');
    }
  }
  return text;
}
