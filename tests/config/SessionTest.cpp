// The session file: the places of the last 100 files, the session's files and the option,
// written and read back, and what a damaged or missing file gives.
#include "config/Session.h"

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/Platform.h"

namespace {

std::wstring File(int number) { return L"C:\\docs\\" + std::to_wstring(number) + L".txt"; }

TEST(Session, KeepsTheLastHundredPlacesMostRecentFirstThroughTheFile) {
  TempFolder folder;
  Session session;
  for (int i = 1; i <= 105; ++i) session.RememberPlace(File(i), ViewPlace{i, 1, i, 0, i - 1, 2});
  // Leaving a file again makes its place the most recent, not a second one.
  session.RememberPlace(File(50), ViewPlace{7, 3, 6, 0, 4, 0});
  session.reopen = false;
  // Names the code page cannot hold come back too.
  session.files = {L"C:\\a \"quoted\" name.txt", L"\\\\server\\share\\b.c",
                   L"C:\\\x6587\x6863\xD83D\xDE00.txt"};
  session.RememberPlace(session.files[2], ViewPlace{2, 1, 2, 1, 0, 0});
  session.active = 1;
  ASSERT_TRUE(session.Save(folder.Path(L"fum.session")));
  Session read;
  ASSERT_TRUE(read.Load(folder.Path(L"fum.session")));
  EXPECT_FALSE(read.reopen);
  EXPECT_EQ(read.files, session.files);
  EXPECT_EQ(read.active, 1);
  ASSERT_EQ(read.Places().size(), maxFilePlaces);
  EXPECT_EQ(read.Places()[0].path, session.files[2]);
  EXPECT_EQ(read.Places()[1].path, File(50));
  EXPECT_EQ(read.Places()[1].place, (ViewPlace{7, 3, 6, 0, 4, 0}));
  EXPECT_EQ(read.Places()[2].path, File(105));
  EXPECT_EQ(read.Places()[99].path, File(7));  // 1 to 6 went first
  EXPECT_EQ(read.PlaceOf(File(5)), nullptr);
  EXPECT_EQ(*read.PlaceOf(File(100)), (ViewPlace{100, 1, 100, 0, 99, 2}));
}

TEST(Session, AFileHasOnePlaceWhateverTheSpellingOfItsPath) {
  TempFolder folder;
  folder.Write(L"Notes.txt", "x");
  std::filesystem::create_directory(folder.Native(L"sub"));
  const std::wstring notes = folder.Path(L"Notes.txt");
  Session session;
  session.RememberPlace(notes, ViewPlace{1, 0, 1, 0, 0, 0});
  session.RememberPlace(folder.Path(L"sub\\..\\Notes.txt"), ViewPlace{2, 0, 2, 0, 0, 0});
  EXPECT_EQ(session.Places().size(), 1u);
  ASSERT_NE(session.PlaceOf(notes), nullptr);
  EXPECT_EQ(session.PlaceOf(notes)->caretLine, 2);
  if (platform::FileExists(folder.Path(L"NOTES.TXT"))) {
    EXPECT_NE(session.PlaceOf(folder.Path(L"NOTES.TXT")), nullptr);
  } else {
    folder.Write(L"notes.txt", "another file");  // names differ by case only where that counts
    EXPECT_EQ(session.PlaceOf(folder.Path(L"notes.txt")), nullptr);
  }
  // Left through a link, the file is found again opened without it, and the other way round.
  std::error_code error;
  std::filesystem::create_symlink(folder.Native(L"Notes.txt"), folder.Native(L"link.txt"), error);
  if (error) return;
  session.RememberPlace(folder.Path(L"link.txt"), ViewPlace{3, 0, 3, 0, 0, 0});
  EXPECT_EQ(session.Places().size(), 1u);
  ASSERT_NE(session.PlaceOf(notes), nullptr);
  EXPECT_EQ(session.PlaceOf(notes)->caretLine, 3);
  ASSERT_NE(session.PlaceOf(folder.Path(L"link.txt")), nullptr);
}

TEST(Session, ADamagedFileGivesWhatCanBeReadAndAMissingOneNothing) {
  TempFolder folder;
  // Numbers below 0 become 0 and missing ones 0; a record without a path or with a path seen
  // before is left out; a file listed twice is one, and the active index follows it.
  folder.Write(L"fum.session",
               "reopen = \"no\" <session>active = 2 files = {\"x\",\"x\",\"y\"}</session>"
               "<places><1>path = \"a\" caret = {-4,2} anchor = {3} view = {-1,-9}</1>"
               "<2>caret = {1,1}</2><3>path = \"a\"</3><4>path = {1}</4><5>path = \"b\"</5>"
               "\x01\xff<<</>>\"\\");
  Session session;
  ASSERT_TRUE(session.Load(folder.Path(L"fum.session")));
  EXPECT_TRUE(session.reopen);
  EXPECT_EQ(session.files, (std::vector<std::wstring>{L"x", L"y"}));
  EXPECT_EQ(session.active, 1);
  ASSERT_EQ(session.Places().size(), 2u);
  EXPECT_EQ(session.Places()[0].place, (ViewPlace{0, 2, 3, 0, 0, 0}));
  EXPECT_EQ(session.Places()[1].path, L"b");
  folder.Write(L"fum.session", "<session>active = 5 files = {\"x\"}</session>");
  ASSERT_TRUE(session.Load(folder.Path(L"fum.session")));
  EXPECT_EQ(session.active, -1);
  EXPECT_TRUE(session.Places().empty());
  Session missing;
  EXPECT_FALSE(missing.Load(folder.Path(L"none.session")));
  EXPECT_TRUE(missing.reopen);
}

}  // namespace
