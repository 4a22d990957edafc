// Find next and previous, replace and replace all on a view over the recording surface.
#include <gtest/gtest.h>

#include <chrono>
#include <new>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "search/SearchCommands.h"
#include "search/Searcher.h"
#include "text/Edit.h"
#include "text/Journal.h"
#include "text/TextFile.h"
#include "text/UndoHistory.h"
#include "view/FakeSurface.h"
#include "view/CaretCommands.h"
#include "view/Clipboard.h"
#include "view/Editing.h"

namespace {


struct SearchFixture : ViewFixture {
  Searcher searcher;
  SearchFixture(const std::vector<std::wstring>& lines, const std::wstring& find,
                const std::wstring& replace = L"")
      : ViewFixture(lines, 40, 10) {
    searcher.SetFindText(find);
    searcher.SetReplaceText(replace);
  }

  // The selection as (anchor line, anchor index, caret line, caret index).
  std::vector<int> Selection() const {
    if (!view.selectionActive) return {view.caret.line, view.caret.index};
    return {view.anchor.line, view.anchor.index, view.caret.line, view.caret.index};
  }
};

TEST(SearchCommandsTest, FindNextSelectsEachHitInTurnAndWraps) {
  SearchFixture f({L"a foo b", L"foo"}, L"foo");
  ASSERT_TRUE(FindNext(f.view, f.searcher));
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 2, 0, 5}));
  EXPECT_TRUE(f.view.findHitSelected);
  EXPECT_EQ(f.frame.lineNumber, L"1");
  FindNext(f.view, f.searcher);
  EXPECT_EQ(f.Selection(), (std::vector<int>{1, 0, 1, 3}));
  FindNext(f.view, f.searcher);
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 2, 0, 5}));
  // Typing replaces the selected hit.
  ReplaceSelection(f.view, L"X", editTyping);
  EXPECT_EQ(f.Lines(), (Lines{L"a X b", L"foo"}));
}

TEST(SearchCommandsTest, FindPreviousFromAHitFindsTheOneBefore) {
  SearchFixture f({L"foo foo foo"}, L"foo");
  f.Place(0, 11);
  FindPrevious(f.view, f.searcher);
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 8, 0, 11}));
  FindPrevious(f.view, f.searcher);
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 4, 0, 7}));
}

TEST(SearchCommandsTest, AFailedSearchOrAnEmptyFindTextChangesNothing) {
  for (const wchar_t* find : {L"zzz", L""}) {
    SearchFixture f({L"abc def"}, find, L"x");
    f.Select(0, 1, 0, 3);
    EXPECT_FALSE(FindNext(f.view, f.searcher));
    EXPECT_FALSE(FindPrevious(f.view, f.searcher));
    ReplaceOne(f.view, f.searcher);
    ReplaceNext(f.view, f.searcher);
    EXPECT_EQ(f.Selection(), (std::vector<int>{0, 1, 0, 3}));
    // Replace All without a hit only ends the selection, at the caret.
    EXPECT_EQ(ReplaceAll(f.view, f.searcher), 0);
    EXPECT_EQ(f.Selection(), *find ? (std::vector<int>{0, 3}) : (std::vector<int>{0, 1, 0, 3}));
    EXPECT_EQ(f.Lines(), (Lines{L"abc def"}));
  }
}

TEST(SearchCommandsTest, ReplaceAfterACaretMoveFirstFindsThenReplaces) {
  SearchFixture f({L"foo foo"}, L"foo", L"bar");
  FindNext(f.view, f.searcher);
  MoveCharRight(f.view, false);  // the hit is no longer a hit
  EXPECT_FALSE(f.view.findHitSelected);
  ReplaceOne(f.view, f.searcher);
  EXPECT_EQ(f.Lines(), (Lines{L"foo foo"}));
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 4, 0, 7}));
  ReplaceOne(f.view, f.searcher);
  EXPECT_EQ(f.Lines(), (Lines{L"foo bar"}));
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 7}));
}

