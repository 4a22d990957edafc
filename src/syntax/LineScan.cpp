// The end-state scan and the tokenizer of one line. The scan reads a narrow line's bytes as
// they are, so that the states of a loaded file cost no widening.
#include "syntax/LineScan.h"

#include <iterator>

#include "syntax/TextMatch.h"
#include "text/Cells.h"
#include "text/Line.h"
#include "text/NarrowText.h"

namespace {

// The terminator of the construct carried in with an entering code, numbered 1 to 5 (comment,
// string, second string, emphasis, second emphasis); 0 when nothing is carried.
int CarriedConstruct(int code) {
  switch (code) {
    case 5: case 14: return 1;
    case 7: case 15: return 2;
    case 9: case 16: return 3;
    case 11: case 17: return 4;
    case 13: case 18: return 5;
    default: return 0;
  }
}

const std::wstring& Terminator(const SyntaxDef& def, int construct) {
  switch (construct) {
    case 1: return def.commentEnd;
    case 2: return def.stringEnd;
    case 3: return def.stringEnd2;
    case 4: return def.emphasisEnd;
    default: return def.emphasisEnd2;
  }
}

template <typename Text>
bool OpensAt(const Text& text, int pos, const std::wstring& opener) {
  return !opener.empty() && CompareAt(text, pos, opener);
}

int Length(const std::wstring& s) { return static_cast<int>(s.size()); }

// The first units of the openers the end-state scan looks for (0 for a construct the definition
// lacks): where the unit is none of them nothing opens, and the scan passes the position without
// trying the openers.
class OpenerStarts {
 public:
  explicit OpenerStarts(const SyntaxDef& def)
      : units_{First(def.singleLineComment), First(def.stringBegin), First(def.stringBegin2),
               First(def.commentBegin), First(def.emphasisBegin), First(def.emphasisBegin2)} {}
  std::wstring_view Units() const { return {units_, std::size(units_)}; }

 private:
  static wchar_t First(const std::wstring& opener) { return opener.empty() ? L'\0' : opener[0]; }
  wchar_t units_[6];
};

// Scans from pos for the first construct that stays open; pos moves past closed constructs.
template <typename Text>
LineEndState ScanFrom(const SyntaxDef& def, const Text& text, int pos) {
  const OpenerStarts starts(def);
  for (;;) {
    const std::size_t next = text.find_first_of(starts.Units(), static_cast<std::size_t>(pos));
    if (next == Text::npos) break;
    pos = static_cast<int>(next);
    if (OpensAt(text, pos, def.singleLineComment)) return {1, pos};
    if (OpensAt(text, pos, def.stringBegin)) {
      int e = FindTerminator(text, pos + Length(def.stringBegin), def.stringEnd, def.stringEscape);
      if (e < 0) return {7, pos};
      pos = e + 1;
    } else if (OpensAt(text, pos, def.stringBegin2)) {
      int e = FindTerminator(text, pos + Length(def.stringBegin2), def.stringEnd2, def.stringEscape);
      if (e < 0) return {9, pos};
      pos = e + 1;
    } else if (OpensAt(text, pos, def.commentBegin)) {
      int opened = pos + Length(def.commentBegin);
      std::size_t f = text.find(def.commentEnd, static_cast<std::size_t>(opened));
      if (f == Text::npos) return {5, opened};
      pos = static_cast<int>(f) + Length(def.commentEnd);
    } else if (OpensAt(text, pos, def.emphasisBegin)) {
      int e = FindTerminator(text, pos + Length(def.emphasisBegin), def.emphasisEnd, {});
      if (e < 0) return {11, pos};
      pos = e + 1;
    } else if (OpensAt(text, pos, def.emphasisBegin2)) {
      int e = FindTerminator(text, pos + Length(def.emphasisBegin2), def.emphasisEnd2, {});
      if (e < 0) return {13, pos};
      pos = e + 1;
    } else {
      ++pos;
    }
  }
  return {0, -1};
}

template <typename Text>
LineEndState ScanLineEndOf(const SyntaxDef& def, const Text& text, int enteringCode) {
  int construct = CarriedConstruct(enteringCode);
  if (construct == 0 || Terminator(def, construct).empty()) return ScanFrom(def, text, 0);
  const std::wstring& terminator = Terminator(def, construct);
  std::size_t f = text.find(terminator);
  if (f == Text::npos) return {13 + construct, -1};
  LineEndState after = ScanFrom(def, text, static_cast<int>(f + terminator.size()));
  if (after.code != 0) return after;
  return {2 + 2 * construct, static_cast<int>(f)};
}

}  // namespace

