// Find next and previous, replace and replace all on a view over the recording surface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/SearchCommands.h"
#include "search/Searcher.h"
#include "text/UndoHistory.h"
#include "view/FakeSurface.h"
#include "view/Keys.h"

namespace {

using Lines = std::vector<std::wstring>;

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
  InsertText(f.view, L"X");
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

TEST(SearchCommandsTest, ReplaceNextReplacesTheHitAndSelectsTheNext) {
  SearchFixture f({L"foo foo", L"foo"}, L"foo", L"a");
  FindNext(f.view, f.searcher);
  ReplaceNext(f.view, f.searcher);
  EXPECT_EQ(f.Lines(), (Lines{L"a foo", L"foo"}));
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 2, 0, 5}));
  // One undo takes back exactly one replacement.
  UndoCommand(f.view);
  EXPECT_EQ(f.Lines(), (Lines{L"foo foo", L"foo"}));
}

TEST(SearchCommandsTest, ReplaceAllMakesOnePassAndOneUndoStep) {
  SearchFixture f({L"a-a", L"", L"xa", L"a"}, L"a", L"aa");
  f.Place(2, 1);
  EXPECT_EQ(ReplaceAll(f.view, f.searcher), 4);
  EXPECT_EQ(f.Lines(), (Lines{L"aa-aa", L"", L"xaa", L"aa"}));
  EXPECT_EQ(f.Selection(), (std::vector<int>{2, 1})) << "the caret keeps its line and index";
  EXPECT_TRUE(f.document->modified);
  UndoCommand(f.view);
  EXPECT_EQ(f.Lines(), (Lines{L"a-a", L"", L"xa", L"a"}));
  EXPECT_FALSE(f.document->modified);
  EXPECT_FALSE(CanUndo(*f.document->undo));
  RedoCommand(f.view);
  EXPECT_EQ(f.Lines(), (Lines{L"aa-aa", L"", L"xaa", L"aa"}));
  UndoCommand(f.view);
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
  UndoCommand(f.view);
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
