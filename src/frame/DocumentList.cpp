// The list of open documents: making, showing, hiding and removing them, the title, switching
// with Next and Prev and the Window menu (with the reordering after cycling), closing with the
// save question, and word wrap.
#include <windows.h>

#include <exception>
#include <new>
#include <vector>

#include "comun/resource.h"
#include "config/AppSettings.h"
#include "config/Classify.h"
#include "frame/CycleOrder.h"
#include "frame/FindBar.h"
#include "frame/FrameSupport.h"
#include "frame/MainFrame.h"
#include "text/Document.h"
#include "view/ViewWindowWin32.h"

namespace {

constexpr UINT cycleDelayMs = 1000;

}  // namespace

// ---- Making documents ----------------------------------------------------------------------

std::unique_ptr<OpenDocument> MainFrame::MakeDocument() {
  try {
    auto document = std::make_unique<OpenDocument>();
    document->id = ++lastDocumentId;
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

OpenDocument* MainFrame::FirstPristineDocument(int* index) const {
  for (std::size_t i = 0; i < documents.size(); ++i) {
    if (!documents[i]->Pristine()) continue;
    if (index) *index = static_cast<int>(i);
    return documents[i].get();
  }
  return nullptr;
}

void MainFrame::NewDocument(bool startupMark) {
  EndCycling();
  OpenDocument* previous = ActiveDocument();
  int pristine = -1;
  if (FirstPristineDocument(&pristine)) {
    activeIndex = pristine;
  } else {
    std::unique_ptr<OpenDocument> document = MakeDocument();
    if (!document) {
      ShowError(IDS_NOMEMORY);
      return;
    }
    ++untitledCounter;
    document->file.name = UntitledName(untitledCounter);
    document->untitled = true;
    document->startup = startupMark;
    documents.push_back(std::move(document));
    activeIndex = static_cast<int>(documents.size()) - 1;
  }
  ShowDocument(*ActiveDocument(), previous);
  RefreshCommandStates();
}

// ---- Showing and hiding ---------------------------------------------------------------------

void MainFrame::ShowDocument(OpenDocument& document, OpenDocument* previous) {
  if (previous && previous != &document) HideDocument(*previous);
  document.shown = true;
  InitView(*document.view, FindBarPlacement());
  PlaceView(*document.view);
  UpdateTitle(document);
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
  activeIndex = index;
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

std::vector<unsigned> MainFrame::DocumentIds() const {
  std::vector<unsigned> ids;
  for (const auto& document : documents) ids.push_back(document->id);
  return ids;
}

// ---- Removing ----------------------------------------------------------------------------------

void MainFrame::RemoveDocument(int index) {
  if (index < 0 || index >= static_cast<int>(documents.size())) return;
  EndCycling();
  bool wasActive = index == activeIndex;
  if (wasActive) HideDocument(*documents[index]);
  // A later document may be made where this one was: the range of Selected Text goes with it.
  if (searcher.SelectedRange().document == documents[index]->text.get())
    searcher.SetSelectedRange({});
  documents.erase(documents.begin() + index);
  // The active index keeps naming the same document; when that one went, the one before it.
  if (index <= activeIndex) --activeIndex;
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
  if (documents.empty()) {
    RepaintEmptyClientArea();
    return;
  }
  int count = static_cast<int>(documents.size());
  if (activeIndex < 0) activeIndex = count - 1;
  if (!cycling || cycleStartIndex >= count) cycleStartIndex = activeIndex;
  ShowIndex((activeIndex + 1) % count);
  if (activeIndex != cycleStartIndex) {
    cycleTimer = SetTimer(mainWindow, IDT_CYCLE, cycleDelayMs, nullptr);
  }
  RefreshCommandStates();
}

void MainFrame::PreviousWindow() {
  EndCycling();
  if (documents.empty()) {
    RepaintEmptyClientArea();
    return;
  }
  int count = static_cast<int>(documents.size());
  int from = activeIndex < 0 ? 0 : activeIndex;
  ShowIndex((from + count - 1) % count);
  RefreshCommandStates();
}

void MainFrame::ReorderAfterCycling() {
  // Stopped whether or not anything moves: the timer only ever fires once per cycling.
  EndCycling();
  activeIndex = ::ReorderAfterCycling(documents, activeIndex, cycleStartIndex);
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
  OpenDocument* document = FindDocument(id);
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
  int index = IndexOf(id);
  if (index < 0) return;
  bool wasActive = index == activeIndex;
  RemoveDocument(index);
  if (wasActive) NextWindow();
  RefreshCommandStates();
}

bool MainFrame::QueryCloseAll() {
  // Every question runs a message loop: the documents are taken by id and found again.
  for (unsigned id : DocumentIds()) {
    int index = IndexOf(id);
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
