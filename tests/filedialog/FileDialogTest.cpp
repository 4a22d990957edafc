// The open and save dialog run on a thread of its own and driven from the test as a user would:
// typing names, pressing OK, tapping headers, buttons and the splitter, answering questions.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "TempFolder.h"
#include "comun/resource.h"
#include "filedialog/FileDialog.h"
#include "platform/Platform.h"

namespace {

// Waits, serving what the dialog sends to windows of this thread (its owner).
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!done()) {
    if (GetTickCount64() >= deadline) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(20);
  }
  return true;
}

// An owner window that counts the help requests the dialog sends it.
int helpRequests = 0;
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_FILEDLG_HELP) ++helpRequests;
  return DefWindowProcW(window, message, wParam, lParam);
}

// A request as the program fills it, with buffers that live as long as it.
struct Request {
  std::vector<wchar_t> file = std::vector<wchar_t>(261, L'\0');
  std::vector<wchar_t> title = std::vector<wchar_t>(64, L'\0');
  std::wstring initialDir;
  std::wstring filter;  // pairs separated by NULs
  std::wstring defaultExtension = L"txt";
  OPENFILENAMEW data{};

  OPENFILENAMEW& Build(DWORD flags, DWORD options = 0) {
    data.lStructSize = sizeof data;
    data.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    data.nMaxCustFilter = options;
    data.lpstrFile = file.data();
    data.nMaxFile = static_cast<DWORD>(file.size());
    data.lpstrFileTitle = title.data();
    data.nMaxFileTitle = static_cast<DWORD>(title.size());
    data.lpstrInitialDir = initialDir.c_str();
    data.lpstrDefExt = defaultExtension.c_str();
    data.Flags = flags;
    return data;
  }
  std::wstring Path() const { return file.data(); }
};

struct WindowSearch { bool wantDialog; HWND found; };

