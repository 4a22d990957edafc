// The General, Commands and Associations pages of a running fum.exe: filters reach the open
// dialog, and associations reach the registry of the test prefix and are given back.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "FumProcess.h"
#include "SettingsSheetDriver.h"
#include "comun/resource.h"

namespace {

std::wstring ReadClassesValue(const std::wstring& key, const wchar_t* value) {
  wchar_t text[512] = {};
  DWORD size = sizeof text;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS)
    return L"<none>";
  return text;
}

bool ClassesKeyExists(const std::wstring& key) {
  HKEY open = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &open) != ERROR_SUCCESS)
    return false;
  RegCloseKey(open);
  return true;
}

// Removes the test's own keys from the prefix's registry before and after the test.
class TestKeys {
 public:
  TestKeys() { Remove(); }
  ~TestKeys() { Remove(); }

 private:
  static void Remove() {
    for (const wchar_t* key : {L".zzq", L"fum.zzq", L".zzp", L"fum.zzp", L"zzpfile"})
      RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
  }
};

BOOL CALLBACK FindFilterName(HWND child, LPARAM lParam) {
  wchar_t className[32] = {};
  GetClassNameW(child, className, 32);
  if (lstrcmpiW(className, L"ComboBox") == 0 &&
      SendMessageW(child, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(L"C files")) >= 0) {
    *reinterpret_cast<bool*>(lParam) = true;
    return FALSE;
  }
  return TRUE;
}

class SettingsPagesTest : public ::testing::Test {
 protected:
  void Start() {
    ASSERT_TRUE(fum.Start()) << Narrow(fum.Error());
    ASSERT_TRUE(BringToFront(fum.Window()));
  }
  void Restart() {
    DWORD exitCode = 1;
    ASSERT_TRUE(fum.Close(10000, &exitCode));
    Start();
  }

  FumInstall install;
  FumProcess fum{install.Exe()};
};

}  // namespace

TEST_F(SettingsPagesTest, AFilterLosesItsBlanksAndIsOfferedByTheOpenDialog) {
  Start();
  SheetDriver sheet(fum);
  ASSERT_TRUE(sheet.Open());
  sheet.ShowPage(1);
  sheet.SetText(IDC_GEN_FILTERNAME, L"C files");
  sheet.SetText(IDC_GEN_FILTERDEF, L"* .c ; *.h");
  sheet.Click(IDC_GEN_FILTERADD);
  sheet.PressOk();
  ASSERT_TRUE(sheet.WaitClosed());

  fum.PostCommand(IDM_OPEN);
  HWND dialog = fum.WaitForDialog(nullptr, fum.Window());
  ASSERT_TRUE(dialog);
  bool offered = false;
  EnumChildWindows(dialog, FindFilterName, reinterpret_cast<LPARAM>(&offered));
  EXPECT_TRUE(offered);
  fum.Press(dialog, IDCANCEL);

  Restart();
  std::string settings = install.folder.Read(L"fum.opt");
  EXPECT_NE(settings.find("\"C files\",\"*.c;*.h\""), std::string::npos) << settings;
}

void WriteClassesValue(const std::wstring& key, const std::wstring& text) {
  RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

TEST_F(SettingsPagesTest, AssociationsAreWrittenRememberedAndGivenBack) {
  TestKeys keys;
  // .zzp has the type of another program, whose key has the name the program's once had.
  WriteClassesValue(L".zzp", L"zzpfile");
  WriteClassesValue(L"zzpfile\\Shell\\Open\\Command", L"other.exe \"%1\"");

  Start();
  SheetDriver sheet(fum);
  ASSERT_TRUE(sheet.Open());
  sheet.ShowPage(4);
  for (const wchar_t* extension : {L".zzq", L".zzp"}) {
    sheet.SetText(IDC_ASC_EXTENSION, extension);
    sheet.SetText(IDC_ASC_FILETYPE, L"");
    sheet.Click(IDC_ASC_ADD);
  }
  // Extensions without a dot or with forbidden characters are refused. Without the dot Add is
  // not even enabled; the page still answers a click that comes.
  sheet.SetText(IDC_ASC_EXTENSION, L"zzr");
  EXPECT_FALSE(IsWindowEnabled(sheet.Control(IDC_ASC_ADD)));
  sheet.ClickLater(IDC_ASC_ADD);
  std::wstring text;
  ASSERT_TRUE(sheet.AnswerMessage(nullptr, &text));
  EXPECT_EQ(text, L"the extension must begin with \".\"");
  sheet.SetText(IDC_ASC_EXTENSION, L".z zr");
  sheet.ClickLater(IDC_ASC_ADD);
  ASSERT_TRUE(sheet.AnswerMessage(nullptr, &text));
  EXPECT_EQ(text, L"the can't contain any of the chars '\\/: *?\"<|>'");
  sheet.PressOk();
  ASSERT_TRUE(sheet.WaitClosed());

  std::wstring command = L"\"" + install.Exe() + L"\" \"%1\"";
  EXPECT_EQ(ReadClassesValue(L".zzq", nullptr), L"fum.zzq");
  EXPECT_EQ(ReadClassesValue(L"fum.zzq", nullptr), L"zzqfile");
  EXPECT_EQ(ReadClassesValue(L"fum.zzq\\Shell\\Open\\Command", nullptr), command);
  EXPECT_EQ(ReadClassesValue(L"fum.zzq\\DefaultIcon", nullptr), install.Exe() + L",-1");
  EXPECT_EQ(ReadClassesValue(L".zzp", nullptr), L"fum.zzp");
  EXPECT_EQ(ReadClassesValue(L".zzp", L"fumprevassoc"), L"zzpfile");
  EXPECT_EQ(ReadClassesValue(L"zzpfile\\Shell\\Open\\Command", nullptr), L"other.exe \"%1\"");

  Restart();
  std::string settings = install.folder.Read(L"fum.opt");
  EXPECT_NE(settings.find("assocs = {\".zzp\",\".zzq\"}"), std::string::npos) << settings;

  ASSERT_TRUE(sheet.Open());
  sheet.ShowPage(4);
  sheet.Choose(IDC_ASC_LIST, L".zzp");
  sheet.Click(IDC_ASC_DELETE);
  sheet.PressOk();
  ASSERT_TRUE(sheet.WaitClosed());
  EXPECT_EQ(ReadClassesValue(L".zzp", nullptr), L"zzpfile");
  EXPECT_EQ(ReadClassesValue(L".zzp", L"fumprevassoc"), L"<none>");
  EXPECT_FALSE(ClassesKeyExists(L"fum.zzp"));
  EXPECT_EQ(ReadClassesValue(L"zzpfile\\Shell\\Open\\Command", nullptr), L"other.exe \"%1\"");
  EXPECT_EQ(ReadClassesValue(L".zzq", nullptr), L"fum.zzq");
}
