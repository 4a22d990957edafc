// End states and coloured runs of single lines.
#include "syntax/LineScan.h"

#include <gtest/gtest.h>

#include "syntax/TestSyntax.h"
#include "syntax/TextMatch.h"

namespace {

// Runs written as "kind:index:length" for compact comparison.
std::string Runs(const SyntaxDef& def, const std::wstring& text, LineEndState state = {},
                 int tabSize = 4) {
  std::vector<ColourRun> runs;
  TokenizeText(def, text, state, tabSize, runs);
  std::string out;
  for (const auto& r : runs)
    out += std::to_string(r.kind) + ":" + std::to_string(r.index) + ":" +
           std::to_string(r.length) + " ";
  return out;
}

}  // namespace

TEST(TextMatch, FindsUnescapedTerminators) {
  struct Case { const wchar_t* text; int from; int expected; } cases[] = {
      {L"\"abc\"", 1, 4},
      {L"\"a\\\"b\"", 1, 5},     // escaped quote skipped
      {L"\"a\\\\\"b", 1, 4},     // two backslashes: the quote ends the string
      {L"\"a\\\\\\\"b\"", 1, 7},  // three backslashes: escaped again
      {L"\"abc", 1, -1},
      {L"\\\"", 0, -1},          // escape at index 0 counts
  };
  for (const auto& c : cases) EXPECT_EQ(FindTerminator(c.text, c.from, L"\"", L"\\"), c.expected) << c.text;
  EXPECT_EQ(FindTerminator(L"a*/b*/", 0, L"*/", L""), 2);
  EXPECT_EQ(FindTerminator(L"abc", 5, L"c", L""), -1);
  EXPECT_TRUE(CompareAt(L"a/*", 1, L"/*"));
  EXPECT_FALSE(CompareAt(L"a/", 1, L"/*"));
  EXPECT_FALSE(CompareAt(L"a", 3, L"a"));
  // A narrow line's bytes are read through the code page, where byte 0x80 is the euro sign.
  const NarrowText narrow("a\x80" "b");
  EXPECT_EQ(narrow.find(L'\x80'), NarrowText::npos);
  EXPECT_EQ(narrow.find(L'\x20AC'), 1u);
  EXPECT_EQ(narrow.find_first_of(L"\x80" L"b"), 2u);
  EXPECT_EQ(narrow.find(L'a', 4), NarrowText::npos);
}

TEST(LineScan, EndStatesOfOpenAndCarriedConstructs) {
  SyntaxDef def = CLikeDefinition();
  struct Case { const wchar_t* text; int entering; int code; int position; } cases[] = {
      {L"int a; // note", 0, 1, 7},
      {L"x = \"// not a comment\";", 0, 0, -1},
      {L"a /* open", 0, 5, 4},
      {L"still inside", 5, 14, -1},
      {L"still inside", 14, 14, -1},
      {L"end */ b", 14, 4, 4},
      {L"end */ \"again", 14, 7, 7},
      {L"s = \"unterminated \\\"", 0, 7, 4},
      {L"rest\" done", 7, 6, 4},
      {L"it's", 0, 9, 2},
      {L"/* a */ b /* c */", 0, 0, -1},
      {L"/* reset */*p = 0;", 0, 0, -1},  // the '*' after the end opens nothing
      {L"reset */*p = 0;", 14, 4, 6},  // closed at 6, nothing open after
      {L"", 5, 14, -1},
      {L"x", 18, 0, -1},  // carried in a second emphasis this definition lacks
  };
  for (const auto& c : cases) {
    LineEndState s = ScanLineEnd(def, c.text, c.entering);
    EXPECT_EQ(s.code, c.code) << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(s.constructPosition, c.position) << testing::PrintToString(std::wstring(c.text));
  }
}

TEST(LineScan, EmphasisOnlyDefinitionsColourKeywordsBetweenMarkers) {
  SyntaxDef def = CLikeDefinition();
  def.syntaxInEmphasisOnly = true;
  def.emphasisBegin = L"<";
  def.emphasisEnd = L">";
  // Outside the markers "int" is plain; inside it is a keyword and a string returns to emphasis.
  EXPECT_EQ(Runs(def, L"int <int \"s\" x> int"),
            "1:0:4 13:4:1 2:5:3 13:8:1 12:9:3 13:12:3 1:15:4 ");
  EXPECT_EQ(ScanLineEnd(def, L"a <b", 0).code, 11);
  EXPECT_EQ(ScanLineEnd(def, L"b> c", 11).code, 10);
  // The second pair of markers opens the same way, and only outside the first pair.
  def.emphasisBegin2 = L"[";
  def.emphasisEnd2 = L"]";
  EXPECT_EQ(Runs(def, L"int [int] <[>"), "1:0:4 13:4:1 2:5:3 13:8:1 1:9:1 13:10:3 ");
  EXPECT_EQ(ScanLineEnd(def, L"a [b", 0).code, 13);
}

TEST(LineScan, TokenizesStringsCommentsAndKeywords) {
  SyntaxDef def = CLikeDefinition();
  EXPECT_EQ(Runs(def, L"int x; // c"), "2:0:3 1:3:4 11:7:4 ");
  EXPECT_EQ(Runs(def, L"s=\"a\\\"b\" return"), "1:0:2 12:2:6 1:8:1 3:9:6 ");
  EXPECT_EQ(Runs(def, L"\"a\\\\\"int"), "12:0:5 2:5:3 ");
  EXPECT_EQ(Runs(def, L"\"// in string\""), "12:0:14 ");
}

TEST(LineScan, TabsInsideACommentAreBlankAndTheCommentResumes) {
  SyntaxDef def = CLikeDefinition();
  EXPECT_EQ(Runs(def, L"/*a\tb*/c", {}, 4), "11:0:3 0:3:1 11:4:3 1:7:1 ");
  EXPECT_EQ(Runs(def, L"\t\tx", {}, 4), "0:0:8 1:2:1 ");
}

TEST(LineScan, LinesEnteredInsideAConstructStartInIt) {
  SyntaxDef def = CLikeDefinition();
  LineEndState inside = ScanLineEnd(def, L"still", 5);
  EXPECT_EQ(Runs(def, L"still", inside), "11:0:5 ");
  EXPECT_EQ(Runs(def, L"a b", ScanLineEnd(def, L"a b", 9)), "12:0:3 ");  // inside a string
  LineEndState closes = ScanLineEnd(def, L"end */ int", 14);
  EXPECT_EQ(Runs(def, L"end */ int", closes), "11:0:6 1:6:1 2:7:3 ");
  // Entered inside a comment that closes, then a string opens and stays open: the line starts
  // in normal mode.
  LineEndState reopened = ScanLineEnd(def, L"x */ \"s", 14);
  EXPECT_EQ(reopened.code, 7);
  EXPECT_EQ(Runs(def, L"x */ \"s", reopened), "1:0:5 12:5:2 ");
  // A second emphasis carried in stays emphasised up to its end on the line that closes it.
  def.emphasisBegin2 = L"[";
  def.emphasisEnd2 = L"]";
  EXPECT_EQ(Runs(def, L"b] c", ScanLineEnd(def, L"b] c", 13)), "13:0:2 1:2:2 ");
  EXPECT_EQ(Runs(def, L"b c", ScanLineEnd(def, L"b c", 13)), "13:0:3 ");
}
