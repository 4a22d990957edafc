// fum.exe as a whole process: it starts, shows its main window and ends when that is closed.
#include <gtest/gtest.h>

#include <string>

#include "FumProcess.h"

namespace {

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

TEST(Startup, ShowsOneMainWindowFoundByItsClassWithTheProgramNameAsCaption) {
  FumProcess fum;
  ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
  // A second start hands its command line to the window found by class, so that lookup must
  // find this very window.
  EXPECT_EQ(FindWindowW(L"CEFEDITOR", nullptr), fum.Window());
  EXPECT_EQ(WindowText(fum.Window()), L"fum");
  EXPECT_TRUE(IsWindowVisible(fum.Window()));
  EXPECT_EQ(GetParent(fum.Window()), nullptr);
}

TEST(Startup, ClosingTheMainWindowEndsTheProgramWithExitCodeZero) {
  FumProcess fum;
  ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
  DWORD exitCode = 1;
  ASSERT_TRUE(fum.Close(10000, &exitCode)) << "fum.exe still runs after WM_CLOSE";
  EXPECT_EQ(exitCode, 0u);
}
