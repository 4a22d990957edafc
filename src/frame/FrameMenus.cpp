// The menus of the main window: opening them from the keyboard, enabling and check marks each
// time a menu drops down, and the generated entries of the File menu (recent files) and of the
// Window menu (open documents).
#include <windows.h>

#include <cwchar>
#include <cwctype>

#include "comun/resource.h"
#include "config/AppSettings.h"
#include "frame/Locations.h"
#include "frame/MainFrame.h"
#include "frame/ToolCommands.h"
#include "platform/Paths.h"
#include "text/Document.h"
#include "text/UndoHistory.h"
#include "view/ViewWindowWin32.h"

namespace {

// Submenus of the main menu, by position.
constexpr int fileSubmenu = 0;
constexpr int editSubmenu = 1;
constexpr int findSubmenu = 2;
constexpr int windowSubmenu = 3;
// Drop-downs of the menu bar's own menu, by position.
constexpr int barFileMenu = 1;
constexpr int barEditMenu = 2;

// Most entries a generated list of the Window menu takes.
constexpr int maxWindowEntries = IDM_WINDOW_LAST - IDM_WINDOW_FIRST + 1;

void Enable(HMENU menu, int command, bool enabled) {
  if (menu) EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Check(HMENU menu, int command, bool checked) {
  if (menu) CheckMenuItem(menu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// Deletes the items first, first + 1, ... as long as they exist.
void DeleteRun(HMENU menu, int first) {
  for (int id = first; DeleteMenu(menu, id, MF_BYCOMMAND); ++id) {
  }
}

// The position of the last separator of a menu, or 0 when it has none.
int LastSeparator(HMENU menu) {
  for (int i = GetMenuItemCount(menu) - 1; i > 0; --i) {
    if (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) return i;
  }
  return 0;
}

// The position of the item of menu whose mnemonic (the character after a single "&") is key,
// compared without case; -1 when there is none.
int MnemonicItem(HMENU menu, wchar_t key) {
  for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
    wchar_t text[128] = L"";
    GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
    for (const wchar_t* at = text; (at = wcschr(at, L'&')) && at[1]; at += 2) {
      if (at[1] != L'&' && towupper(at[1]) == towupper(key)) return i;
    }
  }
  return -1;
}

// What the File and Edit commands may do now; shared by the main menu and the menu bar's
// drop-downs.
struct EditStates {
  bool save = false;
  bool undo = false;
  bool selection = false;
  bool paste = false;
  bool document = false;
  bool wraps = false;
};

// The File commands that act on the active document; shared likewise.
void ApplyFileStates(HMENU menu, const EditStates& states) {
  Enable(menu, IDM_SAVE, states.save);
  Enable(menu, IDM_SAVEAS, states.document);
  Enable(menu, IDM_CLOSE, states.document);
}

void ApplyEditStates(HMENU menu, const EditStates& states) {
  Enable(menu, IDM_UNDO, states.undo);
  Enable(menu, IDM_COPY, states.selection);
  Enable(menu, IDM_CUT, states.selection);
  Enable(menu, IDM_PASTE, states.paste);
  Enable(menu, IDM_WORDWRAP, states.document);
  Check(menu, IDM_WORDWRAP, states.wraps);
  Enable(menu, IDM_COMPLETEWORD, states.document);
}

}  // namespace

void MainFrame::OnInitMenuPopup() {
  ApplySearchOptionChecks();
  ApplyMenuStates();
  RebuildWindowMenu();
  RebuildToolsMenu(*this);
}

bool MainFrame::OpenMenuFromKeyboard(wchar_t key) {
  // Alt and Space is the window's own menu.
  if (!menuBar || !mainMenu || key == L' ') return false;
  if (key == 0) return ShowBarDropDown(menuBar, IDM_MENUBAR_TOOLS);
  int item = MnemonicItem(mainMenu, key);
  if (item < 0) return false;
  if (HMENU submenu = GetSubMenu(mainMenu, item)) {
    return ShowBarDropDown(menuBar, IDM_MENUBAR_TOOLS, submenu);
  }
  RunCommand(static_cast<int>(GetMenuItemID(mainMenu, item)));
  return true;
}

void MainFrame::ApplySearchOptionChecks() {
  for (int option = 0; option < searchOptionCount; ++option) {
    const bool on = searcher.Option(static_cast<SearchOption>(option));
    Check(findBarMenu, SearchOptionCommand(option), on);
    Check(findOptionsMenu, SearchOptionCommand(option), on);
  }
}

void MainFrame::ApplyMenuStates() {
  OpenDocument* document = ActiveDocument();
  EditStates states;
  if (document) {
    states.document = true;
    states.save = document->text->modified;
    states.undo = CanUndo(*document->text->undo);
    states.selection = document->view->selectionActive;
    states.paste = IsClipboardFormatAvailable(CF_UNICODETEXT);
    states.wraps = document->text->settings.wordwrap;
  }
  HMENU file = GetSubMenu(mainMenu, fileSubmenu);
  ApplyFileStates(file, states);
  ApplyFormatChecks(file);
  HMENU edit = GetSubMenu(mainMenu, editSubmenu);
  ApplyEditStates(edit, states);
  Enable(edit, IDM_COPYAPPEND, states.selection);
  Enable(edit, IDM_CUTAPPEND, states.selection);

  bool findText = document && !searcher.FindText().empty();
  HMENU find = GetSubMenu(mainMenu, findSubmenu);
  Enable(find, IDM_FINDNEXT, findText);
  Enable(find, IDM_FINDPREV, findText);
  Enable(find, IDM_REPLACENEXT, findText);
  Enable(find, IDM_REPLACE, findText);
  Enable(find, IDM_REPLACEALL, findText);
  Enable(find, IDM_GOTOLOCATION, document != nullptr);
  Enable(find, IDM_NEXTLOCATION, HasLocationList(*this));
  Enable(find, IDM_PREVLOCATION, HasLocationList(*this));

  if (menuBarMenu) {
    ApplyFileStates(GetSubMenu(menuBarMenu, barFileMenu), states);
    ApplyFormatChecks(GetSubMenu(menuBarMenu, barFileMenu));
    ApplyEditStates(GetSubMenu(menuBarMenu, barEditMenu), states);
  }
}

void MainFrame::RebuildWindowMenu() {
  HMENU menu = GetSubMenu(mainMenu, windowSubmenu);
  if (!menu) return;
  bool several = documents.size() >= 2;
  Enable(menu, IDM_NEXTWINDOW, several);
  Enable(menu, IDM_PREVWINDOW, several);
  DeleteRun(menu, IDM_WINDOW_FIRST);
  if (LastSeparator(menu) == 0) return;
  int count = std::min(static_cast<int>(documents.size()), maxWindowEntries);
  for (int i = 0; i < count; ++i) {
    const OpenDocument& document = *documents[i];
    std::wstring name = document.file.name + (document.text->modified ? L"*" : L"");
    AppendMenuW(menu, MF_STRING, IDM_WINDOW_FIRST + i, NumberedMenuText(i, name).c_str());
  }
  RefreshCommandStates();
}

void MainFrame::RebuildRecentFilesMenu() {
  HMENU menu = GetSubMenu(mainMenu, fileSubmenu);
  if (!menu || GetMenuItemID(menu, 0) != IDM_NEW) return;
  DeleteRun(menu, IDM_RECENT_FIRST);
  int separator = LastSeparator(menu);
  if (separator == 0) return;
  const auto& recent = settings_->recent;
  for (std::size_t i = 0; i < recent.size(); ++i) {
    int index = static_cast<int>(i);
    InsertMenuW(menu, separator + index, MF_BYPOSITION | MF_STRING, IDM_RECENT_FIRST + index,
                NumberedMenuText(index, platform::FileNameOf(recent[i])).c_str());
  }
}
