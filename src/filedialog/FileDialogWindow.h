// The open and save dialog's window: its controls, folder tree, file list, views, splitter,
// header and OK, over the portable rules of this folder. One object per run of the dialog.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "filedialog/FilterList.h"
#include "filedialog/ListColumns.h"
#include "filedialog/TypedName.h"
#include "pocketpc/GdiWin32.h"
#include "platform/Platform.h"

// A text of the string table of instance; empty when there is none.
std::wstring LoadDialogText(HINSTANCE instance, UINT id);

// The views of the dialog.
enum class DialogView { foldersOnly = 1, filesOnly = 2, both = 3 };

// What the dialog keeps from one run to the next while the program runs.
struct DialogMemory {
  int sortCode = 0;          // 0 none; ±1 name, ±2 size, ±3 date; negative descending
  bool showFolders = false;  // folders are listed in the file list
};

class FileDialogWindow {
 public:
  FileDialogWindow(OPENFILENAMEW& request, bool saveMode, DialogMemory& memory)
      : request_(request), saveMode_(saveMode), memory_(memory) {}
  FileDialogWindow(const FileDialogWindow&) = delete;
  FileDialogWindow& operator=(const FileDialogWindow&) = delete;

  // Shows dialog 107 modally over the request's owner; true when a file was chosen.
  bool Run();

  static constexpr int headerHeight = 22;
  static constexpr int splitterHeight = 6;
  static constexpr int defaultTreeBottom = 110;

 private:
  HINSTANCE Instance() const;
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code);
  LRESULT OnNotify(const NMHDR& header);

  // Start (FileDialogWindow.cpp).
  void Start();
  void CreateMenuBar();
  void FillFilters();
  void ShowStartFolder();
  void ReadLocale();

  // Layout, views, splitter and header (DialogLayout.cpp).
  RECT Client() const;
  int ListBottom() const;
  void Layout();
  void PlaceTreeAndList();
  void SetView(DialogView view);
  void ToggleShowFolders();
  void FolderUp();
  void Paint();
  void PaintHeader(HDC dc);
  RECT CloseButtonRect() const;
  int FilterLeft() const;
  int TreeTop() const;
  void DrawCloseButton(HDC dc, bool pressed);
  bool OnButtonDown(POINT point);
  void OnMouseMove(POINT point);
  void OnButtonUp(POINT point);
  bool OverSplitter(POINT point) const;
  BOOL SetSplitterCursor();

  // Folder tree (FolderTree.cpp).
  void InitTree();
  // Adds a child with an expand button; driveRoot, a drive's root folder, names the drive whose
  // icon it shows; empty for a folder.
  HTREEITEM InsertFolder(HTREEITEM parent, const std::wstring& text, const std::wstring& driveRoot);
  void ExpandOnce(HTREEITEM item);
  void AddDrives(HTREEITEM root);
  void AddSubfolders(HTREEITEM item);
  std::wstring ItemText(HTREEITEM item) const;
  std::wstring ItemPath(HTREEITEM item) const;
  HTREEITEM ChildFor(HTREEITEM item, const std::wstring& name);
  // Adds the folder name inside item's folder that the tree leaves out (a hidden one, or one
  // made since the listing), when it exists on disk; null otherwise.
  HTREEITEM AddUnlistedFolder(HTREEITEM item, const std::wstring& name);
  // Selects nothing: expands the tree along path and returns the deepest folder of it found.
  HTREEITEM WalkTo(const std::wstring& path);
  void OnTreeSelection();

  // File list (FileList.cpp).
  void InitList();
  void FillList(const std::wstring& folder);
  void AddListItem(const platform::FoundFile& entry, int index);
  std::wstring DateOf(std::uint64_t writeTime) const;
  void SortBy(int column);
  void SortItems();
  void ShowSortMarks();
  void OnListSelection(int item, bool activate);
  const std::vector<std::wstring>* SelectedPatterns() const;

  // OK (FileDialogOk.cpp).
  void OnOk();
  bool Ask(UINT textId);
  void Accept(const filedialog::ChosenPath& chosen);

  OPENFILENAMEW& request_;
  const bool saveMode_;
  DialogMemory& memory_;

  HWND dialog_ = nullptr;
  HWND tree_ = nullptr;
  HWND list_ = nullptr;
  HWND filter_ = nullptr;
  HWND name_ = nullptr;
  HWND menuBar_ = nullptr;
  // Released when the dialog object goes, after its windows.
  platform::GdiObject<HFONT> titleFont_;
  platform::OwnedImageList headerImages_;
  platform::GdiObject<HBITMAP> closeBitmap_;

  std::wstring title_;
  // The splitter's top edge in client pixels; kept while a view hides the tree or the list.
  int treeBottom_ = defaultTreeBottom;
  DialogView view_ = DialogView::both;
  std::wstring folder_;                     // current folder, ending with "\"; empty: drives
  std::vector<filedialog::Filter> filters_;
  std::vector<platform::FoundFile> entries_;  // of the file list; items carry their index
  std::wstring dateFormat_;
  filedialog::LocaleNames localeNames_;

  bool dragging_ = false;                   // the splitter follows the stylus
  int dragOffset_ = 0;                      // from the splitter's top to the stylus
  bool closePressed_ = false;               // the close button is held down
};
