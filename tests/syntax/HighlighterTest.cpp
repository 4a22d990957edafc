// End states kept in a document's lines, and the row cursor the painter walks.
#include "syntax/Highlighter.h"

#include <gtest/gtest.h>

#include <random>

#include "syntax/LineScan.h"
#include "syntax/RowCursor.h"
#include "syntax/TestSyntax.h"
#include "text/CodePage.h"
#include "text/Edit.h"
#include "text/TextTestUtil.h"

namespace {

DocClass Highlighted(bool wordwrap, int tabsize = 4) {
  DocClass settings = Settings(wordwrap, tabsize, 2);
  settings.hassyntax = true;
  settings.syntax = &CLikeSyntax();
  return settings;
}

std::vector<int> Codes(const Document& document) {
  std::vector<int> codes;
  for (int i = 0; i < document.LineCount(); ++i)
    codes.push_back(lineState::Code(document.lines[i].State()));
  return codes;
}

// One visual row as the painter asks for it: "kind:cells" per run.
std::string Row(Document& document, int row, int visibleColumns) {
  TextPos cursor;
  OpenRowCursor(cursor, document, row, 0);
  std::string out;
  int remaining = visibleColumns + 1;
  for (bool first = true; remaining > 0; first = false) {
    ColourRun run = NextRun(cursor, first, remaining);
    out += std::to_string(run.kind) + ":" + std::to_string(run.length) + " ";
  }
  CloseRowCursor(cursor);
  return out;
}

}  // namespace

TEST(Highlighter, LayoutStoresEndStatesAndKeepsTheMark) {
  auto document = MakeDocument({L"a /* open", L"inside", L"end */ x", L"y"}, Highlighted(false),
                               Document::noWrapWidth);
  EXPECT_EQ(Codes(*document), (std::vector<int>{5, 14, 4, 0}));
  EXPECT_EQ(document->lines[0].ConstructPosition(), 4);
  EXPECT_EQ(document->lines[2].ConstructPosition(), 4);

  document->lines[1].SetState(lineState::WithMark(document->lines[1].State(), true));
  LayoutDocument(*document);
  EXPECT_TRUE(document->lines[1].Marked());
  EXPECT_EQ(Codes(*document), (std::vector<int>{5, 14, 4, 0}));
}

TEST(Highlighter, OpeningACommentAtTheTopRecolorsDownToTheFirstUnchangedLine) {
  auto document = MakeDocument({L"x", L"a", L"b */", L"c", L"d"}, Highlighted(false),
                               Document::noWrapWidth);
  ChangeRecord change =
      ReplaceText(*document, PosAt(*document, 0, 0), PosAt(*document, 0, 0), L"/*", editOther);
  EXPECT_EQ(Codes(*document), (std::vector<int>{5, 14, 4, 0, 0}));
  EXPECT_EQ(change.lastRow, 2);  // the line that closes the comment changed, the one after not
}

// Constructs that open or close far into a line: the line keeps only that they are far, and they
// are found again, exactly, where the line is coloured and after edits above them.
TEST(Highlighter, FarConstructsAreFoundAgainFromTheirText) {
  const std::wstring pad(200, L'a');
  auto document = MakeDocument({L"/* open", pad + L"*/ x", pad + L"\"/* string", L"end\" y"},
                               Highlighted(false), Document::noWrapWidth);
  EXPECT_EQ(Codes(*document), (std::vector<int>{5, 4, 7, 6}));
  EXPECT_EQ(document->lines[1].ConstructPosition(), Line::farConstruct);
  EXPECT_EQ(ConstructPositionOf(*document, 0), 2);
  EXPECT_EQ(ConstructPositionOf(*document, 1), 200);
  EXPECT_EQ(ConstructPositionOf(*document, 2), 200);
  EXPECT_EQ(Row(*document, 1, 210), "11:202 1:2 0:7 ");  // comment through the star-slash
  EXPECT_EQ(Row(*document, 2, 210), "1:200 12:10 0:1 ");

  // Closing the comment at once: the line below now opens nothing, the string opens far.
  ReplaceText(*document, PosAt(*document, 0, 7), PosAt(*document, 0, 7), L"*/", editOther);
  EXPECT_EQ(Codes(*document), (std::vector<int>{0, 0, 7, 6}));
  EXPECT_EQ(ConstructPositionOf(*document, 1), -1);
  EXPECT_EQ(Row(*document, 1, 210), "1:204 0:7 ");
  EXPECT_EQ(ConstructPositionOf(*document, 2), 200);
}