TEST(SearchCommandsTest, AnEditEndsTheHitSoReplaceSearchesAgain) {
  struct Case {
    const char* edit;
    void (*before)(SearchFixture&);  // before the find: puts a step into the history
    void (*after)(SearchFixture&);   // after the find: the edit
  };
  const Case cases[] = {
      {"typing", [](SearchFixture&) {}, [](SearchFixture& f) { ReplaceSelection(f.view, L"X", editTyping); }},
      {"paste", [](SearchFixture&) {},
       [](SearchFixture& f) {
         f.surface.clipboard = L"X";
         PasteClipboard(f.view);
       }},
      {"undo", [](SearchFixture& f) { ReplaceSelection(f.view, L"X", editTyping); },
       [](SearchFixture& f) { UndoEdit(f.view); }},
      {"redo",
       [](SearchFixture& f) {
         ReplaceSelection(f.view, L"X", editTyping);
         UndoEdit(f.view);
       },
       [](SearchFixture& f) { RedoEdit(f.view); }},
  };
  for (const Case& c : cases) {
    SearchFixture f({L"foo foo"}, L"foo", L"bar");
    c.before(f);
    f.Place(0, 0);
    FindNext(f.view, f.searcher);
    c.after(f);
    EXPECT_FALSE(f.view.findHitSelected) << c.edit;
    const Lines edited = f.Lines();
    ReplaceOne(f.view, f.searcher);  // only finds: nothing is inserted at the caret
    EXPECT_EQ(f.Lines(), edited) << c.edit;
    EXPECT_TRUE(f.view.findHitSelected) << c.edit;
  }
  // Find Next right after an edit does not pass over a hit that begins at the caret.
  SearchFixture f({L"foofoo foo"}, L"foo");
  FindNext(f.view, f.searcher);
  ReplaceSelection(f.view, L"X", editTyping);
  FindNext(f.view, f.searcher);
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 1, 0, 4}));
}

TEST(SearchCommandsTest, ReplaceNextReplacesTheHitAndSelectsTheNext) {
  SearchFixture f({L"foo foo", L"foo"}, L"foo", L"a");
  FindNext(f.view, f.searcher);
  ReplaceNext(f.view, f.searcher);
  EXPECT_EQ(f.Lines(), (Lines{L"a foo", L"foo"}));
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 2, 0, 5}));
  // One undo takes back exactly one replacement.
  UndoEdit(f.view);
  EXPECT_EQ(f.Lines(), (Lines{L"foo foo", L"foo"}));
}

TEST(SearchCommandsTest, ReplaceAllMakesOnePassAndOneUndoStep) {
  SearchFixture f({L"a-a", L"", L"xa", L"a"}, L"a", L"aa");
  f.Place(2, 1);
  EXPECT_EQ(ReplaceAll(f.view, f.searcher), 4);
  EXPECT_EQ(f.Lines(), (Lines{L"aa-aa", L"", L"xaa", L"aa"}));
  EXPECT_EQ(f.Selection(), (std::vector<int>{2, 1})) << "the caret keeps its line and index";
  EXPECT_TRUE(f.document->modified);
  UndoEdit(f.view);
  EXPECT_EQ(f.Lines(), (Lines{L"a-a", L"", L"xa", L"a"}));
  EXPECT_FALSE(f.document->modified);
  EXPECT_FALSE(CanUndo(*f.document->undo));
  RedoEdit(f.view);
  EXPECT_EQ(f.Lines(), (Lines{L"aa-aa", L"", L"xaa", L"aa"}));
  UndoEdit(f.view);
  EXPECT_EQ(f.Lines(), (Lines{L"a-a", L"", L"xa", L"a"}));
}

TEST(SearchCommandsTest, ReplaceAllKeepsTheCaretLineWhenTextBeforeItChanges) {
  Lines lines(12, L"word");
  SearchFixture f(lines, L"word", L"w");
  f.Place(10, 4);
  ReplaceAll(f.view, f.searcher);
  EXPECT_EQ(f.Selection(), (std::vector<int>{10, 1})) << "index brought into the shorter line";
  EXPECT_EQ(f.surface.invalidatedAll, 1);
  // Every line got narrower, the widest among them too.
  EXPECT_EQ(f.document->widestLine, 1);
  UndoEdit(f.view);
  EXPECT_EQ(f.document->widestLine, 4);
}

TEST(SearchCommandsTest, ReplaceAllWithWholeWordsAndIgnoreCase) {
  SearchFixture f({L"Int print int_x INT"}, L"int", L"long");
  f.searcher.SetOption(searchWholeWords, true);
  f.searcher.SetOption(searchIgnoreCase, true);
  EXPECT_EQ(ReplaceAll(f.view, f.searcher), 3);
  EXPECT_EQ(f.Lines(), (Lines{L"long print long_x long"}));
}

}  // namespace

