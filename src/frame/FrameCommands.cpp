// Command dispatch of the main window: one entry per command id with the rules it runs under,
// the generated ranges (documents, Tools commands, recent files), the search options, keys for
// the edit view, the command states and help.
#include <windows.h>

#include <algorithm>
#include <array>
#include <string>

#include "comun/resource.h"
#include "config/AppSettings.h"
#include "frame/CompletionPopup.h"
#include "frame/FindBar.h"
#include "frame/FindInFiles.h"
#include "frame/Locations.h"
#include "frame/MainFrame.h"
#include "frame/ToolCommands.h"
#include "search/Navigation.h"
#include "search/SearchCommands.h"
#include "text/Document.h"
#include "view/CaretCommands.h"
#include "view/Clipboard.h"
#include "view/Editing.h"
#include "view/Keys.h"
#include "view/ViewWindowWin32.h"

namespace {

// When a command runs.
enum CommandRule : unsigned {
  anyTime = 0,
  needsDocument = 1,  // does nothing while no document is active
  focusFirst = 2,     // takes the focus back to the main window before acting
};

using CommandHandler = void (*)(MainFrame&);

struct Command {
  int id;
  unsigned rules;
  CommandHandler run;
};

ViewWindow& View(MainFrame& frame) { return *frame.ActiveView(); }

void ShowFindBarIfHidden(MainFrame& frame) {
  if (!frame.findBarVisible) frame.ShowFindBar();
}

// The fixed command ids. Ids not listed (Extend Selection and the drop-down buttons of the menu
// bar among them) get the default handling, which does nothing.
const std::array<Command, 48> commandTable = {{
    {IDM_ABOUT, anyTime, [](MainFrame& f) { f.About(); }},
    {IDM_EXIT, anyTime, [](MainFrame& f) { f.Exit(); }},
    {IDM_OPEN, anyTime, [](MainFrame& f) { f.OpenWithDialog(); }},
    {IDM_NEXTWINDOW, anyTime, [](MainFrame& f) { f.NextWindow(); }},
    {IDM_PREVWINDOW, anyTime, [](MainFrame& f) { f.PreviousWindow(); }},
    {IDM_WORDWRAP, needsDocument, [](MainFrame& f) { f.ToggleWordWrap(); }},
    {IDM_CLOSE, needsDocument, [](MainFrame& f) { f.CloseActive(); }},
    {IDM_COPY, needsDocument, [](MainFrame& f) { CopySelection(View(f), L""); }},
    {IDM_CUT, needsDocument, [](MainFrame& f) { CutSelection(View(f), L""); }},
    {IDM_PASTE, needsDocument, [](MainFrame& f) { PasteClipboard(View(f)); }},
    {IDM_COPYAPPEND, needsDocument, [](MainFrame& f) { CopyAppend(View(f), false); }},
    {IDM_CUTAPPEND, needsDocument, [](MainFrame& f) { CopyAppend(View(f), true); }},
    {IDM_SETTINGS, anyTime, [](MainFrame& f) { f.ShowSettings(); }},
    {IDM_SAVE, needsDocument, [](MainFrame& f) { f.SaveActive(); }},
    {IDM_SAVEAS, needsDocument, [](MainFrame& f) { f.SaveActiveAs(); }},
    {IDM_SAVEALL, anyTime, [](MainFrame& f) { f.SaveAll(); }},
    {IDM_NEW, anyTime, [](MainFrame& f) { f.NewDocument(false); }},
    {IDM_UNDO, needsDocument, [](MainFrame& f) { UndoEdit(View(f)); }},
    {IDM_REDO, needsDocument, [](MainFrame& f) { RedoEdit(View(f)); }},
    {IDM_MATCH, needsDocument, [](MainFrame& f) { MatchPair(View(f)); }},
    {IDM_MARK, needsDocument, [](MainFrame& f) { ToggleMark(View(f)); }},
    {IDM_NEXTMARK, needsDocument, [](MainFrame& f) { NextMark(View(f)); }},
    {IDM_PREVMARK, needsDocument, [](MainFrame& f) { PrevMark(View(f)); }},
    {IDM_CLEARMARKS, needsDocument, [](MainFrame& f) { ClearMarks(View(f)); }},
    {IDM_GOTOLINE, anyTime,
     [](MainFrame& f) {
       ShowFindBarIfHidden(f);
       FindBarCommand(f, IDM_GOTOLINE);
     }},
    {IDM_FINDTEXT, anyTime,
     [](MainFrame& f) {
       ShowFindBarIfHidden(f);
       FindBarCommand(f, IDM_FINDTEXT);
     }},
    {IDM_TOGGLEFINDBAR, anyTime,
     [](MainFrame& f) { f.findBarVisible ? f.HideFindBar() : f.ShowFindBar(); }},
    {IDM_FINDNEXT, needsDocument | focusFirst, [](MainFrame& f) { f.Find(true); }},
    {IDM_FINDPREV, needsDocument | focusFirst, [](MainFrame& f) { f.Find(false); }},
    {IDM_REPLACENEXT, needsDocument | focusFirst, [](MainFrame& f) { f.Replace(true); }},
    {IDM_REPLACE, needsDocument | focusFirst, [](MainFrame& f) { f.Replace(false); }},
    {IDM_REPLACEALL, needsDocument | focusFirst, [](MainFrame& f) { f.ReplaceAllCommand(); }},
    // Enter in the find field finds the next hit, in the replace field replaces it.
    {IDC_FINDTEXT, needsDocument | focusFirst, [](MainFrame& f) { f.Find(true); }},
    {IDC_REPLACETEXT, needsDocument | focusFirst, [](MainFrame& f) { f.Replace(true); }},
    {IDM_BLOCKINDENT, needsDocument, [](MainFrame& f) { Indent(View(f), false); }},
    {IDM_BLOCKUNINDENT, needsDocument, [](MainFrame& f) { Unindent(View(f)); }},
    {IDM_DOCSTART, needsDocument, [](MainFrame& f) { MoveDocumentStart(View(f), false); }},
    {IDM_DOCEND, needsDocument, [](MainFrame& f) { MoveDocumentEnd(View(f), false); }},
    {IDM_DOCSTARTEXTEND, needsDocument, [](MainFrame& f) { MoveDocumentStart(View(f), true); }},
    {IDM_DOCENDEXTEND, needsDocument, [](MainFrame& f) { MoveDocumentEnd(View(f), true); }},
    {IDM_DELETEWORD, needsDocument, [](MainFrame& f) { DeleteWordForward(View(f)); }},
    {IDM_SELECTALL, needsDocument, [](MainFrame& f) { SelectAll(View(f)); }},
    {IDM_HELP, anyTime, [](MainFrame& f) { SendMessageW(f.mainWindow, WM_HELP, 0, 0); }},
    {IDM_COMPLETEWORD, needsDocument, [](MainFrame& f) { CompleteWord(f); }},
    {IDM_FINDINFILES, focusFirst, [](MainFrame& f) { FindInFiles(f); }},
    {IDM_GOTOLOCATION, needsDocument | focusFirst, [](MainFrame& f) { GoToLocation(f); }},
    {IDM_NEXTLOCATION, focusFirst, [](MainFrame& f) { StepLocation(f, true); }},
    {IDM_PREVLOCATION, focusFirst, [](MainFrame& f) { StepLocation(f, false); }},
}};

// The search options in the order of SearchOption, by their command ids.
constexpr std::array<int, searchOptionCount> searchOptionCommands = {
    IDM_IGNORECASE, IDM_WHOLEWORDS, IDM_ALLDOCUMENTS, IDM_REGEXP, IDM_SELECTEDTEXT};

int SearchOptionOf(int command) {
  auto found = std::find(searchOptionCommands.begin(), searchOptionCommands.end(), command);
  return found == searchOptionCommands.end()
             ? -1
             : static_cast<int>(found - searchOptionCommands.begin());
}

}  // namespace

