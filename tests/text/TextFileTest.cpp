// Loading and saving whole documents: every file that is only read and saved comes back byte for
// byte, in its own encoding and line end.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <random>
#include <thread>

#include "TempFolder.h"
#include "TextTestUtil.h"
#include "platform/Platform.h"
#include "syntax/SyntaxDef.h"
#include "text/Edit.h"
#include "text/FileStamp.h"
#include "text/TextFile.h"
#include "text/UndoHistory.h"

namespace {

std::string AllBytesButLineEnds() {
  std::string bytes;
  for (int b = 0; b < 256; ++b)
    if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
  return bytes;
}

constexpr TextFormat codePageCrLf{Encoding::codePage, false, false};
constexpr TextFormat codePageLf{Encoding::codePage, false, true};

}  // namespace

TEST(TextFile, ReadAndSavedFilesComeBackByteForByte) {
  std::string many;  // enough lines to fill several blocks of the line pool and the arena
  for (int i = 0; i < 40000; ++i) many += "line " + std::to_string(i) + "\r\n";
  struct {
    const char* name;
    std::string bytes;
    TextFormat format;
    std::vector<std::wstring> lines;  // checked when not empty
  } const cases[] = {
      {"empty file", "", codePageCrLf, {L""}},
      {"CR LF, the last line end kept", "a\r\nb\r\n", codePageCrLf, {L"a", L"b", L""}},
      {"LF only", "a\nb\n\nc", codePageLf, {L"a", L"b", L"", L"c"}},
      {"lone CR kept in its line", "a\rb\r\nc\r", codePageCrLf, {L"a\rb", L"c\r"}},
      {"NUL bytes", std::string("x\0y\n\0", 5), codePageLf, {}},
      {"every code page byte", AllBytesButLineEnds(), codePageCrLf, {}},
      {"many lines", many, codePageCrLf, {}},
      {"UTF-8 without BOM", "caf\xC3\xA9\n\xE2\x82\xAC\xE0\xA0\x80", {Encoding::utf8, false, true},
       {L"caf\u00E9", L"\u20AC\u0800"}},
      {"UTF-8 with BOM, ASCII only", "\xEF\xBB\xBF" "abc", {Encoding::utf8, true, false}, {L"abc"}},
      {"4-byte UTF-8 as a surrogate pair", "<\xF0\x9F\x98\x80>", {Encoding::utf8, false, false},
       {L"<\xD83D\xDE00>"}},
      {"U+10FFFF, the last pair", "\xF4\x8F\xBF\xBF", {Encoding::utf8, false, false}, {L"\xDBFF\xDFFF"}},
      {"invalid UTF-8 in Windows-1252", "caf\xE9 \xC3\xA9\r\n", codePageCrLf, {}},
      {"overlong UTF-8 form", "\xC0\xAF", codePageCrLf, {}},
      {"overlong 4-byte UTF-8 form", "\xF0\x8F\xBF\xBF", codePageCrLf, {}},
      {"UTF-8 form past U+10FFFF", "\xF4\x90\x80\x80", codePageCrLf, {}},
      {"lead byte past U+10FFFF", "\xF5\x80\x80\x80", codePageCrLf, {}},
      {"UTF-8 surrogate form", "\xED\xA0\x80", codePageCrLf, {}},
      {"cut UTF-8 sequence", "\xE2\x82", codePageCrLf, {}},
      {"UTF-8 form with a bad third byte", "\xE2\x82\xC0", codePageCrLf, {}},
      {"BOM before invalid UTF-8", "\xEF\xBB\xBF\xFF", codePageCrLf, {}},
      {"UTF-16 LE, a unit holding the LF byte", std::string("\xFF\xFE" "a\0\r\0\n\0\x0A\x01", 10),
       {Encoding::utf16le, true, false}, {L"a", L"\u010A"}},
      {"UTF-16 BE, LF only", std::string("\xFE\xFF\0a\0\n\xD8\x3D\xDE\x00", 10),
       {Encoding::utf16be, true, true}, {L"a", L"\xD83D\xDE00"}},
      {"UTF-16 LE, a line end first", std::string("\xFF\xFE\n\0a\0", 6),
       {Encoding::utf16le, true, true}, {L"", L"a"}},
      {"UTF-16 BOM with an odd byte count", std::string("\xFF\xFE" "a", 3), codePageCrLf, {}},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    folder.Write(L"in.txt", c.bytes);
    Document document;
    ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt"))) << c.name;
    EXPECT_EQ(document.format, c.format) << c.name;
    if (!c.lines.empty()) { EXPECT_EQ(LinesOf(document), c.lines) << c.name; }
    EXPECT_EQ(document.rowTotals.LineCount(), document.LineCount()) << c.name;
    ASSERT_TRUE(SaveText(document, folder.Path(L"out.txt"))) << c.name;
    EXPECT_EQ(folder.Read(L"out.txt"), c.bytes) << c.name;
  }
}

