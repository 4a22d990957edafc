// The platform layer behaves the same in the Win32 and the POSIX build.
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "TempFolder.h"

using namespace platform;

namespace {

std::string ReadAll(FileHandle file) {
  std::string bytes;
  char buffer[7];
  std::uint32_t got = 0;
  while (ReadFile(file, buffer, sizeof buffer, got) && got > 0) bytes.append(buffer, got);
  return bytes;
}

std::vector<std::wstring> Names(const std::vector<FoundFile>& found) {
  std::vector<std::wstring> names;
  for (const auto& f : found) names.push_back(f.name);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(PlatformFiles, WriteThenReadBackInSmallBlocks) {
  TempFolder folder;
  FileHandle out = CreateForWriting(folder.Path(L"a.txt"));
  ASSERT_NE(out, invalidFile);
  EXPECT_TRUE(WriteFile(out, "hello,\r\nworld", 13));
  CloseFile(out);

  FileHandle in = OpenForReading(folder.Path(L"a.txt"));
  ASSERT_NE(in, invalidFile);
  // A second reader may open the file at the same time.
  FileHandle second = OpenForReading(folder.Path(L"a.txt"));
  EXPECT_NE(second, invalidFile);
  EXPECT_EQ(FileSize(second), 13u);
  EXPECT_EQ(ReadAll(in), "hello,\r\nworld");
  CloseFile(in);
  CloseFile(second);
}

TEST(PlatformFiles, CreateTruncatesAnExistingFile) {
  TempFolder folder;
  folder.Write(L"a.txt", "a long old content");
  FileHandle out = CreateForWriting(folder.Path(L"a.txt"));
  ASSERT_NE(out, invalidFile);
  EXPECT_TRUE(WriteFile(out, "new", 3));
  CloseFile(out);
  EXPECT_EQ(folder.Read(L"a.txt"), "new");
}

TEST(PlatformFiles, OpeningAMissingFileFailsWithItsErrorCode) {
  TempFolder folder;
  EXPECT_EQ(OpenForReading(folder.Path(L"missing.txt")), invalidFile);
  EXPECT_EQ(LastError(), errorFileNotFound);
  EXPECT_EQ(OpenForReading(L"\\fum-missing.txt"), invalidFile);  // in the root folder
  EXPECT_EQ(LastError(), errorFileNotFound);
  EXPECT_EQ(CreateForWriting(folder.Path(L"no\\such\\folder.txt")), invalidFile);
  EXPECT_EQ(LastError(), errorPathNotFound);
}

TEST(PlatformFiles, ReplaceFilePutsTheNewFileInPlaceOfTheOld) {
  TempFolder folder;
  folder.Write(L"target.txt", "old");
  folder.Write(L"new.tmp", "new content");
  EXPECT_TRUE(ReplaceFileBy(folder.Path(L"target.txt"), folder.Path(L"new.tmp")));
  EXPECT_EQ(folder.Read(L"target.txt"), "new content");
  EXPECT_FALSE(FileExists(folder.Path(L"new.tmp")));
  // The target need not exist yet.
  folder.Write(L"other.tmp", "x");
  EXPECT_TRUE(ReplaceFileBy(folder.Path(L"fresh.txt"), folder.Path(L"other.tmp")));
  EXPECT_EQ(folder.Read(L"fresh.txt"), "x");
  EXPECT_TRUE(RemoveFile(folder.Path(L"fresh.txt")));
  EXPECT_FALSE(RemoveFile(folder.Path(L"fresh.txt")));  // gone already
}

TEST(PlatformFiles, InjectedWriteFaultFailsLikeAFullDisk) {
  TempFolder folder;
  FileHandle out = CreateForWriting(folder.Path(L"a.txt"));
  ASSERT_NE(out, invalidFile);
  platform::testing::FailWritesAfter(5);
  EXPECT_TRUE(WriteFile(out, "abc", 3));
  EXPECT_FALSE(WriteFile(out, "def", 3));
  EXPECT_EQ(LastError(), errorDiskFull);
  platform::testing::FailWritesAfter(-1);
  EXPECT_TRUE(WriteFile(out, "ghi", 3));
  CloseFile(out);
}

TEST(PlatformFiles, InjectedReadFaultFailsAfterItsBytes) {
  TempFolder folder;
  folder.Write(L"a.txt", "abcdefgh");
  File in(OpenForReading(folder.Path(L"a.txt")));
  ASSERT_TRUE(in.IsOpen());
  platform::testing::FailReadsAfter(5);
  char buffer[8];
  std::uint32_t got = 0;
  EXPECT_TRUE(ReadFile(in.Get(), buffer, 3, got));
  EXPECT_EQ(got, 3u);
  EXPECT_TRUE(ReadFile(in.Get(), buffer, 8, got));
  EXPECT_EQ(got, 2u);
  EXPECT_FALSE(ReadFile(in.Get(), buffer, 8, got));
  EXPECT_EQ(LastError(), errorReadFault);
  platform::testing::FailReadsAfter(-1);
  EXPECT_TRUE(ReadFile(in.Get(), buffer, 8, got));
  EXPECT_EQ(std::string(buffer, got), "fgh");
}

TEST(PlatformFiles, StatusAppendingAndRenamingWithoutReplacing) {
  TempFolder folder;
  folder.Write(L"a.txt", "abc");
  folder.Write(L"b.txt", "taken");
  std::optional<FileStatus> status = StatusOf(folder.Path(L"a.txt"));
  ASSERT_TRUE(status);
  EXPECT_EQ(status->size, 3u);
  {
    File appended(OpenForAppending(folder.Path(L"a.txt")));
    ASSERT_TRUE(appended.IsOpen());
    EXPECT_TRUE(WriteFile(appended.Get(), "de", 2));
    EXPECT_EQ(StatusOf(appended.Get())->size, 5u);
  }
  EXPECT_EQ(folder.Read(L"a.txt"), "abcde");
  EXPECT_FALSE(StatusOf(folder.Path(L"missing.txt")));
  std::filesystem::create_directory(folder.Native(L"sub"));
  EXPECT_FALSE(StatusOf(folder.Path(L"sub")));
  EXPECT_EQ(OpenForAppending(folder.Path(L"missing.txt")), invalidFile);

  EXPECT_FALSE(RenameFile(folder.Path(L"a.txt"), folder.Path(L"b.txt")));
  EXPECT_EQ(folder.Read(L"b.txt"), "taken");
  EXPECT_TRUE(RenameFile(folder.Path(L"a.txt"), folder.Path(L"c.txt")));
  EXPECT_FALSE(FileExists(folder.Path(L"a.txt")));
  EXPECT_EQ(folder.Read(L"c.txt"), "abcde");
}

TEST(PlatformFiles, SameFileComparesAsTheFileSystemDoes) {
  TempFolder folder;
  folder.Write(L"Notes.txt", "1");
  const bool ignoresCase = FileExists(folder.Path(L"NOTES.TXT"));
  if (!ignoresCase) folder.Write(L"notes.txt", "2");
  EXPECT_TRUE(SameFile(folder.Path(L"Notes.txt"), folder.Path(L"Notes.txt")));
  // Two spellings of one file where case is ignored; two files where it is not.
  EXPECT_EQ(SameFile(folder.Path(L"Notes.txt"), folder.Path(L"notes.txt")), ignoresCase);
  std::filesystem::create_directory(folder.Native(L"sub"));
  EXPECT_TRUE(SameFile(folder.Path(L"Notes.txt"), folder.Path(L"sub\\..\\Notes.txt")));
  // A file not there (yet) is compared by its name.
  EXPECT_TRUE(SameFile(folder.Path(L"gone.txt"), folder.Path(L"gone.txt")));
  EXPECT_FALSE(SameFile(folder.Path(L"gone.txt"), folder.Path(L"other.txt")));
  std::error_code error;
  std::filesystem::create_symlink(folder.Native(L"Notes.txt"), folder.Native(L"link.txt"), error);
  if (!error) {
    EXPECT_TRUE(SameFile(folder.Path(L"link.txt"), folder.Path(L"Notes.txt")));
    EXPECT_EQ(FinalPath(folder.Path(L"link.txt")), folder.Path(L"Notes.txt"));
  }
}

TEST(PlatformFiles, ListFolderMatchesWildcardsWithoutCase) {
  TempFolder folder;
  folder.Write(L"one.txt", "1");
  folder.Write(L"Two.TXT", "22");
  folder.Write(L"three.c", "333");
  std::filesystem::create_directory(folder.Native(L"sub.txt"));

  auto found = ListFolder(folder.Path(L"*.txt"));
  EXPECT_EQ(Names(found), (std::vector<std::wstring>{L"Two.TXT", L"one.txt", L"sub.txt"}));
  for (const auto& f : found) {
    EXPECT_EQ(f.isFolder, f.name == L"sub.txt");
    if (f.name == L"Two.TXT") {
      EXPECT_EQ(f.size, 2u);
    }
    EXPECT_GT(f.writeTime, 116444736000000000ULL);  // after 1970
  }
  EXPECT_EQ(Names(ListFolder(folder.Path(L"t?o.*"))), (std::vector<std::wstring>{L"Two.TXT"}));
  EXPECT_EQ(ListFolder(folder.Path(L"*")).size(), 4u);  // no "." or ".."
  EXPECT_TRUE(ListFolder(folder.Path(L"*.none")).empty());
  // Names beyond ASCII (two and three UTF-8 bytes, at their bounds) come back as they were made.
  const std::vector<std::wstring> wide{L"\x0080t\x00E9\x07FF.w", L"\x0800\x20AC.w"};
  for (const std::wstring& name : wide) CloseFile(CreateForWriting(folder.Path(L"") + name));
  EXPECT_EQ(Names(ListFolder(folder.Path(L"*.w"))), wide);
}

TEST(PlatformCodePage, ConvertsEveryByteBothWays) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  std::wstring wide = AnsiToWide(all.data(), all.size());
  ASSERT_EQ(wide.size(), all.size());
  EXPECT_EQ(wide[0x41 - 1], L'A');
  EXPECT_EQ(wide[0x80 - 1], L'\x20AC');  // euro sign
  EXPECT_EQ(wide[0xE9 - 1], L'\xE9');
  EXPECT_EQ(WideToAnsi(wide.data(), wide.size()), all);
}

TEST(PlatformCodePage, UnmappableCharactersBecomeTheDefaultCharacter) {
  std::wstring text = L"a\x4E2D" L"b";  // a CJK ideograph in the middle
  EXPECT_EQ(WideToAnsi(text.data(), text.size()), "a?b");
  EXPECT_EQ(AnsiToWide("", 0), L"");
  std::string nul("a\0b", 3);
  EXPECT_EQ(AnsiToWide(nul.data(), nul.size()), std::wstring(L"a\0b", 3));
}

TEST(PlatformCharacters, ClassifiesAndUpperCasesUnits) {
  EXPECT_TRUE(IsAlphaNumeric(L'a'));
  EXPECT_TRUE(IsAlphaNumeric(L'Z'));
  EXPECT_TRUE(IsAlphaNumeric(L'7'));
  EXPECT_TRUE(IsAlphaNumeric(L'\xE9'));
  EXPECT_FALSE(IsAlphaNumeric(L'_'));
  EXPECT_FALSE(IsAlphaNumeric(L' '));
  EXPECT_FALSE(IsAlphaNumeric(L'\t'));
  EXPECT_FALSE(IsAlphaNumeric(L'('));

  EXPECT_EQ(ToUpper(L'a'), L'A');
  EXPECT_EQ(ToUpper(L'\xE9'), L'\xC9');
  EXPECT_EQ(ToUpper(L'1'), L'1');
  wchar_t buffer[] = L"abc_\xE9z";
  ToUpperBuffer(buffer, 6);
  EXPECT_STREQ(buffer, L"ABC_\xC9Z");
}

TEST(PlatformProgram, ModulePathNamesTheRunningTestBinary) {
  std::wstring path = ModulePath();
  ASSERT_FALSE(path.empty());
  EXPECT_NE(path.find(L"fum_core_tests"), std::wstring::npos);
  EXPECT_EQ(path.find(L'/'), std::wstring::npos);
}

TEST(PlatformThreads, WorkLeftBehindByManyCallersAtOnceRunsWholeAndEnds) {
  // Several threads leave work behind at once, as looks at files out of reach do: every piece
  // runs once, with what it was given, and nothing faults when its thread starts late.
  constexpr int callers = 4, each = 500;
  // The counts belong to the work too: a piece that starts after the test gave up must not
  // write to a stack that is gone.
  struct Counts { std::atomic<int> ran{0}, wrong{0}; };
  const auto counts = std::make_shared<Counts>();
  std::vector<std::thread> threads;
  for (int c = 0; c < callers; ++c)
    threads.emplace_back([&, c] {
      for (int i = 0; i < each; ++i) {
        const auto given = std::make_shared<int>(c * each + i);
        RunWithin([given, expected = c * each + i, counts] {
          if (*given != expected) ++counts->wrong;
          ++counts->ran;
        }, 0);
      }
    });
  for (auto& thread : threads) thread.join();
  for (int waited = 0; waited < 600 && counts->ran < callers * each; ++waited)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(counts->ran, callers * each);
  EXPECT_EQ(counts->wrong, 0);

  // Work that ends in time is waited for; work that does not is left running.
  const auto value = std::make_shared<std::atomic<int>>(0);
  EXPECT_TRUE(RunWithin([value] { *value = 7; }, 30'000));
  EXPECT_EQ(*value, 7);
  const auto release = std::make_shared<std::atomic<bool>>(false);
  EXPECT_FALSE(RunWithin([release] {
    while (!*release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }, 20));
  *release = true;
}
