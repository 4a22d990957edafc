// Find in Files: which files the walk searches (patterns, subfolders, hidden, binary and linked
// entries), how their text is read, the hit lines it gives, and cancellation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "search/FileSearch.h"
#include "search/LineMatcher.h"
#include "search/Searcher.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// A tree with text files in several encodings, a hidden folder and file, a binary file and a
// UTF-16 file (whose NULs do not make it binary).
class FileSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* name : {L"sub", L"sub\\deeper", L".git", L"empty"})
      std::filesystem::create_directories(Native(name));
    Write(L"a.c", "int needle;\r\nnone\r\n  needle(2);\r\n");
    Write(L"B.h", "// Needle in upper case\n");
    Write(L"notes.txt", "needle\n");
    Write(L"sub\\helper.c", "x\nneedle = 1;\n");
    Write(L"sub\\deeper\\z.c", "needleneedle\n");
    Write(L"sub\\wide.c", std::string("\xFF\xFE" "n\0e\0e\0d\0l\0e\0", 14));
    Write(L"sub\\utf8.c", "caf\xC3\xA9 needle\n");
    Write(L".git\\config.c", "needle\n");
    Write(L".hidden.c", "needle\n");
    Write(L"tool.c", std::string("needle\0binary", 13));
  }
  std::filesystem::path Native(const std::wstring& name) const {
    std::wstring path = name;
    for (wchar_t& ch : path) {
      if (ch == L'\\') ch = L'/';
    }
    return folder.Native(path);
  }
  void Write(const std::wstring& name, const std::string& bytes) const {
    std::ofstream(Native(name), std::ios::binary) << bytes;
  }
  FileSearchResult Search(const wchar_t* patterns, bool subfolders = true,
                          const wchar_t* text = L"needle", bool ignoreCase = false) {
    Searcher searcher;
    searcher.SetFindText(text);
    searcher.SetOption(searchIgnoreCase, ignoreCase);
    std::wstring error;
    matcher = searcher.MakeFileMatcher(nullptr, error);
    EXPECT_TRUE(matcher) << Narrow(error);
    FileSearchRequest request{folder.Path(L""), SplitPatterns(patterns), subfolders, openTexts};
    return SearchFiles(request, *matcher, progress);
  }

  TempFolder folder;
  std::vector<OpenFileText> openTexts;
  std::unique_ptr<LineMatcher> matcher;
  FileSearchProgress progress;
};

TEST_F(FileSearchTest, ListsTheHitLinesOfTheVisibleTextFilesInNameOrder) {
  const FileSearchResult result = Search(L"*.c; *.h", true, L"needle", true);
  EXPECT_EQ(Narrow(HitLinesText(result)),
            "a.c(1): int needle;\r\n"
            "a.c(3):   needle(2);\r\n"
            "B.h(1): // Needle in upper case\r\n"
            "sub\\helper.c(2): needle = 1;\r\n"
            "sub\\utf8.c(1): caf\xE9 needle\r\n"
            "sub\\wide.c(1): needle\r\n"
            "sub\\deeper\\z.c(1): needleneedle\r\n");
  EXPECT_EQ(result.filesWithHits, 6);
  EXPECT_EQ(result.filesSearched, 6);  // the hidden, the binary and notes.txt are not
  EXPECT_EQ(result.unreadable, 0);
  EXPECT_FALSE(result.cancelled);
  EXPECT_EQ(progress.filesSearched.load(), 6);
  EXPECT_EQ(progress.hits.load(), 7);
}

TEST_F(FileSearchTest, PatternsSubfoldersAndOptionsChooseWhatIsSearched) {
  struct Case { const wchar_t* patterns; bool subfolders; bool ignoreCase; int lines, files; } cases[] = {
      {L"*.*", true, false, 7, 6},     // every visible text file, notes.txt too
      {L"", true, false, 7, 6},        // no pattern: every file
      {L"*", false, false, 3, 2},      // the folder alone: a.c and notes.txt
      {L"*.H", false, true, 1, 1},     // patterns ignore case
      {L"*.h", false, false, 0, 0},    // the search does not without Ignore Case
      {L"z.c;;helper.?", true, false, 2, 2},
      {L"[A-B]*", true, false, 2, 1},  // a.c; B.h has no hit with case
  };
  for (const Case& c : cases) {
    const FileSearchResult result = Search(c.patterns, c.subfolders, L"needle", c.ignoreCase);
    EXPECT_EQ(static_cast<int>(result.lines.size()), c.lines) << Narrow(c.patterns);
    EXPECT_EQ(result.filesWithHits, c.files) << Narrow(c.patterns);
  }
}