int SearchOptionCommand(int option) { return searchOptionCommands[option]; }

void MainFrame::RunCommand(int id) {
  if (RunGeneratedCommand(id)) return;
  if (SearchOptionOf(id) >= 0) {
    ToggleSearchOption(id);
    return;
  }
  auto found = std::find_if(commandTable.begin(), commandTable.end(),
                            [id](const Command& c) { return c.id == id; });
  if (found == commandTable.end()) return;
  if ((found->rules & needsDocument) && !ActiveDocument()) return;
  if ((found->rules & focusFirst) && focusedWindow != mainWindow) FocusFrame();
  found->run(*this);
}

bool MainFrame::RunGeneratedCommand(int id) {
  if (id >= IDM_WINDOW_FIRST && id <= IDM_WINDOW_LAST) {
    SelectDocument(id - IDM_WINDOW_FIRST);
    return true;
  }
  if (id >= IDM_TOOL_FIRST && id <= IDM_TOOL_LAST) {
    RunTool(*this, id - IDM_TOOL_FIRST);
    return true;
  }
  if (id >= IDM_FORMAT_FIRST && id <= IDM_FORMAT_LAST) {
    ChooseFormat(id);
    return true;
  }
  if (id >= IDM_RECENT_FIRST && id <= IDM_RECENT_LAST) {
    OpenRecentFile(id - IDM_RECENT_FIRST);
    return true;
  }
  return false;
}

