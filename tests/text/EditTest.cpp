// ReplaceText and the undo history: line splitting and joining, grouping of records, flags.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "TextTestUtil.h"
#include "syntax/SyntaxDef.h"
#include "text/Edit.h"
#include "text/LineState.h"
#include "text/TextFile.h"
#include "text/UndoHistory.h"

namespace {


ChangeRecord Edit(Document& document, int line1, int index1, int line2, int index2,
                  std::wstring_view text, int flags) {
  return ReplaceText(document, PosAt(document, line1, index1), PosAt(document, line2, index2),
                     text, flags);
}
ChangeRecord Insert(Document& document, int line, int index, std::wstring_view text, int flags) {
  return Edit(document, line, index, line, index, text, flags);
}

std::unique_ptr<Document> Plain(const Lines& lines) {
  return MakeDocument(lines, Settings(false, 4, 2), 80);
}

}  // namespace

TEST(ReplaceText, SplitsInsertedTextAtEachLineBreak) {
  struct {
    const char* name;
    std::wstring text;
    Lines lines;
    int endLine, endIndex;
  } const cases[] = {
      {"plain", L"xy", {L"abcxydef"}, 0, 5},
      {"CR LF", L"\r\n", {L"abc", L"def"}, 1, 0},
      {"lone CR is a character", L"1\r2", {L"abc1\r2def"}, 0, 6},
      {"lone LF", L"1\n2", {L"abc1", L"2def"}, 1, 1},
      {"several breaks", L"\r\n\n\r\nz", {L"abc", L"", L"", L"zdef"}, 3, 1},
      {"CR before CR LF", L"\r\r\n\rz", {L"abc\r", L"\rzdef"}, 1, 2},
      {"LF after CR LF", L"\r\n\n", {L"abc", L"", L"def"}, 2, 0},
      {"LF then a CR", L"\n\r", {L"abc", L"\rdef"}, 1, 1},
  };
  for (const auto& c : cases) {
    auto document = Plain({L"abcdef"});
    ChangeRecord change = Insert(*document, 0, 3, c.text, editOther);
    EXPECT_EQ(LinesOf(*document), c.lines) << c.name;
    EXPECT_EQ(change.endLine, c.endLine) << c.name;
    EXPECT_EQ(change.endIndex, c.endIndex) << c.name;
    EXPECT_EQ(change.rowDelta, static_cast<int>(c.lines.size()) - 1) << c.name;
  }
}

TEST(ReplaceText, RangesInEitherOrderGiveTheSameResult) {
  auto forward = Plain({L"one", L"two", L"three"});
  auto backward = Plain({L"one", L"two", L"three"});
  ChangeRecord a = Edit(*forward, 0, 1, 2, 2, L"X\r\nY", editOther);
  ChangeRecord b = Edit(*backward, 2, 2, 0, 1, L"X\r\nY", editOther);
  EXPECT_EQ(LinesOf(*forward), (Lines{L"oX", L"Yree"}));
  EXPECT_EQ(LinesOf(*backward), LinesOf(*forward));
  EXPECT_EQ(std::tie(a.firstRow, a.lastRow, a.rowDelta, a.endIndex, a.endLine),
            std::tie(b.firstRow, b.lastRow, b.rowDelta, b.endIndex, b.endLine));
  EXPECT_EQ(backward->undo->undoList.size(), 1u);  // a replacement is one record
}

TEST(ReplaceText, PositionsOutsideTheTextAreBroughtBackIntoIt) {
  auto document = Plain({L"ab", L"cd"});
  TextPos stale(*document), start = PosAt(*document, 0, 1);
  stale.line = 7;
  stale.index = 99;
  stale.segment = 3;
  ReplaceText(*document, stale, stale, L"!", editOther);
  ReplaceText(*document, stale, start, L"", editOther);
  EXPECT_EQ(LinesOf(*document), Lines{L"a"});
  // Within the lines: an index past or before its line, a line before the first, a gone segment.
  auto lines = Plain({L"ab", L"cd"});
  for (auto [line, index, segment] : {std::array{0, 99, 0}, {-1, 1, 0}, {1, 1, 5}, {1, -1, 0}}) {
    TextPos place(*lines);
    std::tie(place.line, place.index, place.segment) = std::tie(line, index, segment);
    ReplaceText(*lines, place, place, L"!", editOther);
  }
  EXPECT_EQ(LinesOf(*lines), (Lines{L"a!b!", L"!c!d"}));

  // A stale end past the last line that comes back before the other end: the two ends are
  // put in order only once both lie in the text.
  auto other = Plain({L"ab", L"cd"});
  stale.line = 7;
  stale.index = 0;
  stale.segment = 0;
  ReplaceText(*other, PosAt(*other, 1, 2), stale, L"", editOther);
  EXPECT_EQ(LinesOf(*other), (Lines{L"ab", L""}));  // the stale end came back as (1, 0)
  while (CanUndo(*other->undo)) Undo(*other->undo);
  EXPECT_EQ(LinesOf(*other), (Lines{L"ab", L"cd"}));
}

