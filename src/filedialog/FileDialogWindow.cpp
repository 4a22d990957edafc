// The dialog's procedure, its start and its commands.
#include "filedialog/FileDialogWindow.h"

#include <array>

#include "comun/resource.h"
#include "filedialog/TypedName.h"
#include "platform/HandlerGuard.h"
#include "platform/Paths.h"
#include "pocketpc/PocketPC.h"

namespace {

constexpr DWORD treeBottomBits = 0xFFFF;
constexpr int initialViewShift = 16;
constexpr DWORD initialViewBits = 0x3;
constexpr DWORD showFoldersBit = 1u << 20;
constexpr int shortDateLength = 64;

// The buttons after the drop-down of menu bar 120, with their images in bitmap 114.
struct BarButton {
  int command;
  int image;
  BYTE state;
  BYTE style;
};
constexpr std::array<BarButton, 6> barButtons = {{
    {IDM_FILEDLG_FILES, TBIMG_FILESONLY, TBSTATE_ENABLED, BTNS_BUTTON},
    {IDM_FILEDLG_FOLDERS, TBIMG_FOLDERSONLY, TBSTATE_ENABLED, BTNS_BUTTON},
    {IDM_FILEDLG_BOTH, TBIMG_BOTHVIEWS, TBSTATE_ENABLED, BTNS_BUTTON},
    {IDM_FILEDLG_SHOWFOLDERS, TBIMG_SHOWFOLDERS, TBSTATE_ENABLED, BTNS_CHECK},
    {IDM_FILEDLG_NEWFOLDER, TBIMG_NEWFOLDER, 0, BTNS_BUTTON},
    {IDM_FILEDLG_FOLDERUP, TBIMG_FOLDERUP, TBSTATE_ENABLED, BTNS_BUTTON},
}};
// The tooltips of the drop-down (none) and of the buttons.
constexpr std::array<UINT, 7> barTooltips = {0,
                                             IDS_TIP_VIEWDETAILS, IDS_TIP_FOLDERSVIEW,
                                             IDS_TIP_FILEVIEW,    IDS_TIP_SHOWFOLDERS,
                                             IDS_TIP_NEWFOLDER,   IDS_TIP_FOLDERUP};

std::wstring LocaleText(LCTYPE type) {
  wchar_t text[80] = L"";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 80);
  return text;
}

}  // namespace

std::wstring LoadDialogText(HINSTANCE instance, UINT id) {
  wchar_t text[256] = L"";
  LoadStringW(instance, id, text, 256);
  return text;
}

HINSTANCE FileDialogWindow::Instance() const {
  return request_.hInstance ? request_.hInstance : GetModuleHandleW(nullptr);
}

bool FileDialogWindow::Run() {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&classes);
  INT_PTR result = DialogBoxParamW(Instance(), MAKEINTRESOURCEW(IDD_FILEDIALOG),
                                   request_.hwndOwner, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
  return result == TRUE;
}

INT_PTR CALLBACK FileDialogWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  return platform::Guarded(
      [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
          auto* self = reinterpret_cast<FileDialogWindow*>(lParam);
          SetWindowLongPtrW(dialog, DWLP_USER, lParam);
          self->dialog_ = dialog;
          self->Start();
          return FALSE;  // the name field has the focus
        }
        auto* self = reinterpret_cast<FileDialogWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
        return self ? self->HandleMessage(message, wParam, lParam) : FALSE;
      },
      [] { return INT_PTR{FALSE}; });
}

INT_PTR FileDialogWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      SetWindowLongPtrW(dialog_, DWLP_MSGRESULT,
                        OnNotify(*reinterpret_cast<const NMHDR*>(lParam)));
      return TRUE;
    case WM_PAINT:
      Paint();
      return TRUE;
    case WM_SIZE:
      Layout();
      return TRUE;
    case WM_LBUTTONDOWN:
      return OnButtonDown(point);
    case WM_MOUSEMOVE:
      OnMouseMove(point);
      return TRUE;
    case WM_LBUTTONUP:
      OnButtonUp(point);
      return TRUE;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      if (closePressed_) {
        closePressed_ = false;
        InvalidateRect(dialog_, nullptr, FALSE);
      }
      return TRUE;
    case WM_SETCURSOR:
      return SetSplitterCursor();
    case WM_HELP:
      SendMessageW(request_.hwndOwner, WM_FILEDLG_HELP, 0, lParam);
      return TRUE;
    default:
      return FALSE;
  }
}

