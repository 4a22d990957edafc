// Word completion on the edit view: the words before the caret and of the open documents, the
// choice among them and the completion itself.
#include "view/Completion.h"

#include <algorithm>
#include <memory>

#include "platform/Platform.h"
#include "syntax/Highlighter.h"
#include "syntax/SyntaxDef.h"
#include "text/Cells.h"
#include "text/Document.h"
#include "text/Edit.h"
#include "text/Line.h"
#include "text/TextPos.h"
#include "text/WordIndex.h"
#include "view/Caret.h"
#include "view/Editing.h"

namespace {

bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

// A combining mark, joiner or selector: it belongs to the character before it, so it stands
// in a word wherever that character does ("cafe" with a combining acute is one word), and
// begins none.
bool IsMark(wchar_t ch) {
  const std::uint32_t unit = cells::Unit(ch);
  return !cells::IsHighSurrogate(unit) && !cells::IsLowSurrogate(unit) && cells::OfUnit(unit) == 0;
}

// Words are runs of the syntax definition's word characters, or of letters, digits and "_"
// without one, with their marks; a run that begins with a digit is a number, never offered.
std::shared_ptr<const WordChars> CharsOf(const SyntaxDef* syntax) {
  const auto start = [](wchar_t ch) { return !IsDigit(ch) && !IsMark(ch); };
  if (!syntax) {
    static const auto plain = std::make_shared<const WordChars>(
        [](wchar_t ch) { return ch == L'_' || platform::IsAlphaNumeric(ch) || IsMark(ch); }, start);
    return plain;
  }
  return std::make_shared<const WordChars>(
      [syntax](wchar_t ch) { return IsWordChar(*syntax, ch) || IsMark(ch); }, start);
}

bool IgnoresCase(const Document& document) {
  const SyntaxDef* syntax = SyntaxOf(document);
  return syntax && syntax->ignoreCase;
}

// Alphabetical ignoring case; words that differ only in case in the order of their units.
bool AlphabeticalBefore(const std::wstring& a, const std::wstring& b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const wchar_t ua = platform::ToUpper(a[i]), ub = platform::ToUpper(b[i]);
    if (ua != ub) return ua < ub;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

// The document's word index, made anew when the characters its words are made of changed;
// it may not have counted every line yet.
WordIndex& IndexOf(Document& document) {
  const SyntaxDef* syntax = SyntaxOf(document);
  if (!document.words || document.words->Source() != syntax)
    document.words = std::make_unique<WordIndex>(CharsOf(syntax), syntax);
  return *document.words;
}

}  // namespace

WordIndex& WordsOf(Document& document) {
  WordIndex& words = IndexOf(document);
  words.AddDocument(document);
  return words;
}

bool CountWordsAhead(Document& document, std::size_t units, std::size_t mostBytes) {
  WordIndex& words = IndexOf(document);
  return words.MemoryBytes() >= mostBytes || words.CountLines(document, units);
}

WordBeforeCaret PrefixAtCaret(const EditView& view) {
  Document& document = *view.document;
  const WordChars& chars = WordsOf(document).Chars();
  const Line& line = document.lines[view.caret.line];
  const int end = std::min(view.caret.index, line.Length());
  // No word is longer: a longer run completes nothing.
  const int limit = std::max(0, end - (WordIndex::longestWord + 1));
  int start = end;
  while (start > limit && chars.IsPart(line.CharAt(start - 1))) --start;
  WordBeforeCaret word{start, {}};
  for (int i = start; i < end; ++i) word.text += line.CharAt(i);
  return word;
}

std::vector<std::wstring> CompletionCandidates(std::span<Document* const> documents,
                                               const Document& active, std::wstring_view prefix) {
  std::vector<std::wstring> words;
  if (prefix.empty()) return words;
  const bool ignoreCase = IgnoresCase(active);
  for (Document* document : documents) {
    WordsOf(*document).ForEachCompletion(prefix, ignoreCase,
                                         [&](std::wstring_view word) { words.emplace_back(word); });
  }
  std::sort(words.begin(), words.end(), AlphabeticalBefore);
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return words;
}

CompletionList::Outcome CompletionList::Start(EditView& view, std::span<Document* const> documents) {
  Close();
  const WordBeforeCaret word = PrefixAtCaret(view);
  candidates_ = CompletionCandidates(documents, *view.document, word.text);
  if (candidates_.empty()) return Outcome::nothing;
  viewNumber_ = view.viewNumber;
  line_ = view.caret.line;
  start_ = word.start;
  selected_ = 0;
  if (candidates_.size() > 1) return Outcome::listed;
  Take(view);
  return Outcome::completed;
}

void CompletionList::Close() {
  candidates_.clear();
  selected_ = 0;
}

bool CompletionList::Follow(const EditView& view, std::span<Document* const> documents) {
  if (!IsFor(view)) return false;
  const WordBeforeCaret word = PrefixAtCaret(view);
  if (view.caret.line != line_ || word.start != start_ || word.text.empty()) {
    Close();
    return false;
  }
  const std::wstring selected = candidates_[static_cast<std::size_t>(selected_)];
  candidates_ = CompletionCandidates(documents, *view.document, word.text);
  const auto kept = std::find(candidates_.begin(), candidates_.end(), selected);
  selected_ = kept == candidates_.end() ? 0 : static_cast<int>(kept - candidates_.begin());
  return IsOpen();
}

void CompletionList::Move(int delta) { Select(selected_ + delta); }

void CompletionList::Select(int index) {
  if (!IsOpen()) return;
  selected_ = std::clamp(index, 0, static_cast<int>(candidates_.size()) - 1);
}

void CompletionList::Take(EditView& view) {
  if (!IsFor(view) || view.caret.line != line_ || view.caret.index < start_) {
    Close();
    return;
  }
  const std::wstring word = candidates_[static_cast<std::size_t>(selected_)];
  Close();
  // The word before the caret is selected and replaced: completing keeps the case of the word
  // taken where the definition ignores case.
  if (view.selectionActive) UpdateCaret(view, view.caret, false, caretRowMove);
  TextPos start = view.caret;
  SetPos(start, start_, line_);
  view.anchor = start;
  view.selectionActive = true;
  ReplaceSelection(view, word, editOther);
}
