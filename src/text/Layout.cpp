// Word wrap, tab expansion, row totals and the widest line.
#include "text/Layout.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/Platform.h"
#include "text/Document.h"
#include "text/Line.h"
#include "text/LineState.h"
#include "text/LineSyntax.h"
#include "text/NarrowText.h"

namespace {

// The platform's alphanumeric test of every UTF-16 unit, asked once: word wrap asks it for
// every character of every line.
class AlphaNumericTable {
 public:
  AlphaNumericTable() {
    for (std::uint32_t c = 0; c < 0x10000; ++c)
      if (platform::IsAlphaNumeric(static_cast<wchar_t>(c))) bits_[c >> 6] |= std::uint64_t{1} << (c & 63);
  }
  bool Test(wchar_t ch) const {
    auto c = static_cast<std::uint32_t>(ch) & 0xFFFF;
    return (bits_[c >> 6] >> (c & 63)) & 1;
  }

 private:
  std::array<std::uint64_t, 0x10000 / 64> bits_{};
};

const AlphaNumericTable& AlphaNumerics() {
  static const AlphaNumericTable table;
  return table;
}

// IsDelimiter for one document, with what it needs looked up once.
class DelimiterTest {
 public:
  explicit DelimiterTest(const Document& document)
      : alphaNumerics_(AlphaNumerics()), syntax_(document.highlighter) {}
  bool operator()(wchar_t ch) const {
    if (alphaNumerics_.Test(ch)) return false;
    return !(syntax_ && syntax_->IsWordStart(ch));
  }

