// The settings dialog: creating the pages and running the property sheet, and the close button
// drawn in the sheet's title area.
#include "settings/SettingsSheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <array>
#include <memory>

#include "comun/resource.h"
#include "platform/HandlerGuard.h"
#include "pocketpc/GdiWin32.h"
#include "pocketpc/PocketPC.h"
#include "settings/ClassPage.h"
#include "settings/SettingsPages.h"

namespace {

constexpr int closeSize = 17;       // the close button images are 17 x 17
constexpr int titleHeight = 18;     // the title area added above a desktop sheet's tabs
constexpr COLORREF transparent = 0xFF00FF;

// The close button in the sheet's title area. One sheet is open at a time.
struct CloseButton {
  HWND sheet = nullptr;
  WNDPROC titleProc = nullptr;  // the title control's own procedure
  RECT area{};
  bool pressed = false;
};
CloseButton closeButton;

void DrawCloseButton(HWND title, bool pressed) {
  const platform::GdiObject<HBITMAP> images(
      LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_CLOSE)));
  if (!images) return;
  const platform::WindowDc dc(title);
  const RECT& area = closeButton.area;
  TransparentImage(dc.Get(), area.left, area.top, closeSize, closeSize, images.Get(),
                   pressed ? closeSize : 0, 0, closeSize, closeSize, transparent);
}

LRESULT OnTitleMessage(HWND title, UINT message, WPARAM wParam, LPARAM lParam) {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_PAINT: {
      LRESULT result = CallWindowProcW(closeButton.titleProc, title, message, wParam, lParam);
      DrawCloseButton(title, closeButton.pressed);
      return result;
    }
    case WM_LBUTTONDOWN:
      if (!PtInRect(&closeButton.area, point)) break;
      DrawCloseButton(title, true);
      closeButton.pressed = true;
      SetCapture(title);
      return 0;
    case WM_LBUTTONUP:
      if (!closeButton.pressed) break;
      closeButton.pressed = false;
      ReleaseCapture();
      if (PtInRect(&closeButton.area, point)) {
        SendMessageW(closeButton.sheet, WM_COMMAND, IDCANCEL, 0);
      } else {
        DrawCloseButton(title, false);
      }
      return 0;
    default:
      break;
  }
  return CallWindowProcW(closeButton.titleProc, title, message, wParam, lParam);
}

LRESULT CALLBACK CloseButtonProc(HWND title, UINT message, WPARAM wParam, LPARAM lParam) {
  return platform::Guarded(
      [&] { return OnTitleMessage(title, message, wParam, lParam); },
      [&] { return CallWindowProcW(closeButton.titleProc, title, message, wParam, lParam); });
}

// A desktop sheet has no title area of its own: one is made above its tabs, with the sheet's
// children moved down to make room.
HWND MakeTitleArea(HWND sheet) {
  RECT frame{};
  GetWindowRect(sheet, &frame);
  SetWindowPos(sheet, nullptr, 0, 0, frame.right - frame.left,
               frame.bottom - frame.top + titleHeight, SWP_NOMOVE | SWP_NOZORDER);
  for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&place), 2);
    SetWindowPos(child, nullptr, place.left, place.top + titleHeight, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
  }
  RECT client{};
  GetClientRect(sheet, &client);
  std::wstring text = L" " + ResourceText(IDS_SHEET_TITLE);
  HWND title = CreateWindowExW(0, L"STATIC", text.c_str(),
                               WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_LEFT | SS_CENTERIMAGE, 0, 0,
                               client.right, titleHeight, sheet,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SHEET_TITLE)),
                               GetModuleHandleW(nullptr), nullptr);
  SendMessageW(title, WM_SETFONT, SendMessageW(sheet, WM_GETFONT, 0, 0), FALSE);
  return title;
}

void AddCloseButton(HWND sheet) {
  closeButton = CloseButton{};
  closeButton.sheet = sheet;
  HWND title = GetDlgItem(sheet, IDC_SHEET_TITLE);
  if (!title) title = MakeTitleArea(sheet);
  if (!title) return;
  RECT client{};
  GetClientRect(title, &client);
  closeButton.area = RECT{client.right - 2 * closeSize, 0, client.right - closeSize, closeSize};
  closeButton.titleProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(title, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CloseButtonProc)));
}

// The page a key of the sheet switches to: Ctrl+Tab and Ctrl+Page Down the next, with Shift
// or Ctrl+Page Up the one before, round at the ends, as every desktop sheet does; -1 for any
// other key.
int PageForKey(HWND sheet, const MSG& message) {
  if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) return -1;
  int step = 0;
  if (message.wParam == VK_TAB) step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
  else if (message.wParam == VK_NEXT) step = 1;
  else if (message.wParam == VK_PRIOR) step = -1;
  if (step == 0) return -1;
  HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
  const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  const int shown = static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
  if (count <= 0 || shown < 0) return -1;
  return (shown + step + count) % count;
}

