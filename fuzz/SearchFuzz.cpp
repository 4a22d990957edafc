// Fuzzes the search engine: a literal find text and the same text escaped as a regular
// expression must find the same hits from every start, in both directions, with the options
// drawn from the input; any expression, valid or not, must end without a crash or a hang.
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "search/Searcher.h"
#include "text/Document.h"
#include "text/TextPos.h"
#include "text/TextTestUtil.h"

namespace {

constexpr const wchar_t* textAlphabet = L"abAB _.\\(";
constexpr const wchar_t* expressionAlphabet = L"ab.*+?()[]{}|^$\\1,-";

// The literal text as an expression that matches exactly it.
std::wstring Escaped(const std::wstring& literal) {
  std::wstring expression;
  for (wchar_t ch : literal) {
    if (!((ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z') || ch == L' ' || ch == L'_'))
      expression += L'\\';
    expression += ch;
  }
  return expression;
}

struct Hit {
  bool found;
  int line, index, length;
  bool operator==(const Hit&) const = default;
};

Hit Find(Searcher& searcher, const Document& document, int line, int index, bool forward) {
  TextPos pos(const_cast<Document&>(document));
  SetPos(pos, index, line);
  const bool found = forward ? searcher.FindForward(document, pos)
                             : searcher.FindBackward(document, pos);
  return found ? Hit{true, pos.line, pos.index, searcher.HitLength()} : Hit{false, 0, 0, 0};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const int flags = input.Byte();
  const std::wstring literal = input.Text(4, textAlphabet);
  const std::wstring expression = input.Text(12, expressionAlphabet);
  std::vector<std::wstring> lines{L""};
  for (int count = input.Number(4); count > 0 && !input.Empty(); --count)
    lines.push_back(input.Text(24, textAlphabet));
  const auto made = MakeDocument(lines, DocClass{}, Document::noWrapWidth);
  const Document& document = *made;

  Searcher literalSearch, regexSearch;
  for (Searcher* searcher : {&literalSearch, &regexSearch}) {
    searcher->SetOption(searchIgnoreCase, flags & 1);
    searcher->SetOption(searchWholeWords, flags & 2);
  }
  literalSearch.SetFindText(literal);
  regexSearch.SetOption(searchRegularExpression, true);
  regexSearch.SetFindText(Escaped(literal));
  // Whole words only applies to a literal text that could be a word; the expression always.
  const bool comparable = !(flags & 2) || LiteralMatcher::QualifiesAsWord(literal, nullptr);
  for (int line = 0; line < document.LineCount(); ++line) {
    for (int index = 0; index <= document.lines[line].Length(); ++index) {
      for (bool forward : {true, false}) {
        const Hit a = Find(literalSearch, document, line, index, forward);
        const Hit b = Find(regexSearch, document, line, index, forward);
        if (comparable && !(a == b)) std::abort();
      }
    }
  }

  // Any expression: it compiles or says why, and the searches end.
  Searcher any;
  any.SetOption(searchRegularExpression, true);
  any.SetFindText(expression);
  const bool valid = any.PatternError().empty();
  if (!expression.empty() && valid != (any.State().matcher != nullptr)) std::abort();
  if (Find(any, document, 0, 0, true).found && !valid) std::abort();
  Find(any, document, document.LineCount() - 1, 0, false);
  return 0;
}
