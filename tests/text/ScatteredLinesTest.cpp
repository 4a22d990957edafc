// A loaded document whose lines are added, removed and brought back by undo in many places, so
// that the order of its lines breaks into many runs of slots, against a plain model of the text;
// undone whole, it must save the very bytes it was loaded from.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "TempFolder.h"
#include "text/Edit.h"
#include "text/EditModel.h"
#include "text/TextFile.h"
#include "text/UndoHistory.h"

namespace {

// A file of count lines: plain ASCII lines (kept in the file's bytes), lines with a UTF-8
// character (converted), now and then one longer than the packed length holds, mixed line
// ends, and no line end after the last.
std::string ScatteredFile(std::mt19937& random, int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) {
    const unsigned kind = random() % 40;
    std::string line;
    if (kind == 0) {
      line.assign(4095 + random() % 3, 'L');
    } else {
      for (int words = static_cast<int>(random() % 9); words > 0; --words)
        line += std::string(1 + random() % 7, static_cast<char>('a' + random() % 26)) + " ";
      if (kind < 6) line += "\xC3\xA9";
    }
    bytes += line;
    if (i + 1 < count) bytes += random() % 2 ? "\n" : "\r\n";
  }
  return bytes;
}

std::wstring TypedLines(std::mt19937& random, int count) {
  std::wstring text;
  for (int n = 0; n < count; ++n) {
    text += std::wstring(random() % 30, static_cast<wchar_t>(L'A' + random() % 26));
    text += random() % 2 ? L"\n" : L"\r\n";
  }
  return text;
}

}  // namespace

TEST(ScatteredLines, EditsAndUndosInManyPlacesKeepTextLayoutAndBytes) {
  for (bool wrap : {true, false}) {
    SCOPED_TRACE(wrap ? "wrap 16" : "wrap off");
    std::mt19937 random(wrap ? 5 : 6);
    const TempFolder folder;
    const std::string file = ScatteredFile(random, 1500);
    folder.Write(L"in.txt", file);
    auto document = MakeDocument({L""}, Settings(wrap, 4, 2), wrap ? 16 : 80);
    ASSERT_TRUE(LoadText(*document, folder.Path(L"in.txt")));
    const Lines original = LinesOf(*document);
    HistoryModel history(original);
    Lines model = original;
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 300; ++step) {
      const int action = pick(10);
      if (action <= 2) {
        // Undo or redo a few steps at once: removed lines come back in the places they left.
        for (int n = 1 + pick(4); n > 0; --n) {
          ASSERT_EQ(history.Step(*document, action == 2), "") << "step " << step;
        }
        model = LinesOf(*document);
      } else {
        const int lines = static_cast<int>(model.size());
        TextPlace from{0, pick(lines)}, to = from;
        std::wstring text;
        if (action <= 5) {
          text = TypedLines(random, 1 + pick(action == 5 ? 200 : 8));  // lines put in
        } else if (action <= 7) {
          to.line = std::min(lines - 1, from.line + pick(action == 7 ? 150 : 5));  // lines taken out
        } else if (action == 8) {
          // Lines replaced one by one going down, as a replace-all does.
          for (int k = 0; k < 20 && from.line + k < lines; ++k) {
            const int line = from.line + k;
            const TextPlace end{static_cast<int>(model[static_cast<std::size_t>(line)].size()), line};
            ReplaceText(*document, PosAt(*document, line, 0), PosAt(*document, end.line, end.index),
                        L"replaced\r\nin two", editOther);
            ModelReplace(model, {0, line}, end, L"replaced\r\nin two");
            ++from.line;  // the line made below it is passed over
            ASSERT_EQ(history.AfterEdit(*document), "") << "step " << step;
          }
          ASSERT_EQ(LinesOf(*document), model) << "step " << step;
          continue;
        } else {
          from.index = pick(static_cast<int>(model[static_cast<std::size_t>(from.line)].size()) + 1);
          to = from;
          text = L"typed";
        }
        ReplaceText(*document, PosAt(*document, from.line, from.index), PosAt(*document, to.line, to.index), text,
                    editOther);
        ModelReplace(model, from, to, text);
        ASSERT_EQ(history.AfterEdit(*document), "") << "step " << step;
      }
      ASSERT_EQ(LinesOf(*document), model) << "step " << step;
      if (step % 25 == 0) {
        ASSERT_EQ(RowsDifference(*document), "") << "step " << step;
      }
    }
    ASSERT_EQ(LayoutDifference(*document), "");
    // Back to the text as loaded: every line and line end where it was.
    while (CanUndo(*document->undo)) Undo(*document->undo);
    ASSERT_EQ(LinesOf(*document), original);
    ASSERT_TRUE(SaveText(*document, folder.Path(L"out.txt")));
    EXPECT_TRUE(folder.Read(L"out.txt") == file);
    ASSERT_EQ(LayoutDifference(*document), "");
  }
}
