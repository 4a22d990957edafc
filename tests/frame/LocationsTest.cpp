// Find in Files and Go to Location in a running fum.exe: the dialog and the document of hits
// over a tree with hidden and binary entries, cancelling a search, and going from a hit or a
// compiler's line to the file, line and column it names.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FumProcess.h"
#include "comun/resource.h"

namespace {

// The text of a dialog's field in another process: asked of the field itself.
std::wstring FieldText(HWND dialog, int id) {
  wchar_t text[MAX_PATH] = L"";
  SendDlgItemMessageW(dialog, id, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text));
  return text;
}

class Locations : public ::testing::Test {
 protected:
  Locations() {
    // The tree lies in a folder of its own, apart from the program's files.
    for (const wchar_t* name : {L"sub", L".hid", L"secret"})
      std::filesystem::create_directories(install.folder.Native(L"tree") / name);
    SetFileAttributesW(install.folder.Path(L"tree\\secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
    Write(L"main.c", "int main(void) {\r\n  helper();\r\n}\r\n");
    Write(L"sub/helper.c", "void helper(void);\r\nint helper_count;\r\n");
    Write(L".hid/x.c", "helper\r\n");
    Write(L"secret/y.c", "helper\r\n");
    Write(L"tool.bin", std::string("helper\0", 7));
  }
  void Start(const wchar_t* file) {
    ASSERT_TRUE(fum.Start(L"\"" + Path(file) + L"\"")) << Narrow(fum.Error());
  }
  void Down(int rows) const {
    for (int i = 0; i < rows; ++i) SendMessageW(fum.Window(), WM_KEYDOWN, VK_DOWN, 0);
  }
  // The dialog of Find in Files, opened from the menu.
  HWND OpenDialog() const {
    fum.PostCommand(IDM_FINDINFILES);
    return fum.WaitForDialog(L"Find in Files");
  }
  // Types X at the caret and saves, so that the file shows where the caret was.
  void MarkCaretAndSave() const {
    fum.Type(L"X");
    fum.Command(IDM_SAVE);
  }
  std::wstring Path(const std::wstring& name) const { return install.folder.Path(L"tree\\" + name); }
  void Write(const std::wstring& name, const std::string& bytes) const {
    install.folder.Write(L"tree/" + name, bytes);
  }
  std::string Read(const std::wstring& name) const { return install.folder.Read(L"tree/" + name); }

  FumInstall install;
  FumProcess fum{install.Exe()};
};

}  // namespace

TEST_F(Locations, FindInFilesListsTheHitsOfTheVisibleFilesAndAHitOpensItsFileAtItsLine) {
  Start(L"main.c");
  // A line break not yet saved moves the hit of main.c down a line: it is searched as shown.
  fum.Type(L"\r");
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  // The folder of the document shown, every file of its class, subfolders on.
  std::wstring folder = Path(L"");
  folder.pop_back();
  EXPECT_EQ(FieldText(dialog, IDC_FIF_FOLDER), folder);
  EXPECT_EQ(FieldText(dialog, IDC_FIF_PATTERNS), L"*.*");
  EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_FIF_SUBFOLDERS, BM_GETCHECK, 0, 0), BST_CHECKED);
  SetDlgItemTextW(dialog, IDC_FIF_TEXT, L"helper");
  fum.Press(dialog, IDOK);
  ASSERT_TRUE(fum.WaitForTitle(L"fu - doc1*")) << Narrow(fum.Title());
  EXPECT_EQ(fum.ShownText(),
            L"main.c(3):   helper();\r\n"
            L"sub\\helper.c(1): void helper(void);\r\n"
            L"sub\\helper.c(2): int helper_count;\r\n"
            L"3 hits in 2 files (2 files searched)");

  // The find bar took the text: the next search starts with it.
  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(FieldText(dialog, IDC_FIF_TEXT), L"helper");
  fum.Press(dialog, IDCANCEL);

  fum.Command(IDM_DOCSTART);
  Down(2);
  fum.Command(IDM_GOTOLOCATION);
  EXPECT_EQ(fum.Title(), L"fu - helper.c");
  MarkCaretAndSave();
  EXPECT_EQ(Read(L"sub/helper.c"), "void helper(void);\r\nXint helper_count;\r\n");
}

