// The dialog's file list: its columns, filling it for a folder, sorting by a header tap with
// the marks in the header, and taking a tapped name.
#include "filedialog/FileDialogWindow.h"

#include <shellapi.h>

#include "comun/resource.h"
#include "platform/HandlerGuard.h"

namespace {

enum Column { nameColumn, sizeColumn, dateColumn, columnCount };

struct ColumnLayout {
  UINT title;
  int width;
  int format;
};
constexpr ColumnLayout columns[columnCount] = {
    {IDS_COLUMN_NAME, 130, LVCFMT_LEFT},
    {IDS_COLUMN_SIZE, 40, LVCFMT_RIGHT},
    {IDS_COLUMN_DATE, 70, LVCFMT_LEFT},
};

// Images of the header's image list (bitmap 119).
constexpr int ascendingMark = 1;
constexpr int descendingMark = 2;
constexpr COLORREF keyColour = RGB(255, 0, 255);

// The small system icon of an entry's type. Taken from the name and attributes alone: asking
// for the file's own icon opens every program and library to read it, which makes a large
// folder list slowly.
int EntryIcon(const platform::FoundFile& entry) {
  SHFILEINFOW info{};
  DWORD attributes = entry.isFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  SHGetFileInfoW(entry.name.c_str(), attributes, &info, sizeof info,
                 SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  return info.iIcon;
}

struct SortContext {
  const std::vector<platform::FoundFile>* entries;
  int code;
};

int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM context) {
  const auto& sort = *reinterpret_cast<const SortContext*>(context);
  return platform::Guarded(
      [&] {
        return filedialog::CompareEntries((*sort.entries)[first], (*sort.entries)[second],
                                          sort.code);
      },
      [] { return 0; });
}

}  // namespace

void FileDialogWindow::InitList() {
  SHFILEINFOW info{};
  auto images = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"*.exe", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                     SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  ListView_SetImageList(list_, images, LVSIL_SMALL);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < columnCount; ++i) {
    std::wstring title = LoadDialogText(Instance(), columns[i].title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = columns[i].format;
    column.cx = columns[i].width;
    column.pszText = title.data();
    column.iSubItem = i;
    ListView_InsertColumn(list_, i, &column);
  }
  headerImages_.Reset(ImageList_LoadImageW(Instance(), MAKEINTRESOURCEW(IDB_SORTMARKS), 16, 0,
                                            keyColour, IMAGE_BITMAP, LR_CREATEDIBSECTION));
  Header_SetImageList(ListView_GetHeader(list_), headerImages_.Get());
  ShowSortMarks();
}

void FileDialogWindow::FillList(const std::wstring& folder) {
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  folder_ = folder;
  const std::vector<std::wstring>* patterns = SelectedPatterns();
  ListView_DeleteAllItems(list_);
  entries_.clear();
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  WIN32_FIND_DATAW found{};
  HANDLE search = folder.empty() ? INVALID_HANDLE_VALUE
                                 : FindFirstFileW((folder + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      platform::FoundFile entry;
      entry.name = found.cFileName;
      entry.isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) || entry.name == L"." ||
          entry.name == L"..") {
        continue;
      }
      if (entry.isFolder ? !memory_.showFolders
                         : patterns && !filedialog::PassesFilter(entry.name, *patterns)) {
        continue;
      }
      entry.size = (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
      entry.writeTime = (std::uint64_t{found.ftLastWriteTime.dwHighDateTime} << 32) |
                        found.ftLastWriteTime.dwLowDateTime;
      entries_.push_back(std::move(entry));
      AddListItem(entries_.back(), static_cast<int>(entries_.size()) - 1);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  // The header shows the order of the last tap: the new list follows it.
  if (memory_.sortCode != 0) SortItems();
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  SetCursor(previous);
}

void FileDialogWindow::AddListItem(const platform::FoundFile& entry, int index) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<LPWSTR>(entry.name.c_str());
  item.iImage = EntryIcon(entry);
  item.lParam = index;
  int row = ListView_InsertItem(list_, &item);
  if (row < 0) return;
  // A folder's size says nothing; its column stays empty.
  std::wstring size = entry.isFolder ? L"" : filedialog::SizeText(entry.size);
  ListView_SetItemText(list_, row, sizeColumn, size.data());
  std::wstring date = DateOf(entry.writeTime);
  ListView_SetItemText(list_, row, dateColumn, date.data());
}

std::wstring FileDialogWindow::DateOf(std::uint64_t writeTime) const {
  FILETIME universal{static_cast<DWORD>(writeTime), static_cast<DWORD>(writeTime >> 32)};
  FILETIME local{};
  SYSTEMTIME time{};
  if (!FileTimeToLocalFileTime(&universal, &local) || !FileTimeToSystemTime(&local, &time)) {
    return {};
  }
  filedialog::LocalTime fields{time.wYear, time.wMonth,  time.wDay,   time.wDayOfWeek,
                               time.wHour, time.wMinute, time.wSecond};
  return filedialog::DateText(dateFormat_, fields, localeNames_);
}

void FileDialogWindow::SortBy(int column) {
  if (column < 0 || column >= columnCount) return;
  memory_.sortCode = filedialog::NextSortCode(memory_.sortCode, column);
  ShowSortMarks();
  SortItems();
}

void FileDialogWindow::SortItems() {
  SortContext context{&entries_, memory_.sortCode};
  ListView_SortItems(list_, CompareItems, reinterpret_cast<LPARAM>(&context));
}

void FileDialogWindow::ShowSortMarks() {
  HWND header = ListView_GetHeader(list_);
  int sorted = (memory_.sortCode < 0 ? -memory_.sortCode : memory_.sortCode) - 1;
  for (int i = 0; i < columnCount; ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    Header_GetItem(header, i, &item);
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt &= ~(HDF_IMAGE | HDF_BITMAP_ON_RIGHT);
    if (i == sorted) {
      item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
      item.iImage = memory_.sortCode > 0 ? ascendingMark : descendingMark;
    }
    Header_SetItem(header, i, &item);
  }
}

void FileDialogWindow::OnListSelection(int row, bool activate) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (row < 0 || !ListView_GetItem(list_, &item) || item.lParam < 0 ||
      item.lParam >= static_cast<LPARAM>(entries_.size())) {
    return;
  }
  const std::wstring& name = entries_[item.lParam].name;
  if (request_.lpstrFile && request_.nMaxFile > 0) {
    lstrcpynW(request_.lpstrFile, name.c_str(), static_cast<int>(request_.nMaxFile));
  }
  SetWindowTextW(name_, name.c_str());
  if (activate) OnOk();
}