namespace {

TEST(SearchCommandsTest, RegularExpressionReplaceAllSwapsGroupsInOneUndoStep) {
  SearchFixture f({L"a=b", L"key = x", L"left=right"}, L"(\\w+)=(\\w+)", L"$2=$1");
  f.searcher.SetOption(searchRegularExpression, true);
  EXPECT_EQ(ReplaceAll(f.view, f.searcher), 2);
  EXPECT_EQ(f.Lines(), (Lines{L"b=a", L"key = x", L"right=left"}));
  UndoEdit(f.view);
  EXPECT_EQ(f.Lines(), (Lines{L"a=b", L"key = x", L"left=right"}));
  // Replace next expands the groups of the selected hit too.
  f.Place(0, 0);
  FindNext(f.view, f.searcher);
  ReplaceNext(f.view, f.searcher);
  EXPECT_EQ(f.Lines(), (Lines{L"b=a", L"key = x", L"left=right"}));
  EXPECT_EQ(f.Selection(), (std::vector<int>{2, 0, 2, 10}));
}

// Every line is changed once, with all of its hits found in it as it was; the journal of the
// changes replays to the same text, line ends and all, and Undo brings back the text exactly.
TEST(SearchCommandsTest, ReplaceAllChangesEachLineOnceAndReplaysAndUndoesExactly) {
  struct Case { const wchar_t* find; const wchar_t* replace; bool regex; Lines lines, expected; };
  const Case cases[] = {
      // A word boundary before a hit is judged in the line as it was, not against the
      // replacement before it.
      {L"\\bb", L" ", true, {L"bb b", L"b"}, {L" b  ", L" "}},
      // Breaks in the replace text move the hits of later lines down; a lone carriage return
      // stays a character of its line.
      {L"b", L"\nc", false, {L"b\rb b", L"xb"}, {L"", L"c\r", L"c ", L"c", L"x", L"c"}},
      {L"b", L"\r\n", false, {L"a\rb\rb", L"b"}, {L"a\r", L"\r", L"", L"", L""}},
  };
  const auto wholeText = [](Document& document) {
    TextPos start(document), end(document);
    SetPos(end, document.lines[document.LineCount() - 1].Length(), document.LineCount() - 1);
    return TextBetween(document, start, end);
  };
  for (const Case& c : cases) {
    SearchFixture f(c.lines, c.find, c.replace);
    f.searcher.SetOption(searchRegularExpression, c.regex);
    const std::wstring before = wholeText(*f.document);
    std::vector<JournalChange> changes;
    f.document->onReplace = [&](const TextPos& from, const TextPos& to, std::wstring_view text) {
      changes.push_back({from.index, from.line, to.index, to.line, std::wstring(text)});
    };
    ReplaceAll(f.view, f.searcher);
    EXPECT_EQ(f.Lines(), c.expected) << c.find;
    EXPECT_EQ(changes.size(), c.lines.size()) << c.find;
    SearchFixture replayed(c.lines, L"");
    ReplayJournal(*replayed.document, changes);
    EXPECT_EQ(wholeText(*replayed.document), wholeText(*f.document)) << c.find;
    f.document->onReplace = nullptr;
    UndoEdit(f.view);
    EXPECT_EQ(wholeText(*f.document), before) << c.find;
  }
}

// A line may not grow past the longest a line holds: the edit is refused as one that runs out of
// memory is, before anything changes.
TEST(SearchCommandsTest, AnEditThatWouldMakeALineTooLongChangesNothing) {
  textfile::testing::SetLongestLine(8);
  SearchFixture f({L"ababa", L"ab"}, L"b", L"bbb");
  EXPECT_THROW(ReplaceAll(f.view, f.searcher), std::bad_alloc);
  f.Place(1, 2);
  EXPECT_THROW(ReplaceSelection(f.view, L"1234567", editOther), std::bad_alloc);
  EXPECT_EQ(f.Lines(), (Lines{L"ababa", L"ab"}));
  EXPECT_FALSE(CanUndo(*f.document->undo));
  ReplaceSelection(f.view, L"123456", editOther);
  EXPECT_EQ(f.Lines(), (Lines{L"ababa", L"ab123456"}));
  textfile::testing::SetLongestLine(0);
}

TEST(SearchCommandsTest, EmptyHitsAreReplacedOnceAndFoundWithoutStalling) {
  struct Case { const wchar_t* find; const wchar_t* replace; Lines lines, expected; };
  const Case cases[] = {
      {L"^", L"// ", {L"a", L"", L"b"}, {L"// a", L"// ", L"// b"}},
      {L"o*", L"X", {L"foo"}, {L"XfXX"}},
      {L"$", L";", {L"a", L"b"}, {L"a;", L"b;"}},
  };
  for (const Case& c : cases) {
    SearchFixture f(c.lines, c.find, c.replace);
    f.searcher.SetOption(searchRegularExpression, true);
    ReplaceAll(f.view, f.searcher);
    EXPECT_EQ(f.Lines(), c.expected) << c.find;
  }
  // Find next moves on from an empty hit instead of finding it again, at the end to the start.
  SearchFixture f({L"ab", L""}, L"x*");
  f.searcher.SetOption(searchRegularExpression, true);
  for (At at : {At{0, 0}, At{0, 1}, At{0, 2}, At{1, 0}, At{0, 0}}) {
    ASSERT_TRUE(FindNext(f.view, f.searcher));
    EXPECT_EQ((At{f.view.caret.line, f.view.caret.index}), at);
  }
}

TEST(SearchCommandsTest, HitsInsideACharacterSelectItWholeAndReplaceOnlyTheHit) {
  // "e" with a combining acute: the hit "e" selects the accented letter whole.
  SearchFixture f({L"ae\u0301b e"}, L"e", L"x");
  ASSERT_TRUE(FindNext(f.view, f.searcher));
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 1, 0, 3}));
  ReplaceNext(f.view, f.searcher);
  EXPECT_EQ(f.Lines(), (Lines{L"ax\u0301b e"}));
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 5, 0, 6}));

  // Empty hits, one of them between the letter and its mark: Find next moves on through them.
  SearchFixture g({L"e\u0301a"}, L"x*");
  g.searcher.SetOption(searchRegularExpression, true);
  for (const std::vector<int>& selection : std::vector<std::vector<int>>{
           {0, 0, 0, 0}, {0, 0, 0, 2}, {0, 2, 0, 2}, {0, 3, 0, 3}, {0, 0, 0, 0}}) {
    ASSERT_TRUE(FindNext(g.view, g.searcher));
    EXPECT_EQ(g.Selection(), selection);
  }
}

