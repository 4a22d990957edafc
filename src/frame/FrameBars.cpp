// The bars of the main window: the menu bar at the bottom with its drop-down menus, image
// buttons and tooltips, the find bar's font and creation, and the enabled state of the buttons.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "comun/resource.h"
#include "frame/FindBar.h"
#include "frame/FrameSupport.h"
#include "frame/MainFrame.h"
#include "text/Document.h"
#include "text/UndoHistory.h"
#include "view/ViewWindowWin32.h"

namespace {

constexpr int standardImageCount = 15;  // the platform's standard small images come first
constexpr int barImageCount = 8;
constexpr int firstBarImage = standardImageCount;

// The six plain buttons after the three drop-down buttons of the menu bar description.
struct PlainButton {
  int image;
  int command;
};
constexpr std::array<PlainButton, 6> menuBarButtons = {{
    {STD_FILESAVE, IDM_SAVE},
    {STD_UNDO, IDM_UNDO},
    {firstBarImage + TBIMG_NEXTWINDOW, IDM_NEXTWINDOW},
    {firstBarImage + TBIMG_NEXTMARK, IDM_NEXTMARK},
    {firstBarImage + TBIMG_FINDBAR, IDM_TOGGLEFINDBAR},
    {firstBarImage + TBIMG_FINDNEXT, IDM_FINDNEXT},
}};

// One tooltip per button that shows no label, in button order: the File and Edit drop-downs,
// then the six plain buttons. 0 gives the button none.
constexpr std::array<UINT, 8> menuBarTooltips = {
    0,                 IDS_TIP_EDITMENU, IDS_TIP_FILESAVE, IDS_TIP_UNDO,
    IDS_TIP_NEXTWINDOW, IDS_TIP_NEXTMARK, IDS_TIP_FINDBAR,  IDS_FINDNEXT};

bool HasSelection(const MainFrame& frame) {
  ViewWindow* view = frame.ActiveView();
  return view && view->selectionActive;
}

}  // namespace

void MainFrame::CreateBars() {
  SHMENUBARINFO info{};
  info.cbSize = sizeof info;
  info.hwndParent = mainWindow;
  info.nToolBarId = IDR_MENUBAR;
  info.hInstRes = instance;
  if (!SHCreateMenuBar(&info)) {
    menuBar = nullptr;
    return;
  }
  menuBar = info.hwndMB;
  AddMenuBarButtons();
  mainMenu = reinterpret_cast<HMENU>(SendMessageW(menuBar, SHCMBM_GETSUBMENU, 0,
                                                  IDM_MENUBAR_TOOLS));
  // The Options submenu of the main menu's Find submenu.
  findOptionsMenu = GetSubMenu(GetSubMenu(mainMenu, 2), 6);
  menuBarMenu = CommandBar_GetMenu(menuBar, 1);

  LOGFONTW font{};
  font.lfHeight = -10;
  font.lfWeight = FW_NORMAL;
  lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
  findBarFont.Reset(CreateFontIndirectW(&font));
  if (!CreateFindBar(*this)) findBar = nullptr;
  if (findBar) ShowWindow(findBar, SW_HIDE);
}

void MainFrame::AddMenuBarButtons() {
  // The tooltips: the list names 8 buttons, one for each button without a label.
  std::array<std::wstring, menuBarTooltips.size()> tipTexts;
  std::array<LPCWSTR, menuBarTooltips.size()> tips{};
  for (std::size_t i = 0; i < tips.size(); ++i) {
    tipTexts[i] = LoadResourceText(instance, menuBarTooltips[i]);
    tips[i] = tipTexts[i].empty() ? nullptr : tipTexts[i].c_str();
  }
  CommandBar_AddToolTips(menuBar, static_cast<UINT>(tips.size()), tips.data());

  CommandBar_AddBitmap(menuBar, HINST_COMMCTRL, IDB_STD_SMALL_COLOR, standardImageCount, 16, 16);
  CommandBar_AddBitmap(menuBar, instance, IDB_TOOLBAR, barImageCount, 16, 16);
  std::array<TBBUTTON, menuBarButtons.size()> buttons{};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    buttons[i].iBitmap = menuBarButtons[i].image;
    buttons[i].idCommand = menuBarButtons[i].command;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_BUTTON;
    buttons[i].iString = -1;
  }
  CommandBar_AddButtons(menuBar, static_cast<UINT>(buttons.size()), buttons.data());
}

void MainFrame::EnableBarButton(int command, bool enabled) {
  for (HWND bar : {menuBar, findBar}) {
    if (bar) SendMessageW(bar, TB_ENABLEBUTTON, command, MAKELPARAM(enabled ? TRUE : FALSE, 0));
  }
}

void MainFrame::UpdateBarButtons() {
  OpenDocument* document = ActiveDocument();
  bool active = document != nullptr;
  bool selection = HasSelection(*this);
  bool findText = active && !searcher.FindText().empty();
  EnableBarButton(IDM_SAVE, active && document->text->modified);
  EnableBarButton(IDM_COPY, selection);
  EnableBarButton(IDM_CUT, selection);
  EnableBarButton(IDM_PASTE, active && IsClipboardFormatAvailable(CF_UNICODETEXT));
  EnableBarButton(IDM_UNDO, active && CanUndo(*document->text->undo));
  EnableBarButton(IDM_FINDNEXT, findText);
  EnableBarButton(IDM_FINDPREV, findText);
  EnableBarButton(IDM_REPLACENEXT, findText);
  EnableBarButton(IDM_NEXTWINDOW, documents.size() >= 2);
}
