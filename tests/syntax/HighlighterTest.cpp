// End states kept in a document's lines, and the row cursor the painter walks.
#include "syntax/Highlighter.h"

#include <gtest/gtest.h>

#include "syntax/LineScan.h"
#include "syntax/RowCursor.h"
#include "syntax/TestSyntax.h"
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
    codes.push_back(static_cast<int>(document.lines[i].State() & stateCodeMask));
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

  document->lines[1].SetState(document->lines[1].State() | Line::markBit);
  LayoutDocument(*document);
  EXPECT_TRUE(document->lines[1].State() & Line::markBit);
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
}
