// Word completion on a view over the recording surface: the candidates of the open documents
// for the word before the caret, and the list's choice put into the text as one undo step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "syntax/SyntaxDef.h"
#include "text/UndoHistory.h"
#include "text/WordIndex.h"
#include "view/Completion.h"
#include "view/Editing.h"
#include "view/FakeSurface.h"
#include "view/Keys.h"

namespace {

// Typed as characters at the view.
void TypeText(EditView& view, std::wstring_view text) {
  for (wchar_t ch : text) OnChar(view, ch);
}

using Words = std::vector<std::wstring>;

// A definition that ignores case, as an ini file's: letters (upper-cased first), digits and "_".
const SyntaxDef& IgnoringCase() {
  static const SyntaxDef def = [] {
    SyntaxDef d;
    d.ignoreCase = true;
    d.wordFirstSet = {{L'A', L'Z'}, {L'_', L'_'}};
    d.wordSet = {{L'A', L'Z'}, {L'0', L'9'}, {L'_', L'_'}};
    return d;
  }();
  return def;
}

DocClass WithSyntax(const SyntaxDef& syntax) {
  DocClass settings = PlainSettings();
  settings.hassyntax = true;
  settings.syntax = &syntax;
  return settings;
}

// A view of the first document's lines, the caret at the end of its last line, and a second
// open document.
struct CompletionFixture : ViewFixture {
  ViewFixture other;
  CompletionList list;

  CompletionFixture(const std::vector<std::wstring>& lines, const std::vector<std::wstring>& otherLines, DocClass settings = PlainSettings())
      : ViewFixture(lines, 40, 10, settings), other(otherLines, 40, 10) {
    const int last = document->LineCount() - 1;
    Place(last, document->lines[last].Length());
  }
  std::vector<Document*> Documents() { return {document.get(), other.document.get()}; }
  Words Candidates(std::wstring_view prefix) {
    const auto documents = Documents();
    return CompletionCandidates(documents, *document, prefix);
  }
  CompletionList::Outcome Start() {
    const auto documents = Documents();
    return list.Start(view, documents);
  }
  bool Follow() {
    const auto documents = Documents();
    return list.Follow(view, documents);
  }
};

}  // namespace

TEST(Completion, CandidatesComeFromEveryDocumentOnceInAlphabeticalOrder) {
  CompletionFixture f({L"alpha alphabet alps al", L"beta"}, {L"alpine Alpha alphabet", L"al_x"});
  // "Alpha" does not begin with "al" with case; "_" comes after the letters.
  EXPECT_EQ(f.Candidates(L"al"), (Words{L"alpha", L"alphabet", L"alpine", L"alps", L"al_x"}));
  EXPECT_EQ(f.Candidates(L"alph"), (Words{L"alpha", L"alphabet"}));
  EXPECT_EQ(f.Candidates(L"ALP"), Words{});  // with case, without a definition that ignores it
  EXPECT_EQ(f.Candidates(L"alphabet"), Words{});
  EXPECT_EQ(f.Candidates(L""), Words{});
  // A word written with a combining accent is offered whole.
  CompletionFixture accents({L"cafe\u0301s cafe\u0301", L""}, {});
  EXPECT_EQ(accents.Candidates(L"caf"), (Words{L"cafe\u0301", L"cafe\u0301s"}));

  // The active document's definition ignores case: so does the comparison, in every document.
  CompletionFixture g({L"Begin BEGINNING", L""}, {L"beginner begin"}, WithSyntax(IgnoringCase()));
  EXPECT_EQ(g.Candidates(L"BEG"), (Words{L"Begin", L"begin", L"beginner", L"BEGINNING"}));
}

TEST(Completion, WordsCountedAheadStopAtTheirMemoryAndTheCompletionCountsTheRest) {
  std::vector<std::wstring> lines;
  for (int i = 0; i < 2000; ++i) lines.push_back(L"w" + std::to_wstring(i) + L" common");
  lines.push_back(L"lastword");
  lines.push_back(L"la");
  CompletionFixture f(lines, {L"other"});
  bool done = false;
  for (int part = 0; part < 10000 && !done; ++part) done = CountWordsAhead(*f.document, 64, 8192);
  ASSERT_TRUE(done);
  EXPECT_FALSE(f.document->words->IsComplete(*f.document));
  // Typed meanwhile in lines still to be counted: nothing of it is lost.
  TypeText(f.view, L"s");
  EXPECT_EQ(f.Candidates(L"la"), (Words{L"las", L"lastword"}));
  EXPECT_TRUE(f.document->words->IsComplete(*f.document));
}

