// Where the dialog's parts lie: the header with its title and close button, the filter box and
// name field, the tree and the list in the three views, and the splitter between them.
#include "filedialog/FileDialogWindow.h"

#include <algorithm>

#include "comun/resource.h"
#include "pocketpc/PocketPC.h"

namespace {

constexpr int fieldLeft = 60;         // the filter box and the name field start here
constexpr int filterRightGap = 31;    // the filter box ends this far from the right edge
constexpr int filterDropHeight = 104;
constexpr int minimumFilterWidth = 90;
constexpr int titleLeft = 8;
constexpr int closeSize = 17;
constexpr COLORREF titleColour = RGB(0, 0, 156);
constexpr COLORREF splitterColour = RGB(0, 0, 156);
constexpr COLORREF keyColour = RGB(255, 0, 255);

int HeightOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect.bottom - rect.top;
}

}  // namespace

RECT FileDialogWindow::Client() const {
  RECT client{};
  GetClientRect(dialog_, &client);
  client.bottom -= MenuBarReservedHeight(dialog_);
  return client;
}

int FileDialogWindow::ListBottom() const { return Client().bottom; }

RECT FileDialogWindow::CloseButtonRect() const {
  RECT client = Client();
  return {client.right - 21, 3, client.right - 21 + closeSize, 3 + closeSize};
}

// The title shares the header with the filter box: the box starts after the title, at x 60 at
// the least, and keeps a useful width.
int FileDialogWindow::FilterLeft() const {
  RECT client = Client();
  int left = fieldLeft;
  const platform::WindowDc dc(dialog_);
  if (dc.Get()) {
    const platform::SelectedObject font(dc.Get(), titleFont_.Get());
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), title_.c_str(), static_cast<int>(title_.size()), &size);
    left = std::max(left, titleLeft + static_cast<int>(size.cx) + 8);
  }
  return std::max(fieldLeft, std::min<int>(left, client.right - filterRightGap -
                                                     minimumFilterWidth));
}

void FileDialogWindow::Layout() {
  if (!tree_) return;
  RECT client = Client();
  int filterLeft = FilterLeft();
  MoveWindow(filter_, filterLeft, 0, client.right - filterRightGap - filterLeft,
             filterDropHeight, TRUE);
  int nameHeight = HeightOf(name_);
  MoveWindow(name_, fieldLeft, headerHeight, client.right - fieldLeft, nameHeight, TRUE);
  if (HWND label = GetDlgItem(dialog_, IDC_FILEDLG_LABEL)) {
    MoveWindow(label, 4, headerHeight + 3, fieldLeft - 6, nameHeight - 3, TRUE);
  }
  PlaceTreeAndList();
  InvalidateRect(dialog_, nullptr, TRUE);
}

int FileDialogWindow::TreeTop() const {
  RECT name{};
  GetWindowRect(name_, &name);
  MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&name), 2);
  return name.bottom - 1;
}

void FileDialogWindow::PlaceTreeAndList() {
  RECT client = Client();
  int top = TreeTop();
  int bottom = client.bottom;
  int width = client.right - client.left;
  switch (view_) {
    case DialogView::foldersOnly:
      MoveWindow(tree_, -1, top, width + 2, bottom - top, TRUE);
      break;
    case DialogView::filesOnly:
      MoveWindow(list_, 0, top, width, bottom - top, TRUE);
      break;
    case DialogView::both: {
      MoveWindow(tree_, -1, top, width + 2, treeBottom_ - top, TRUE);
      int listTop = treeBottom_ + splitterHeight + 1;
      MoveWindow(list_, 0, listTop, width, bottom - listTop, TRUE);
      break;
    }
  }
}