LineEndState ScanLineEnd(const SyntaxDef& def, std::wstring_view text, int enteringCode) {
  return ScanLineEndOf(def, text, enteringCode);
}

LineEndState ScanLineEnd(const SyntaxDef& def, const Line& line, int enteringCode) {
  if (line.IsNarrow()) return ScanLineEndOf(def, NarrowText(line.Bytes()), enteringCode);
  return ScanLineEndOf(def, line.Text(), enteringCode);
}

bool ConstructReachesBack(int code, int constructPosition) {
  if (code >= 14 && code <= 18) return true;
  if (code % 2 == 0) return code >= 2 && code <= 12;
  return constructPosition == 0;
}

namespace {

// The tokenizer's working state for one line.
class Tokenizer {
 public:
  Tokenizer(const SyntaxDef& def, std::wstring_view text, int tabSize,
            std::vector<ColourRun>& runs)
      : def_(def), text_(text), length_(static_cast<int>(text.size())),
        tabSize_(tabSize < 1 ? 1 : tabSize), runs_(runs) {}

  void Run(LineEndState state) {
    runs_.clear();
    if (state.code != 0 && ConstructReachesBack(state.code, state.constructPosition))
      EnterCarriedConstruct(state);
    while (p_ < length_) {
      if (text_[static_cast<std::size_t>(p_)] == L'\t') {
        TabStep();
        continue;
      }
      CharacterStep();
      EndConstructIfPassed();
    }
    Emit();
  }

 private:
  void EnterCarriedConstruct(LineEndState state) {
    int code = state.code;
    if (code == 1 || code == 4 || code == 5 || code == 14) mode_ = runComment;
    else if ((code >= 6 && code <= 9) || code == 15 || code == 16) mode_ = runString;
    else mode_ = runEmphasis;
    if (code % 2 == 0 && code <= 12) {
      const std::wstring* terminators[] = {&def_.commentEnd, &def_.stringEnd, &def_.stringEnd2,
                                           &def_.emphasisEnd, &def_.emphasisEnd2};
      end_ = state.constructPosition + Length(*terminators[code / 2 - 2]) - 1;
    } else {
      end_ = length_;
    }
    tokensOn_ = mode_ == runEmphasis;
    run_.kind = mode_;
  }

  void TabStep() {
    if (run_.kind != runBlank) Start(runBlank, p_, 0);
    // The characters since the last tab end here: their cells are counted at once, since a
    // step of one unit may end inside a character (before its marks).
    column_ = ColumnAfter(text_, static_cast<std::size_t>(columnIndex_), static_cast<std::size_t>(p_),
                          column_, tabSize_);
    int cells = tabSize_ - column_ % tabSize_;
    run_.length += cells;
    column_ += cells;
    columnIndex_ = ++p_;
  }