TEST(Completion, TheWordBeforeTheCaretIsTheDefinitionsWordCharacters) {
  struct {
    const char* name;
    std::wstring line;
    int caret;
    DocClass settings;
    std::wstring prefix;
  } const cases[] = {
      {"letters, digits and _ without a definition", L"x = my_var2", 11, PlainSettings(), L"my_var2"},
      {"up to the caret only", L"counter", 4, PlainSettings(), L"coun"},
      {"after a blank there is none", L"int ", 4, PlainSettings(), L""},
      {"the definition's characters, either case", L"a.Key_b", 7, WithSyntax(IgnoringCase()), L"Key_b"},
      {"a letter's combining mark is part of the word", L"x cafe\u0301", 7, PlainSettings(), L"cafe\u0301"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CompletionFixture f({c.line}, {}, c.settings);
    f.Place(0, c.caret);
    EXPECT_EQ(PrefixAtCaret(f.view).text, c.prefix);
    EXPECT_EQ(PrefixAtCaret(f.view).start, c.caret - static_cast<int>(c.prefix.size()));
  }
}

TEST(Completion, OneCandidateCompletesAtOnceAsOneUndoStep) {
  CompletionFixture f({L"printf(x);", L"pri"}, {});
  TypeText(f.view, L"n");  // typed, then completed: two steps
  EXPECT_EQ(f.Start(), CompletionList::Outcome::completed);
  EXPECT_EQ(f.Lines(), (Lines{L"printf(x);", L"printf"}));
  EXPECT_FALSE(f.list.IsOpen());
  EXPECT_EQ(f.view.caret.index, 6);
  UndoEdit(f.view);
  EXPECT_EQ(f.Lines(), (Lines{L"printf(x);", L"prin"}));
  UndoEdit(f.view);
  EXPECT_EQ(f.Lines(), (Lines{L"printf(x);", L"pri"}));

  // Nothing completes "zz": nothing happens.
  CompletionFixture g({L"abc zz"}, {});
  EXPECT_EQ(g.Start(), CompletionList::Outcome::nothing);
  EXPECT_EQ(g.Lines(), (Lines{L"abc zz"}));
  EXPECT_FALSE(CanUndo(*g.document->undo));
}

TEST(Completion, SeveralCandidatesAreListedNarrowedAndTaken) {
  CompletionFixture f({L"value valid variant", L"x = va"}, {L"vast"});
  ASSERT_EQ(f.Start(), CompletionList::Outcome::listed);
  EXPECT_EQ(f.list.Candidates(), (Words{L"valid", L"value", L"variant", L"vast"}));
  EXPECT_EQ(f.list.Selected(), 0);
  f.list.Move(-1);
  EXPECT_EQ(f.list.Selected(), 0);
  f.list.Move(10);  // a page beyond the end stops at the last
  EXPECT_EQ(f.list.Selected(), 3);
  f.list.Select(1);

  // Typing narrows the list and keeps the selected word while it stays.
  TypeText(f.view, L"l");
  ASSERT_TRUE(f.Follow());
  EXPECT_EQ(f.list.Candidates(), (Words{L"valid", L"value"}));
  EXPECT_EQ(f.list.Selected(), 1);
  DeleteBackward(f.view);  // widens it again
  ASSERT_TRUE(f.Follow());
  EXPECT_EQ(f.list.Candidates().size(), 4u);

  f.list.Select(2);
  f.list.Take(f.view);
  EXPECT_EQ(f.Lines(), (Lines{L"value valid variant", L"x = variant"}));
  EXPECT_FALSE(f.list.IsOpen());
  UndoEdit(f.view);
  EXPECT_EQ(f.Lines(), (Lines{L"value valid variant", L"x = va"}));
}

TEST(Completion, TheListClosesWhenTheCaretLeavesTheWord) {
  for (const wchar_t* typed : {L" ", L"zz"}) {
    CompletionFixture f({L"alpha alpine", L"al"}, {});
    ASSERT_EQ(f.Start(), CompletionList::Outcome::listed);
    TypeText(f.view, typed);
    EXPECT_FALSE(f.Follow()) << typed;
    EXPECT_FALSE(f.list.IsOpen());
  }
  // A list taken in another view than its own changes nothing there.
  CompletionFixture f({L"alpha alpine", L"al"}, {L"al"});
  ASSERT_EQ(f.Start(), CompletionList::Outcome::listed);
  f.other.Place(0, 2);
  f.list.Take(f.other.view);
  EXPECT_EQ(f.other.Lines(), (Lines{L"al"}));
  EXPECT_FALSE(f.list.IsOpen());
}
