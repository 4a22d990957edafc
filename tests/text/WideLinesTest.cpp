// Documents with lines wider than the line widths' table: after every edit, undo, redo,
// relayout and journal replay the widest line must be the one a layout from scratch finds.
#include <gtest/gtest.h>

#include <random>

#include "text/EditModel.h"
#include "text/Edit.h"
#include "text/Journal.h"
#include "text/LineWidths.h"
#include "text/UndoHistory.h"

namespace {

std::wstring Wide(int width, wchar_t fill) { return std::wstring(static_cast<std::size_t>(width), fill); }

}  // namespace

TEST(WideLines, TheWidestLineFollowsEditsUndoRedoRelayoutAndReplay) {
  std::mt19937 random(5);
  const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const int limit = LineWidths::smallLimit;
  Lines first;
  for (int i = 0; i < 40; ++i) {
    const int width = below(3) == 0 ? limit - 3 + below(8) : below(2) == 0 ? limit + below(3 * limit) : below(60);
    first.push_back(Wide(width, i % 3 == 0 ? L'\t' : i % 3 == 1 ? L'x' : L'\x4E00'));
  }
  auto document = MakeDocument(first, Settings(false, 4, 2), 80);
  std::string journal = EncodeJournalHeader({}, L"doc1");
  document->onReplace = [&](const TextPos& from, const TextPos& to, std::wstring_view text) {
    AppendJournalChange(journal, from.index, from.line, to.index, to.line, text);
  };
  const wchar_t* const pieces[] = {L"a", L"\t", L"\n", L"\r\n", L"\x4E00", L"bb"};
  for (int step = 0; step < 2000; ++step) {
    const int action = below(20);
    if (action == 0) {
      Undo(*document->undo);
    } else if (action == 1) {
      Redo(*document->undo);
    } else if (action == 2) {
      // Tab size or word wrap changed, and back.
      const bool wrap = below(2) == 0;
      Relayout(*document, Settings(wrap, wrap ? 4 : 1 + below(8), 2), wrap ? 30 : Document::noWrapWidth);
      ASSERT_EQ(LayoutDifference(*document), "") << step;
      Relayout(*document, Settings(false, 1 + below(8), 2), Document::noWrapWidth);
    } else {
      const int line1 = below(document->LineCount()), line2 = below(document->LineCount());
      const int index1 = below(document->lines[line1].Length() + 1);
      const int index2 = below(3) == 0 ? index1 : below(document->lines[line2].Length() + 1);
      std::wstring text;
      if (below(10) == 0) text = Wide(limit + below(limit), L'w');
      for (int n = below(4); n > 0; --n) text += pieces[below(std::size(pieces))];
      ReplaceText(*document, PosAt(*document, line1, index1),
                  PosAt(*document, below(3) == 0 ? line1 : line2, below(3) == 0 ? index1 : index2), text,
                  below(3) == 0 ? editTyping : editOther);
    }
    ASSERT_EQ(LayoutDifference(*document), "") << step;
  }
  auto replayed = MakeDocument(first, document->settings, document->wrapWidth, document->highlighter);
  ReplayJournal(*replayed, ParseJournal(journal)->changes);
  EXPECT_EQ(LinesOf(*replayed), LinesOf(*document));
  EXPECT_EQ(LayoutDifference(*replayed), "");
  while (CanUndo(*document->undo)) {
    Undo(*document->undo);
    ASSERT_EQ(LayoutDifference(*document), "");
  }
  EXPECT_EQ(LinesOf(*document), first);
}