// Each line keeps its own line end; a line made by an edit takes the form of the first.
TEST(TextFile, EveryLineKeepsItsOwnLineEndAndNewLinesTakeTheFirstOnes) {
  struct {
    std::string bytes;
    At at;  // where a line break is typed
    std::string saved;
  } const cases[] = {
      {"a\r\nb\nc", {1, 1}, "a\r\nb\r\n\nc"},
      {"a\nb\r\nc\r\r\n", {2, 0}, "a\nb\r\n\nc\r\r\n"},
      {"a\nb\r\n", {0, 0}, "\na\nb\r\n"},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    folder.Write(L"in.txt", c.bytes);
    Document document;
    ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt")));
    ASSERT_TRUE(SaveText(document, folder.Path(L"out.txt")));
    EXPECT_EQ(folder.Read(L"out.txt"), c.bytes) << c.bytes;
    TextPos at = PosAt(document, c.at.line, c.at.index);
    ReplaceText(document, at, at, L"\r\n", editOther);
    ASSERT_TRUE(SaveText(document, folder.Path(L"out.txt")));
    EXPECT_EQ(folder.Read(L"out.txt"), c.saved) << c.bytes;
    // Undone and redone, the line ends are the file's again.
    Undo(*document.undo);
    ASSERT_TRUE(SaveText(document, folder.Path(L"out.txt")));
    EXPECT_EQ(folder.Read(L"out.txt"), c.bytes) << c.bytes;
  }
  // Joined and split again by undo, a line keeps its line end; one form for all when chosen.
  TempFolder folder;
  folder.Write(L"in.txt", "a\nb\r\nc\nd");
  Document document;
  ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt")));
  ReplaceText(document, PosAt(document, 0, 1), PosAt(document, 3, 0), L"", editOther);
  EXPECT_EQ(LinesOf(document), Lines{L"ad"});
  Undo(*document.undo);
  Redo(*document.undo);
  Undo(*document.undo);
  EXPECT_FALSE(LineEndsAlike(document));
  ASSERT_TRUE(SaveText(document, folder.Path(L"out.txt")));
  EXPECT_EQ(folder.Read(L"out.txt"), "a\nb\r\nc\nd");
  SetLineEnds(document, false);
  EXPECT_TRUE(LineEndsAlike(document));
  ASSERT_TRUE(SaveText(document, folder.Path(L"out.txt")));
  EXPECT_EQ(folder.Read(L"out.txt"), "a\r\nb\r\nc\r\nd");
}

TEST(TextFile, WhatIsTypedIsSavedInTheFilesEncoding) {
  struct {
    const char* name;
    std::string bytes, saved;
  } const cases[] = {
      {"UTF-8", "\xC3\xA9\xE2\x82\xAC\n", "\xC3\xA9\xE2\x82\xAC\xEF\xBF\xBD\xC3\xA9\xE2\x82\xAC\n"},
      {"UTF-8 with BOM", "\xEF\xBB\xBFx", "\xEF\xBB\xBF\xC3\xA9\xE2\x82\xAC\xEF\xBF\xBDx"},
      {"UTF-16 LE", std::string("\xFF\xFEx\0", 4), std::string("\xFF\xFE\xE9\0\xAC\x20\xFF\xDFx\0", 10)},
      {"code page", "x", "\xE9\x80?x"},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    folder.Write(L"in.txt", c.bytes);
    Document document;
    ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt"))) << c.name;
    TextPos start = PosAt(document, 0, 0);
    ReplaceText(document, start, start, L"\u00E9\u20AC\xDFFF", editTyping);  // and a lone surrogate
    ASSERT_TRUE(SaveText(document, folder.Path(L"in.txt"))) << c.name;
    EXPECT_EQ(folder.Read(L"in.txt"), c.saved) << c.name;
  }
  // A high surrogate ending a line is alone: it does not pair with the next line's low one.
  TempFolder folder;
  auto document = MakeDocument({L"\xD83D", L"\xDE00"}, Settings(false, 8, 0), 80);
  document->format.encoding = Encoding::utf8;
  SetLineEnds(*document, true);
  ASSERT_TRUE(SaveText(*document, folder.Path(L"out.txt")));
  EXPECT_EQ(folder.Read(L"out.txt"), "\xEF\xBF\xBD\n\xEF\xBF\xBD");
}