  void CharacterStep() {
    if (run_.kind == runBlank) Start(mode_, p_, 0);
    if (!tokensOn_) {
      ++run_.length;
      ++p_;
      return;
    }
    wchar_t c = text_[static_cast<std::size_t>(p_)];
    bool keywordsOn = !def_.syntaxInEmphasisOnly || savedEmphasis_ || mode_ == runEmphasis;
    if (keywordsOn && IsWordFirst(def_, c)) return Word();
    if (keywordsOn && OpensAt(text_, p_, def_.stringBegin))
      return Open(runString, def_.stringBegin, def_.stringEnd, def_.stringEscape);
    if (keywordsOn && OpensAt(text_, p_, def_.stringBegin2))
      return Open(runString, def_.stringBegin2, def_.stringEnd2, def_.stringEscape);
    // Comments stand between the emphasised regions too (markup comments between tags): the
    // end-state scan reads them there, so the line that opens one shows it as well.
    const bool commentsOn = keywordsOn || mode_ == runPlain;
    if (commentsOn && OpensAt(text_, p_, def_.singleLineComment)) return LineComment();
    if (commentsOn && OpensAt(text_, p_, def_.commentBegin))
      return Open(runComment, def_.commentBegin, def_.commentEnd, {});
    if (mode_ == runPlain && OpensAt(text_, p_, def_.emphasisBegin))
      return Emphasis(def_.emphasisBegin, def_.emphasisEnd);
    if (mode_ == runPlain && OpensAt(text_, p_, def_.emphasisBegin2))
      return Emphasis(def_.emphasisBegin2, def_.emphasisEnd2);
    if (run_.kind != mode_) Start(mode_, p_, 0);
    ++run_.length;
    ++p_;
  }

  void Word() {
    int start = p_;
    ++p_;
    while (p_ < length_ && IsWordChar(def_, text_[static_cast<std::size_t>(p_)])) ++p_;
    std::wstring word(text_.substr(static_cast<std::size_t>(start),
                                   static_cast<std::size_t>(p_ - start)));
    int kind = KeywordClass(def_, word);
    if (kind == runPlain) kind = mode_;
    if (kind == run_.kind) run_.length += p_ - start;
    else Start(kind, start, p_ - start);
  }

  // A string or multi-line comment; an enclosing emphasis resumes after it.
  void Open(int kind, const std::wstring& opener, const std::wstring& terminator,
            std::wstring_view escape) {
    savedEmphasis_ = mode_ == runEmphasis;
    savedEnd_ = savedEmphasis_ ? end_ : -2;
    mode_ = kind;
    tokensOn_ = false;
    Start(kind, p_, Length(opener));
    end_ = FindTerminator(text_, p_ + Length(opener), terminator, escape);
    p_ += Length(opener);
  }

  void LineComment() {
    savedEmphasis_ = false;
    savedEnd_ = -2;
    mode_ = runComment;
    tokensOn_ = false;
    Start(runComment, p_, Length(def_.singleLineComment));
    end_ = -1;
    p_ += Length(def_.singleLineComment);
  }

  void Emphasis(const std::wstring& opener, const std::wstring& terminator) {
    savedEmphasis_ = false;
    savedEnd_ = -2;
    mode_ = runEmphasis;
    tokensOn_ = true;
    Start(runEmphasis, p_, Length(opener));
    end_ = FindTerminator(text_, p_ + Length(opener), terminator, {});
    p_ += Length(opener);
  }

  void EndConstructIfPassed() {
    if (mode_ == runPlain || end_ == -1 || p_ <= end_) return;
    if (savedEmphasis_) {
      mode_ = runEmphasis;
      end_ = savedEnd_;
      savedEmphasis_ = false;
    } else {
      mode_ = runPlain;
      end_ = -2;
    }
    tokensOn_ = true;
  }

  // Emits the run in progress (when it holds anything) and starts a new one.
  void Start(int kind, int index, int length) {
    Emit();
    run_ = {kind, index, length, text_.data()};
  }

  void Emit() {
    if (run_.length > 0) runs_.push_back(run_);
    run_.length = 0;
  }

  const SyntaxDef& def_;
  std::wstring_view text_;
  int length_;
  int tabSize_;
  std::vector<ColourRun>& runs_;

  int p_ = 0;
  int mode_ = runPlain;
  bool tokensOn_ = true;
  int end_ = -2;  // last index of the current construct; -1 to the line end; -2 none
  bool savedEmphasis_ = false;
  int savedEnd_ = -1;
  ColourRun run_{runPlain, 0, 0, text_.data()};
  int column_ = 0;       // the visual column at index columnIndex_
  int columnIndex_ = 0;  // 0, or just after a tab
};

}  // namespace

void TokenizeText(const SyntaxDef& def, std::wstring_view text, LineEndState state, int tabSize,
                  std::vector<ColourRun>& runs) {
  Tokenizer(def, text, tabSize, runs).Run(state);
}