void FileDialogWindow::OnCommand(int id, int code) {
  switch (id) {
    case IDOK:
      OnOk();
      break;
    case IDCANCEL:
      EndDialog(dialog_, FALSE);
      break;
    case IDM_FILEDLG_FILES:
      SetView(DialogView::filesOnly);
      break;
    case IDM_FILEDLG_FOLDERS:
      SetView(DialogView::foldersOnly);
      break;
    case IDM_FILEDLG_BOTH:
      SetView(DialogView::both);
      break;
    case IDM_FILEDLG_SHOWFOLDERS:
      ToggleShowFolders();
      break;
    case IDM_FILEDLG_FOLDERUP:
      FolderUp();
      break;
    case IDC_FILEDLG_FILTER:
      if (code == CBN_SELCHANGE) FillList(folder_);
      break;
    default:
      break;
  }
}

LRESULT FileDialogWindow::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == tree_) {
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    if (header.code == TVN_ITEMEXPANDINGW && (change.action & TVE_EXPAND)) {
      ExpandOnce(change.itemNew.hItem);
    } else if (header.code == TVN_SELCHANGEDW) {
      OnTreeSelection();
    }
    return 0;
  }
  if (header.hwndFrom != list_) return 0;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  switch (header.code) {
    case LVN_COLUMNCLICK:
      SortBy(change.iSubItem);
      break;
    case LVN_ITEMCHANGED:
      if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
          !(change.uOldState & LVIS_SELECTED)) {
        OnListSelection(change.iItem, false);
      }
      break;
    case LVN_ITEMACTIVATE:
      OnListSelection(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem, true);
      break;
    default:
      break;
  }
  return 0;
}

// ---- Start ------------------------------------------------------------------------------------

void FileDialogWindow::Start() {
  SHINITDLGINFO shell{SHIDIM_FLAGS, dialog_,
                      SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN | SHIDIF_SIZEDLGFULLSCREEN};
  SHInitDialog(&shell);
  ReadLocale();
  tree_ = GetDlgItem(dialog_, IDC_FILEDLG_TREE);
  list_ = GetDlgItem(dialog_, IDC_FILEDLG_LIST);
  filter_ = GetDlgItem(dialog_, IDC_FILEDLG_FILTER);
  name_ = GetDlgItem(dialog_, IDC_FILEDLG_NAME);
  if (!(request_.Flags & filedialog::severalItems)) {
    SetWindowLongW(list_, GWL_STYLE, GetWindowLongW(list_, GWL_STYLE) | LVS_SINGLESEL);
  }
  CreateMenuBar();

  title_ = request_.lpstrTitle
               ? request_.lpstrTitle
               : LoadDialogText(Instance(), saveMode_ ? IDS_TITLE_SAVEAS : IDS_TITLE_OPEN);
  SetWindowTextW(dialog_, title_.c_str());
  LOGFONTW font{};
  font.lfHeight = -11;
  font.lfWeight = FW_BOLD;
  lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
  titleFont_.Reset(CreateFontIndirectW(&font));
  closeBitmap_.Reset(LoadBitmapW(Instance(), MAKEINTRESOURCEW(IDB_CLOSE)));

  int wanted = static_cast<int>(request_.nMaxCustFilter & treeBottomBits);
  treeBottom_ = defaultTreeBottom;
  if (wanted > 0 && wanted < ListBottom() - splitterHeight - 1) treeBottom_ = wanted;
  Layout();
  FillFilters();

  InitTree();
  InitList();
  ShowStartFolder();
  ShowWindow(tree_, SW_SHOW);

  if (request_.nMaxCustFilter & showFoldersBit && !memory_.showFolders) ToggleShowFolders();
  SendMessageW(menuBar_, TB_CHECKBUTTON, IDM_FILEDLG_SHOWFOLDERS, memory_.showFolders);
  DWORD view = (request_.nMaxCustFilter >> initialViewShift) & initialViewBits;
  if (view == 1) SetView(DialogView::foldersOnly);
  if (view == 2) SetView(DialogView::filesOnly);
  SetFocus(name_);
}