TEST_F(FileSearchTest, TheFindBarOptionsApplyAsInFindNext) {
  EXPECT_EQ(Search(L"*.c", true, L"needle\\(\\d\\)").lines.size(), 0u);  // no expression yet
  Searcher searcher;
  searcher.SetFindText(L"NEEDLE\\(\\d\\)|^needle$");
  searcher.SetOption(searchRegularExpression, true);
  searcher.SetOption(searchIgnoreCase, true);
  std::wstring error;
  std::unique_ptr<LineMatcher> expression = searcher.MakeFileMatcher(nullptr, error);
  ASSERT_TRUE(expression) << Narrow(error);
  FileSearchResult result =
      SearchFiles({folder.Path(L""), {L"*.*"}, true, {}}, *expression, progress);
  EXPECT_EQ(Narrow(HitLinesText(result)), "a.c(3):   needle(2);\r\nnotes.txt(1): needle\r\nsub\\wide.c(1): needle\r\n");

  searcher.SetOption(searchRegularExpression, false);
  searcher.SetOption(searchWholeWords, true);
  searcher.SetFindText(L"needle");
  expression = searcher.MakeFileMatcher(nullptr, error);
  result = SearchFiles({folder.Path(L"sub"), {L"*.c"}, true, {}}, *expression, progress);
  EXPECT_EQ(Narrow(HitLinesText(result)), "helper.c(2): needle = 1;\r\nutf8.c(1): caf\xE9 needle\r\nwide.c(1): needle\r\n");

  searcher.SetFindText(L"(unclosed");
  searcher.SetOption(searchRegularExpression, true);
  EXPECT_FALSE(searcher.MakeFileMatcher(nullptr, error));
  EXPECT_FALSE(error.empty());
}

TEST_F(FileSearchTest, LongLinesAreCutAndCarriageReturnsInsideALineBecomeBlanks) {
  // U+1F600 in UTF-8 across the place where the second line is cut: it goes whole.
  Write(L"long.txt", "needle" + std::string(5000, 'x') + "\nneedle\rmiddle\r\n" +
                         std::string(maxHitText - 1, 'n') + "\xF0\x9F\x98\x80" + "needle\n");
  const FileSearchResult result = Search(L"long.txt", false);
  ASSERT_EQ(result.lines.size(), 3u);
  EXPECT_EQ(result.lines[0].text.size(), maxHitText);
  EXPECT_EQ(result.lines[1].text, L"needle middle");
  EXPECT_EQ(result.lines[2].text, std::wstring(maxHitText - 1, L'n'));
}

// Sets the cancel request at its first hit, as Escape does while the search runs.
class CancellingMatcher final : public LineMatcher {
 public:
  explicit CancellingMatcher(FileSearchProgress& progress) : progress_(progress) {}
  LineHit MatchForwardInLine(std::wstring_view line, int) const override {
    if (line.find(L"needle") == std::wstring_view::npos) return {};
    progress_.cancel = true;
    return {0, 1};
  }
  LineHit MatchBackwardInLine(std::wstring_view, int) const override { return {}; }

 private:
  FileSearchProgress& progress_;
};

TEST_F(FileSearchTest, ACancelledSearchStopsSoonWithWhatItFound) {
  for (int i = 0; i < 50; ++i) Write(L"many" + std::to_wstring(100 + i) + L".txt", "needle\n");
  // A big file stops between its lines, not only between files.
  std::filesystem::create_directory(Native(L"big"));
  std::string big;
  for (int i = 0; i < 100000; ++i) big += "needle\n";
  Write(L"big\\0.txt", big);

  CancellingMatcher stopper(progress);
  FileSearchResult result = SearchFiles({folder.Path(L""), {L"*.txt"}, true, {}}, stopper, progress);
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(result.filesSearched, 1);
  EXPECT_EQ(result.lines.size(), 1u);

  progress.cancel = false;
  result = SearchFiles({folder.Path(L"big"), {L"*.txt"}, true, {}}, stopper, progress);
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(result.lines.size(), 1u);
}

