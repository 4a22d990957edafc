// The line reader splits files into lines exactly; the line writer never damages the target.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "TempFolder.h"
#include "platform/Platform.h"
#include "text/LineReader.h"
#include "text/LineWriter.h"

namespace {

std::vector<std::wstring> ReadAllLines(const std::wstring& path) {
  LineReader reader(path);
  EXPECT_FALSE(reader.Failed());
  std::vector<std::wstring> lines;
  std::wstring line;
  while (reader.ReadLine(line)) lines.push_back(line);
  return lines;
}

const std::size_t block = LineReader::blockSize;

struct ReadCase { const char* name; std::string bytes; std::vector<std::wstring> lines; };

}  // namespace

TEST(LineReader, SplitsAtLineFeedsAndDropsCarriageReturns) {
  const std::string longLine(3 * block + 17, 'x');
  const std::wstring longWide(longLine.begin(), longLine.end());
  // A CR LF pair cut by the block boundary: the CR ends one block, the LF starts the next.
  std::string straddle(block - 1, 'a');
  straddle += "\r\nnext";
  // A line that starts in one block and ends in the next.
  std::string across(block - 3, 'b');
  across += "\ncdefg\r\nh";
  const ReadCase cases[] = {
      {"empty file", "", {}},
      {"no line end at all", "abc", {L"abc"}},
      // A line end at the end of the file is followed by an empty last line, so that saving
      // writes it back.
      {"one line feed at the end", "a\n", {L"a", L""}},
      {"two line feeds at the end", "a\n\n", {L"a", L"", L""}},
      {"only a line feed", "\n", {L"", L""}},
      {"line feeds", "a\nbc\n\nd", {L"a", L"bc", L"", L"d"}},
      {"carriage return and line feed", "a\r\nbc\r\n\r\nd\r\n", {L"a", L"bc", L"", L"d", L""}},
      {"mixed ends", "a\r\nb\nc\r\nd", {L"a", L"b", L"c", L"d"}},
      {"lone carriage return joins", "ab\rcd\r\nef", {L"abcd", L"ef"}},
      {"carriage return only at the end", "a\n\r", {L"a", L""}},
      {"NUL bytes are kept", std::string("a\0b\n\0\n", 6), {std::wstring(L"a\0b", 3), std::wstring(1, L'\0'), L""}},
      {"code page bytes", "\x80\xE9\xFF\n\x9F", {L"\u20AC\u00E9\u00FF", L"\u0178"}},
      {"line longer than several blocks", longLine + "\r\nz", {longWide, L"z"}},
      {"CR LF split by a block boundary", straddle,
       {std::wstring(block - 1, L'a'), L"next"}},
      {"line split by a block boundary", across,
       {std::wstring(block - 3, L'b'), L"cdefg", L"h"}},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    folder.Write(L"f.txt", c.bytes);
    EXPECT_EQ(ReadAllLines(folder.Path(L"f.txt")), c.lines) << c.name;
  }
}

TEST(LineReader, AMissingFileFailsWithItsErrorCode) {
  TempFolder folder;
  LineReader reader(folder.Path(L"missing.txt"));
  EXPECT_TRUE(reader.Failed());
  EXPECT_EQ(reader.ErrorCode(), platform::errorFileNotFound);
  std::wstring line;
  EXPECT_FALSE(reader.ReadLine(line));
}

TEST(LineWriter, WritesSeparatorsBetweenLinesAndTabsBeforeIndentedOnes) {
  TempFolder folder;
  LineWriter writer(folder.Path(L"out.txt"));
  ASSERT_FALSE(writer.Failed());
  writer.WriteIndentedLine(L"first", 5, 1);
  writer.WriteIndentedLine(L"two", 3, 2);
  writer.WriteIndentedLine(L"none", 4, -1);
  writer.WriteLine(L"", 0);
  writer.WriteLine(L"\u20AC\u00E9\u4E2D\0x", 5);
  ASSERT_TRUE(writer.Close());
  const char expected[] = "\tfirst\r\n\t\ttwo\r\nnone\r\n\r\n\x80\xE9?\0x";
  EXPECT_EQ(folder.Read(L"out.txt"), std::string(expected, sizeof expected - 1));
}

TEST(LineWriter, NoLinesGiveAnEmptyFileReplacingTheOldOne) {
  TempFolder folder;
  folder.Write(L"out.txt", "old");
  LineWriter writer(folder.Path(L"out.txt"));
  ASSERT_TRUE(writer.Close());
  EXPECT_EQ(folder.Read(L"out.txt"), "");
}