// The dialog manager's filter sees every message of the sheet's loop before the sheet does:
// the page keys are taken here, for a sheet of the platform that does not take them itself.
// A message box of a page is no part of the sheet and keeps its keys.
LRESULT CALLBACK SheetKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
  const bool taken = platform::Guarded(
      [&] {
        const auto* message = reinterpret_cast<const MSG*>(lParam);
        HWND sheet = closeButton.sheet;
        if (code != MSGF_DIALOGBOX || !message || !sheet ||
            (message->hwnd != sheet && !IsChild(sheet, message->hwnd)))
          return false;
        const int page = PageForKey(sheet, *message);
        if (page < 0) return false;
        // As a tap on the tab: a page whose data are refused keeps the sheet on it.
        SendMessageW(sheet, PSM_SETCURSEL, page, 0);
        return true;
      },
      [] { return false; });
  return taken ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
}

// Holds the key filter while the sheet runs.
class KeyFilter {
 public:
  KeyFilter() : hook_(SetWindowsHookExW(WH_MSGFILTER, SheetKeyFilter, nullptr, GetCurrentThreadId())) {}
  ~KeyFilter() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  KeyFilter(const KeyFilter&) = delete;
  KeyFilter& operator=(const KeyFilter&) = delete;

 private:
  HHOOK hook_;
};

int CALLBACK SheetCallback(HWND window, UINT message, LPARAM) {
  switch (message) {
    case PSCB_INITIALIZED:
      platform::Guarded([&] { AddCloseButton(window); }, [] {});
      return 0;
    case 3:  // the handheld's version query
      return 524;
    default:
      // The handheld also asks for the title and the link text here (4 and 5); a desktop sheet
      // takes its title from the header and has no link line.
      return 0;
  }
}

UINT CALLBACK PageCallback(HWND, UINT message, LPPROPSHEETPAGEW) {
  return message == PSPCB_CREATE || message == PSPCB_RELEASE ? 1 : static_cast<UINT>(-1);
}

struct SheetPage {
  int titleId;
  int templateId;
  SettingsPage* page;
};

}  // namespace

void ShowSettingsSheet(HWND owner, SettingsHost& host) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&classes);
  HINSTANCE instance = GetModuleHandleW(nullptr);

  auto commands = MakeCommandsPage(host);
  auto general = MakeGeneralPage(host);
  auto document = std::make_unique<ClassPage>(host, false);
  auto classesPage = std::make_unique<ClassPage>(host, true);
  auto assocs = MakeAssocPage(host);
  const std::array<SheetPage, 5> entries = {{
      {IDS_PAGE_DOCUMENT, IDD_CLASSES, document.get()},
      {IDS_PAGE_GENERAL, IDD_GENERAL, general.get()},
      {IDS_PAGE_CLASSES, IDD_CLASSES, classesPage.get()},
      {IDS_PAGE_COMMANDS, IDD_COMMANDS, commands.get()},
      {IDS_PAGE_ASSOCS, IDD_ASSOCS, assocs.get()},
  }};

  std::array<std::wstring, 5> titles;
  std::array<HPROPSHEETPAGE, 5> pages{};
  std::size_t created = 0;
  for (; created < entries.size(); ++created) {
    const SheetPage& entry = entries[created];
    titles[created] = ResourceText(entry.titleId);
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_USETITLE | PSP_USECALLBACK | PSP_HASHELP;
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEW(entry.templateId);
    page.pfnDlgProc = PageDialogProc;
    page.pszTitle = titles[created].c_str();
    page.lParam = reinterpret_cast<LPARAM>(entry.page);
    page.pfnCallback = PageCallback;
    pages[created] = CreatePropertySheetPageW(&page);
    if (!pages[created]) break;
  }
  if (created < entries.size()) {
    for (std::size_t i = 0; i < created; ++i) DestroyPropertySheetPage(pages[i]);
    return;
  }

  std::wstring caption = ResourceText(IDS_SHEET_TITLE);
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_USECALLBACK | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP;
  header.hwndParent = owner;
  header.hInstance = instance;
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(pages.size());
  header.nStartPage = 0;
  header.phpage = pages.data();
  header.pfnCallback = SheetCallback;
  const KeyFilter keys;
  if (PropertySheetW(&header) == -1)
    for (HPROPSHEETPAGE page : pages) DestroyPropertySheetPage(page);
  closeButton = CloseButton{};
}