TEST(SearchCommandsTest, AnInvalidExpressionFindsAndChangesNothing) {
  SearchFixture f({L"(abc"}, L"(abc", L"x");
  f.searcher.SetOption(searchRegularExpression, true);
  EXPECT_FALSE(FindNext(f.view, f.searcher));
  EXPECT_EQ(ReplaceAll(f.view, f.searcher), 0);
  EXPECT_EQ(f.Lines(), (Lines{L"(abc"}));
  EXPECT_FALSE(f.searcher.PatternError().empty());
  f.searcher.SetOption(searchRegularExpression, false);
  EXPECT_TRUE(f.searcher.PatternError().empty());
  EXPECT_TRUE(FindNext(f.view, f.searcher));
}

TEST(SearchCommandsTest, AnExpressionThatGaveUpIsTriedAgainByTheNextCommand) {
  // Runaway backtracking on the first document's line: the find gives up there.
  SearchFixture costly({std::wstring(40, L'a')}, L"(a+)+b");
  costly.searcher.SetOption(searchRegularExpression, true);
  EXPECT_FALSE(FindNext(costly.view, costly.searcher));
  EXPECT_FALSE(costly.searcher.PatternError().empty());
  // In another document the same expression matches at once.
  ViewFixture other({L"ab"}, 40, 10);
  EXPECT_TRUE(FindNext(other.view, costly.searcher));
  EXPECT_TRUE(costly.searcher.PatternError().empty());
}

TEST(SearchCommandsTest, TheTimeReplaceAllSpendsEditingDoesNotCountAsMatching) {
  SearchFixture f(Lines(600, L"ab"), L"a(b)", L"$1");
  f.searcher.SetOption(searchRegularExpression, true);
  f.searcher.SetMatchingAllowance(std::chrono::milliseconds(200));
  // The first edit is slow (a journal written to a slow disk, say): longer than the allowance.
  bool slept = false;
  f.document->onReplace = [&slept](const TextPos&, const TextPos&, std::wstring_view) {
    if (!std::exchange(slept, true)) std::this_thread::sleep_for(std::chrono::milliseconds(300));
  };
  EXPECT_EQ(ReplaceAll(f.view, f.searcher), 600);
  EXPECT_EQ(f.Lines(), Lines(600, L"b"));
}