TEST(LineWriter, AFailedWriteLeavesTheTargetAndNoTemporaryFile) {
  for (long long budget : {0LL, 10LL, 70000LL}) {
    TempFolder folder;
    folder.Write(L"out.txt", "old content");
    {
      LineWriter writer(folder.Path(L"out.txt"));
      ASSERT_FALSE(writer.Failed());
      platform::testing::FailWritesAfter(budget);
      std::wstring line(1000, L'q');
      for (int i = 0; i < 100; ++i) writer.WriteLine(line.data(), line.size());
      EXPECT_FALSE(writer.Close()) << budget;
      platform::testing::FailWritesAfter(-1);
      EXPECT_TRUE(writer.WriteFailed());
      EXPECT_EQ(writer.ErrorCode(), platform::errorDiskFull);
    }
    EXPECT_EQ(folder.Read(L"out.txt"), "old content") << budget;
    EXPECT_EQ(platform::ListFolder(folder.Path(L"*")).size(), 1u) << budget;
  }
}

TEST(LineWriter, AReplaceThatFailsKeepsItsReasonAndRemovesTheTemporaryFile) {
  TempFolder folder;
  std::filesystem::create_directory(folder.Native(L"out.txt"));  // no file can take its place
  LineWriter writer(folder.Path(L"out.txt"));
  ASSERT_FALSE(writer.Failed());
  writer.WriteLine(L"new", 3);
  EXPECT_FALSE(writer.Close());
  EXPECT_TRUE(writer.WriteFailed());
  EXPECT_NE(writer.ErrorCode(), 0u);
  EXPECT_EQ(platform::ListFolder(folder.Path(L"*")).size(), 1u);
}

TEST(LineWriter, AWriterDestroyedWithoutCloseLeavesTheTarget) {
  TempFolder folder;
  folder.Write(L"out.txt", "old");
  {
    LineWriter writer(folder.Path(L"out.txt"));
    writer.WriteLine(L"new", 3);
  }
  EXPECT_EQ(folder.Read(L"out.txt"), "old");
  EXPECT_EQ(platform::ListFolder(folder.Path(L"*")).size(), 1u);
}

TEST(LineWriter, AMissingFolderFailsToCreate) {
  TempFolder folder;
  LineWriter writer(folder.Path(L"no\\such\\out.txt"));
  EXPECT_TRUE(writer.Failed());
  EXPECT_EQ(writer.ErrorCode(), platform::errorPathNotFound);
  EXPECT_FALSE(writer.Close());
}

TEST(LineWriter, AFileThatHasTheTemporaryNameIsLeftAlone) {
  TempFolder folder;
  folder.Write(L"out.txt", "old");
  folder.Write(L"out.txt.~0", "someone else's");
  LineWriter writer(folder.Path(L"out.txt"));
  writer.WriteLine(L"new", 3);
  ASSERT_TRUE(writer.Close());
  EXPECT_EQ(folder.Read(L"out.txt"), "new");
  EXPECT_EQ(folder.Read(L"out.txt.~0"), "someone else's");
  EXPECT_EQ(platform::ListFolder(folder.Path(L"*")).size(), 2u);
}

#ifndef _WIN32
TEST(LineWriter, SavingThroughALinkReplacesItsTargetWithTheTargetsPermissions) {
  namespace fs = std::filesystem;
  TempFolder folder;
  fs::create_directory(folder.Native(L"real"));
  folder.Write(L"real/file.txt", "old");
  fs::permissions(folder.Native(L"real/file.txt"), fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real/file.txt", folder.Native(L"link.txt"));  // relative, as users make them
  fs::create_symlink(folder.Native(L"link.txt"), folder.Native(L"chain.txt"));
  for (const wchar_t* name : {L"link.txt", L"chain.txt"}) {
    LineWriter writer(folder.Path(name));
    writer.WriteLine(name, 1);
    ASSERT_TRUE(writer.Close()) << testing::PrintToString(std::wstring(name));
    EXPECT_TRUE(fs::is_symlink(folder.Native(name)));
    EXPECT_EQ(folder.Read(L"real/file.txt"), std::string(1, static_cast<char>(name[0])));
    EXPECT_EQ(fs::status(folder.Native(L"real/file.txt")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
  }
  EXPECT_EQ(platform::ListFolder(folder.Path(L"real\\*")).size(), 1u);
  // A link to itself is followed no further than the system would; the save replaces it.
  fs::create_symlink("loop.txt", folder.Native(L"loop.txt"));
  LineWriter loop(folder.Path(L"loop.txt"));
  loop.WriteLine(L"x", 1);
  ASSERT_TRUE(loop.Close());
  EXPECT_EQ(folder.Read(L"loop.txt"), "x");
}
#else
TEST(LineWriter, ASavedFileKeepsItsAttributes) {
  TempFolder folder;
  folder.Write(L"out.txt", "old");
  const std::wstring path = folder.Path(L"out.txt");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  LineWriter writer(path);
  writer.WriteLine(L"new", 3);
  ASSERT_TRUE(writer.Close());
  EXPECT_EQ(folder.Read(L"out.txt"), "new");
  EXPECT_EQ(GetFileAttributesW(path.c_str()), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE});
}
#endif
