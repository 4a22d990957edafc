// Tools commands of a running fum.exe, run on a probe program: the command line it gets, the
// saves before it runs, a program that cannot start, and output captured into a new document.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "FumProcess.h"
#include "comun/resource.h"

namespace {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

// The settings file of one Tools command, "probe", with its flags as settings text.
std::string ToolSettings(const std::wstring& program, const std::wstring& arguments,
                         const std::string& flags = "") {
  return "<commands>cmdlist = {\"probe\"} <probe>cmdline = " + SettingString(program) +
         " cmdargs = " + SettingString(arguments) + " " + flags + "</probe></commands>";
}

// A running fum.exe whose one Tools command runs a copy of the probe in its own folder.
class Tools : public ::testing::Test {
 protected:
  // program: the probe when empty.
  void Start(const std::wstring& arguments, const std::string& flags,
             std::initializer_list<const wchar_t*> files = {}, std::wstring program = L"") {
    if (program.empty()) program = ProbePath();
    install.folder.Write(L"fum.opt", ToolSettings(program, arguments, flags));
    std::filesystem::copy_file(TestsFolder() + L"\\tool_probe.exe",
                               install.folder.Native(L"tool_probe.exe"));
    std::wstring commandLine;
    for (const wchar_t* name : files) {
      install.folder.Write(name, Narrow(name) + "\r\n");
      commandLine += Quoted(install.folder.Path(name)) + L" ";
    }
    ASSERT_TRUE(fum.Start(commandLine)) << Narrow(fum.Error());
  }
  std::wstring ProbePath() const { return install.folder.Path(L"tool_probe.exe"); }
  // The command lines the probe was started with, one line each.
  std::string Log() const { return install.folder.Read(L"probe.log"); }
  bool WaitForRuns(int count, DWORD timeoutMs = 5000) const {
    return WaitFor([&] {
      std::string log = Log();
      return std::count(log.begin(), log.end(), '\n') >= count;
    }, timeoutMs);
  }
  // Runs the command on a new modified document and cancels the Save As that comes; false
  // when none came.
  bool RunOnNewDocumentCancellingSaveAs() const {
    fum.Command(IDM_NEW);
    fum.Type(L"new");
    fum.PostCommand(IDM_TOOL_FIRST);
    HWND dialog = fum.WaitForMessageBox();
    if (!dialog) return false;
    fum.Press(dialog, IDCANCEL);
    return true;
  }

  FumInstall install;
  FumProcess fum{install.Exe()};
};

}  // namespace

TEST_F(Tools, TheProgramGetsItsQuotedPathAndTheExpandedArguments) {
  Start(L"$fname [$fileext] $FNAME", "", {L"ta.txt"});
  fum.Command(IDM_TOOL_FIRST);
  ASSERT_TRUE(WaitForRuns(1));
  EXPECT_EQ(Log(), Narrow(Quoted(ProbePath())) + " ta.txt [txt] $FNAME\r\n");
}

TEST_F(Tools, SavedocSavesOnlyWhatNeedsItAndACancelledSaveAsStillRuns) {
  Start(L"$fname", "savedoc = 1", {L"ta.txt"});
  // Unmodified: nothing is written.
  fum.Command(IDM_TOOL_FIRST);
  ASSERT_TRUE(WaitForRuns(1));
  EXPECT_EQ(install.folder.Read(L"ta.txt"), "ta.txt\r\n");

  fum.Type(L"x");
  fum.Command(IDM_TOOL_FIRST);
  ASSERT_TRUE(WaitForRuns(2));
  EXPECT_EQ(install.folder.Read(L"ta.txt"), "xta.txt\r\n");

  // Untitled: Save As asks for a name; cancelled, the program runs on the untitled name.
  ASSERT_TRUE(RunOnNewDocumentCancellingSaveAs());
  ASSERT_TRUE(WaitForRuns(3));
  EXPECT_NE(Log().find(" doc1\r\n"), std::string::npos) << Log();
}

TEST_F(Tools, SaveallSavesEveryModifiedDocumentFirstAndACancelledSaveStopsTheRun) {
  Start(L"$fname", "saveall = 1", {L"a.txt", L"b.txt"});
  fum.Type(L"b");
  fum.Command(IDM_WINDOW_FIRST);
  fum.Type(L"a");
  fum.Command(IDM_WINDOW_FIRST + 1);
  fum.Command(IDM_TOOL_FIRST);
  ASSERT_TRUE(WaitForRuns(1));
  EXPECT_EQ(install.folder.Read(L"a.txt"), "aa.txt\r\n");
  EXPECT_EQ(install.folder.Read(L"b.txt"), "bb.txt\r\n");
  EXPECT_EQ(Log(), Narrow(Quoted(ProbePath())) + " b.txt\r\n");

  ASSERT_TRUE(RunOnNewDocumentCancellingSaveAs());
  EXPECT_FALSE(WaitForRuns(2, 1500));
}