TEST(ReplaceText, ReportsTheRowsItChanged) {
  // Wrap width 10: the second line wraps once the text is inserted.
  auto document = MakeDocument({L"first", L"abc def", L"last"}, Settings(true, 4, 2), 10);
  ChangeRecord change = Insert(*document, 1, 7, L" ghijk", editOther);
  EXPECT_EQ(RowTotalsOf(*document), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(change.firstRow, 0);  // one row above the changed line
  EXPECT_EQ(change.lastRow, 2);
  EXPECT_EQ(change.rowDelta, 1);
  EXPECT_EQ(std::tie(change.endLine, change.endIndex), std::make_tuple(1, 13));

  change = Edit(*document, 0, 5, 2, 0, L"", editOther);  // joins all three lines
  EXPECT_EQ(LinesOf(*document), Lines{L"firstlast"});
  EXPECT_EQ(change.rowDelta, -3);
  EXPECT_EQ(RowTotalsOf(*document), std::vector<int>{1});
}

TEST(ReplaceText, HighlighterStatesAreRecomputedDownWhileTheyChange) {
  SyntaxDef syntax;
  syntax.commentBegin = L"/*";
  syntax.commentEnd = L"*/";
  DocClass settings = Settings(false, 4, 2);
  settings.hassyntax = true;
  settings.syntax = &syntax;
  auto document = MakeDocument({L"a", L"b", L"c", L"d */ e", L"f"}, settings, 80);
  auto codes = [&] {
    std::vector<int> states;
    for (int i = 0; i < document->LineCount(); ++i)
      states.push_back(lineState::Code(document->lines[i].State()));
    return states;
  };
  ChangeRecord change = Insert(*document, 0, 1, L"/*", editOther);  // opens a comment
  EXPECT_EQ(codes(), (std::vector<int>{5, 14, 14, 4, 0}));
  EXPECT_EQ(change.lastRow, 3);  // down to the line where the comment closes
  // Replacing the opener by another one on the same line keeps the states: the line is
  // entered with the state of the line before it, not with its own.
  change = Edit(*document, 0, 1, 0, 3, L"/*", editOther);
  EXPECT_EQ(codes(), (std::vector<int>{5, 14, 14, 4, 0}));
  EXPECT_EQ(change.lastRow, 0);
  // Removing a range that held the opener on its last line: the lines below come out of it.
  Insert(*document, 0, 0, L"x\r\n", editOther);
  change = Edit(*document, 0, 1, 1, 3, L"", editOther);
  EXPECT_EQ(codes(), (std::vector<int>{0, 0, 0, 0, 0}));
  EXPECT_EQ(change.lastRow, 3);
}

TEST(ReplaceText, EvenAnEmptyReplacementMarksTheDocument) {
  auto document = Plain({L"abc"});
  Insert(*document, 0, 1, L"", editOther);
  EXPECT_TRUE(document->modified);
  EXPECT_TRUE(document->touched);
  EXPECT_FALSE(CanUndo(*document->undo));
  // Undo and redo with nothing recorded change nothing.
  EXPECT_EQ(Undo(*document->undo).firstRow + Redo(*document->undo).firstRow, -2);
  EXPECT_EQ(LinesOf(*document), Lines{L"abc"});
}

TEST(Undo, TypingRunsMergeUntilTheCaretMoves) {
  auto document = Plain({L"line"});
  for (int i = 0; i < 3; ++i) Insert(*document, 0, 4 + i, L"x", editTyping);
  ASSERT_EQ(document->undo->undoList.size(), 1u);
  const UndoRecord& run = document->undo->undoList[0];
  EXPECT_EQ(run.kind, editTyping);
  EXPECT_EQ(run.first, (TextPlace{4, 0}));
  EXPECT_EQ(run.second, (TextPlace{7, 0}));
  Insert(*document, 0, 0, L"y", editTyping);  // elsewhere: a new record
  EXPECT_EQ(document->undo->undoList.size(), 2u);
  Undo(*document->undo);
  ChangeRecord change = Undo(*document->undo);
  EXPECT_EQ(LinesOf(*document), Lines{L"line"});
  EXPECT_EQ(std::tie(change.endLine, change.endIndex), std::make_tuple(0, 4));
}

TEST(Undo, BackspaceRunKeepsTheDeletedCharactersInOrder) {
  auto document = Plain({L"abcd"});
  for (int index = 4; index > 1; --index) Edit(*document, 0, index - 1, 0, index, L"", editDeleteBackward);
  ASSERT_EQ(document->undo->undoList.size(), 1u);
  const UndoRecord& run = document->undo->undoList[0];
  EXPECT_EQ(run.text, L"bcd");
  EXPECT_EQ(run.first, (TextPlace{1, 0}));
  EXPECT_EQ(run.second, (TextPlace{1, 0}));
  ChangeRecord change = Undo(*document->undo);
  EXPECT_EQ(LinesOf(*document), Lines{L"abcd"});
  EXPECT_EQ(change.endIndex, 4);  // the caret goes after the re-inserted characters
}

TEST(Undo, DeleteAtALineEndJoinsAndUndoRestoresTheBreak) {
  auto document = Plain({L"ab", L"cd"});
  for (int i = 0; i < 2; ++i) Edit(*document, 0, 2, i == 0 ? 1 : 0, i == 0 ? 0 : 3, L"", editDeleteForward);
  EXPECT_EQ(LinesOf(*document), Lines{L"abd"});
  ASSERT_EQ(document->undo->undoList.size(), 1u);
  EXPECT_EQ(document->undo->undoList[0].text, L"\r\nc");
  Undo(*document->undo);
  EXPECT_EQ(LinesOf(*document), (Lines{L"ab", L"cd"}));
}

TEST(Undo, AReplacementIsOneStepAndGroupsUndoTogether) {
  auto document = Plain({L"find me here"});
  Edit(*document, 0, 5, 0, 7, L"you", editReplace);  // one record: "me" back for "you"
  Insert(*document, 0, 0, L"[", editReplace);  // nothing deleted: one kind-3 record
  ASSERT_EQ(document->undo->undoList.size(), 2u);
  EXPECT_EQ(document->undo->undoList[0].kind, editOther);
  EXPECT_EQ(document->undo->undoList[0].text, L"me");
  EXPECT_EQ(document->undo->undoList[1].kind, editOther);
  Undo(*document->undo);
  EXPECT_EQ(LinesOf(*document), Lines{L"find you here"});
  Undo(*document->undo);
  EXPECT_EQ(LinesOf(*document), Lines{L"find me here"});

  // A block of one kind-3 edit and two kind-4 edits goes and comes back as one.
  Insert(*document, 0, 0, L"1", editOther);
  Insert(*document, 0, 0, L"2", editContinue);
  Insert(*document, 0, 0, L"3", editContinue);
  Undo(*document->undo);
  EXPECT_EQ(LinesOf(*document), Lines{L"find me here"});
  ASSERT_TRUE(CanRedo(*document->undo));
  std::vector<int> kinds;
  for (const auto& record : *document->undo->redoList) kinds.push_back(record.kind);
  EXPECT_EQ(kinds, (std::vector<int>{editContinue, editContinue, editOther}));
  Redo(*document->undo);
  EXPECT_EQ(LinesOf(*document), Lines{L"321find me here"});
  EXPECT_FALSE(CanRedo(*document->undo));
}

TEST(Undo, TypingOverASelectionIsOneStepForUndoAndForRedo) {
  auto document = Plain({L"hello world"});
  Edit(*document, 0, 6, 0, 11, L"X", editTyping);
  Insert(*document, 0, 7, L"Y", editTyping);  // the typed run goes on
  ASSERT_EQ(LinesOf(*document), Lines{L"hello XY"});
  for (int round = 0; round < 2; ++round) {
    Undo(*document->undo);
    EXPECT_EQ(LinesOf(*document), Lines{L"hello world"}) << round;
    EXPECT_FALSE(CanUndo(*document->undo)) << round;
    Redo(*document->undo);
    EXPECT_EQ(LinesOf(*document), Lines{L"hello XY"}) << round;
    EXPECT_FALSE(CanRedo(*document->undo)) << round;
  }
}

TEST(Undo, RedoSurvivesRedoButNotANewEdit) {
  auto document = Plain({L"abc"});
  Insert(*document, 0, 0, L"1", editOther);
  Insert(*document, 0, 0, L"2", editOther);
  Undo(*document->undo);
  Undo(*document->undo);
  Redo(*document->undo);
  EXPECT_TRUE(CanRedo(*document->undo));
  EXPECT_EQ(LinesOf(*document), Lines{L"1abc"});
  Insert(*document, 0, 0, L"x", editTyping);
  EXPECT_FALSE(CanRedo(*document->undo));
  ChangeRecord nothing = Redo(*document->undo);
  EXPECT_EQ(std::tie(nothing.firstRow, nothing.lastRow, nothing.rowDelta, nothing.endIndex, nothing.endLine),
            std::make_tuple(-1, -1, -1, 0, 0));
}

TEST(Undo, TheModifiedFlagFollowsTheSavedState) {
  TempFolder folder;
  auto document = Plain({L"abc"});
  Insert(*document, 0, 0, L"1", editOther);
  ASSERT_TRUE(SaveText(*document, folder.Path(L"a.txt")));
  Insert(*document, 0, 0, L"2", editOther);
  EXPECT_TRUE(document->modified);
  Undo(*document->undo);  // back to what was saved
  EXPECT_FALSE(document->modified);
  Undo(*document->undo);  // before the save: differs from the file
  EXPECT_TRUE(document->modified);
  Redo(*document->undo);
  EXPECT_FALSE(document->modified);
  Redo(*document->undo);
  EXPECT_TRUE(document->modified);
}

// A save ends a run of typing or deleting: Undo after it stops at the saved text.
TEST(Undo, ARunNeverReachesBackOverASave) {
  struct {
    int kind;
    At first, second;  // where the edits before and after the save start
    const wchar_t* text;
    Lines saved, after;
  } const cases[] = {
      {editTyping, {0, 0}, {0, 1}, L"a", {L"a"}, {L"aa"}},
      {editDeleteBackward, {0, 2}, {0, 1}, L"", {L"ab"}, {L"a"}},
      {editDeleteForward, {0, 0}, {0, 0}, L"", {L"bc"}, {L"c"}},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    auto document = Plain({c.text[0] ? L"" : L"abc"});
    auto edit = [&](At at) {
      const int end = c.text[0] ? at.index : at.index + 1;
      Edit(*document, at.line, at.index, at.line, end, c.text, c.kind);
    };
    edit(c.first);
    ASSERT_TRUE(SaveText(*document, folder.Path(L"a.txt")));
    edit(c.second);
    EXPECT_EQ(LinesOf(*document), c.after) << c.kind;
    Undo(*document->undo);
    EXPECT_EQ(LinesOf(*document), c.saved) << c.kind;
    EXPECT_FALSE(document->modified) << c.kind;
    Undo(*document->undo);
    EXPECT_TRUE(document->modified) << c.kind;
  }
}

TEST(Undo, TheApplicationHearsOfNewRecordsAndReplaysButNotOfMerges) {
  auto document = Plain({L"abc"});
  int calls = 0;
  document->onStateChanged = [&] { ++calls; };
  Insert(*document, 0, 0, L"a", editTyping);
  EXPECT_EQ(calls, 1);
  Insert(*document, 0, 1, L"b", editTyping);
  EXPECT_EQ(calls, 1);
  Undo(*document->undo);
  EXPECT_GE(calls, 2);
  int before = calls;
  Redo(*document->undo);
  EXPECT_GT(calls, before);
}