TEST_F(FileSearchTest, OnlyANulInTheFirst8KBMakesAFileBinaryAndLongFilesAreReadWhole) {
  // Each file ends in a hit, so that it is found only when read to its end.
  struct Case { std::size_t nulAt, size; bool searched; } cases[] = {
      {8191, 9000, false}, {8192, 9000, true}, {0, 8192 + 7, false}, {std::string::npos, 8192 + 7, true},
      {std::string::npos, 8192, true}, {std::string::npos, 100000, true}, {std::string::npos, 7, true}};
  for (const Case& c : cases) {
    std::string bytes(c.size - 7, 'x');
    if (c.nulAt != std::string::npos) bytes[c.nulAt] = '\0';
    Write(L"f.txt", bytes + "\nneedle");
    const FileSearchResult result = Search(L"f.txt", false);
    SCOPED_TRACE(testing::Message() << c.nulAt << " in " << c.size);
    EXPECT_EQ(result.filesSearched, c.searched ? 1 : 0);
    EXPECT_EQ(Narrow(HitLinesText(result)), c.searched ? "f.txt(2): needle\r\n" : "");
  }
}

TEST_F(FileSearchTest, ALineTooCostlyForTheExpressionIsCountedAndTheLinesAfterItAreSearched) {
  Write(L"costly.txt", std::string(1000, 'a') + "\nxc\n" + std::string(1000, 'a') + "\nc\n");
  Searcher searcher;
  searcher.SetFindText(L"(a|aa)*c");
  searcher.SetOption(searchRegularExpression, true);
  std::wstring error;
  matcher = searcher.MakeFileMatcher(nullptr, error);
  ASSERT_TRUE(matcher);
  const FileSearchResult result = SearchFiles({folder.Path(L""), {L"costly.txt"}, false, {}}, *matcher, progress);
  EXPECT_EQ(Narrow(HitLinesText(result)), "costly.txt(2): xc\r\ncostly.txt(4): c\r\n");
  EXPECT_EQ(result.costlyLines, 2);
}

TEST_F(FileSearchTest, AFileOpenWithChangesIsSearchedAsTheEditorHoldsIt) {
  // Lines added above the hits in the editor move them; the binary file open as text is searched.
  openTexts = {{folder.Path(L"a.c"), L"added\nint needle;\r\nnone"}, {folder.Path(L"tool.c"), L"needle"},
               {folder.Path(L"gone.c"), L"needle"}};
  const FileSearchResult result = Search(L"a.c;tool.c;notes.txt", false);
  EXPECT_EQ(Narrow(HitLinesText(result)), "a.c(2): int needle;\r\nnotes.txt(1): needle\r\ntool.c(1): needle\r\n");
  EXPECT_EQ(result.filesSearched, 3);
}

#ifndef _WIN32
TEST_F(FileSearchTest, ALinkedFolderAndAPipeAreNotEntered) {
  std::filesystem::create_directory_symlink(folder.Native(L""), Native(L"sub\\loop"));
  std::filesystem::create_symlink(Native(L"notes.txt"), Native(L"sub\\linked.txt"));
  // A pipe without a writer would hold the search for ever.
  ASSERT_EQ(mkfifo(Native(L"sub\\pipe.txt").c_str(), 0600), 0);
  const FileSearchResult result = Search(L"*.txt");
  // The linked file is searched like any other; the folder that leads back up is not.
  EXPECT_EQ(Narrow(HitLinesText(result)), "notes.txt(1): needle\r\nsub\\linked.txt(1): needle\r\n");
  EXPECT_EQ(result.filesSearched, 2);
}
#endif

TEST(FileSearchPatterns, SplitAtSemicolonsAndTrimmed) {
  EXPECT_EQ(SplitPatterns(L" *.c ; *.h;;\t*.txt\t;"), (std::vector<std::wstring>{L"*.c", L"*.h", L"*.txt"}));
  EXPECT_TRUE(SplitPatterns(L" ; ").empty());
}

}  // namespace
