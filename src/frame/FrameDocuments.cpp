// The windows of the document list: making, showing, hiding and removing documents, the title,
// switching with Next and Prev and the Window menu (with the timer of the reordering after
// cycling), closing with the save question, and word wrap.
#include <windows.h>

#include <exception>
#include <new>
#include <vector>

#include "comun/resource.h"
#include "config/AppSettings.h"
#include "config/Classify.h"
#include "frame/CompletionPopup.h"
#include "frame/FindBar.h"
#include "frame/FrameSupport.h"
#include "frame/MainFrame.h"
#include "text/Document.h"
#include "view/Caret.h"
#include "text/Edit.h"
#include "view/CaretCommands.h"
#include "view/Editing.h"
#include "view/ViewWindowWin32.h"

namespace {

constexpr UINT cycleDelayMs = 1000;

}  // namespace

// ---- Making documents ----------------------------------------------------------------------

std::unique_ptr<OpenDocument> MainFrame::MakeDocument() {
  try {
    auto document = std::make_unique<OpenDocument>();
    document->id = documents.NewId();
    const DocClass startClass = settings_->Resolved(settings_->defaultClass);
    GiveClass(*document->text, startClass);
    document->text->onStateChanged = [this] { RefreshCommandStates(); };
    AttachJournal(*document);
    document->view = std::make_unique<ViewWindow>(*document->text, mainWindow, this);
    document->view->docClass = startClass;
    if (!CreateViewWindow(*document->view)) return nullptr;
    document->view->onGotoLine = [this](ViewWindow& view) { GotoLineFromFindBar(*this, view); };
    // Made hidden: ShowDocument brings it to the front.
    HideView(*document->view);
    return document;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void MainFrame::NewDocument(bool startupMark) {
  EndCycling();
  OpenDocument* previous = ActiveDocument();
  int pristine = documents.FirstPristine();
  if (pristine >= 0) {
    documents.SetActive(pristine);
  } else {
    std::unique_ptr<OpenDocument> document = MakeDocument();
    if (!document) {
      ShowError(IDS_NOMEMORY);
      return;
    }
    document->file.name = documents.NextUntitledName();
    document->untitled = true;
    document->startup = startupMark;
    documents.Append(std::move(document));
  }
  ShowDocument(*ActiveDocument(), previous);
  RefreshCommandStates();
}

OpenDocument* MainFrame::NewDocumentShowing(const std::wstring& text) {
  NewDocument(false);
  // A document that could not be made leaves the one before active; it keeps its text.
  OpenDocument* document = ActiveDocument();
  if (!document || !document->untitled || document->text->touched) return nullptr;
  ReplaceSelection(*document->view, text, editOther);
  MoveDocumentStart(*document->view, false);
  RefreshCommandStates();
  return document;
}

// ---- Showing and hiding ---------------------------------------------------------------------

void MainFrame::ShowDocument(OpenDocument& document, OpenDocument* previous) {
  CloseCompletion(*this);
  if (previous && previous != &document) HideDocument(*previous);
  document.shown = true;
  InitView(*document.view, FindBarPlacement());
  PlaceView(*document.view);
  // The line number field follows the shown view; views behind it never set it.
  ShowLineNumber(*document.view);
  UpdateTitle(document);
  // Its file may have been changed while it was behind another.
  if (!document.untitled) LookAtFilesSoon(document.id);
}

void MainFrame::HideDocument(OpenDocument& document) {
  if (!document.shown) return;
  document.shown = false;
  UpdateTitle(document);
  FrameFocusLost(*document.view);
  HideView(*document.view);
}

void MainFrame::ShowIndex(int index) {
  OpenDocument* previous = ActiveDocument();
  documents.SetActive(index);
  ShowDocument(*documents[index], previous);
}

void MainFrame::UpdateTitle(const OpenDocument& document) {
  std::wstring title = LoadResourceText(instance, IDS_NOTITLE);
  if (document.shown) {
    title = LoadResourceText(instance, IDS_TITLEPREFIX) + document.file.name +
            (document.text->modified ? L"*" : L"") + FormatSuffix(document.text->format);
  }
  if (title == shownTitle) return;
  shownTitle = title;
  SetWindowTextW(mainWindow, title.c_str());
}

void MainFrame::RepaintEmptyClientArea() {
  InvalidateRect(mainWindow, nullptr, TRUE);
  UpdateWindow(mainWindow);
}

// ---- Removing ----------------------------------------------------------------------------------

void MainFrame::RemoveDocument(int index) {
  if (index < 0 || index >= static_cast<int>(documents.size())) return;
  EndCycling();
  RememberPlace(*documents[index]);
  if (index == documents.ActiveIndex()) HideDocument(*documents[index]);
  // A later document may be made where this one was: the range of Selected Text goes with it.
  if (searcher.SelectedRange().document == documents[index]->text.get())
    searcher.SetSelectedRange({});
  documents.Remove(index);
}

// ---- Switching -------------------------------------------------------------------------------

void MainFrame::EndCycling() {
  if (cycleTimer) KillTimer(mainWindow, cycleTimer);
  cycleTimer = 0;
}

void MainFrame::NextWindow() {
  // A Next window while the timer runs continues the same cycling.
  bool cycling = cycleTimer != 0;
  EndCycling();
  int next = documents.NextIndex(cycling);
  if (next < 0) {
    RepaintEmptyClientArea();
    return;
  }
  ShowIndex(next);
  if (documents.AwayFromCycleStart()) {
    cycleTimer = SetTimer(mainWindow, IDT_CYCLE, cycleDelayMs, nullptr);
  }
  RefreshCommandStates();
}

void MainFrame::PreviousWindow() {
  EndCycling();
  int previous = documents.PreviousIndex();
  if (previous < 0) {
    RepaintEmptyClientArea();
    return;
  }
  ShowIndex(previous);
  RefreshCommandStates();
}

void MainFrame::ReorderAfterCycling() {
  // Stopped whether or not anything moves: the timer only ever fires once per cycling.
  EndCycling();
  documents.ReorderAfterCycling();
}

void MainFrame::SelectDocument(int index) {
  if (index < 0 || index >= static_cast<int>(documents.size())) return;
  EndCycling();
  ShowIndex(index);
  RefreshCommandStates();
}

// ---- Closing ---------------------------------------------------------------------------------

int MainFrame::AskToSave(HWND owner) {
  return MessageBoxW(owner, LoadResourceText(instance, IDS_ASKSAVE).c_str(), programName.c_str(),
                     MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON3);
}

bool MainFrame::SaveBeforeClosing(unsigned id, HWND owner) {
  int answer = AskToSave(owner);
  // The question ran a message loop: the document is found again.
  OpenDocument* document = documents.Find(id);
  switch (answer) {
    case IDYES:
      // Only a document that reached its file may go; a failed write has been reported.
      if (!document) return true;
      return document->untitled ? SaveDocumentAs(*document) : SaveDocument(*document);
    case IDNO:
      return true;
    default:
      return false;
  }
}

void MainFrame::CloseActive() {
  OpenDocument* document = ActiveDocument();
  if (!document) return;
  const unsigned id = document->id;
  if (document->text->modified && !SaveBeforeClosing(id, document->view->window)) return;
  int index = documents.IndexOf(id);
  if (index < 0) return;
  bool wasActive = index == documents.ActiveIndex();
  RemoveDocument(index);
  if (wasActive) NextWindow();
  RefreshCommandStates();
}

bool MainFrame::QueryCloseAll() {
  // Every question runs a message loop: the documents are taken by id and found again.
  for (unsigned id : documents.Ids()) {
    int index = documents.IndexOf(id);
    if (index < 0 || !documents[index]->text->modified) continue;
    EndCycling();
    ShowIndex(index);
    if (!SaveBeforeClosing(id, mainWindow)) return false;
  }
  return true;
}

// ---- Word wrap -------------------------------------------------------------------------------

void MainFrame::ToggleWordWrap() {
  OpenDocument* document = ActiveDocument();
  if (!document) return;
  // Only this document changes; its class keeps its setting.
  DocClass settings = document->view->docClass;
  settings.wordwrap = !settings.wordwrap;
  WaitCursor wait;
  ApplyClassSettings(*document->view, *settings_, settings);
}

// ---- Placement -------------------------------------------------------------------------------

FindBarStrip MainFrame::FindBarPlacement() const {
  return FindBarStrip{findBar, findBarReservedHeight, findBarHeight};
}

void MainFrame::PlaceView(ViewWindow& view) {
  RECT client{};
  GetClientRect(mainWindow, &client);
  int height = client.bottom - MenuBarReservedHeight(mainWindow);
  ResizeView(view, client.right, height > 0 ? height : 0, FindBarPlacement());
}