TEST(Highlighter, RowCursorDeliversColouredRunsClippedToTheRow) {
  auto document = MakeDocument({L"int x; // note", L"/*a\tb*/c"}, Highlighted(false),
                               Document::noWrapWidth);
  EXPECT_EQ(Row(*document, 0, 20), "2:3 1:4 11:7 0:7 ");
  EXPECT_EQ(Row(*document, 1, 10), "11:3 0:1 11:3 1:1 0:3 ");
  EXPECT_EQ(Row(*document, 0, 4), "2:3 1:2 ");  // the last run stops at the visible cells
}

TEST(Highlighter, ContinuationRowsStartWithTheirIndentAsABlankRun) {
  auto document = MakeDocument({L"  aaaa bbbb cccc"}, Highlighted(true), 10);
  ASSERT_EQ(EndsOf(document->lines[0]), (std::vector<int>{7, 12, 16}));
  EXPECT_EQ(Row(*document, 0, 10), "1:7 0:4 ");  // leading spaces are text
  EXPECT_EQ(Row(*document, 1, 10), "0:4 1:5 0:2 ");
}

TEST(Highlighter, PlainDocumentsGetPlainRunsBetweenTabs) {
  auto document = MakeDocument({L"ab\tc"}, Settings(false, 4, 2), Document::noWrapWidth);
  EXPECT_EQ(Row(*document, 0, 8), "1:2 0:2 1:1 0:4 ");
  // Under word wrap a run of tabs ends with its row's segment.
  auto wrapped = MakeDocument({L"ab\t\t\t\tc"}, Settings(true, 2, 0), 6);
  EXPECT_EQ(Row(*wrapped, 0, 8), "1:2 0:4 0:3 ");
  EXPECT_EQ(Row(*wrapped, 1, 8), "0:4 1:1 0:4 ");
}

// A line kept in its file's bytes lays out as the same line widened: the same indentation,
// segment ends, width and end state from every entering state, with openers of bytes in the
// upper half too, and it stays in its bytes.
TEST(Highlighter, NarrowLinesLayOutAsTheirWidenedText) {
  SyntaxDef upper = CLikeDefinition();
  upper.singleLineComment = L"\x20AC\x20AC";  // the euro sign, 0x80 in the code page
  upper.emphasisBegin2 = L"\xE9";
  upper.emphasisEnd2 = L"a\xE9";
  const char alphabet[] = "ab _/*\"'\\<>\t\xE9\x80";
  std::mt19937 random(20);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes(random() % 100, ' ');
    for (char& b : bytes) b = alphabet[random() % (sizeof alphabet - 1)];
    std::wstring wide(bytes.size(), L'\0');
    codepage::ToWide(bytes.data(), bytes.size(), wide.data());
    Line narrow(bytes.data(), static_cast<int>(bytes.size()));
    Line own(wide);
    Document document;
    GiveClass(document, Highlighted(round % 3 != 0, 1 + round % 5));
    if (round % 2) document.highlighter = &upper;
    document.wrapWidth = document.settings.wordwrap ? 4 + round % 40 : Document::noWrapWidth;
    for (std::uint32_t entering : {0, 1, 5, 7, 9, 11, 13, 14, 18}) {
      std::uint32_t narrowState = entering, ownState = entering;
      LayoutLine(document, narrow, narrowState);
      LayoutLine(document, own, ownState);
      ASSERT_EQ(narrowState, ownState) << round;
      ASSERT_EQ(narrow.ConstructPosition(), own.ConstructPosition()) << round;
      ASSERT_EQ(EndsOf(narrow), EndsOf(own)) << round;
      ASSERT_EQ(IndentWidth(document, narrow), IndentWidth(document, own)) << round;
      ASSERT_EQ(LineWidth(document, narrow), LineWidth(document, own)) << round;
    }
    ASSERT_TRUE(narrow.IsNarrow());
  }
}