// Lines kept in the code page's bytes are converted when the file is saved in another encoding.
TEST(TextFile, ACodePageFileSavedInAnotherEncodingIsConverted) {
  TempFolder folder;
  folder.Write(L"in.txt", "\xE9t\xE9\r\nab\r\n");
  Document document;
  ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt")));
  document.format.encoding = Encoding::utf8;
  ASSERT_TRUE(SaveText(document, folder.Path(L"in.txt")));
  EXPECT_EQ(folder.Read(L"in.txt"), "\xC3\xA9t\xC3\xA9\r\nab\r\n");
  document.format = {Encoding::utf16le, true, true};  // ASCII lines are widened too
  SetLineEnds(document, true);
  ASSERT_TRUE(SaveText(document, folder.Path(L"in.txt")));
  EXPECT_EQ(folder.Read(L"in.txt"), std::string("\xFF\xFE\xE9\0t\0\xE9\0\n\0a\0b\0\n\0", 16));
}

TEST(TextFile, UndoGivesBackLinesWithLoneCarriageReturns) {
  TempFolder folder;
  const std::string bytes = "a\rb\r\nc\r\r\nd";
  folder.Write(L"in.txt", bytes);
  Document document;
  ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt")));
  TextPos start = PosAt(document, 0, 0), end = PosAt(document, 2, 1);
  ReplaceText(document, start, end, L"", editOther);
  Undo(*document.undo);
  EXPECT_EQ(LinesOf(document), (std::vector<std::wstring>{L"a\rb", L"c\r", L"d"}));
  Redo(*document.undo);
  Undo(*document.undo);
  ASSERT_TRUE(SaveText(document, folder.Path(L"out.txt")));
  EXPECT_EQ(folder.Read(L"out.txt"), bytes);
}

TEST(TextFile, LinesStayInTheFilesBytesUntilTheirCharactersAreNeeded) {
  TempFolder folder;
  folder.Write(L"in.txt", "caf\xE9\tis \x80" "1\nplain\n");
  Document document;
  document.settings = Settings(true, 4, 2);
  document.wrapWidth = 6;
  ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt")));
  const Line& line = document.lines[0];
  EXPECT_TRUE(line.IsNarrow() && document.lines[1].IsNarrow());
  folder.Write(L"utf8.txt", "caf\xC3\xA9\nplain\n");  // an ASCII line of a UTF-8 file too
  Document utf8;
  ASSERT_TRUE(LoadText(utf8, folder.Path(L"utf8.txt")));
  EXPECT_TRUE(utf8.lines[1].IsNarrow());
  auto wide = MakeDocument({L"caf\u00E9\tis \u20AC1"}, Settings(true, 4, 2), 6);
  const std::vector<int> ends = EndsOf(wide->lines[0]);
  ASSERT_GT(ends.size(), 1u);
  EXPECT_EQ(line.Peek(), L"caf\u00E9\tis \u20AC1");
  EXPECT_EQ(line.CharAt(line.Length()), L'\0');
  EXPECT_EQ(line.CharAt(3), L'\u00E9');
  EXPECT_EQ(EndsOf(line), ends);
  EXPECT_TRUE(line.IsNarrow());  // layout and Peek leave it in the bytes
  EXPECT_EQ(line.Text(), L"caf\u00E9\tis \u20AC1");
  EXPECT_FALSE(line.IsNarrow());
  EXPECT_EQ(EndsOf(line), ends);
}

