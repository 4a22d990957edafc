// Recovery after fum.exe was killed: the journal written while typing pauses, the question at
// the next start with Yes and No, untitled documents, a file changed meanwhile, and Exit.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FumProcess.h"
#include "comun/resource.h"

namespace {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

class Recovery : public ::testing::Test {
 protected:
  Recovery() { install.folder.Write(L"a.txt", "one\r\n"); }

  int Count(const wchar_t* extension) const {
    int count = 0;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(install.folder.Native(L"recovery"), ignored))
      count += entry.path().extension() == extension;
    return count;
  }

  // Starts fum with arguments, types text and kills the process once the journal is written.
  void TypeAndKill(const std::wstring& arguments, const std::wstring& text) {
    FumProcess fum(install.Exe());
    ASSERT_TRUE(fum.Start(arguments)) << Narrow(fum.Error());
    fum.Type(text);
    ASSERT_TRUE(WaitUntil([&] { return Count(L".fumj") == 1; }, 6000)) << "no journal written";
    TerminateProcess(fum.Process(), 9);
    DWORD code = 0;
    ASSERT_TRUE(fum.WaitForExit(5000, &code));
  }

  // A later start with the file asks nothing, and the file holds bytes.
  void ExpectNoQuestionWithFile(const std::string& bytes) {
    FumProcess again(install.Exe());
    ASSERT_TRUE(again.Start(Quoted(file))) << Narrow(again.Error());
    EXPECT_EQ(again.WaitForMessageBox(1500), nullptr);
    EXPECT_EQ(install.folder.Read(L"a.txt"), bytes);
  }

  FumInstall install;
  std::wstring file = install.folder.Path(L"a.txt");
};

}  // namespace

TEST_F(Recovery, AfterAKillYesRestoresTheTypedTextUnsavedAndSaveWritesIt) {
  ASSERT_NO_FATAL_FAILURE(TypeAndKill(Quoted(file), L"xy"));
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start(Quoted(file))) << Narrow(fum.Error());
  std::wstring caption, text;
  ASSERT_TRUE(fum.Answer(IDYES, &caption, &text));
  EXPECT_EQ(caption, L"fum");
  EXPECT_EQ(text, L"Unsaved changes of a.txt were recovered. Restore them?");
  EXPECT_TRUE(fum.WaitForTitle(L"fu - a.txt*"));
  EXPECT_EQ(install.folder.Read(L"a.txt"), "one\r\n");
  fum.Command(IDM_SAVE);
  EXPECT_EQ(install.folder.Read(L"a.txt"), "xyone\r\n");
  EXPECT_EQ(Count(L".fumj"), 0);
}

TEST_F(Recovery, AfterAKillNoLeavesTheFileAndAsksNoMore) {
  ASSERT_NO_FATAL_FAILURE(TypeAndKill(Quoted(file), L"xy"));
  {
    FumProcess fum(install.Exe());
    ASSERT_TRUE(fum.Start(Quoted(file))) << Narrow(fum.Error());
    ASSERT_TRUE(fum.Answer(IDNO));
    EXPECT_TRUE(WaitUntil([&] { return Count(L".fumj") == 0; })) << "the journal stays";
    EXPECT_EQ(fum.Title(), L"fu - a.txt");
  }
  ExpectNoQuestionWithFile("one\r\n");
}