TEST_F(Tools, AProgramThatCannotStartIsReportedWithItsName) {
  std::wstring missing = install.folder.Path(L"missing.exe");
  Start(L"$fname", "", {}, missing);
  fum.PostCommand(IDM_TOOL_FIRST);
  std::wstring caption, text;
  ASSERT_TRUE(fum.Answer(IDOK, &caption, &text));
  EXPECT_EQ(caption, L"Error");
  EXPECT_EQ(text, L"I can't run the command\n" + missing);
}

TEST_F(Tools, CapturedOutputOpensANewDocumentWhileTheEditorGoesOn) {
  Start(L"sleep:1500 out:one err:two oem:81 out:x exit:3", "capture = 1", {L"ta.txt"});
  fum.Command(IDM_TOOL_FIRST);
  // The editor answers while the program runs, and a second run of the document waits.
  DWORD_PTR result = 0;
  EXPECT_TRUE(SendMessageTimeoutW(fum.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &result));
  fum.PostCommand(IDM_TOOL_FIRST);
  std::wstring text;
  ASSERT_TRUE(fum.Answer(IDOK, nullptr, &text));
  EXPECT_EQ(text, L"A command is still running on this document.");
  EXPECT_EQ(fum.Title(), L"fu - ta.txt");

  ASSERT_TRUE(fum.WaitForTitle(L"fu - doc1*", 10000)) << Narrow(fum.Title());
  // Standard output and standard error in the order written, from the console's code page,
  // and the exit code last.
  EXPECT_EQ(fum.ShownText(), L"one\r\ntwo\r\n\u00FCx\r\nExit code 3");
  EXPECT_EQ(Log(), Narrow(Quoted(ProbePath())) + " sleep:1500 out:one err:two oem:81 out:x exit:3\r\n");
}

TEST_F(Tools, OutputThatEndsUnderADialogWaitsUntilItCloses) {
  Start(L"out:late", "capture = 1", {L"ta.txt"});
  fum.PostCommand(IDM_TOOL_FIRST);
  fum.PostCommand(IDM_ABOUT);
  HWND about = fum.WaitForMessageBox();
  ASSERT_NE(about, nullptr);
  ASSERT_TRUE(WaitForRuns(1));
  Sleep(1000);
  EXPECT_EQ(fum.Title(), L"fu - ta.txt");
  fum.Press(about, IDOK);
  ASSERT_TRUE(fum.WaitForTitle(L"fu - doc1*")) << Narrow(fum.Title());
  EXPECT_EQ(fum.ShownText(), L"late\r\n");
}

TEST_F(Tools, ExitWhileACaptureRunsAsksWhetherToStopIt) {
  Start(L"sleep:60000", "capture = 1");
  fum.Command(IDM_TOOL_FIRST);
  ASSERT_TRUE(WaitForRuns(1));
  DWORD probeId = std::stoul(install.folder.Read(L"probe.pid"));
  HANDLE probe = OpenProcess(SYNCHRONIZE, FALSE, probeId);
  ASSERT_NE(probe, nullptr);

  fum.PostCommand(IDM_EXIT);
  std::wstring text;
  ASSERT_TRUE(fum.Answer(IDNO, nullptr, &text));
  EXPECT_EQ(text, L"A command is still running. Do you want to stop it?");
  Sleep(300);
  EXPECT_TRUE(IsWindow(fum.Window()));
  EXPECT_EQ(WaitForSingleObject(probe, 0), static_cast<DWORD>(WAIT_TIMEOUT));

  fum.PostCommand(IDM_EXIT);
  ASSERT_TRUE(fum.Answer(IDYES));
  DWORD exitCode = 1;
  EXPECT_TRUE(fum.WaitForExit(10000, &exitCode));
  EXPECT_EQ(WaitForSingleObject(probe, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(probe);
}

TEST_F(Tools, ThePathsOfCapturedOutputStartFromTheFolderTheProgramRanIn) {
  std::filesystem::create_directory(install.folder.Native(L"sub"));
  install.folder.Write(L"sub/helper.c", "one\r\ntwo\r\n");
  // fum runs its programs in its own current folder, which it takes from the test.
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(install.folder.Native(L""));
  Start(L"out:sub/helper.c:2:2:", "capture = 1", {L"ta.txt"});
  std::filesystem::current_path(before);
  fum.Command(IDM_TOOL_FIRST);
  ASSERT_TRUE(fum.WaitForTitle(L"fu - doc1*", 10000)) << Narrow(fum.Title());
  fum.Command(IDM_NEXTLOCATION);
  ASSERT_EQ(fum.Title(), L"fu - helper.c");
  fum.Type(L"X");
  fum.Command(IDM_SAVE);
  EXPECT_EQ(install.folder.Read(L"sub/helper.c"), "one\r\ntXwo\r\n");
}
