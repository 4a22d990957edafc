// The dialog's folder tree: the drives under its root, folders added one level at a time when
// an item is first expanded, and the walk along a path.
#include "filedialog/FileDialogWindow.h"

#include <shellapi.h>

#include "filedialog/FolderPaths.h"

namespace {

// Item data of a tree item: whether its children have been listed.
constexpr LPARAM childrenUnknown = 0;
constexpr LPARAM childrenKnown = 1;

HIMAGELIST SystemSmallImages() {
  SHFILEINFOW info{};
  return reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"*.exe", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                     SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

// The small system icon of any folder, open or closed.
int FolderIcon(bool open) {
  SHFILEINFOW info{};
  UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;
  SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                 flags | (open ? SHGFI_OPENICON : 0));
  return info.iIcon;
}

// The small system icon of a drive, chosen by its kind without touching the drive: asking the
// drive itself waits for a network drive that is away, or an empty card slot. Where the system
// has no icon for a kind, a fixed or RAM drive (which answers at once) is asked itself, any other
// kind gets the icon its attributes give.
int DriveIcon(const std::wstring& root) {
  const UINT type = GetDriveTypeW(root.c_str());
  SHSTOCKICONID kind = SIID_DRIVEFIXED;
  switch (type) {
    case DRIVE_REMOVABLE: kind = SIID_DRIVEREMOVE; break;
    case DRIVE_REMOTE: kind = SIID_DRIVENET; break;
    case DRIVE_CDROM: kind = SIID_DRIVECD; break;
    case DRIVE_RAMDISK: kind = SIID_DRIVERAM; break;
    default: break;
  }
  SHSTOCKICONINFO stock{};
  stock.cbSize = sizeof stock;
  if (SUCCEEDED(SHGetStockIconInfo(kind, SHGSI_SYSICONINDEX | SHGSI_SMALLICON, &stock)) &&
      stock.iSysImageIndex >= 0)
    return stock.iSysImageIndex;
  SHFILEINFOW info{};
  UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
  if (type != DRIVE_FIXED && type != DRIVE_RAMDISK) flags |= SHGFI_USEFILEATTRIBUTES;
  SHGetFileInfoW(root.c_str(), FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, flags);
  return info.iIcon;
}

// The name a folder inside parent (a path ending with a backslash) has on disk, when one of
// this name (letter case aside) exists; else empty. Names with wildcards name none.
std::wstring FolderOnDisk(const std::wstring& parent, const std::wstring& name) {
  if (parent.empty() || name.find_first_of(L"*?") != std::wstring::npos) return {};
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((parent + name).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  FindClose(search);
  return found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? found.cFileName : std::wstring();
}

// The current drive, on which root-based paths such as "\docs" lie.
std::wstring CurrentDrive() {
  wchar_t folder[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, folder);
  std::wstring drive = filedialog::DriveOf(folder);
  return drive.empty() ? L"C:" : drive;
}

}  // namespace

void FileDialogWindow::InitTree() {
  TreeView_SetImageList(tree_, SystemSmallImages(), TVSIL_NORMAL);
  HTREEITEM root = InsertFolder(TVI_ROOT, L"\\", L"");
  TreeView_Expand(tree_, root, TVE_EXPAND);
}

HTREEITEM FileDialogWindow::InsertFolder(HTREEITEM parent, const std::wstring& text,
                                         const std::wstring& driveRoot) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
  insert.item.pszText = const_cast<LPWSTR>(text.c_str());
  const bool drive = !driveRoot.empty();
  insert.item.iImage = drive ? DriveIcon(driveRoot) : FolderIcon(false);
  insert.item.iSelectedImage = drive ? insert.item.iImage : FolderIcon(true);
  insert.item.cChildren = 1;  // an expand button until the folder has been listed
  insert.item.lParam = childrenUnknown;
  return TreeView_InsertItem(tree_, &insert);
}