 private:
  const AlphaNumericTable& alphaNumerics_;
  const LineSyntax* syntax_;
};

int TabSize(const Document& document) { return std::max(1, document.settings.tabsize); }

// Columns taken by a word of w columns whose last column is a tab, when the word starts at
// column col: the characters before the tab, then the tab to the next tab stop.
int ExpandTab(int w, int col, int tabSize) { return (w - 1) + tabSize - (w - 1 + col) % tabSize; }

// Calls read with the line's characters: a narrow line's bytes read as units without widening
// the line, else the line's own units.
template <typename Read>
auto ReadText(const Line& line, Read read) {
  if (line.IsNarrow()) return read(NarrowText(line.Bytes()));
  return read(line.Text());
}

// The visual columns of text from column 0, tabs expanded.
template <typename Text>
int ExpandedWidth(const Text& text, int tabSize) {
  if (!AllSingleCells(text, 0, text.size())) return ColumnAfter(text, 0, text.size(), 0, tabSize);
  std::size_t tab = text.find(L'\t');
  if (tab == Text::npos) return static_cast<int>(text.size());
  int column = static_cast<int>(tab);
  for (std::size_t i = tab; i < text.size(); ++i)
    column = text[i] == L'\t' ? NextTabStop(column, tabSize) : column + 1;
  return column;
}

template <typename Text>
int TextIndentWidth(const Document& document, const Text& text) {
  const int tabSize = TabSize(document);
  // Continuations of a line indented this far would start at or beyond the right edge. The
  // scan stops there, so that asking for the width of a row of a long blank line costs no
  // more than the row's width.
  const long long limit =
      static_cast<long long>(document.wrapWidth) - (document.settings.indent ? 1 : 0) - tabSize;
  int column = 0;
  for (std::size_t i = 0; i < text.size() && column < limit; ++i) {
    const wchar_t ch = text[i];
    if (ch == L' ')
      ++column;
    else if (ch == L'\t')
      column = NextTabStop(column, tabSize);
    else
      break;
  }
  return column >= limit ? 0 : column;
}

// The character at index i of text: one unit and one cell each when the whole line is made of
// such characters, so that such a line is walked unit by unit as it always was.
template <bool singleCells, typename Text>
CharacterSpan StepAt(const Text& text, int i) {
  if constexpr (singleCells) return {};
  return CharacterAt(text, static_cast<std::size_t>(i));
}

// The segment ends of a line under word wrap. A word is a run of characters that are not
// delimiters, together with the one delimiter that ends it; words that do not fit move down
// whole, and a word wider than a whole continuation segment is cut into pieces that fill the
// free width. Pieces hold whole characters: a wide character that does not fit in the last
// free column goes down, and a segment that cannot hold even one character takes one anyway.
template <bool singleCells, typename Text>
void WrapWords(const Document& document, const Line& line, const Text& text, std::vector<int>& ends) {
  const int wrap = std::max(1, document.wrapWidth);
  const int tabSize = TabSize(document);
  const int length = static_cast<int>(text.size());
  const DelimiterTest isDelimiter(document);
  const int continuation = SegmentStartColumn(document, line, 1);
  int p = 0, wordStart = 0, col = 0, w = 0;
  for (;;) {
    while (p < length && !isDelimiter(text[static_cast<std::size_t>(p)])) {
      const CharacterSpan character = StepAt<singleCells>(text, p);
      w += character.cells;
      p += character.units;
    }
    const bool atEnd = p >= length;
    const CharacterSpan delimiter = atEnd ? CharacterSpan{0, 0} : StepAt<singleCells>(text, p);
    w += delimiter.cells;  // a tab counts one column for now
    const bool tab = !atEnd && text[static_cast<std::size_t>(p)] == L'\t';
    if (w > wrap - col) {
      if (w > wrap - continuation) {
        // Hard breaks: fill each segment to the wrap width. A segment already at or past the
        // wrap width (a delimiter or a tab may overhang it) takes nothing more.
        do {
          const int segmentStart = ends.empty() ? 0 : ends.back();
          const int free = std::max(0, wrap - col);
          int taken = 0;
          while (wordStart < p + delimiter.units) {
            const CharacterSpan character = StepAt<singleCells>(text, wordStart);
            if (character.cells > free - taken && wordStart > segmentStart) break;
            taken += character.cells;
            wordStart += character.units;
          }
          w -= taken;
          if (w <= 0) {  // a character wider than a whole segment was the rest of the word
            col += taken;
            break;
          }
          ends.push_back(wordStart);
          col = continuation;
        } while (w > wrap - continuation);
      } else {
        ends.push_back(wordStart);  // the whole word moves down
        col = continuation;
      }
    }
    if (tab) w = ExpandTab(w, col, tabSize);
    col += w;
    if (atEnd) {
      ends.push_back(length);
      return;
    }
    p += delimiter.units;
    wordStart = p;
    w = 0;
  }
}

template <typename Text>
void WrapLine(const Document& document, const Line& line, const Text& text, std::vector<int>& ends) {
  ends.clear();
  // A line no wider than the wrap width is one segment, which the walk would find too.
  if (ExpandedWidth(text, TabSize(document)) <= std::max(1, document.wrapWidth)) {
    ends.push_back(static_cast<int>(text.size()));
    return;
  }
  if (AllSingleCells(text, 0, text.size()))
    WrapWords<true>(document, line, text, ends);
  else
    WrapWords<false>(document, line, text, ends);
}

// Lays out every line, recomputing the row totals and the line widths from scratch.
void LayoutAll(Document& document) {
  std::uint32_t state = 0;
  document.rowTotals.Clear();
  document.rowTotals.ReserveLines(static_cast<std::size_t>(document.LineCount()));
  document.widths.Clear();
  for (int i = 0; i < document.LineCount(); ++i) {
    Line& line = document.lines[i];
    LayoutLine(document, line, state);
    document.rowTotals.Append(line.SegmentCount());
    if (!document.settings.wordwrap) document.widths.Add(LineWidth(document, line));
  }
  UpdateWidestLine(document);
}

int EffectiveWrapWidth(const TextClass& settings, int wrapWidth) {
  return settings.wordwrap ? wrapWidth : Document::noWrapWidth;
}

}  // namespace

bool IsDelimiter(const Document& document, wchar_t ch) { return DelimiterTest(document)(ch); }