TEST(TextFile, LoadedLinesAreLaidOutForTheDocument) {
  TempFolder folder;
  folder.Write(L"in.txt", std::string(25, 'a') + "\r\n\tb\r\nccc");
  Document document;
  document.settings = Settings(false, 4, 2);
  document.wrapWidth = Document::noWrapWidth;
  ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt")));
  EXPECT_EQ(RowTotalsOf(document), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(document.widestLine, 25);
  EXPECT_EQ(IndentWidth(document, document.lines[1]), 4);
  // Wide characters take two cells each, a combining mark none.
  folder.Write(L"wide.txt", "\xEF\xBB\xBF" "ab\r\n\xE4\xB8\xAD\xE6\x96\x87" "e\xCC\x81");
  ASSERT_TRUE(LoadText(document, folder.Path(L"wide.txt")));
  EXPECT_EQ(document.widestLine, 5);

  document.settings.wordwrap = true;
  document.wrapWidth = 10;
  ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt")));
  EXPECT_EQ(RowTotalsOf(document), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(EndsOf(document.lines[0]), (std::vector<int>{10, 18, 25}));
  EXPECT_EQ(document.widestLine, 10);

  // Highlighted, the lines carry the states a full layout gives them; empty, nothing is wide.
  SyntaxDef c;
  c.commentBegin = L"/*";
  c.commentEnd = L"*/";
  document.highlighter = &c;
  document.settings.wordwrap = false;
  folder.Write(L"c.txt", "x /*\r\ny\r\n*/ z");
  ASSERT_TRUE(LoadText(document, folder.Path(L"c.txt")));
  auto laidOut = MakeDocument({L"x /*", L"y", L"*/ z"}, document.settings, 10, &c);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(document.lines[i].State(), laidOut->lines[i].State());
  folder.Write(L"empty.txt", "");
  ASSERT_TRUE(LoadText(document, folder.Path(L"empty.txt")));
  EXPECT_EQ(document.widestLine, 0);
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

namespace {

// Open file descriptors of this process, where the system tells; -1 elsewhere.
int OpenFileCount() {
  std::error_code error;
  int count = 0;
  for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error))
    ++count;
  return error || count == 0 ? -1 : count;
}

// True once the process holds at most count descriptors. Under Wine the descriptors of the
// process include those its own threads open and close for a moment, so the count is asked for
// again a while before a leak is called one.
bool OpenFilesComeBackTo(int count) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (OpenFileCount() <= count) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

}  // namespace

// A file read in part is never taken for the whole, and a failed read leaves no file open.
TEST(TextFile, AReadErrorOrNoMemoryFailsTheLoadAndLeavesNothingOpen) {
  TempFolder folder;
  std::string bytes;
  for (int i = 0; i < 30000; ++i) bytes += "line " + std::to_string(i) + "\r\n";
  folder.Write(L"in.txt", bytes);
  const std::wstring path = folder.Path(L"in.txt");
  const int filesBefore = OpenFileCount();
  for (long long budget : {0LL, 1LL, 4096LL, 100000LL}) {
    auto document = MakeDocument({L"keep"}, Settings(false, 4, 2), 10);
    platform::testing::FailReadsAfter(budget);
    LoadFailure why = LoadFailure::none;
    const bool loaded = LoadText(*document, path, &why);
    platform::testing::FailReadsAfter(-1);
    EXPECT_FALSE(loaded) << budget;
    EXPECT_EQ(why, LoadFailure::cannotRead) << budget;
    EXPECT_EQ(LinesOf(*document), Lines{L"keep"}) << budget;
  }
  for (long long blocks : {0LL, 1LL}) {
    Document document;
    platform::testing::FailLargeBlocksAfter(blocks);
    EXPECT_THROW(LoadText(document, path), std::bad_alloc) << blocks;
    platform::testing::FailLargeBlocksAfter(-1);
  }
  EXPECT_TRUE(OpenFilesComeBackTo(filesBefore)) << OpenFileCount() << " open, " << filesBefore << " before";
  // Where open files are locked, a file left open could not be written.
  platform::File writer(platform::CreateForWriting(path));
  EXPECT_TRUE(writer.IsOpen());
}

TEST(TextFile, ProgressRisesToTheWholeAndStoppingLeavesDocumentAndFileAsTheyWere) {
  TempFolder folder;
  std::string bytes;  // enough lines for several words of progress while they are split
  for (int i = 0; i < 200000; ++i) bytes += "line " + std::to_string(i) + "\r\n";
  folder.Write(L"in.txt", bytes);
  const std::wstring path = folder.Path(L"in.txt");
  // Stopped at the first word (the read) and at a later one (the split), or never.
  for (int stopAt : {1, 3, 0}) {
    auto document = MakeDocument({L"keep"}, Settings(false, 4, 2), 10);
    int calls = 0;
    std::uint64_t last = 0, whole = 0;
    bool rising = true;
    const FileProgress progress = [&](std::uint64_t done, std::uint64_t total) {
      rising = rising && done >= last && done <= total;
      last = done;
      whole = total;
      return ++calls != stopAt;
    };
    LoadFailure why = LoadFailure::none;
    const bool loaded = LoadText(*document, path, &why, progress);
    EXPECT_TRUE(rising) << stopAt;
    if (stopAt > 0) {
      EXPECT_FALSE(loaded) << stopAt;
      EXPECT_EQ(why, LoadFailure::cancelled) << stopAt;
      EXPECT_EQ(calls, stopAt);
      EXPECT_EQ(LinesOf(*document), Lines{L"keep"}) << stopAt;
      continue;
    }
    ASSERT_TRUE(loaded);
    EXPECT_GT(calls, 3);
    EXPECT_EQ(whole, 2 * bytes.size());
    // A save stopped halfway writes nothing; one let run writes every byte.
    ReplaceText(*document, TextPos(*document), TextPos(*document), L"x", editTyping);
    for (bool stop : {true, false}) {
      int saveCalls = 0;
      const bool saved = SaveText(*document, path, [&](std::uint64_t, std::uint64_t) {
        return !(stop && ++saveCalls == 2);
      });
      EXPECT_EQ(saved, !stop);
      EXPECT_EQ(document->modified, stop);
      EXPECT_EQ(folder.Read(L"in.txt"), stop ? bytes : "x" + bytes);
      const std::filesystem::directory_iterator files(folder.Native(L"."));
      EXPECT_EQ(std::distance(files, std::filesystem::directory_iterator()), 1);  // no file left over
    }
  }
}

TEST(TextFile, ALineLongerThanALineHoldsIsRefusedNeverCut) {
  textfile::testing::SetLongestLine(8);
  struct {
    std::string bytes;
    bool loads;
  } const cases[] = {
      {"12345678\r\n12345678", true},
      {"12345678\r\n123456789", false},
      {"123456789\r\n", false},
      {std::string("\xFF\xFE") + std::string(18, 'a'), false},  // nine UTF-16 units
      {std::string("\xFF\xFE") + std::string(16, 'a'), true},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    folder.Write(L"in.txt", c.bytes);
    auto document = MakeDocument({L"keep"}, Settings(false, 4, 2), 10);
    LoadFailure why = LoadFailure::none;
    EXPECT_EQ(LoadText(*document, folder.Path(L"in.txt"), &why), c.loads) << c.bytes;
    EXPECT_EQ(why, c.loads ? LoadFailure::none : LoadFailure::lineTooLong) << c.bytes;
    if (!c.loads) { EXPECT_EQ(LinesOf(*document), Lines{L"keep"}) << c.bytes; }
  }
  textfile::testing::SetLongestLine(0);
}

TEST(TextFile, TheDocumentIsStampedWithTheBytesReadAndWritten) {
  TempFolder folder;
  folder.Write(L"in.txt", "one\r\ntwo");
  Document document;
  ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt")));
  EXPECT_EQ(std::optional(document.stamp), ReadFileStamp(folder.Path(L"in.txt")));
  EXPECT_EQ(document.stamp.hash, HashBytes("one\r\ntwo"));
  TextPos start = PosAt(document, 0, 0);
  ReplaceText(document, start, start, L"x", editTyping);
  ASSERT_TRUE(SaveText(document, folder.Path(L"out.txt")));
  EXPECT_EQ(std::optional(document.stamp), ReadFileStamp(folder.Path(L"out.txt")));
  EXPECT_EQ(document.stamp.hash, HashBytes("xone\r\ntwo"));
  // However the bytes come in pieces, the hash is the same.
  const std::string bytes = folder.Read(L"in.txt") + std::string(100, 'z');
  for (std::size_t cut : {0u, 1u, 7u, 31u, 32u, 33u, 64u}) {
    BytesHash pieces;
    pieces.Add(std::string_view(bytes).substr(0, cut));
    pieces.Add(std::string_view(bytes).substr(cut));
    EXPECT_EQ(pieces.Value(), HashBytes(bytes)) << cut;
  }
  EXPECT_NE(HashBytes("ab"), HashBytes("ba"));
}

// A save that had to replace characters leaves the document modified: the file holds other text.
TEST(TextFile, ASaveThatReplacesCharactersLeavesTheDocumentModified) {
  struct {
    TextFormat format;
    const wchar_t* typed;
    bool holds;
  } const cases[] = {
      {{Encoding::codePage, false, false}, L"\u00E9\u20AC", true},
      {{Encoding::codePage, false, false}, L"\u4E2D", false},
      {{Encoding::codePage, false, false}, L"\xD83D\xDE00", false},
      {{Encoding::utf8, false, false}, L"\u4E2D\xD83D\xDE00", true},
      {{Encoding::utf8, false, false}, L"\xDE00", false},  // a lone surrogate
      {{Encoding::utf16le, true, false}, L"\xDE00", true},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    folder.Write(L"in.txt", "plain");
    Document document;
    ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt")));
    EXPECT_TRUE(EncodingHoldsText(document));
    document.format = c.format;
    TextPos start = PosAt(document, 0, 0);
    ReplaceText(document, start, start, c.typed, editOther);
    EXPECT_EQ(EncodingHoldsText(document), c.holds) << static_cast<int>(c.format.encoding);
    ASSERT_TRUE(SaveText(document, folder.Path(L"in.txt")));
    EXPECT_EQ(document.modified, !c.holds) << static_cast<int>(c.format.encoding);
  }
}

namespace {

// Random file contents rich in what is hard to read back: line ends of every form, bytes above
// 0x7F (lead and trail bytes of multi-byte code pages, UTF-8 sequences whole and cut), NUL and
// byte-order marks.
std::string RandomFileBytes(std::mt19937& random) {
  static const char* const pieces[] = {"a", "Z", " ", "\t", "\r", "\n", "\r\n", "\x81", "\x82\xA0",
                                       "\xE9", "\xC3\xA9", "\xE4\xB8\xAD", "\xE4\xB8", "\xF0\x9F\x98\x80",
                                       "\xFF", "\x80", "\xA4", std::string("\0", 1).c_str(), "\x8E"};
  static const char* const starts[] = {"", "", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  std::string bytes = starts[random() % std::size(starts)];
  for (int n = static_cast<int>(random() % 40); n > 0; --n) {
    const int piece = static_cast<int>(random() % std::size(pieces));
    bytes += piece == 17 ? std::string(1, '\0') : std::string(pieces[piece]);
  }
  return bytes;
}

}  // namespace

// Any file, in the code pages the platform can be given, comes back byte for byte when one
// character was typed into it and deleted again.
TEST(TextFile, AnyFileComesBackByteForByteAfterACharacterTypedAndDeleted) {
  struct SystemCodePageAfterwards {
    ~SystemCodePageAfterwards() { platform::testing::UseCodePage(0); }
  } restore;
  for (unsigned codePage : {0u, 1252u, 932u, 936u, 949u, 950u, 65001u}) {
    if (!platform::testing::UseCodePage(codePage)) continue;
    SCOPED_TRACE(codePage);
    std::mt19937 random(codePage);
    TempFolder folder;
    for (int round = 0; round < 300; ++round) {
      const std::string bytes = RandomFileBytes(random);
      folder.Write(L"in.txt", bytes);
      Document document;
      ASSERT_TRUE(LoadText(document, folder.Path(L"in.txt")));
      const int line = static_cast<int>(random() % static_cast<unsigned>(document.LineCount()));
      const int index = static_cast<int>(random() % static_cast<unsigned>(document.lines[line].Length() + 1));
      TextPos at = PosAt(document, line, index);
      ReplaceText(document, at, at, round % 2 ? L"x" : L"\u00E9", editTyping);
      TextPos after = PosAt(document, line, index + 1);
      ReplaceText(document, after, PosAt(document, line, index), L"", editDeleteBackward);
      ASSERT_TRUE(SaveText(document, folder.Path(L"out.txt")));
      ASSERT_EQ(folder.Read(L"out.txt"), bytes) << "round " << round;
    }
  }
}

// The temporary file beside a path of 257 characters and more has a longer name still.
TEST(TextFile, APathNearTheLengthLimitIsSavedAndReadBack) {
  TempFolder folder;
  const std::size_t base = folder.Path(L"").size();
  for (std::size_t length : {257u, 258u, 259u, 262u}) {
    if (length <= base + 5 || length - base > 250) continue;
    const std::wstring name = std::wstring(length - base - 4, L'n') + L".txt";
    const std::wstring path = folder.Path(name);
    ASSERT_EQ(path.size(), length);
    auto document = MakeDocument({L"long", L"path"}, Settings(false, 4, 2), 80);
    document->modified = true;
    ASSERT_TRUE(SaveText(*document, path)) << length;
    Document read;
    ASSERT_TRUE(LoadText(read, path)) << length;
    EXPECT_EQ(LinesOf(read), (Lines{L"long", L"path"}));
    EXPECT_TRUE(platform::RemoveFile(path));
  }
}