void FileDialogWindow::CreateMenuBar() {
  SHMENUBARINFO info{};
  info.cbSize = sizeof info;
  info.hwndParent = dialog_;
  info.nToolBarId = IDR_FILEDLGBAR;
  info.hInstRes = Instance();
  if (!SHCreateMenuBar(&info)) return;
  menuBar_ = info.hwndMB;

  std::array<std::wstring, barTooltips.size()> tipTexts;
  std::array<LPCWSTR, barTooltips.size()> tips{};
  for (std::size_t i = 0; i < tips.size(); ++i) {
    tipTexts[i] = barTooltips[i] ? LoadDialogText(Instance(), barTooltips[i]) : L"";
    tips[i] = tipTexts[i].empty() ? nullptr : tipTexts[i].c_str();
  }
  CommandBar_AddToolTips(menuBar_, static_cast<UINT>(tips.size()), tips.data());
  int first = CommandBar_AddBitmap(menuBar_, Instance(), IDB_TOOLBAR, TBIMG_COUNT, 16, 16);
  // The drop-down has neither label nor image in the bar's description: it shows the file
  // menu's image, so that OK and Cancel can be found.
  if (first >= 0) {
    TBBUTTONINFOW menuButton{};
    menuButton.cbSize = sizeof menuButton;
    menuButton.dwMask = TBIF_IMAGE;
    menuButton.iImage = first + TBIMG_FILEMENU;
    SendMessageW(menuBar_, TB_SETBUTTONINFOW, IDM_FILEDLG_MENU,
                 reinterpret_cast<LPARAM>(&menuButton));
  }
  std::array<TBBUTTON, barButtons.size()> buttons{};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons[i].iBitmap = first < 0 ? I_IMAGENONE : first + barButtons[i].image;
    buttons[i].idCommand = barButtons[i].command;
    buttons[i].fsState = barButtons[i].state;
    buttons[i].fsStyle = barButtons[i].style;
    buttons[i].iString = -1;
  }
  CommandBar_AddButtons(menuBar_, static_cast<UINT>(buttons.size()), buttons.data());
}

void FileDialogWindow::FillFilters() {
  filters_ = filedialog::ReadFilterList(request_.lpstrFilter);
  for (const filedialog::Filter& filter : filters_) {
    SendMessageW(filter_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(filter.description.c_str()));
  }
  if (filters_.empty()) {
    EnableWindow(filter_, FALSE);
    return;
  }
  if (request_.nFilterIndex == 0 || request_.nFilterIndex > filters_.size()) {
    request_.nFilterIndex = 1;
  }
  SendMessageW(filter_, CB_SETCURSEL, request_.nFilterIndex - 1, 0);
}

const std::vector<std::wstring>* FileDialogWindow::SelectedPatterns() const {
  auto selected = static_cast<int>(SendMessageW(filter_, CB_GETCURSEL, 0, 0));
  if (selected < 0 || selected >= static_cast<int>(filters_.size())) return nullptr;
  return &filters_[selected].patterns;
}

void FileDialogWindow::ShowStartFolder() {
  std::wstring given = request_.lpstrFile ? request_.lpstrFile : L"";
  SetWindowTextW(name_, platform::FileNameOf(given).c_str());
  std::wstring start = given;
  if (given.find(L'\\') == std::wstring::npos) start = request_.lpstrInitialDir ? request_.lpstrInitialDir : L"";
  HTREEITEM item = WalkTo(start);
  // Selecting the item lists its files; an item already selected is listed here.
  if (TreeView_GetSelection(tree_) == item) {
    OnTreeSelection();
  } else {
    TreeView_SelectItem(tree_, item);
  }
}

void FileDialogWindow::ReadLocale() {
  wchar_t format[shortDateLength + 1] = L"";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, shortDateLength);
  dateFormat_ = format;
  // The locale numbers days from Monday; the names are kept from Sunday.
  for (int day = 0; day < 7; ++day) {
    int fromMonday = (day + 6) % 7;
    localeNames_.shortDays[day] = LocaleText(LOCALE_SABBREVDAYNAME1 + fromMonday);
    localeNames_.longDays[day] = LocaleText(LOCALE_SDAYNAME1 + fromMonday);
  }
  for (int month = 0; month < 12; ++month) {
    localeNames_.shortMonths[month] = LocaleText(LOCALE_SABBREVMONTHNAME1 + month);
    localeNames_.longMonths[month] = LocaleText(LOCALE_SMONTHNAME1 + month);
  }
  localeNames_.am = LocaleText(LOCALE_S1159);
  localeNames_.pm = LocaleText(LOCALE_S2359);
}