bool ComputeLineEndState(const Document& document, Line& line, std::uint32_t& state) {
  if (!document.highlighter) return false;
  const std::uint32_t old = line.State();
  const LineEndState end = document.highlighter->EndOfLine(line, lineState::Code(state));
  line.SetConstructPosition(end.constructPosition);
  // The mark belongs to the line, not to the highlighter.
  const std::uint32_t word = lineState::WithCode(old, end.code);
  line.SetState(word);
  state = word;
  return word != old;
}

int ConstructPositionOf(const Document& document, int index) {
  const Line& line = document.lines[index];
  const int position = line.ConstructPosition();
  if (position != Line::farConstruct || !document.highlighter) return position;
  const int entering = index > 0 ? lineState::Code(document.lines[index - 1].State()) : 0;
  return document.highlighter->EndOfLine(line, entering).constructPosition;
}

int LayoutLine(const Document& document, Line& line, std::uint32_t& highlightState) {
  const int oldCount = line.SegmentCount();
  ComputeLineEndState(document, line, highlightState);
  if (!document.settings.wordwrap) {
    line.SetSegmentEnds(nullptr, 1);  // one segment, ending at the text's length
    return 1 - oldCount;
  }
  static std::vector<int> ends;  // the text model runs on one thread (see Line::Peek)
  ReadText(line, [&](const auto& text) { WrapLine(document, line, text, ends); });
  line.SetSegmentEnds(ends.data(), static_cast<int>(ends.size()));
  return static_cast<int>(ends.size()) - oldCount;
}

Line& ConstructLine(Document& document, int at, std::wstring_view text, int& rowAccumulator,
                    std::uint32_t& highlightState) {
  Line& line = document.lines.InsertLine(at, text);
  LayoutLine(document, line, highlightState);
  rowAccumulator += line.SegmentCount();
  return line;
}

int LineWidth(const Document& document, const Line& line) {
  if (document.settings.wordwrap) return document.wrapWidth;
  const int tabSize = TabSize(document);
  return ReadText(line, [tabSize](const auto& text) { return ExpandedWidth(text, tabSize); });
}

int IndentWidth(const Document& document, const Line& line) {
  return ReadText(line, [&](const auto& text) { return TextIndentWidth(document, text); });
}

int SegmentStartColumn(const Document& document, const Line& line, int k) {
  if (k == 0) return 0;
  const int indent = IndentWidth(document, line);
  if (k < 0) return indent;
  long long start = static_cast<long long>(indent) + document.settings.relindent;
  // Continuations that would start at or beyond the wrap width start at the left edge, so
  // that every segment holds at least one column.
  return start < document.wrapWidth ? static_cast<int>(start) : 0;
}

int RowsBefore(const Document& document, int line) {
  return document.rowTotals.RowsBefore(document.lines, line);
}

int LineOfRow(const Document& document, int& row) {
  if (row < 0) row = 0;
  if (row >= document.TotalRows()) {
    row = document.TotalRows() - 1;
    return document.LineCount() - 1;
  }
  return document.rowTotals.LineOfRow(document.lines, row);
}

void UpdateWidestLine(Document& document) {
  document.widestLine = document.settings.wordwrap ? document.wrapWidth : document.widths.Widest();
}

bool Relayout(Document& document, const TextClass& settings, int wrapWidth) {
  const int target = EffectiveWrapWidth(settings, wrapWidth);
  const TextClass& own = document.settings;
  // Under word wrap the automatic indent narrows how deep an indent may be (see
  // TextIndentWidth), so that continuation rows start where the segment ends expect them.
  if (settings.tabsize == own.tabsize && settings.wordwrap == own.wordwrap &&
      settings.relindent == own.relindent && document.wrapWidth == target &&
      (settings.indent == own.indent || !settings.wordwrap))
    return false;
  document.wrapWidth = target;
  document.settings = settings;
  LayoutAll(document);
  return true;
}

void LayoutDocument(Document& document) {
  if (!document.settings.wordwrap)
    document.wrapWidth = Document::noWrapWidth;
  else if (document.wrapWidth == Document::noWrapWidth)
    document.wrapWidth = Document::initialWrapWidth;
  LayoutAll(document);
}
