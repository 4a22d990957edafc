// Word completion (IDM_COMPLETEWORD): the word before the caret, the words of the open documents
// that complete it, and the drop-down list's choice among them, apart from its window.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "view/EditView.h"

class Document;
class WordIndex;

// The word index of document, built at the first call and again when the characters its words
// are made of changed (the document's syntax definition, or none), with every line counted.
WordIndex& WordsOf(Document& document);

// The characters counted at once in idle time: about a millisecond's work, so that a key
// pressed meanwhile waits no longer than that.
inline constexpr std::size_t unitsCountedInIdleTime = 256 * 1024;
inline constexpr std::size_t mostWordBytesAhead = 16 * 1024 * 1024;
// Builds the word index of document ahead of the first completion, a part at a time: counts
// whole lines until about units characters were read. True when nothing is left to count ahead:
// every line is counted, or the index has grown to mostWordBytesAhead (a huge file of distinct
// words: its index is finished by the first completion, not at the cost of memory before).
bool CountWordsAhead(Document& document, std::size_t units, std::size_t mostBytes = mostWordBytesAhead);

// The word that ends at the caret: its first index in the caret's line and its characters;
// empty when the character before the caret is no word character.
struct WordBeforeCaret {
  int start = 0;
  std::wstring text;
};
WordBeforeCaret PrefixAtCaret(const EditView& view);

// The distinct words of documents that begin with prefix and are longer, compared with case,
// or without it when the syntax definition of active ignores case; in alphabetical order,
// ignoring case.
std::vector<std::wstring> CompletionCandidates(std::span<Document* const> documents,
                                               const Document& active, std::wstring_view prefix);

// The choice of a completion: the candidates for the word before the caret and the one
// selected, while the list is open.
class CompletionList {
 public:
  enum class Outcome { nothing, completed, listed };
  // Complete Word in view, with the words of documents: nothing without candidates; the only
  // candidate is put in at once; several are listed, the first selected.
  Outcome Start(EditView& view, std::span<Document* const> documents);
  bool IsOpen() const { return !candidates_.empty(); }
  void Close();

  // After the view's text changed while the list is open (a character typed or deleted): the
  // candidates follow the word before the caret. False, with the list closed, when the caret
  // left the word or nothing completes it any more.
  bool Follow(const EditView& view, std::span<Document* const> documents);
  // Moves the selection by delta entries, stopping at the first and the last.
  void Move(int delta);
  void Select(int index);
  // Puts the selected word in the place of the word before the caret, as one undo step, and
  // closes the list. Nothing but the closing when view is not the one the list was made for.
  void Take(EditView& view);

  const std::vector<std::wstring>& Candidates() const { return candidates_; }
  int Selected() const { return selected_; }
  // Whether the list belongs to view.
  bool IsFor(const EditView& view) const { return IsOpen() && view.viewNumber == viewNumber_; }

 private:
  std::vector<std::wstring> candidates_;  // empty while the list is closed
  int selected_ = 0;
  int viewNumber_ = 0;  // the view the list was made for
  int line_ = 0;        // where the word before the caret begins
  int start_ = 0;
};
