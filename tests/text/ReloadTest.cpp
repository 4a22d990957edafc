// Reloading a document's file as one undo step: the file's bytes saved back as read, Undo and Redo
// between the text before and the file's, the layout as if made afresh, and the marks kept.
#include <gtest/gtest.h>

#include "EditModel.h"
#include "TempFolder.h"
#include "text/Reload.h"
#include "text/TextFile.h"

TEST(Reload, UndoAndRedoGoBetweenTheTextsAndSavesGiveBackEachOnesBytes) {
  struct {
    const char* name;
    std::string before;
    std::string after;
  } const cases[] = {
      {"a line changed in the middle", "a\r\nbbbbb\r\nc", "a\r\nBbb\r\nc"},
      {"lines added at the end", "a\r\nb", "a\r\nb\r\nc\r\nd"},
      {"lines removed at the end", "a\r\nb\r\nc", "a"},
      {"a line between alike ones", "a\r\na", "a\r\nx\r\na"},
      {"repeated lines removed", "a\r\na\r\na", "a"},
      {"everything changed", "a\r\nb", "xxxxx\r\ny\r\nz"},
      {"a line end added", "a", "a\r\n"},
      {"only a line end's form changed", "a\nb\r\nc", "a\r\nb\r\nc"},
      {"code page bytes", "caf\xE9\r\nx", "caf\xE9\r\ny\xFF\r\n"},
  };
  // Without word wrap, and wrapped so narrow that lines take several rows.
  for (const bool wrap : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (wrap ? ", wrapped" : ""));
      TempFolder folder;
      const auto saved = [&](Document& document) {
        EXPECT_TRUE(SaveText(document, folder.Path(L"out.txt")));
        return folder.Read(L"out.txt");
      };
      folder.Write(L"f.txt", c.before);
      auto document = MakeDocument({}, Settings(wrap, 4, 0), wrap ? 2 : 80);
      ASSERT_TRUE(LoadText(*document, folder.Path(L"f.txt")));
      AttachWordIndex(*document);
      folder.Write(L"f.txt", c.after);
      ASSERT_TRUE(ReloadText(*document, folder.Path(L"f.txt")));
      EXPECT_FALSE(document->modified);
      EXPECT_EQ(LayoutDifference(*document), "");
      EXPECT_TRUE(!document->words || WordIndexDifference(*document).empty());
      EXPECT_EQ(UndoSteps(*document->undo), 1);
      EXPECT_EQ(saved(*document), c.after);
      Undo(*document->undo);
      EXPECT_TRUE(document->modified);
      EXPECT_EQ(LayoutDifference(*document), "");
      EXPECT_EQ(saved(*document), c.before);
      Redo(*document->undo);
      EXPECT_EQ(saved(*document), c.after);
    }
  }
}

TEST(Reload, AFileAlikeAddsNoStepAndTheLinesAlikeKeepTheirMarks) {
  TempFolder folder;
  folder.Write(L"f.txt", "a\r\nb\r\nc\r\nd");
  Document document;
  ASSERT_TRUE(LoadText(document, folder.Path(L"f.txt")));
  document.modified = true;
  EXPECT_FALSE(ReloadText(document, folder.Path(L"gone.txt")));
  EXPECT_TRUE(document.modified);
  ASSERT_TRUE(ReloadText(document, folder.Path(L"f.txt")));
  EXPECT_FALSE(document.modified);
  EXPECT_TRUE(document.undo->undoList.empty());

  for (int line : {0, 2, 3}) document.lines[line].SetState(lineState::WithMark(0, true));
  folder.Write(L"f.txt", "a\r\nx\r\ny\r\nd");
  ASSERT_TRUE(ReloadText(document, folder.Path(L"f.txt")));
  std::vector<bool> marks;
  for (int line = 0; line < document.LineCount(); ++line) marks.push_back(document.lines[line].Marked());
  EXPECT_EQ(marks, (std::vector<bool>{true, false, false, true}));
}