BOOL CALLBACK FindThreadWindow(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<WindowSearch*>(data);
  wchar_t className[16] = L"";
  GetClassNameW(window, className, 16);
  if (lstrcmpW(className, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  if ((GetDlgItem(window, IDC_FILEDLG_TREE) != nullptr) != search.wantDialog) return TRUE;
  search.found = window;
  return FALSE;
}

// One run of the dialog on its own thread.
class ShownDialog {
 public:
  ShownDialog(OPENFILENAMEW& request, bool saveMode) {
    thread_ = std::thread([this, &request, saveMode] {
      threadId_ = GetCurrentThreadId();
      result_ = saveMode ? SaveFileDialog(request) : OpenFileDialog(request);
      done_ = true;
    });
    WaitUntil([this] { return done_ || (window = ThreadWindow(true)) != nullptr; });
  }
  ~ShownDialog() {
    if (!done_) {
      if (HWND box = ThreadWindow(false)) PostMessageW(box, WM_COMMAND, IDNO, 0);
      if (window) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    }
    // Ending, the dialog enables its owner again, which may be a window of this thread.
    WaitUntil([this] { return done_.load(); });
    thread_.join();
  }

  HWND ThreadWindow(bool dialog) const {
    WindowSearch search{dialog, nullptr};
    if (threadId_) EnumThreadWindows(threadId_, FindThreadWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  HWND Control(int id) const { return GetDlgItem(window, id); }
  bool Shown() const { return !done_ && IsWindow(window); }

  // Ends with the dialog's answer; false when it is still shown after the wait.
  bool Ended(DWORD timeoutMs = 3000) const {
    return WaitUntil([this] { return done_.load(); }, timeoutMs);
  }
  bool Result() const { return result_; }

  void Command(int id) const { SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  void Type(const std::wstring& text) const {
    SendMessageW(Control(IDC_FILEDLG_NAME), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
  }
  std::wstring Typed() const {
    wchar_t text[300] = L"";
    GetWindowTextW(Control(IDC_FILEDLG_NAME), text, 300);
    return text;
  }
  // Types a name and presses OK; a question it asks stays open (see Question).
  void Ok(const std::wstring& text) const {
    Type(text);
    // Pressed from a thread of its own, which a question keeps waiting: the OK has been
    // handled when that press returns, a question shows or the dialog has ended.
    auto handled = std::make_shared<std::atomic<bool>>(false);
    platform::RunWithin(
        [target = window, handled] {
          SendMessageW(target, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
          *handled = true;
        },
        0);
    WaitUntil([&] { return *handled || done_ || ThreadWindow(false) != nullptr; });
  }
  // The question shown over the dialog, waited for; its text comes back in text.
  HWND Question(std::wstring* text = nullptr, DWORD timeoutMs = 3000) const {
    HWND box = nullptr;
    WaitUntil([&] { return (box = ThreadWindow(false)) != nullptr; }, timeoutMs);
    if (box && text) {
      wchar_t buffer[256] = L"";
      for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = L"";
        GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"Static") == 0 && GetWindowTextW(child, buffer, 256) > 0) {
          *text = buffer;
        }
      }
    }
    return box;
  }
  void Answer(HWND box, int button) const {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    WaitUntil([box] { return !IsWindow(box); });
    SendMessageW(window, WM_NULL, 0, 0);
  }

  // The texts of a column of the file list, top to bottom.
  std::vector<std::wstring> Column(int column = 0) const {
    HWND list = Control(IDC_FILEDLG_LIST);
    std::vector<std::wstring> texts;
    int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
      wchar_t text[MAX_PATH] = L"";
      ListView_GetItemText(list, i, column, text, MAX_PATH);
      texts.push_back(text);
    }
    return texts;
  }
  std::vector<std::wstring> SortedNames() const {
    std::vector<std::wstring> names = Column();
    std::sort(names.begin(), names.end());
    return names;
  }
  std::wstring ItemText(HTREEITEM item) const {
    wchar_t text[MAX_PATH] = L"";
    TVITEMW data{};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = MAX_PATH;
    TreeView_GetItem(Control(IDC_FILEDLG_TREE), &data);
    return text;
  }
  HTREEITEM Selected() const { return TreeView_GetSelection(Control(IDC_FILEDLG_TREE)); }
  std::vector<std::wstring> Children(HTREEITEM item) const {
    HWND tree = Control(IDC_FILEDLG_TREE);
    std::vector<std::wstring> texts;
    for (HTREEITEM child = TreeView_GetChild(tree, item); child;
         child = TreeView_GetNextSibling(tree, child)) {
      texts.push_back(ItemText(child));
    }
    return texts;
  }
  HWND MenuBar() const {
    return FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr);
  }
  void SetShowFolders(bool on) const {
    if ((SendMessageW(MenuBar(), TB_ISBUTTONCHECKED, IDM_FILEDLG_SHOWFOLDERS, 0) != 0) != on) {
      Command(IDM_FILEDLG_SHOWFOLDERS);
    }
  }
  // A press and release of the stylus at a point of a window's client area.
  static void Click(HWND target, POINT point) {
    LPARAM where = MAKELPARAM(point.x, point.y);
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, where);
    SendMessageW(target, WM_LBUTTONUP, 0, where);
  }
  RECT Placement(int id) const {
    RECT rect{};
    GetWindowRect(Control(id), &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  HWND window = nullptr;

 private:
  std::thread thread_;
  std::atomic<DWORD> threadId_{0};
  std::atomic<bool> done_{false};
  std::atomic<bool> result_{false};
};

// A folder of files to choose from: docs\ with files, a visible and a hidden subfolder, and
// files deeper down.
class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(temp.Native(L"docs\\src\\deep\\er"));
    std::filesystem::create_directories(temp.Native(L"docs\\secret"));
    temp.Write(L"docs\\a.txt", std::string(1025, 'a'));
    temp.Write(L"docs\\b.c", std::string(3, 'b'));
    temp.Write(L"docs\\big.txt", std::string(1048577, 'c'));
    temp.Write(L"docs\\hidden.txt", "h");
    temp.Write(L"docs\\src\\deep\\er\\found.c", "x");
    SetFileAttributesW(temp.Path(L"docs\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(temp.Path(L"docs\\secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
    request.initialDir = temp.Path(L"docs");
  }
  std::wstring Docs(const std::wstring& name) const { return temp.Path(L"docs\\" + name); }

  TempFolder temp;
  Request request;
};

using Names = std::vector<std::wstring>;

TEST_F(FileDialogTest, StartsInTheInitialFolderWithItsVisibleFilesSizesAndFolders) {
  ShownDialog dialog(request.Build(0), false);
  ASSERT_TRUE(dialog.Shown());
  ASSERT_NE(dialog.Control(IDC_FILEDLG_TREE), nullptr);
  ASSERT_NE(dialog.Control(IDC_FILEDLG_LIST), nullptr);
  dialog.SetShowFolders(false);

  EXPECT_EQ(dialog.ItemText(dialog.Selected()), L"docs");
  EXPECT_EQ(dialog.Children(dialog.Selected()), Names{L"src"});  // the hidden folder is absent
  EXPECT_EQ(dialog.SortedNames(), (Names{L"a.txt", L"b.c", L"big.txt"}));
  Names names = dialog.Column(0);
  Names sizes = dialog.Column(1);
  std::map<std::wstring, std::wstring> sizeOf;
  for (std::size_t i = 0; i < names.size(); ++i) sizeOf[names[i]] = sizes[i];
  EXPECT_EQ(sizeOf[L"a.txt"], L"1K");
  EXPECT_EQ(sizeOf[L"big.txt"], L"1M");
  EXPECT_EQ(sizeOf[L"b.c"], L"3");
  for (const std::wstring& date : dialog.Column(2)) EXPECT_FALSE(date.empty());

  // The tree's root holds the drives; the walk went down from the folder's drive.
  HWND tree = dialog.Control(IDC_FILEDLG_TREE);
  HTREEITEM root = TreeView_GetRoot(tree);
  EXPECT_EQ(dialog.ItemText(root), L"\\");
  Names drives = dialog.Children(root);
  EXPECT_NE(std::find(drives.begin(), drives.end(), request.initialDir.substr(0, 2)),
            drives.end());
  // Each drive shows an icon of its kind.
  for (HTREEITEM drive = TreeView_GetChild(tree, root); drive;
       drive = TreeView_GetNextSibling(tree, drive)) {
    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_HANDLE;
    item.hItem = drive;
    TreeView_GetItem(tree, &item);
    EXPECT_GE(item.iImage, 0) << ::testing::PrintToString(dialog.ItemText(drive));
  }

  dialog.SetShowFolders(true);
  EXPECT_EQ(dialog.SortedNames(), (Names{L"a.txt", L"b.c", L"big.txt", L"src"}));
  dialog.SetShowFolders(false);
  dialog.Command(IDCANCEL);
  ASSERT_TRUE(dialog.Ended());
  EXPECT_FALSE(dialog.Result());
}

TEST_F(FileDialogTest, TheFilterBoxChoosesWhichFilesShow) {
  request.filter = std::wstring(L"Text\0*.txt\0C files\0*.c; *.h\0\0", 30);
  ShownDialog dialog(request.Build(0), false);
  ASSERT_TRUE(dialog.Shown());
  dialog.SetShowFolders(false);
  EXPECT_EQ(dialog.SortedNames(), (Names{L"a.txt", L"big.txt"}));
  HWND filter = dialog.Control(IDC_FILEDLG_FILTER);
  SendMessageW(filter, CB_SETCURSEL, 1, 0);
  SendMessageW(dialog.window, WM_COMMAND, MAKEWPARAM(IDC_FILEDLG_FILTER, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(filter));
  EXPECT_EQ(dialog.SortedNames(), Names{L"b.c"});
  // Folders are never filtered.
  dialog.SetShowFolders(true);
  EXPECT_EQ(dialog.SortedNames(), (Names{L"b.c", L"src"}));
  dialog.SetShowFolders(false);
}

TEST_F(FileDialogTest, TappingTheSizeHeaderTwiceSortsDescendingWithFoldersStillFirst) {
  ShownDialog dialog(request.Build(0), false);
  ASSERT_TRUE(dialog.Shown());
  dialog.SetShowFolders(true);
  HWND header = ListView_GetHeader(dialog.Control(IDC_FILEDLG_LIST));
  RECT size{};
  Header_GetItemRect(header, 1, &size);
  POINT centre{(size.left + size.right) / 2, (size.top + size.bottom) / 2};
  auto mark = [header] {
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    Header_GetItem(header, 1, &item);
    return item.fmt & HDF_IMAGE ? item.iImage : 0;
  };

  // The order is kept from the last run: tap until the size column is ascending.
  for (int tap = 0; tap < 2 && mark() != 1; ++tap) {
    ShownDialog::Click(header, centre);
  }
  EXPECT_EQ(dialog.Column(0), (Names{L"src", L"b.c", L"a.txt", L"big.txt"}));
  EXPECT_EQ(mark(), 1);
  ShownDialog::Click(header, centre);
  EXPECT_EQ(dialog.Column(0), (Names{L"src", L"big.txt", L"a.txt", L"b.c"}));
  EXPECT_EQ(mark(), 2);
  dialog.SetShowFolders(false);
}

TEST_F(FileDialogTest, SaveAddsTheDefaultExtensionAndAsksBeforeReplacing) {
  {
    ShownDialog dialog(request.Build(OFN_OVERWRITEPROMPT), true);
    ASSERT_TRUE(dialog.Shown());
    std::wstring text;
    dialog.Ok(L"a");  // a.txt exists
    HWND box = dialog.Question(&text);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text, L"File exists - do you want to replace the existing file?");
    dialog.Answer(box, IDNO);
    EXPECT_TRUE(dialog.Shown());
    dialog.Ok(L"a.txt");
    box = dialog.Question();
    ASSERT_NE(box, nullptr);
    dialog.Answer(box, IDYES);
    ASSERT_TRUE(dialog.Ended());
    EXPECT_TRUE(dialog.Result());
  }
  EXPECT_EQ(request.Path(), Docs(L"a.txt"));
  EXPECT_EQ(request.data.nFileOffset, Docs(L"a.txt").size() - 5);
  EXPECT_EQ(request.data.nFileExtension, Docs(L"a.txt").size() - 3);
  EXPECT_EQ(std::wstring(request.title.data()), L"a.txt");
  EXPECT_EQ(request.data.nMaxCustFilter, 110u);
  EXPECT_EQ(temp.Read(L"docs\\a.txt").size(), 1025u);  // the dialog writes nothing

  // A new name gets the extension; one with a final dot does not, and loses the dot.
  for (auto [typed, chosen] : {std::pair{L"fresh", L"fresh.txt"}, {L"plain.", L"plain"}}) {
    ShownDialog dialog(request.Build(OFN_OVERWRITEPROMPT), true);
    dialog.Ok(typed);
    ASSERT_TRUE(dialog.Ended());
    EXPECT_EQ(request.Path(), Docs(chosen));
  }
}

TEST_F(FileDialogTest, OpenFollowsTheFlagsForAFileThatDoesNotExist) {
  {
    ShownDialog dialog(request.Build(OFN_FILEMUSTEXIST), false);
    dialog.Ok(L"missing.txt");
    EXPECT_TRUE(dialog.Shown());
    EXPECT_EQ(dialog.ThreadWindow(false), nullptr);
  }
  {
    ShownDialog dialog(request.Build(OFN_CREATEPROMPT), false);
    std::wstring text;
    dialog.Ok(L"missing.txt");
    HWND box = dialog.Question(&text);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text, L"File does not exist. Create?");
    dialog.Answer(box, IDNO);
    EXPECT_TRUE(dialog.Shown());
    EXPECT_FALSE(std::filesystem::exists(temp.Native(L"docs\\missing.txt")));
  }
  // Without either flag the file is made, empty, and chosen.
  ShownDialog dialog(request.Build(0), false);
  dialog.Ok(L"made");
  ASSERT_TRUE(dialog.Ended());
  EXPECT_TRUE(dialog.Result());
  EXPECT_EQ(request.Path(), Docs(L"made.txt"));
  EXPECT_TRUE(std::filesystem::exists(temp.Native(L"docs\\made.txt")));
  EXPECT_EQ(temp.Read(L"docs\\made.txt"), "");
}

TEST_F(FileDialogTest, FoldersAreEnteredByNameByTheTreeAndLeftWithFolderUp) {
  ShownDialog dialog(request.Build(0), false);
  ASSERT_TRUE(dialog.Shown());
  dialog.SetShowFolders(false);
  // A typed folder name enters the folder and clears the field.
  dialog.Ok(L"src");
  EXPECT_TRUE(dialog.Shown());
  EXPECT_EQ(dialog.ItemText(dialog.Selected()), L"src");
  EXPECT_EQ(dialog.Typed(), L"");
  // Walking down the tree lists each folder.
  HWND tree = dialog.Control(IDC_FILEDLG_TREE);
  HTREEITEM deep = TreeView_GetChild(tree, dialog.Selected());
  ASSERT_EQ(dialog.ItemText(deep), L"deep");
  TreeView_Expand(tree, deep, TVE_EXPAND);
  HTREEITEM er = TreeView_GetChild(tree, deep);
  ASSERT_NE(er, nullptr);
  TreeView_SelectItem(tree, er);
  EXPECT_EQ(dialog.Column(), Names{L"found.c"});
  dialog.Command(IDM_FILEDLG_FOLDERUP);
  EXPECT_EQ(dialog.ItemText(dialog.Selected()), L"deep");
  EXPECT_TRUE(dialog.Column().empty());
  // A double tap on a file in the list chooses it.
  TreeView_SelectItem(tree, er);
  HWND list = dialog.Control(IDC_FILEDLG_LIST);
  ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(dialog.Typed(), L"found.c");
  RECT item{};
  ListView_GetItemRect(list, 0, &item, LVIR_LABEL);
  LPARAM where = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
  PostMessageW(list, WM_LBUTTONUP, 0, where);
  ASSERT_TRUE(dialog.Ended());
  EXPECT_EQ(request.Path(), Docs(L"src\\deep\\er\\found.c"));
}

TEST_F(FileDialogTest, AHiddenFolderTypedByNameIsEnteredAndAPrefixEntersNothing) {
  std::filesystem::create_directories(temp.Native(L"docs\\secretive"));
  temp.Write(L"docs\\secret\\inside.txt", "i");
  ShownDialog dialog(request.Build(OFN_OVERWRITEPROMPT), true);
  ASSERT_TRUE(dialog.Shown());
  dialog.SetShowFolders(false);
  dialog.Ok(L"SECRET");
  EXPECT_TRUE(dialog.Shown());
  EXPECT_EQ(dialog.ItemText(dialog.Selected()), L"secret");
  EXPECT_EQ(dialog.Column(), Names{L"inside.txt"});
  EXPECT_EQ(dialog.Typed(), L"");
  // Another spelling of a listed folder enters it and lists it no second time.
  wchar_t shortName[MAX_PATH] = L"";
  GetShortPathNameW(Docs(L"secretive").c_str(), shortName, MAX_PATH);
  for (auto [typed, folder] : {std::pair{L"src ", L"src"}, {shortName, L"secretive"}}) {
    dialog.Command(IDM_FILEDLG_FOLDERUP);
    dialog.Ok(typed);
    EXPECT_EQ(dialog.ItemText(dialog.Selected()), folder) << ::testing::PrintToString(std::wstring(typed));
  }
  dialog.Command(IDM_FILEDLG_FOLDERUP);
  EXPECT_EQ(dialog.Children(dialog.Selected()), (Names{L"secret", L"secretive", L"src"}));
  // The start of a folder's name is a file name, not that folder.
  dialog.Ok(L"secretiv");
  ASSERT_TRUE(dialog.Ended());
  EXPECT_EQ(request.Path(), Docs(L"secretiv.txt"));
}

TEST_F(FileDialogTest, AStartPathIsWalkedByWholeFolderNames) {
  // "sr" in the docs folder, beside the folder "src": the dialog starts in docs.
  std::wstring path = Docs(L"sr");
  OPENFILENAMEW& data = request.Build(OFN_OVERWRITEPROMPT);
  path.copy(request.file.data(), path.size());
  ShownDialog dialog(data, true);
  ASSERT_TRUE(dialog.Shown());
  EXPECT_EQ(dialog.ItemText(dialog.Selected()), L"docs");
  EXPECT_EQ(dialog.Typed(), L"sr");
}

TEST_F(FileDialogTest, ATypedPathTooLongForTheBufferIsRefusedNotCut) {
  ShownDialog dialog(request.Build(0), false);
  ASSERT_TRUE(dialog.Shown());
  // Cut at 260 characters this would name a file the dialog would make and choose.
  const std::wstring folder = Docs(L"");
  const std::wstring typed = folder + L"n.t" + std::wstring(300 - folder.size(), L'x');
  dialog.Ok(typed);
  EXPECT_TRUE(dialog.Shown());
  EXPECT_EQ(dialog.ThreadWindow(false), nullptr);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Native(L"docs")),
                          std::filesystem::directory_iterator()), 6);
}