TEST(SearchCommandsTest, SelectedTextKeepsFindAndReplaceAllWithinTheRange) {
  SearchFixture f({L"foo foo", L"foo foo", L"foo foo"}, L"foo", L"longer");
  f.searcher.SetOption(searchSelectedText, true);
  f.Select(1, 7, 0, 4);  // made backwards
  TakeSelectedRange(f.view, f.searcher);
  f.Place(2, 0);  // a start outside the range begins at its first position
  std::vector<std::vector<int>> hits;
  for (int i = 0; i < 4; ++i) {
    FindNext(f.view, f.searcher);
    hits.push_back(f.Selection());
  }
  EXPECT_EQ(hits, (std::vector<std::vector<int>>{
                      {0, 4, 0, 7}, {1, 0, 1, 3}, {1, 4, 1, 7}, {0, 4, 0, 7}}));
  FindPrevious(f.view, f.searcher);
  EXPECT_EQ(f.Selection(), (std::vector<int>{1, 4, 1, 7}));
  // Replace All, with the hit found last still selected, replaces in the range, keeps the
  // range's end behind the longer replacements of its last line, and a second one finds
  // nothing more to replace within it.
  EXPECT_EQ(ReplaceAll(f.view, f.searcher), 3);
  EXPECT_EQ(f.Lines(), (Lines{L"foo longer", L"longer longer", L"foo foo"}));
  EXPECT_EQ(f.searcher.SelectedRange().lastIndex, 13);
  f.searcher.SetFindText(L"longer");
  f.searcher.SetReplaceText(L"x");
  EXPECT_EQ(ReplaceAll(f.view, f.searcher), 3);
  EXPECT_EQ(f.Lines(), (Lines{L"foo x", L"x x", L"foo foo"}));
  // Replace next on the range's last line keeps its end behind the shorter text too.
  f.searcher.SetFindText(L"x");
  f.searcher.SetReplaceText(L"yy");
  f.Place(1, 0);
  FindNext(f.view, f.searcher);
  ReplaceNext(f.view, f.searcher);
  EXPECT_EQ(f.Lines(), (Lines{L"foo x", L"yy x", L"foo foo"}));
  EXPECT_EQ(f.searcher.SelectedRange().lastIndex, 4);
  // A selection of the user's when Replace All starts becomes the range.
  f.searcher.SetFindText(L"foo");
  f.Select(2, 0, 2, 5);  // the second "foo" runs past its end
  f.view.findHitSelected = false;  // as any move of the caret by the user does
  EXPECT_EQ(ReplaceAll(f.view, f.searcher), 1);
  EXPECT_EQ(f.Lines(), (Lines{L"foo x", L"yy x", L"yy foo"}));
  // Taken without a selection, the range is dropped: the "foo" past its old end is found.
  f.Place(2, 1);
  TakeSelectedRange(f.view, f.searcher);
  EXPECT_TRUE(FindNext(f.view, f.searcher));
  EXPECT_EQ(f.Selection(), (std::vector<int>{2, 3, 2, 6}));
}

TEST(SearchCommandsTest, AllDocumentsContinuesIntoTheOtherViewsAndReplacesInEach) {
  SearchFixture a({L"foo", L"x"}, L"foo", L"bar");
  ViewFixture b({L"none"}, 40, 10);
  ViewFixture c({L"a foo", L"foo"}, 40, 10);
  std::vector<EditView*> views{&a.view, &b.view, &c.view};
  EXPECT_EQ(FindInViews(views, 3, a.searcher, true), -1);  // no such view
  EXPECT_EQ(FindInViews(views, -1, a.searcher, true), -1);
  a.Place(1, 0);
  EXPECT_EQ(FindInViews(views, 0, a.searcher, true), 2);
  EXPECT_TRUE(c.view.findHitSelected);
  EXPECT_EQ(c.view.anchor.index, 2);
  EXPECT_EQ(FindInViews(views, 2, a.searcher, true), 2);
  EXPECT_EQ(c.view.anchor.line, 1);
  EXPECT_EQ(FindInViews(views, 2, a.searcher, true), 0);  // round to the first view
  EXPECT_EQ(a.Selection(), (std::vector<int>{0, 0, 0, 3}));
  EXPECT_EQ(FindInViews(views, 0, a.searcher, false), 2);  // backwards: the last hit of c
  EXPECT_EQ(c.view.anchor.line, 1);
  // Replace All: every document, one undo step each. Only the view on screen moves the system
  // caret and the line number field.
  a.Place(1, 0);
  c.view.onScreen = false;
  c.frame.lineNumber.clear();
  c.surface.caretX = c.surface.caretY = -1;
  EXPECT_EQ(ReplaceAllInViews(views, a.searcher), 3);
  EXPECT_EQ(c.Lines(), (Lines{L"a bar", L"bar"}));
  EXPECT_EQ(c.frame.lineNumber, L"");
  EXPECT_EQ(c.surface.caretX, -1);
  EXPECT_EQ(a.frame.lineNumber, L"2");
  UndoEdit(c.view);
  EXPECT_EQ(c.Lines(), (Lines{L"a foo", L"foo"}));
  EXPECT_EQ(a.Lines(), (Lines{L"bar", L"x"}));
  // Nowhere a hit: -1, and no view changes its text.
  a.searcher.SetFindText(L"zzz");
  EXPECT_EQ(FindInViews(views, 1, a.searcher, true), -1);
}

}  // namespace
