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
    matcher = searcher.MakeFileMatcher(error);
    EXPECT_TRUE(matcher) << Narrow(error);
    FileSearchRequest request{folder.Path(L""), SplitPatterns(patterns), subfolders};
    return SearchFiles(request, *matcher, progress);
  }

  TempFolder folder;
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
  std::unique_ptr<LineMatcher> expression = searcher.MakeFileMatcher(error);
  ASSERT_TRUE(expression) << Narrow(error);
  FileSearchResult result =
      SearchFiles({folder.Path(L""), {L"*.*"}, true}, *expression, progress);
  EXPECT_EQ(Narrow(HitLinesText(result)), "a.c(3):   needle(2);\r\nnotes.txt(1): needle\r\nsub\\wide.c(1): needle\r\n");

  searcher.SetOption(searchRegularExpression, false);
  searcher.SetOption(searchWholeWords, true);
  searcher.SetFindText(L"needle");
  expression = searcher.MakeFileMatcher(error);
  result = SearchFiles({folder.Path(L"sub"), {L"*.c"}, true}, *expression, progress);
  EXPECT_EQ(Narrow(HitLinesText(result)), "helper.c(2): needle = 1;\r\nutf8.c(1): caf\xE9 needle\r\nwide.c(1): needle\r\n");

  searcher.SetFindText(L"(unclosed");
  searcher.SetOption(searchRegularExpression, true);
  EXPECT_FALSE(searcher.MakeFileMatcher(error));
  EXPECT_FALSE(error.empty());
}

TEST_F(FileSearchTest, LongLinesAreCutAndCarriageReturnsInsideALineBecomeBlanks) {
  Write(L"long.txt", "needle" + std::string(5000, 'x') + "\nneedle\rmiddle\r\n");
  const FileSearchResult result = Search(L"long.txt", false);
  ASSERT_EQ(result.lines.size(), 2u);
  EXPECT_EQ(result.lines[0].text.size(), maxHitText);
  EXPECT_EQ(result.lines[1].text, L"needle middle");
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

  const CancellingMatcher stopper(progress);
  FileSearchResult result = SearchFiles({folder.Path(L""), {L"*.txt"}, true}, stopper, progress);
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(result.filesSearched, 1);
  EXPECT_EQ(result.lines.size(), 1u);

  progress.cancel = false;
  result = SearchFiles({folder.Path(L"big"), {L"*.txt"}, true}, stopper, progress);
  EXPECT_TRUE(result.cancelled);
  EXPECT_LE(result.lines.size(), 4096u);
}

#ifndef _WIN32
TEST_F(FileSearchTest, ALinkedFolderIsNotFollowed) {
  std::filesystem::create_directory_symlink(folder.Native(L""), Native(L"sub\\loop"));
  std::filesystem::create_symlink(Native(L"notes.txt"), Native(L"sub\\linked.txt"));
  const FileSearchResult result = Search(L"*.txt");
  // The linked file is searched like any other; the folder that leads back up is not.
  EXPECT_EQ(Narrow(HitLinesText(result)), "notes.txt(1): needle\r\nsub\\linked.txt(1): needle\r\n");
}
#endif

TEST(FileSearchPatterns, SplitAtSemicolonsAndTrimmed) {
  EXPECT_EQ(SplitPatterns(L" *.c ; *.h;;\t*.txt\t;"), (std::vector<std::wstring>{L"*.c", L"*.h", L"*.txt"}));
  EXPECT_TRUE(SplitPatterns(L" ; ").empty());
}

}  // namespace