TEST_F(FileDialogTest, AFullPathOpensDirectlyFromAnywhere) {
  request.initialDir = L"\\";
  ShownDialog dialog(request.Build(OFN_FILEMUSTEXIST), false);
  ASSERT_TRUE(dialog.Shown());
  dialog.Ok(Docs(L"src\\deep\\er\\found.c"));
  ASSERT_TRUE(dialog.Ended());
  EXPECT_TRUE(dialog.Result());
  EXPECT_EQ(request.Path(), Docs(L"src\\deep\\er\\found.c"));
  EXPECT_EQ(std::wstring(request.title.data()), L"found.c");
}

TEST_F(FileDialogTest, APathInTheFileBufferStartsInItsFolderWithItsName) {
  std::wstring path = Docs(L"src\\deep\\er\\found.c");
  OPENFILENAMEW& data = request.Build(OFN_OVERWRITEPROMPT);
  path.copy(request.file.data(), path.size());
  ShownDialog dialog(data, true);
  ASSERT_TRUE(dialog.Shown());
  EXPECT_EQ(dialog.ItemText(dialog.Selected()), L"er");
  EXPECT_EQ(dialog.Typed(), L"found.c");
  EXPECT_EQ(dialog.Column(), Names{L"found.c"});
}

TEST_F(FileDialogTest, ViewsSplitterAndCloseButton) {
  ShownDialog dialog(request.Build(0), false);
  ASSERT_TRUE(dialog.Shown());
  dialog.SetShowFolders(false);
  HWND tree = dialog.Control(IDC_FILEDLG_TREE);
  HWND list = dialog.Control(IDC_FILEDLG_LIST);
  RECT listPlace = dialog.Placement(IDC_FILEDLG_LIST);
  RECT treePlace = dialog.Placement(IDC_FILEDLG_TREE);
  EXPECT_EQ(treePlace.bottom, 110);
  EXPECT_EQ(listPlace.top, 117);

  dialog.Command(IDM_FILEDLG_FOLDERS);
  EXPECT_TRUE(IsWindowVisible(tree));
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_EQ(dialog.Placement(IDC_FILEDLG_TREE).bottom, listPlace.bottom);

  // Files only shows the folders in the list.
  dialog.Command(IDM_FILEDLG_FILES);
  EXPECT_FALSE(IsWindowVisible(tree));
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(dialog.Placement(IDC_FILEDLG_LIST).top, treePlace.top);
  EXPECT_EQ(dialog.SortedNames(), (Names{L"a.txt", L"b.c", L"big.txt", L"src"}));

  dialog.Command(IDM_FILEDLG_BOTH);
  EXPECT_TRUE(IsWindowVisible(tree) && IsWindowVisible(list));
  EXPECT_EQ(dialog.Placement(IDC_FILEDLG_LIST).top, 117);

  // Dragging the splitter moves the tree's bottom, which comes back in the option word. The
  // pointer is put where the drag ends: a move the system makes up at the pointer while the
  // splitter has the capture (wherever an earlier test left it) then goes to the same place.
  POINT dragEnd{50, 152};
  ClientToScreen(dialog.window, &dragEnd);
  SetCursorPos(dragEnd.x, dragEnd.y);
  SendMessageW(dialog.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 112));
  SendMessageW(dialog.window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 152));
  SendMessageW(dialog.window, WM_LBUTTONUP, 0, MAKELPARAM(50, 152));
  EXPECT_EQ(dialog.Placement(IDC_FILEDLG_TREE).bottom, 150);
  EXPECT_EQ(dialog.Placement(IDC_FILEDLG_LIST).top, 157);

  // A press on the close button that ends outside it keeps the dialog; one inside cancels.
  RECT client{};
  GetClientRect(dialog.window, &client);
  POINT close{client.right - 12, 11};
  SendMessageW(dialog.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(close.x, close.y));
  SendMessageW(dialog.window, WM_LBUTTONUP, 0, MAKELPARAM(close.x - 40, close.y));
  EXPECT_TRUE(dialog.Shown());
  ShownDialog::Click(dialog.window, close);
  ASSERT_TRUE(dialog.Ended());
  EXPECT_FALSE(dialog.Result());
}