TEST_F(Locations, CancelStopsTheSearchAndShowsNoResults) {
  Start(L"main.c");
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  SetDlgItemTextW(dialog, IDC_FIF_TEXT, L"helper");
  // Escape comes while the search runs: it is queued before the search can end.
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  EXPECT_EQ(fum.WaitForMessageBox(300), nullptr);
  EXPECT_EQ(fum.Title(), L"fu - main.c");

  // A folder that is not there is refused, and the dialog stays.
  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  SetDlgItemTextW(dialog, IDC_FIF_FOLDER, Path(L"none").c_str());
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  HWND box = fum.WaitForDialog(nullptr, dialog);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(DialogMessage(box), L"The folder does not exist.");
  fum.Press(box, IDOK);
  EXPECT_TRUE(IsWindow(dialog));
  fum.Press(dialog, IDCANCEL);
}

TEST_F(Locations, ACompilersLinesLeadToTheirFilesLinesAndColumnsAndAreWorkedThroughInTurn) {
  Write(L"build.log",
                       "gcc -c sub/helper.c\r\nsub/helper.c:2:5: error: expected ';'\r\n"
                       "main.c(1,5): note: here\r\n");
  Start(L"build.log");
  Down(1);
  // F4 is Go to Location.
  ASSERT_TRUE(BringToFront(fum.Window()));
  PressKeys({VK_F4});
  ASSERT_TRUE(fum.WaitForTitle(L"fu - helper.c")) << Narrow(fum.Title());
  MarkCaretAndSave();
  EXPECT_EQ(Read(L"sub/helper.c"), "void helper(void);\r\nint Xhelper_count;\r\n");

  // Next Location goes on through the log without showing it, Previous Location comes back to
  // the file as it is open, unsaved changes and all.
  fum.Command(IDM_NEXTLOCATION);
  EXPECT_EQ(fum.Title(), L"fu - main.c");
  fum.Type(L"Y");
  fum.Command(IDM_PREVLOCATION);
  EXPECT_EQ(fum.WaitForMessageBox(300), nullptr);
  EXPECT_EQ(fum.Title(), L"fu - helper.c");
  MarkCaretAndSave();
  EXPECT_EQ(Read(L"sub/helper.c"), "void helper(void);\r\nint XXhelper_count;\r\n");
  fum.Command(IDM_NEXTLOCATION);
  EXPECT_EQ(fum.Title(), L"fu - main.c*");
  fum.Command(IDM_SAVE);
  EXPECT_EQ(Read(L"main.c"), "int Ymain(void) {\r\n  helper();\r\n}\r\n");
  // Past the last place nothing happens.
  fum.Command(IDM_NEXTLOCATION);
  EXPECT_EQ(fum.Title(), L"fu - main.c");
}

TEST_F(Locations, TheLineNamedWinsOverTheRememberedPlaceAndAMissingFileIsReported) {
  Write(L"build.log", "sub/helper.c(1): here\r\nsub/gone.c:3: error\r\nplain text\r\n");
  ASSERT_TRUE(fum.Start(L"\"" + Path(L"sub\\helper.c") + L"\" \"" + Path(L"build.log") + L"\""))
      << Narrow(fum.Error());
  // helper.c is closed with its caret on line 2, which it would open at again.
  fum.Command(IDM_WINDOW_FIRST);
  ASSERT_EQ(fum.Title(), L"fu - helper.c");
  Down(1);
  fum.Command(IDM_CLOSE);
  ASSERT_EQ(fum.Title(), L"fu - build.log");
  fum.Command(IDM_GOTOLOCATION);
  ASSERT_EQ(fum.Title(), L"fu - helper.c");
  MarkCaretAndSave();
  EXPECT_EQ(Read(L"sub/helper.c"), "Xvoid helper(void);\r\nint helper_count;\r\n");

  fum.PostCommand(IDM_NEXTLOCATION);
  std::wstring caption, text;
  ASSERT_TRUE(fum.Answer(IDOK, &caption, &text));
  EXPECT_EQ(caption, L"Error");
  EXPECT_EQ(text, L"I can't find the file\n" + Path(L"sub\\gone.c"));
  // A line that names no place changes nothing and asks nothing.
  fum.Command(IDM_WINDOW_FIRST);
  ASSERT_EQ(fum.Title(), L"fu - build.log");
  Down(2);
  fum.Command(IDM_GOTOLOCATION);
  EXPECT_EQ(fum.WaitForMessageBox(300), nullptr);
  EXPECT_EQ(fum.Title(), L"fu - build.log");
}
