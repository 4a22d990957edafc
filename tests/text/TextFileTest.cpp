// Loading and saving whole documents: every byte the code page can hold comes back.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "TextTestUtil.h"
#include "platform/Platform.h"
#include "text/Edit.h"
#include "text/TextFile.h"
#include "text/UndoHistory.h"

namespace {

std::string AllBytesButLineEnds() {
  std::string bytes;
  for (int b = 0; b < 256; ++b)
    if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
  return bytes;
}

}  // namespace

TEST(TextFile, LoadingThenSavingKeepsEveryByteAndWritesCrLfBetweenLines) {
  std::string many;  // enough lines to fill several blocks of the line pool and the arena
  for (int i = 0; i < 40000; ++i) many += "line " + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
  std::string manySaved = many;
  for (std::size_t at = 0; (at = manySaved.find('\n', at)) != std::string::npos; at += 2)
    if (manySaved[at - 1] != '\r') manySaved.insert(at, 1, '\r');
  struct {
    const char* name;
    std::string bytes;
    std::size_t lines;
    std::string saved;
  } const cases[] = {
      {"empty file", "", 1, ""},
      {"mixed line ends, the last one kept", "a\r\nb\n\nc\r\n", 5, "a\r\nb\r\n\r\nc\r\n"},
      {"lone CR is dropped", "a\rb\r\nc", 2, "ab\r\nc"},
      {"NUL bytes", std::string("x\0y\n\0", 5), 2, std::string("x\0y\r\n\0", 6)},
      {"every code page byte", AllBytesButLineEnds(), 1, AllBytesButLineEnds()},
      {"many lines", many, 40001, manySaved},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    folder.Write(L"in.txt", c.bytes);
    Document document;
    ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt"))) << c.name;
    EXPECT_EQ(document.LineCount(), static_cast<int>(c.lines)) << c.name;
    EXPECT_EQ(document.rowTotals.size(), c.lines) << c.name;
    ASSERT_TRUE(SaveText(document, folder.Path(L"out.txt"))) << c.name;
    EXPECT_EQ(folder.Read(L"out.txt"), c.saved) << c.name;
  }
}

TEST(TextFile, LoadedLinesAreLaidOutForTheDocument) {
  TempFolder folder;
  folder.Write(L"in.txt", std::string(25, 'a') + "\r\n\tb\r\nccc");
  Document document;
  document.settings = Settings(false, 4, 2);
  document.wrapWidth = Document::noWrapWidth;
  ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt")));
  EXPECT_EQ(document.rowTotals, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(document.widestLine, 25);
  EXPECT_EQ(document.lines[1].IndentWidth(), 4);

  document.settings.wordwrap = true;
  document.wrapWidth = 10;
  ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt")));
  EXPECT_EQ(document.rowTotals, (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(EndsOf(document.lines[0]), (std::vector<int>{10, 18, 25}));
  EXPECT_EQ(document.widestLine, 10);
}

TEST(TextFile, CharactersOutsideTheCodePageAreSavedAsItsDefaultCharacter) {
  TempFolder folder;
  Document document;
  TextPos start = PosAt(document, 0, 0);
  ReplaceText(document, start, start, L"\u20AC\u4E2D\u00FF\r\n\u0100", editOther);
  ASSERT_TRUE(SaveText(document, folder.Path(L"out.txt")));
  EXPECT_EQ(folder.Read(L"out.txt"), "\x80?\xFF\r\n" + platform::WideToAnsi(L"\u0100", 1));
}

TEST(TextFile, AMissingFileLeavesTheDocumentUnchanged) {
  TempFolder folder;
  auto document = MakeDocument({L"keep", L"me"}, Settings(false, 4, 2), 10);
  EXPECT_FALSE(LoadText(*document, folder.Path(L"missing.txt")));
  EXPECT_EQ(LinesOf(*document), (std::vector<std::wstring>{L"keep", L"me"}));
  EXPECT_FALSE(SaveText(*document, folder.Path(L"no\\folder\\x.txt")));
}

TEST(TextFile, AFailedWriteLeavesTheFileAndTheModifiedFlag) {
  TempFolder folder;
  folder.Write(L"doc.txt", "old file");
  for (long long budget : {0LL, 100LL, 200000LL}) {
    std::vector<std::wstring> lines(2000, std::wstring(150, L'n'));
    auto document = MakeDocument(lines, Settings(false, 4, 2), 10);
    document->modified = true;
    platform::testing::FailWritesAfter(budget);
    bool saved = SaveText(*document, folder.Path(L"doc.txt"));
    platform::testing::FailWritesAfter(-1);
    EXPECT_FALSE(saved) << budget;
    EXPECT_TRUE(document->modified) << budget;
    EXPECT_EQ(folder.Read(L"doc.txt"), "old file") << budget;
    EXPECT_EQ(platform::ListFolder(folder.Path(L"*")).size(), 1u) << budget;
  }
}

TEST(TextFile, LoadingKeepsTheFlagsAndSavingMarksTheHistoryModified) {
  TempFolder folder;
  folder.Write(L"in.txt", "abc");
  Document document;
  TextPos start = PosAt(document, 0, 0);
  ReplaceText(document, start, start, L"x", editOther);
  ASSERT_TRUE(document.undo->undoList.size() == 1 && !document.undo->undoList[0].wasModified);
  ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt")));
  EXPECT_TRUE(document.modified);
  EXPECT_EQ(document.undo->undoList.size(), 1u);
  ASSERT_TRUE(SaveText(document, folder.Path(L"in.txt")));
  EXPECT_FALSE(document.modified);
  EXPECT_TRUE(document.undo->undoList[0].wasModified);
}
