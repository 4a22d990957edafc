// Go to Location and Next / Previous Location: reading the place of a line, finding or opening
// its file and putting the caret there.
#include "frame/Locations.h"

#include <windows.h>

#include <optional>

#include "comun/resource.h"
#include "frame/FrameSupport.h"
#include "frame/MainFrame.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "search/LocationLine.h"
#include "search/Navigation.h"
#include "text/Document.h"
#include "view/ViewWindowWin32.h"

namespace {

// Where the relative paths of a document's place lines start.
std::wstring FolderOfLines(const OpenDocument& document) {
  if (!document.locationFolder.empty()) return document.locationFolder;
  if (!document.untitled) return document.file.directory;
  return CurrentFolder();
}

void ShowMissing(MainFrame& frame, const std::wstring& path) {
  const std::wstring text = LoadResourceText(frame.instance, IDS_LOCATION_MISSING) + L"\n" + path;
  MessageBoxW(frame.mainWindow, text.c_str(), LoadResourceText(frame.instance, IDS_ERROR).c_str(),
              MB_OK | MB_ICONERROR);
}

// Shows the file at path, opening it unless it is open; the document shown, or null when the
// file could not be opened.
OpenDocument* ShowFile(MainFrame& frame, const std::wstring& path) {
  if (OpenDocument* open = frame.FindOpenFile(path)) {
    frame.SelectDocument(frame.documents.IndexOf(open->id));
  } else {
    frame.OpenFile(path);
  }
  // Found again: opening asks questions, and their message loops let other requests in.
  OpenDocument* shown = frame.FindOpenFile(path);
  return shown && shown == frame.ActiveDocument() ? shown : nullptr;
}

// Goes to the place that line of the document with this id names. False when the line names
// none; the place's file that cannot be found is reported.
bool GoToLineOf(MainFrame& frame, unsigned listId, int line) {
  OpenDocument* list = frame.documents.Find(listId);
  if (!list || line < 0 || line >= list->text->LineCount()) return false;
  const std::optional<Location> place = ParseLocation(list->text->lines[line].Peek());
  if (!place) return false;
  frame.locations = {listId, line};
  const std::wstring path = platform::ResolvePath(FolderOfLines(*list), place->path);
  if (!platform::FileExists(path)) {
    ShowMissing(frame, path);
    return true;
  }
  OpenDocument* target = ShowFile(frame, path);
  if (!target) return true;
  EditView& view = *target->view;
  const int lineIndex = place->line - 1;
  int index = 0;
  if (lineIndex < target->text->LineCount())
    index = IndexOfColumn(target->text->lines[lineIndex].Peek(), place->column);
  GotoPlace(view, lineIndex, index);
  return true;
}

}  // namespace

void GoToLocation(MainFrame& frame) {
  OpenDocument* document = frame.ActiveDocument();
  if (!document) return;
  if (!GoToLineOf(frame, document->id, document->view->caret.line)) MessageBeep(MB_OK);
}

void StepLocation(MainFrame& frame, bool forward) {
  OpenDocument* list = frame.documents.Find(frame.locations.documentId);
  if (!list) {
    MessageBeep(MB_OK);
    return;
  }
  // A caret the user put on another line of the list, while it is shown, is where the steps
  // go on from: its own line comes first.
  int from = frame.locations.line;
  const int caretLine = list->view->caret.line;
  if (list == frame.ActiveDocument() && caretLine != from) from = forward ? caretLine - 1 : caretLine + 1;
  const int line = FindLocationLine(*list->text, from, forward);
  if (line < 0) {
    MessageBeep(MB_OK);
    return;
  }
  // The list shows the line gone to when it comes to the front again.
  GotoLine(*list->view, line);
  GoToLineOf(frame, list->id, line);
}

bool HasLocationList(const MainFrame& frame) {
  return frame.documents.Find(frame.locations.documentId) != nullptr;
}

void UseAsLocationList(MainFrame& frame, OpenDocument& document, const std::wstring& folder) {
  document.locationFolder = folder;
  frame.locations = {document.id, -1};
}
