// Real key presses at a running fum.exe: the accelerator table of the message loop and the keys
// the main window hands to the edit view.
#include <gtest/gtest.h>

#include <string>

#include "FumProcess.h"

namespace {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

}  // namespace

TEST(Keys, AcceleratorsSaveUndoRedoCycleCloseAndExit) {
  FumInstall install;
  install.folder.Write(L"a.txt", "a\r\n");
  install.folder.Write(L"b.txt", "b\r\n");
  FumProcess fum(install.Exe());
  ASSERT_TRUE(fum.Start(Quoted(install.folder.Path(L"a.txt")) + L" " +
                        Quoted(install.folder.Path(L"b.txt"))))
      << Narrow(fum.Error());
  ASSERT_TRUE(BringToFront(fum.Window()));

  // End reaches the view through the main window; then a typed character.
  PressKeys({VK_END});
  PressKeys({'X'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt*")) << Narrow(fum.Title());
  PressKeys({VK_CONTROL, 'S'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt"));
  EXPECT_EQ(install.folder.Read(L"b.txt"), "bx\r\n");

  PressKeys({VK_CONTROL, 'Z'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt*"));
  PressKeys({VK_CONTROL, 'S'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt"));
  EXPECT_EQ(install.folder.Read(L"b.txt"), "b\r\n");
  PressKeys({VK_CONTROL, 'Y'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt*"));
  PressKeys({VK_CONTROL, 'S'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt"));
  EXPECT_EQ(install.folder.Read(L"b.txt"), "bx\r\n");

  PressKeys({VK_CONTROL, VK_TAB});
  EXPECT_TRUE(fum.WaitForTitle(L"fu - a.txt"));
  PressKeys({VK_CONTROL, VK_F4});
  EXPECT_TRUE(fum.WaitForTitle(L"fu - b.txt"));

  PressKeys({'K'});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - b.txt*"));
  PressKeys({VK_CONTROL, 'Q'});
  std::wstring text;
  ASSERT_TRUE(fum.Answer(IDNO, nullptr, &text));
  EXPECT_EQ(text, L"File has changed \u00BFdo you want to save it?");
  DWORD exitCode = 1;
  ASSERT_TRUE(fum.WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(install.folder.Read(L"b.txt"), "bx\r\n");
}
