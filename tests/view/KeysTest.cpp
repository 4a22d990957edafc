// The key table, movements at row, line and document edges, typing, Enter, deletions, block
// indentation, undo and the clipboard commands of the edit view.
#include <gtest/gtest.h>

#include "FakeSurface.h"
#include "text/Document.h"
#include "text/UndoHistory.h"
#include "view/Caret.h"
#include "view/CaretCommands.h"
#include "view/Clipboard.h"
#include "view/Editing.h"
#include "view/Keys.h"

namespace {

void ExpectCaret(const EditView& view, At at, const char* what = "") {
  EXPECT_EQ(view.caret.line, at.line) << what;
  EXPECT_EQ(view.caret.index, at.index) << what;
}

TEST(KeysTest, MovesAtTheEndsOfTheDocumentStillRunTheCaretUpdate) {
  struct Case { unsigned key; bool shift; At start; } cases[] = {
      {keyLeft, false, {0, 0}}, {keyRight, false, {1, 2}}, {keyLeft, true, {0, 0}},
      {keyRight, true, {1, 2}}, {keyHome, true, {0, 0}},   {keyEnd, true, {1, 2}},
  };
  for (const Case& c : cases) {
    ViewFixture f({L"abc", L"de"}, 20, 10);
    f.Place(c.start.line, c.start.index);
    EXPECT_TRUE(OnKeyDown(f.view, c.key, c.shift, false));
    ExpectCaret(f.view, c.start);
    // A Shift variant activates an empty selection.
    EXPECT_EQ(f.view.selectionActive, c.shift);
    EXPECT_EQ(f.frame.lineNumber, std::to_wstring(c.start.line + 1));
  }
}

TEST(KeysTest, PageDocumentAndScrollKeysHonourTheirModifiers) {
  struct Case { unsigned key; bool shift, ctrl; At caret; int scrolled; } cases[] = {
      {keyPageDown, false, false, {15, 2}, 5}, {keyPageUp, true, false, {5, 2}, -5},
      {keyPageDown, false, true, {10, 2}, 0},  {keyPageUp, false, true, {10, 2}, 0},
      {keyHome, false, true, {0, 0}, -8},      {keyEnd, false, true, {29, 4}, 17},
      {keyUp, false, false, {9, 2}, 0},        {keyDown, true, false, {11, 2}, 0},
      {keyUp, false, true, {10, 2}, -1},       {keyDown, false, true, {10, 2}, 1},
      {keyUp, true, true, {10, 2}, 0},         {keyDown, true, true, {10, 2}, 0},
  };
  for (const Case& c : cases) {
    ViewFixture f(Lines(30, L"line"), 20, 5);
    f.view.firstRow = 8;
    f.Place(10, 2);
    EXPECT_TRUE(OnKeyDown(f.view, c.key, c.shift, c.ctrl));
    ExpectCaret(f.view, c.caret, "caret");
    EXPECT_EQ(f.view.caret.visualColumn, c.caret.index) << c.key << c.ctrl;  // no tabs
    EXPECT_EQ(f.view.firstRow - 8, c.scrolled) << c.key << c.ctrl;
  }
}

TEST(KeysTest, CharacterMovesStepBetweenWrappedRowsWithoutChangingTheIndex) {
  // Wrapped at 10 columns: "abcdefghi " ends its first row at index 10.
  ViewFixture f({L"abcdefghi jklmnop"}, 10, 10, PlainSettings(true));
  ASSERT_EQ(f.document->lines[0].SegmentEnd(0), 10);
  f.Place(0, 10);
  EXPECT_EQ(f.view.caret.segment, 0);
  MoveCharRight(f.view, false);
  ExpectCaret(f.view, {0, 10});
  EXPECT_EQ(f.view.caret.segment, 1);
  EXPECT_EQ(f.view.caret.visualColumn, 2);  // the continuation indent
  EXPECT_EQ(f.surface.caretY, 16);
  MoveCharRight(f.view, false);
  ExpectCaret(f.view, {0, 11});
  MoveCharLeft(f.view, false);
  MoveCharLeft(f.view, false);
  ExpectCaret(f.view, {0, 10});
  EXPECT_EQ(f.view.caret.segment, 0);
  EXPECT_EQ(f.view.caret.visualColumn, 10);
}

TEST(KeysTest, CharacterMovesAcrossTabsAndLineEnds) {
  ViewFixture f({L"a\tb", L"c"}, 20, 10);
  f.Place(0, 1);
  MoveCharRight(f.view, false);
  EXPECT_EQ(f.view.caret.visualColumn, 4);
  EXPECT_EQ(f.view.desiredColumn, 4);
  MoveCharRight(f.view, false);
  MoveCharRight(f.view, false);
  ExpectCaret(f.view, {1, 0});
  MoveCharLeft(f.view, false);
  ExpectCaret(f.view, {0, 3});
  MoveCharLeft(f.view, false);
  MoveCharLeft(f.view, false);
  EXPECT_EQ(f.view.caret.visualColumn, 1);
  EXPECT_EQ(f.view.desiredColumn, 1);
}

TEST(KeysTest, VerticalMovesKeepTheDesiredColumn) {
  ViewFixture f({L"abcdefgh", L"ab", L"", L"abcdefgh"}, 20, 10);
  f.Place(0, 6);
  for (At expected : {At{1, 2}, At{2, 0}, At{3, 6}, At{3, 6}}) {
    UndoEdit(f.view);  // with nothing to undo it keeps the column too
    MoveRowDown(f.view, false);
    ExpectCaret(f.view, expected);
  }
  f.Place(0, 6);
  f.view.desiredColumn = 3;
  MoveRowUp(f.view, false);  // the first row stays, the caret goes to the desired column
  ExpectCaret(f.view, {0, 3});
  ViewFixture g({std::wstring(30, L'a')}, 20, 10, PlainSettings(true));
  g.Place(0, 25);
  MoveRowUp(g.view, false);  // from a continuation row to the row above it in the same line
  EXPECT_EQ(g.view.caret.segment, 0);
  MoveRowDown(g.view, false);  // and back down to the continuation row
  EXPECT_EQ(g.view.caret.segment, 1);
  // Page Down near the end stops at the last row.
  f.Place(1, 1);
  MovePageDown(f.view, false);
  ExpectCaret(f.view, {3, 1});
  // End and Home take the column they reach.
  MoveRowEnd(f.view, false);
  EXPECT_EQ(f.view.desiredColumn, 8);
  MoveRowStart(f.view, false);
  EXPECT_EQ(f.view.desiredColumn, 0);
}

TEST(KeysTest, WordMoves) {
  struct Case { std::wstring text; unsigned key; int from; std::vector<int> stops; } cases[] = {
      {L"abc  def", keyLeft, 8, {5, 0}},
      {L"abc, def", keyRight, 0, {5, 8}},
      {L"  x = y;", keyRight, 0, {2, 6, 8}},
      {L"  x = y;", keyLeft, 8, {6, 2, 0}},
  };
  for (const Case& c : cases) {
    ViewFixture f({c.text}, 20, 10);
    f.Place(0, c.from);
    for (int stop : c.stops) {
      OnKeyDown(f.view, c.key, false, true);
      EXPECT_EQ(f.view.caret.index, stop) << std::string(c.text.begin(), c.text.end());
      EXPECT_EQ(f.view.desiredColumn, stop);
    }
  }
  // Across lines: to the end of the previous line first, to the next line's start first.
  ViewFixture f({L"one two", L"three"}, 20, 10);
  f.Place(1, 0);
  MoveWordLeft(f.view, false);
  ExpectCaret(f.view, {0, 4});
  f.Place(0, 7);
  MoveWordRight(f.view, false);
  ExpectCaret(f.view, {1, 5});
  f.Place(0, 0);
  MoveWordLeft(f.view, true);
  ExpectCaret(f.view, {0, 0});
  EXPECT_TRUE(f.view.selectionActive);
}

TEST(KeysTest, EnterCopiesTheIndentationAsTabsAndSpaces) {
  struct Case { std::wstring line; int index; bool indent; std::wstring inserted; } cases[] = {
      {L"      x", 7, true, L"\t  "},
      {L"      x", 3, true, L"   "},
      {L"\t  x", 4, true, L"\t  "},
      {L"      x", 7, false, L""},
      {L"x", 1, true, L""},
  };
  for (const Case& c : cases) {
    DocClass settings = PlainSettings(false, 4);
    settings.indent = c.indent;
    ViewFixture f({c.line}, 20, 10, settings);
    f.Place(0, c.index);
    EXPECT_TRUE(OnChar(f.view, L'\r'));
    ASSERT_EQ(f.document->LineCount(), 2);
    EXPECT_EQ(f.Lines()[1], c.inserted + c.line.substr(static_cast<std::size_t>(c.index)));
    ExpectCaret(f.view, {1, static_cast<int>(c.inserted.size())});
    EXPECT_EQ(f.view.desiredColumn, f.view.caret.visualColumn);
  }
}

TEST(KeysTest, TypingReplacesTheSelection) {
  ViewFixture f({L"hello world"}, 20, 10);
  f.Select(0, 6, 0, 11);
  EXPECT_TRUE(OnChar(f.view, L'W'));
  EXPECT_EQ(f.Lines(), Lines{L"hello W"});
  ExpectCaret(f.view, {0, 7});
  EXPECT_FALSE(f.view.selectionActive);
  EXPECT_GT(f.frame.refreshes, 0);
  // Control characters and DEL are left to the window.
  EXPECT_FALSE(OnChar(f.view, L'\t'));
  EXPECT_FALSE(OnChar(f.view, 8));
  EXPECT_FALSE(OnChar(f.view, 127));
  EXPECT_EQ(f.Lines(), Lines{L"hello W"});
}

TEST(KeysTest, CaretMovesSelectionsAndDeletionsTakeWholeCharacters) {
  const std::wstring pair = L"\xD83D\xDE00";
  const std::wstring accented = L"e\u0301";  // "e" and a combining acute
  struct Case { std::wstring text; unsigned key; bool shift; int start; std::wstring result; int caret; } cases[] = {
      {L"a" + pair + L"b", keyRight, false, 1, L"a" + pair + L"b", 3},
      {L"a" + pair + L"b", keyLeft, false, 3, L"a" + pair + L"b", 1},
      {L"a" + pair + L"b", keyRight, true, 1, L"a" + pair + L"b", 3},
      {L"a" + pair + L"b", keyBack, false, 3, L"ab", 1},
      {L"a" + pair + L"b", keyDelete, false, 1, L"ab", 1},
      {L"a" + accented + L"b", keyRight, false, 1, L"a" + accented + L"b", 3},
      {L"a" + accented + L"b", keyLeft, false, 3, L"a" + accented + L"b", 1},
      {L"a" + accented + L"b", keyLeft, true, 3, L"a" + accented + L"b", 1},
      {L"a" + accented + L"b", keyBack, false, 3, L"ab", 1},
      {L"a" + accented + L"b", keyDelete, false, 1, L"ab", 1},
  };
  for (const Case& c : cases) {
    ViewFixture f({c.text}, 20, 10);
    f.Place(0, c.start);
    OnKeyDown(f.view, c.key, c.shift, false);
    EXPECT_EQ(f.Lines(), Lines{c.result}) << c.key;
    ExpectCaret(f.view, {0, c.caret});
    if (c.shift) { EXPECT_EQ(f.view.anchor.index, c.start); }
  }
}

TEST(KeysTest, TheCaretStandsOnTheCellsOfWideAndCombinedCharacters) {
  // End, then Left: the caret's x after the last character's cells, then before them.
  struct Case { std::wstring text; int endX; int leftIndex; } cases[] = {
      {L"\u4E2D", 10 + 2 * 8, 0},             // a wide ideograph: two cells
      {L"e\u0301", 10 + 8, 0},                // a base and its mark: one cell
      {L"\xD83D\xDE00", 10 + 2 * 8, 0},         // an emoji: a pair on two cells
      {L"x\u4E2De\u0301", 10 + 4 * 8, 2},
  };
  for (const Case& c : cases) {
    ViewFixture f({c.text}, 20, 10);
    OnKeyDown(f.view, keyEnd, false, false);
    EXPECT_EQ(f.surface.caretX, c.endX);
    OnKeyDown(f.view, keyLeft, false, false);
    EXPECT_EQ(f.view.caret.index, c.leftIndex);
    EXPECT_EQ(f.surface.caretX, 10 + f.view.caret.visualColumn * 8);
  }
  // Word moves take a word's marks with it.
  ViewFixture f({L"cafe\u0301 x"}, 20, 10);
  MoveWordRight(f.view, false);
  ExpectCaret(f.view, {0, 6});
  EXPECT_EQ(f.view.caret.visualColumn, 5);
  MoveWordLeft(f.view, false);
  ExpectCaret(f.view, {0, 0});
}

TEST(KeysTest, SingleCharacterDeletionsAndTheirUndoKinds) {
  struct Case { unsigned key; At start; Lines result; At caret; int kind; } cases[] = {
      {keyBack, {1, 0}, {L"abcdef"}, {0, 3}, 2},   // joins line 1 to line 0
      {keyDelete, {0, 3}, {L"abcdef"}, {0, 3}, 1}, // joins the next line
      {keyBack, {0, 2}, {L"ac", L"def"}, {0, 1}, 2},
      {keyDelete, {1, 1}, {L"abc", L"df"}, {1, 1}, 1},
  };
  for (const Case& c : cases) {
    ViewFixture f({L"abc", L"def"}, 20, 10);
    f.Place(c.start.line, c.start.index);
    OnKeyDown(f.view, c.key, false, false);
    EXPECT_EQ(f.Lines(), c.result);
    ExpectCaret(f.view, c.caret);
    ASSERT_EQ(f.document->undo->undoList.size(), 1u);
    EXPECT_EQ(f.document->undo->undoList[0].kind, c.kind);
  }
}

TEST(KeysTest, DeletingAtTheDocumentEndsChangesNothing) {
  for (unsigned key : {keyBack, keyDelete}) {
    for (bool ctrl : {false, true}) {
      ViewFixture f({L"abc", L"def"}, 20, 10);
      if (key == keyBack) f.Place(0, 0);
      else f.Place(1, 3);
      OnKeyDown(f.view, key, false, ctrl);
      EXPECT_EQ(f.Lines(), (Lines{L"abc", L"def"}));
      EXPECT_FALSE(f.document->modified);
      EXPECT_FALSE(f.view.selectionActive);
    }
  }
}

TEST(KeysTest, WordDeletion) {
  ViewFixture f({L"one two three"}, 20, 10);
  f.Place(0, 13);
  OnKeyDown(f.view, keyBack, false, true);
  EXPECT_EQ(f.Lines(), Lines{L"one two "});
  ExpectCaret(f.view, {0, 8});
  f.Place(0, 0);
  OnKeyDown(f.view, keyDelete, false, true);
  EXPECT_EQ(f.Lines(), Lines{L"two "});
  ExpectCaret(f.view, {0, 0});
  EXPECT_TRUE(OnKeyDown(f.view, keyDelete, true, true));  // taken, but deletes nothing
  EXPECT_EQ(f.Lines(), Lines{L"two "});
  DeleteWordForward(f.view);
  EXPECT_EQ(f.Lines(), Lines{L""});
  // An active, non-empty selection is deleted instead; an empty one leaves the word to go.
  ViewFixture g({L"one two three"}, 20, 10);
  g.Select(0, 4, 0, 5);
  OnKeyDown(g.view, keyBack, false, true);
  EXPECT_EQ(g.Lines(), Lines{L"one wo three"});
  g.Select(0, 6, 0, 6);
  OnKeyDown(g.view, keyBack, false, true);
  EXPECT_EQ(g.Lines(), Lines{L"one  three"});
  SelectAll(g.view);
  OnKeyDown(g.view, keyBack, false, false);
  EXPECT_EQ(g.Lines(), Lines{L""});
}

TEST(KeysTest, TabInsertsATabOrIndentsTheBlock) {
  const Lines text{L"l0", L"l1", L"line2", L"l3", L"l4", L"line5", L"l6"};
  // The same block selected forwards and backwards.
  for (bool backwards : {false, true}) {
    ViewFixture f(text, 20, 10);
    if (backwards) f.Select(5, 0, 2, 2);
    else f.Select(2, 2, 5, 0);
    OnKeyDown(f.view, keyTab, false, false);
    EXPECT_EQ(f.Lines(), (Lines{L"l0", L"l1", L"\tline2", L"\tl3", L"\tl4", L"line5", L"l6"}));
    EXPECT_TRUE(f.view.selectionActive);
    EXPECT_EQ(f.view.anchor.line, 2);
    EXPECT_EQ(f.view.anchor.index, 0);
    ExpectCaret(f.view, {5, 0});
    // One undo step takes the whole block back.
    UndoEdit(f.view);
    EXPECT_EQ(f.Lines(), text);
    RedoEdit(f.view);
    EXPECT_EQ(f.Lines()[4], L"\tl4");
  }
  // No selection, or one inside a line: a tab replaces it.
  ViewFixture f(text, 20, 10);
  f.Select(2, 1, 2, 3);
  OnKeyDown(f.view, keyTab, false, false);
  EXPECT_EQ(f.Lines()[2], L"l\te2");
  EXPECT_FALSE(f.view.selectionActive);
  f.Place(1, 1);
  OnKeyDown(f.view, keyTab, false, false);
  EXPECT_EQ(f.Lines()[1], L"l\t1");
  // The command indents even the caret's own line.
  f.Place(0, 0);
  Indent(f.view, false);
  EXPECT_EQ(f.Lines()[0], L"\tl0");
  // A block that reaches the last line keeps it selected whole.
  f.Select(5, 1, 6, 2);
  Indent(f.view, false);
  ExpectCaret(f.view, {6, 3});
  Indent(f.view, false);
  EXPECT_EQ(f.Lines()[6], L"\t\tl6");
}

TEST(KeysTest, ShiftTabRemovesBlanksUpToTheFirstTabStop) {
  ViewFixture f({L"\tx", L"      y", L"  z", L" \t w", L"\tv", L"end"}, 20, 10);
  f.Select(0, 0, 5, 0);
  OnKeyDown(f.view, keyTab, true, false);
  EXPECT_EQ(f.Lines(), (Lines{L"x", L"  y", L"z", L" w", L"v", L"end"}));
  EXPECT_EQ(f.document->widestLine, 3);  // the widest line went narrower
  EXPECT_EQ(f.view.anchor.line, 0);
  ExpectCaret(f.view, {5, 0});
  EXPECT_TRUE(f.view.selectionActive);

  // Without a selection over several lines nothing happens.
  for (bool select : {false, true}) {
    ViewFixture g({L"\tx", L"\ty"}, 20, 10);
    if (select) g.Select(0, 0, 0, 2);
    else g.Place(1, 1);
    OnKeyDown(g.view, keyTab, true, false);
    Unindent(g.view);
    EXPECT_EQ(g.Lines(), (Lines{L"\tx", L"\ty"}));
  }
  // A block without leading blanks is left unmodified.
  ViewFixture h({L"x", L"y"}, 20, 10);
  h.Select(0, 0, 1, 1);
  OnKeyDown(h.view, keyTab, true, false);
  EXPECT_FALSE(h.document->modified);
}

TEST(KeysTest, EscapeEndsTheSelection) {
  ViewFixture f({L"abcdef"}, 20, 10);
  EXPECT_FALSE(OnChar(f.view, 27));
  f.Select(0, 1, 0, 4);
  EXPECT_TRUE(OnChar(f.view, 27));
  EXPECT_FALSE(f.view.selectionActive);
  ASSERT_EQ(f.surface.invalidated.size(), 1u);
  EXPECT_EQ(f.surface.invalidated[0], (PixelRect{18, 0, 42, 16}));
}

TEST(KeysTest, KeysOutsideTheTableAreLeftToTheFrame) {
  ViewFixture f({L"abc"}, 20, 10);
  EXPECT_FALSE(OnKeyDown(f.view, 0x41, false, false));  // A
  EXPECT_FALSE(OnKeyDown(f.view, 0x0D, false, false));  // Enter comes as a character
  EXPECT_TRUE(OnKeyDown(f.view, keyTab, true, true));   // in the table, does nothing
  EXPECT_EQ(f.Lines(), Lines{L"abc"});
}

TEST(KeysTest, CtrlUpAndDownScrollWithoutMovingTheCaret) {
  Lines lines(30, L"x");
  ViewFixture f(lines, 20, 10);
  f.Place(3, 0);
  OnKeyDown(f.view, keyDown, false, true);
  OnKeyDown(f.view, keyDown, false, true);
  OnKeyDown(f.view, keyUp, false, true);
  EXPECT_EQ(f.view.firstRow, 1);
  ExpectCaret(f.view, {3, 0});
}

TEST(KeysTest, UndoAndRedoPutTheCaretAtTheChange) {
  ViewFixture f({L"abc"}, 20, 10);
  f.Place(0, 3);
  OnChar(f.view, L'd');
  OnChar(f.view, L'e');
  UndoEdit(f.view);
  EXPECT_EQ(f.Lines(), Lines{L"abc"});
  ExpectCaret(f.view, {0, 3});
  RedoEdit(f.view);
  EXPECT_EQ(f.Lines(), Lines{L"abcde"});
  ExpectCaret(f.view, {0, 5});
  // Nothing left to redo: nothing happens.
  f.surface.Forget();
  RedoEdit(f.view);
  EXPECT_TRUE(f.surface.invalidated.empty());
  // A paste after typing is a step of its own.
  f.surface.clipboard = L"!";
  OnChar(f.view, L'f');
  PasteClipboard(f.view);
  UndoEdit(f.view);
  EXPECT_EQ(f.Lines(), Lines{L"abcdef"});
}

TEST(KeysTest, CopyCutPasteAndAppend) {
  ViewFixture f({L"first line", L"second"}, 20, 10);
  f.Select(0, 6, 1, 3);
  EXPECT_TRUE(CopySelection(f.view, L""));
  EXPECT_EQ(f.surface.clipboard, L"line\r\nsec");
  // An active but empty selection copies nothing and keeps the clipboard; cut appended, it
  // leaves the text as it is.
  f.Select(1, 2, 1, 2);
  EXPECT_FALSE(CopySelection(f.view, L""));
  EXPECT_TRUE(CopyAppend(f.view, true));
  EXPECT_FALSE(f.document->modified);
  EXPECT_EQ(f.surface.clipboard, L"line\r\nsec");
  // Appending collects pieces one after the other.
  f.Select(0, 0, 0, 5);
  EXPECT_TRUE(CopyAppend(f.view, false));
  EXPECT_EQ(f.surface.clipboard, L"line\r\nsecfirst");
  // Paste replaces the selection; line breaks become lines and the caret ends after the text.
  // CR LF and a lone LF are one line break each; a lone CR is a character, as a line may hold.
  f.surface.clipboard = L"A\r\nB\nC\rD";
  f.Select(0, 0, 0, 5);
  EXPECT_TRUE(PasteClipboard(f.view));
  EXPECT_EQ(f.Lines(), (Lines{L"A", L"B", L"C\rD line", L"second"}));
  ExpectCaret(f.view, {2, 3});
  // Lines copied, one holding a lone CR, come back exactly when pasted.
  f.Select(1, 0, 3, 0);
  EXPECT_TRUE(CopySelection(f.view, L""));
  f.Select(3, 0, 3, 0);
  EXPECT_TRUE(PasteClipboard(f.view));
  EXPECT_EQ(f.Lines(), (Lines{L"A", L"B", L"C\rD line", L"B", L"C\rD line", L"second"}));
  UndoEdit(f.view);
  // A cut whose copy fails leaves the text.
  f.surface.clipboardLocked = true;
  f.Select(3, 0, 3, 3);
  EXPECT_FALSE(CutSelection(f.view, L""));
  EXPECT_EQ(f.Lines()[3], L"second");
  f.surface.clipboardLocked = false;
  // Shift+Delete cuts.
  OnKeyDown(f.view, keyDelete, true, false);
  EXPECT_EQ(f.Lines()[3], L"ond");
  EXPECT_EQ(f.surface.clipboard, L"sec");
  f.Select(3, 3, 3, 1);  // made backwards
  EXPECT_TRUE(CopySelection(f.view, L""));
  EXPECT_EQ(f.surface.clipboard, L"nd");
  // No text on the clipboard: paste does nothing.
  f.surface.clipboard.reset();
  EXPECT_FALSE(PasteClipboard(f.view));
  // A NUL of the text cannot go to the clipboard.
  ViewFixture g({std::wstring(L"a\0b", 3)}, 20, 10);
  g.Select(0, 0, 0, 3);
  EXPECT_TRUE(CopySelection(g.view, L""));
  EXPECT_EQ(g.surface.clipboard, L"ab");
}

}  // namespace