void FileDialogWindow::ExpandOnce(HTREEITEM item) {
  TVITEMW state{};
  state.mask = TVIF_PARAM | TVIF_HANDLE;
  state.hItem = item;
  if (!TreeView_GetItem(tree_, &state) || state.lParam != childrenUnknown) return;
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  if (TreeView_GetParent(tree_, item)) {
    AddSubfolders(item);
  } else {
    AddDrives(item);
  }
  state.mask = TVIF_PARAM | TVIF_CHILDREN | TVIF_HANDLE;
  state.lParam = childrenKnown;
  state.cChildren = TreeView_GetChild(tree_, item) ? 1 : 0;
  TreeView_SetItem(tree_, &state);
  SetCursor(previous);
  InvalidateRect(tree_, nullptr, TRUE);
}

void FileDialogWindow::AddDrives(HTREEITEM root) {
  DWORD drives = GetLogicalDrives();
  for (int letter = 0; letter < 26; ++letter) {
    if (!(drives & (1u << letter))) continue;
    std::wstring drive{static_cast<wchar_t>(L'A' + letter), L':'};
    InsertFolder(root, drive, drive + L"\\");
  }
}

void FileDialogWindow::AddSubfolders(HTREEITEM item) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((ItemPath(item) + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) || name == L"." || name == L"..") {
      continue;
    }
    InsertFolder(item, name, L"");
  } while (FindNextFileW(search, &found));
  FindClose(search);
  TreeView_SortChildren(tree_, item, FALSE);
}

std::wstring FileDialogWindow::ItemText(HTREEITEM item) const {
  wchar_t text[MAX_PATH] = L"";
  TVITEMW data{};
  data.mask = TVIF_TEXT | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = MAX_PATH;
  TreeView_GetItem(tree_, &data);
  return text;
}

std::wstring FileDialogWindow::ItemPath(HTREEITEM item) const {
  std::vector<std::wstring> texts;
  // The root stands for the drives; the path starts at the drive below it.
  for (; item && TreeView_GetParent(tree_, item); item = TreeView_GetParent(tree_, item)) {
    texts.insert(texts.begin(), ItemText(item));
  }
  return filedialog::FolderPathOf(texts);
}

HTREEITEM FileDialogWindow::ChildFor(HTREEITEM item, const std::wstring& name) {
  ExpandOnce(item);
  std::vector<HTREEITEM> children;
  std::vector<std::wstring> texts;
  for (HTREEITEM child = TreeView_GetChild(tree_, item); child;
       child = TreeView_GetNextSibling(tree_, child)) {
    children.push_back(child);
    texts.push_back(ItemText(child));
  }
  int found = filedialog::FindChildFor(texts, name);
  return found < 0 ? nullptr : children[found];
}

HTREEITEM FileDialogWindow::AddUnlistedFolder(HTREEITEM parent, const std::wstring& name) {
  const std::wstring onDisk = FolderOnDisk(ItemPath(parent), name);
  if (onDisk.empty()) return nullptr;
  // Another spelling of a listed folder (its short name, a blank at the end) is that folder.
  if (HTREEITEM listed = ChildFor(parent, onDisk)) return listed;
  HTREEITEM item = InsertFolder(parent, onDisk, L"");
  TreeView_SortChildren(tree_, parent, FALSE);
  TVITEMW state{};
  state.mask = TVIF_CHILDREN | TVIF_HANDLE;
  state.hItem = parent;
  state.cChildren = 1;
  TreeView_SetItem(tree_, &state);
  return item;
}

HTREEITEM FileDialogWindow::WalkTo(const std::wstring& path) {
  HTREEITEM item = TreeView_GetRoot(tree_);
  for (const std::wstring& component : filedialog::PathComponents(path, CurrentDrive())) {
    // A folder the tree leaves out (a hidden one) is shown once the path leads into it.
    HTREEITEM child = ChildFor(item, component);
    if (!child && TreeView_GetParent(tree_, item)) child = AddUnlistedFolder(item, component);
    if (!child) break;
    TreeView_Expand(tree_, item, TVE_EXPAND);
    item = child;
  }
  TreeView_Expand(tree_, item, TVE_EXPAND);
  return item;
}

void FileDialogWindow::OnTreeSelection() {
  folder_ = ItemPath(TreeView_GetSelection(tree_));
  if (view_ != DialogView::foldersOnly) FillList(folder_);
}

void FileDialogWindow::FolderUp() {
  HTREEITEM parent = TreeView_GetParent(tree_, TreeView_GetSelection(tree_));
  if (parent) TreeView_SelectItem(tree_, parent);
}
