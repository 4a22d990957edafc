// The find bar: creation of the bar and its fields, its window procedure with the fields'
// notifications, the goto-line entry and the line number display.
#include "frame/FindBar.h"

#include <windows.h>
#include <commctrl.h>

#include <array>

#include "comun/resource.h"
#include "frame/MainFrame.h"
#include "platform/HandlerGuard.h"
#include "search/Navigation.h"

namespace {

constexpr UINT_PTR findBarSubclassId = 2;
constexpr int standardImageCount = 15;  // the platform's standard small images come first

// The items after the "Find" menu button: separators hold the fields, as wide as given.
struct BarItem {
  int command;  // 0 for a separator
  int imageOrWidth;
};
constexpr std::array<BarItem, 6> barItems = {{
    {0, 30},                                            // line number and goto line field
    {IDM_FINDPREV, standardImageCount + TBIMG_FINDPREV},
    {0, 60},                                            // find field
    {IDM_FINDNEXT, standardImageCount + TBIMG_FINDNEXT},
    {0, 40},                                            // replace field
    {IDM_REPLACENEXT, standardImageCount + TBIMG_REPLACENEXT},
}};
constexpr int lineNumberItem = 1;
constexpr int findItem = 3;
constexpr int replaceItem = 5;

void AddItems(HWND bar) {
  std::array<TBBUTTON, barItems.size()> buttons{};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons[i].iBitmap = barItems[i].imageOrWidth;
    buttons[i].idCommand = barItems[i].command;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = barItems[i].command ? BTNS_BUTTON : BTNS_SEP;
    buttons[i].iString = -1;
  }
  CommandBar_AddButtons(bar, static_cast<UINT>(buttons.size()), buttons.data());
}