TEST_F(Recovery, AnUntitledDocumentComesBackUntitledAtStartUp) {
  ASSERT_NO_FATAL_FAILURE(TypeAndKill(L"", L"draft"));
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
  std::wstring text;
  ASSERT_TRUE(fum.Answer(IDYES, nullptr, &text));
  EXPECT_EQ(text, L"Unsaved changes of doc1 were recovered. Restore them?");
  // The start-up document took the text: still one document.
  EXPECT_TRUE(fum.WaitForTitle(L"fu - doc1*"));
  fum.Command(IDM_NEXTWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - doc1*");
}

TEST_F(Recovery, AFileChangedSinceKeepsItsJournalAsideAndSaysSoOnce) {
  ASSERT_NO_FATAL_FAILURE(TypeAndKill(Quoted(file), L"xy"));
  install.folder.Write(L"a.txt", "changed elsewhere\r\n");
  {
    FumProcess fum(install.Exe());
    ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
    std::wstring text;
    ASSERT_TRUE(fum.Answer(IDOK, nullptr, &text));
    EXPECT_NE(text.find(L"a.txt"), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(L"has changed"), std::wstring::npos) << Narrow(text);
    EXPECT_EQ(Count(L".kept"), 1);
    EXPECT_EQ(Count(L".fumj"), 0);
  }
  ExpectNoQuestionWithFile("changed elsewhere\r\n");
}

TEST_F(Recovery, ExitWithoutSavingRemovesTheJournals) {
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start(Quoted(file))) << Narrow(fum.Error());
  fum.Type(L"xy");
  ASSERT_TRUE(WaitUntil([&] { return Count(L".fumj") == 1; }, 6000));
  fum.PostCommand(IDM_EXIT);
  ASSERT_TRUE(fum.Answer(IDNO));
  DWORD code = 1;
  ASSERT_TRUE(fum.WaitForExit(5000, &code));
  EXPECT_EQ(Count(L".fumj"), 0);
  EXPECT_EQ(install.folder.Read(L"a.txt"), "one\r\n");
}

TEST_F(Recovery, AFileHandedOverDuringTheQuestionOpensAfterTheRestore) {
  ASSERT_NO_FATAL_FAILURE(TypeAndKill(Quoted(file), L"xy"));
  install.folder.Write(L"b.txt", "bee\r\n");
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start(Quoted(file))) << Narrow(fum.Error());
  ASSERT_NE(fum.WaitForMessageBox(), nullptr);
  FumProcess second(install.Exe());
  ASSERT_TRUE(second.Launch(Quoted(install.folder.Path(L"b.txt"))));
  DWORD code = 1;
  ASSERT_TRUE(second.WaitForExit(10000, &code)) << "the second start did not hand over";
  ASSERT_TRUE(fum.Answer(IDYES));
  EXPECT_TRUE(fum.WaitForTitle(L"fu - b.txt"));
  fum.Command(IDM_NEXTWINDOW);
  EXPECT_EQ(fum.Title(), L"fu - a.txt*");
}

TEST_F(Recovery, AJournalWriteThatFailedIsTriedAgainWithoutAKeyAndAKillStillRecovers) {
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start(Quoted(file))) << Narrow(fum.Error());
  // The name the whole journal is written to first is taken by a folder: the write fails.
  const std::wstring stem = std::to_wstring(fum.ProcessId()) + L"-1";
  const auto blocker = install.folder.Native(L"recovery\\" + stem + L".fumj-new");
  ASSERT_TRUE(std::filesystem::create_directories(blocker));
  fum.Type(L"xy");
  Sleep(3000);
  EXPECT_EQ(Count(L".fumj"), 0);
  // No key is pressed again: the timer tries once the way is free.
  std::filesystem::remove(blocker);
  ASSERT_TRUE(WaitUntil([&] { return Count(L".fumj") == 1; }, 6000)) << "the write was not tried again";
  TerminateProcess(fum.Process(), 9);
  DWORD code = 0;
  ASSERT_TRUE(fum.WaitForExit(5000, &code));

  FumProcess again(install.Exe());
  ASSERT_TRUE(again.Start(Quoted(file))) << Narrow(again.Error());
  ASSERT_TRUE(again.Answer(IDYES));
  EXPECT_TRUE(again.WaitForTitle(L"fu - a.txt*"));
  again.Command(IDM_SAVE);
  EXPECT_EQ(install.folder.Read(L"a.txt"), "xyone\r\n");
}