TEST_F(FileDialogTest, TheOptionWordSetsTheTreeBottomTheViewAndShowFolders) {
  {
    ShownDialog dialog(request.Build(0, 150 | (1u << 16)), false);
    ASSERT_TRUE(dialog.Shown());
    EXPECT_FALSE(IsWindowVisible(dialog.Control(IDC_FILEDLG_LIST)));
    dialog.Command(IDM_FILEDLG_BOTH);
    EXPECT_EQ(dialog.Placement(IDC_FILEDLG_TREE).bottom, 150);
    dialog.Ok(L"a.txt");
    ASSERT_TRUE(dialog.Ended());
    EXPECT_EQ(request.data.nMaxCustFilter, 150u);
  }
  ShownDialog dialog(request.Build(0, 1u << 20), false);
  ASSERT_TRUE(dialog.Shown());
  EXPECT_NE(SendMessageW(dialog.MenuBar(), TB_ISBUTTONCHECKED, IDM_FILEDLG_SHOWFOLDERS, 0), 0);
  EXPECT_EQ(dialog.SortedNames(), (Names{L"a.txt", L"b.c", L"big.txt", L"src"}));
  dialog.SetShowFolders(false);
}

TEST_F(FileDialogTest, HelpGoesToTheOwner) {
  WNDCLASSW ownerClass{};
  ownerClass.lpfnWndProc = OwnerProc;
  ownerClass.hInstance = GetModuleHandleW(nullptr);
  ownerClass.lpszClassName = L"FileDialogTestOwner";
  RegisterClassW(&ownerClass);
  HWND owner = CreateWindowExW(0, ownerClass.lpszClassName, L"owner", WS_OVERLAPPEDWINDOW, 0, 0,
                               240, 320, nullptr, nullptr, ownerClass.hInstance, nullptr);
  OPENFILENAMEW& data = request.Build(0);
  data.hwndOwner = owner;
  {
    ShownDialog dialog(data, false);
    ASSERT_TRUE(dialog.Shown());
    // F1 in the dialog: its help request reaches the owner, which this thread serves.
    HELPINFO help{};
    help.cbSize = sizeof help;
    std::thread press([target = dialog.window, &help] {
      SendMessageW(target, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    });
    EXPECT_TRUE(WaitUntil([] { return helpRequests == 1; }));
    press.join();
  }
  DestroyWindow(owner);
}

}  // namespace