RECT ItemRect(HWND bar, int index) {
  RECT rect{};
  SendMessageW(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

void SetFont(HWND window, HFONT font) {
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void SelectAllAndFocus(MainFrame& frame, const ControlWrapper& field) {
  SendMessageW(field.window, EM_SETSEL, 0, -1);
  frame.SetFocusTracked(field.window);
}

// The line number shown in the line number field: at most 10 of its characters, as digits.
int ShownLineNumber(const MainFrame& frame) {
  wchar_t text[11] = {};
  GetWindowTextW(frame.lineNumberField, text, 11);
  return DigitsValue(text);
}

// The goto line field takes the line number field's place, holding its number, selected.
void StartGotoEntry(MainFrame& frame) {
  frame.gotoField.SetText(std::to_wstring(ShownLineNumber(frame)));
  ShowWindow(frame.lineNumberField, SW_HIDE);
  frame.gotoField.Show(true);
  SelectAllAndFocus(frame, frame.gotoField);
}

void EndGotoEntry(MainFrame& frame) {
  frame.gotoField.Show(false);
  ShowWindow(frame.lineNumberField, SW_SHOW);
}

// The find field shows whether its text has a hit while it is typed.
void ShowNoMatch(MainFrame& frame, bool noMatch) {
  if (frame.findNoMatch == noMatch) return;
  frame.findNoMatch = noMatch;
  InvalidateRect(frame.findField.window, nullptr, TRUE);
}

// Find as you type: while the find field has the focus, each change of its text selects the
// first hit from where the search began when the field got the focus (IncrementalFind).
void OnFindFieldNotification(MainFrame& frame, int notification) {
  ViewWindow* view = frame.ActiveView();
  if (notification == EN_SETFOCUS && view) {
    frame.incrementalFind.Begin(*view);
  } else if (notification == EN_KILLFOCUS) {
    frame.incrementalFind.End();
    ShowNoMatch(frame, false);
  } else if (notification == EN_CHANGE) {
    frame.searcher.SetFindText(frame.findField.GetText());
    frame.RefreshCommandStates();
    if (view && GetFocus() == frame.findField.window) {
      const auto result = frame.incrementalFind.Update(*view, frame.searcher);
      ShowNoMatch(frame, result == IncrementalFind::Result::notFound);
    }
    FindBarShowPatternError(frame);
  }
}

// The find field's colours: a light red while its text has no hit.
LRESULT NoMatchColours(MainFrame& frame, HDC dc) {
  constexpr COLORREF noMatchColour = RGB(255, 204, 204);
  if (!frame.noMatchBrush) frame.noMatchBrush.Reset(CreateSolidBrush(noMatchColour));
  SetBkColor(dc, noMatchColour);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(frame.noMatchBrush.Get());
}

// A notification of one of the bar's own fields; true when it was one.
bool OnFieldCommand(MainFrame& frame, int id, int notification) {
  switch (id) {
    case IDC_FINDTEXT:
      OnFindFieldNotification(frame, notification);
      return true;
    case IDC_REPLACETEXT:
      if (notification == EN_CHANGE) frame.searcher.SetReplaceText(frame.replaceField.GetText());
      return true;
    case IDC_LINENUMBER:
      if (notification == STN_CLICKED) StartGotoEntry(frame);
      return true;
    case IDC_GOTOLINE:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK FindBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             UINT_PTR id, DWORD_PTR data);

LRESULT OnFindBarMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         MainFrame& frame) {
  switch (message) {
    case WM_COMMAND:
      // The fields' notifications stay here: they are no commands of the main window.
      if (lParam != 0 && OnFieldCommand(frame, LOWORD(wParam), HIWORD(wParam))) return 0;
      break;
    case WM_FIELD_TAB:
    case WM_FIELD_ESCAPE:
      frame.FocusFrame();
      return 0;
    case WM_FIELD_ENTER:
      if (ViewWindow* view = frame.ActiveView())
        SendMessageW(view->window, WM_COMMAND, LOWORD(wParam), 0);
      frame.FocusFrame();
      return 0;
    case WM_FIELD_TAP:
      if (LOWORD(wParam) == 513 && lParam)
        frame.SetFocusTracked(reinterpret_cast<ControlWrapper*>(lParam)->window);
      return 0;
    case WM_FIELD_FOCUSLOST:
      if (static_cast<int>(wParam) == IDC_GOTOLINE) EndGotoEntry(frame);
      return 0;
    case WM_CTLCOLOREDIT:
      if (frame.findNoMatch && reinterpret_cast<HWND>(lParam) == frame.findField.window)
        return NoMatchColours(frame, reinterpret_cast<HDC>(wParam));
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, FindBarProc, findBarSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK FindBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             UINT_PTR /*id*/, DWORD_PTR data) {
  MainFrame& frame = *reinterpret_cast<MainFrame*>(data);
  return platform::Guarded([&] { return OnFindBarMessage(window, message, wParam, lParam, frame); },
                           [&] { return DefSubclassProc(window, message, wParam, lParam); });
}

void CreateFields(MainFrame& frame) {
  HWND bar = frame.findBar;
  RECT number = ItemRect(bar, lineNumberItem);
  RECT inner = number;
  InflateRect(&inner, -2, 0);
  frame.lineNumberField = CreateWindowExW(
      0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY,
      inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top, bar,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LINENUMBER)), frame.instance, nullptr);
  constexpr DWORD entry = WS_BORDER | ES_AUTOHSCROLL | ES_WANTRETURN;
  CreateField(frame.gotoField, frame.instance, bar, entry | ES_CENTER | ES_NUMBER, number,
              IDC_GOTOLINE, fieldEdit);
  CreateField(frame.findField, frame.instance, bar, entry | WS_VISIBLE, ItemRect(bar, findItem),
              IDC_FINDTEXT, fieldEdit);
  CreateField(frame.replaceField, frame.instance, bar, entry | WS_VISIBLE,
              ItemRect(bar, replaceItem), IDC_REPLACETEXT, fieldEdit);
  for (HWND field : {frame.lineNumberField, frame.gotoField.window, frame.findField.window,
                     frame.replaceField.window}) {
    if (field) SetFont(field, frame.findBarFont.Get());
  }
}

// A tracking tip, placed by the program: it shows without the pointer over the field.
void CreateFindTip(MainFrame& frame) {
  frame.findTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                                  0, 0, 0, 0, frame.mainWindow, nullptr, frame.instance, nullptr);
  if (!frame.findTip) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
  tool.hwnd = frame.mainWindow;
  tool.uId = reinterpret_cast<UINT_PTR>(frame.findField.window);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(frame.findTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

TOOLINFOW FindTool(const MainFrame& frame) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = frame.mainWindow;
  tool.uId = reinterpret_cast<UINT_PTR>(frame.findField.window);
  return tool;
}

}  // namespace

void FindBarShowPatternError(MainFrame& frame) {
  if (!frame.findTip) return;
  const bool shown = frame.findBarVisible && !IsIconic(frame.mainWindow);
  const std::wstring error = shown ? frame.searcher.PatternError() : L"";
  TOOLINFOW tool = FindTool(frame);
  if (error.empty()) {
    SendMessageW(frame.findTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    return;
  }
  tool.lpszText = const_cast<wchar_t*>(error.c_str());
  SendMessageW(frame.findTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  // Above the field: the bar lies at the bottom of the window.
  RECT field{};
  GetWindowRect(frame.findField.window, &field);
  const DWORD size = static_cast<DWORD>(SendMessageW(frame.findTip, TTM_GETBUBBLESIZE, 0,
                                                     reinterpret_cast<LPARAM>(&tool)));
  const int top = field.top - static_cast<int>(HIWORD(size)) - 2;
  SendMessageW(frame.findTip, TTM_TRACKPOSITION, 0, MAKELPARAM(field.left, top));
  SendMessageW(frame.findTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

bool CreateFindBar(MainFrame& frame) {
  HWND bar = CommandBar_Create(frame.instance, frame.mainWindow, IDC_FINDBAR);
  if (!bar) return false;
  frame.findBar = bar;
  CommandBar_InsertMenubar(bar, frame.instance, IDR_FINDBARMENU, 0);
  CommandBar_AddBitmap(bar, HINST_COMMCTRL, IDB_STD_SMALL_COLOR, standardImageCount, 16, 16);
  CommandBar_AddBitmap(bar, frame.instance, IDB_TOOLBAR, TBIMG_COUNT, 16, 16);
  AddItems(bar);
  frame.findBarMenu = GetSubMenu(CommandBar_GetMenu(bar, 0), 0);
  // The bar lies under the view, where the frame places it, not docked at the top.
  SetWindowLongPtrW(bar, GWL_STYLE, GetWindowLongPtrW(bar, GWL_STYLE) | CCS_NOPARENTALIGN);
  frame.findBarHeight = CommandBar_Height(bar);
  CreateFields(frame);
  CreateFindTip(frame);
  SetWindowSubclass(bar, FindBarProc, findBarSubclassId, reinterpret_cast<DWORD_PTR>(&frame));
  return true;
}

void FindBarCommand(MainFrame& frame, int command) {
  if (!frame.findBar) return;
  if (command == IDM_FINDTEXT) {
    SelectAllAndFocus(frame, frame.findField);
  } else if (command == IDM_GOTOLINE) {
    StartGotoEntry(frame);
  }
}

void FindBarShowLineNumber(MainFrame& frame, const std::wstring& text) {
  if (frame.lineNumberField) SetWindowTextW(frame.lineNumberField, text.c_str());
}

void GotoLineFromFindBar(MainFrame& frame, ViewWindow& view) {
  GotoLine(view, LineOfNumber(view, frame.gotoField.GetInt()));
}