void FileDialogWindow::SetView(DialogView view) {
  if (view == view_) return;
  bool listWasShown = view_ != DialogView::foldersOnly;
  view_ = view;
  if (view == DialogView::filesOnly && !memory_.showFolders) {
    memory_.showFolders = true;
    SendMessageW(menuBar_, TB_CHECKBUTTON, IDM_FILEDLG_SHOWFOLDERS, TRUE);
    listWasShown = false;  // fill it again with the folders
  }
  PlaceTreeAndList();
  ShowWindow(tree_, view == DialogView::filesOnly ? SW_HIDE : SW_SHOW);
  ShowWindow(list_, view == DialogView::foldersOnly ? SW_HIDE : SW_SHOW);
  // The list is not filled while hidden: it shows the current folder again.
  if (view != DialogView::foldersOnly && !listWasShown) FillList(folder_);
  InvalidateRect(dialog_, nullptr, TRUE);
}

void FileDialogWindow::ToggleShowFolders() {
  memory_.showFolders = !memory_.showFolders;
  SendMessageW(menuBar_, TB_CHECKBUTTON, IDM_FILEDLG_SHOWFOLDERS, memory_.showFolders);
  folder_ = ItemPath(TreeView_GetSelection(tree_));
  if (view_ != DialogView::foldersOnly) FillList(folder_);
}

// ---- Painting ---------------------------------------------------------------------------------

void FileDialogWindow::Paint() {
  const platform::PaintDc paint(dialog_);
  HDC dc = paint.Get();
  if (paint.Area().top < headerHeight) PaintHeader(dc);
  if (view_ == DialogView::both) {
    RECT band = Client();
    band.top = treeBottom_;
    band.bottom = treeBottom_ + splitterHeight;
    const platform::GdiObject<HBRUSH> brush(CreateSolidBrush(splitterColour));
    FillRect(dc, &band, brush.Get());
  }
}

void FileDialogWindow::PaintHeader(HDC dc) {
  RECT client = Client();
  RECT title{titleLeft, 0, FilterLeft() - 4, headerHeight};
  {
    const platform::SelectedObject font(dc, titleFont_.Get());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, titleColour);
    DrawTextW(dc, title_.c_str(), static_cast<int>(title_.size()), &title,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
  }
  // The line under the header; the name field starts right below it.
  RECT line{0, headerHeight - 1, client.right, headerHeight};
  FillRect(dc, &line, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  DrawCloseButton(dc, closePressed_);
}

void FileDialogWindow::DrawCloseButton(HDC dc, bool pressed) {
  if (!closeBitmap_) return;
  RECT button = CloseButtonRect();
  TransparentImage(dc, button.left, button.top, closeSize, closeSize, closeBitmap_.Get(),
                   pressed ? closeSize : 0, 0, closeSize, closeSize, keyColour);
}

// ---- Stylus: the close button and the splitter ------------------------------------------------

bool FileDialogWindow::OverSplitter(POINT point) const {
  return view_ == DialogView::both && point.y >= treeBottom_ &&
         point.y < treeBottom_ + splitterHeight;
}

BOOL FileDialogWindow::SetSplitterCursor() {
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(dialog_, &point);
  if (!dragging_ && !OverSplitter(point)) return FALSE;
  SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
  SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
  return TRUE;
}

bool FileDialogWindow::OnButtonDown(POINT point) {
  RECT button = CloseButtonRect();
  if (PtInRect(&button, point)) {
    closePressed_ = true;
    SetCapture(dialog_);
    DrawCloseButton(platform::WindowDc(dialog_).Get(), true);
    return true;
  }
  if (!OverSplitter(point)) return false;
  dragging_ = true;
  dragOffset_ = point.y - treeBottom_;
  SetCapture(dialog_);
  return true;
}

void FileDialogWindow::OnMouseMove(POINT point) {
  if (!dragging_) return;
  int bottom = point.y - dragOffset_;
  if (bottom <= TreeTop() || bottom >= ListBottom() - splitterHeight - 1) return;
  treeBottom_ = bottom;
  PlaceTreeAndList();
  InvalidateRect(dialog_, nullptr, TRUE);
}

void FileDialogWindow::OnButtonUp(POINT point) {
  bool wasClosePressed = closePressed_;
  closePressed_ = false;
  dragging_ = false;
  if (GetCapture() == dialog_) ReleaseCapture();
  if (!wasClosePressed) return;
  RECT button = CloseButtonRect();
  InvalidateRect(dialog_, &button, FALSE);
  if (PtInRect(&button, point)) EndDialog(dialog_, FALSE);
}