void MainFrame::OpenRecentFile(int index) {
  const auto& recent = settings_->recent;
  if (index >= static_cast<int>(recent.size())) return;
  // Copied: opening changes the list.
  std::wstring path = recent[index];
  OpenFile(path);
}

void MainFrame::ToggleSearchOption(int command) {
  const auto option = static_cast<SearchOption>(SearchOptionOf(command));
  const bool on = !searcher.Option(option);
  searcher.SetOption(option, on);
  if (findBarMenu) CheckMenuItem(findBarMenu, command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
  if (option == searchSelectedText && on) {
    if (ViewWindow* view = ActiveView()) TakeSelectedRange(*view, searcher);
  }
  FindBarShowPatternError(*this);
}

std::vector<EditView*> MainFrame::DocumentViews() const {
  std::vector<EditView*> views;
  for (const auto& document : documents) views.push_back(document->view.get());
  return views;
}

void MainFrame::Find(bool forward) {
  if (!searcher.Option(searchAllDocuments)) {
    forward ? FindNext(View(*this), searcher) : FindPrevious(View(*this), searcher);
  } else {
    const std::vector<EditView*> views = DocumentViews();
    const int index = FindInViews(views, documents.ActiveIndex(), searcher, forward);
    if (index >= 0 && index != documents.ActiveIndex()) SelectDocument(index);
  }
  FindBarShowPatternError(*this);
}

void MainFrame::Replace(bool thenFind) {
  if (searcher.FindText().empty()) return;
  if (!searcher.Option(searchAllDocuments)) {
    thenFind ? ReplaceNext(View(*this), searcher) : ReplaceOne(View(*this), searcher);
    FindBarShowPatternError(*this);
  } else {
    // Replace finds only when it had nothing to replace, Replace next always.
    const bool replaced = ReplaceSelectedHit(View(*this), searcher);
    if (thenFind || !replaced) Find(true);
  }
}

void MainFrame::ReplaceAllCommand() {
  if (searcher.Option(searchAllDocuments)) {
    const std::vector<EditView*> views = DocumentViews();
    ReplaceAllInViews(views, searcher);
  } else {
    ReplaceAll(View(*this), searcher);
  }
  FindBarShowPatternError(*this);
  RefreshCommandStates();
}

// ---- Keys ------------------------------------------------------------------------------------

bool MainFrame::OnKeyDown(WPARAM key) {
  ViewWindow* view = ActiveView();
  if (!view) return false;
  bool ctrl = GetKeyState(VK_CONTROL) < 0;
  bool shift = GetKeyState(VK_SHIFT) < 0;
  return ::OnKeyDown(*view, static_cast<unsigned>(key), shift, ctrl);
}

// ---- Command states and help -----------------------------------------------------------------

void MainFrame::RefreshCommandStates() {
  if (OpenDocument* document = ActiveDocument()) UpdateTitle(*document);
  UpdateBarButtons();
}

void MainFrame::SetLineNumberText(const std::wstring& text) { FindBarShowLineNumber(*this, text); }

void MainFrame::ShowHelp(const wchar_t* topic) {
  std::wstring link = L"file:fum.htm#";
  link += topic;
  StartHelpViewer(link.c_str());
}
