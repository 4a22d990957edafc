// Files changed by other programs: the looks when the program is activated, when a document is
// shown and before a save; the reload of unmodified documents, the questions for modified ones
// and the notice of a removed file. Looks wait until no question, dialog or menu is open, so that
// questions never stack.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "comun/resource.h"
#include "frame/FrameSupport.h"
#include "frame/MainFrame.h"
#include "platform/HandlerNesting.h"
#include "text/Document.h"
#include "text/Reload.h"
#include "text/UndoHistory.h"
#include "view/Caret.h"
#include "view/ViewWindowWin32.h"

namespace {

// How long a look waits for the status of the file at path. A fixed disk answers at once and is
// asked directly (a thread for each look would cost more than the call); a share or a card that
// went away may not answer for many seconds: its file is given up after a while, and looked at
// again the next time.
unsigned LookWaitFor(const std::wstring& path) {
  constexpr unsigned lookWaitMs = 300;
  if (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) {
    const std::wstring root = path.substr(0, 2) + L"\\";
    if (GetDriveTypeW(root.c_str()) == DRIVE_FIXED) return 0;
  }
  return lookWaitMs;
}

// The system clock in the units of file times.
std::uint64_t Now() {
  FILETIME time{};
  GetSystemTimeAsFileTime(&time);
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

void MainFrame::FollowFile(OpenDocument& document) {
  document.watch.Reset(document.text->stamp, Now());
}

// ---- When to look --------------------------------------------------------------------------

void MainFrame::LookAtFilesSoon(unsigned id) {
  if (id == 0) {
    lookAtAllFiles = true;
  } else if (std::find(filesToLookAt.begin(), filesToLookAt.end(), id) == filesToLookAt.end()) {
    filesToLookAt.push_back(id);
  }
  if (lookQueued) return;
  lookQueued = true;
  platform::RunOutsideHandlers([this] { LookAtWaitingFiles(); });
}

void MainFrame::LookAtWaitingFiles() {
  // Looks asked for during this one's questions wait for a run of their own.
  lookQueued = false;
  std::vector<unsigned> ids;
  ids.swap(filesToLookAt);
  if (lookAtAllFiles) {
    // The shown document first: its question comes before the others' silent reloads.
    ids = documents.Ids();
    if (const OpenDocument* active = ActiveDocument())
      std::stable_partition(ids.begin(), ids.end(), [&](unsigned id) { return id == active->id; });
  }
  lookAtAllFiles = false;
  for (unsigned id : ids) LookAtFile(id);
}

void MainFrame::LookAtFile(unsigned id) {
  // Each question runs a message loop: the document is found anew every time.
  OpenDocument* document = documents.Find(id);
  if (!document || document->untitled) return;
  Document& text = *document->text;
  const std::wstring& path = document->file.path;
  const FileWatch::Look look =
      document->watch.LookAt(text.stamp, ProbeOf(path, LookWaitFor(path)), Now(), false);
  switch (ActionAfterLook(text.modified, look.change, look.answered)) {
    case FileAction::reload:
      Reload(*document);
      break;
    // A document behind the shown one is asked about, or told, when it is shown.
    case FileAction::askReload:
      if (document->shown) AskToReload(id);
      break;
    case FileAction::tellRemoved:
      MarkRemoved(*document);
      if (document->shown) TellRemoved(id);
      break;
    case FileAction::nothing:
      break;
  }
}

bool MainFrame::MayWriteOver(unsigned id) {
  OpenDocument* document = documents.Find(id);
  if (!document || document->untitled) return true;
  const FileWatch::Look look =
      document->watch.LookAt(document->text->stamp, ProbeOf(document->file.path, 0), Now(), true);
  if (!AskBeforeSaving(look.change, look.answered)) return true;
  const std::wstring question = LoadResourceText(instance, IDS_SAVEOVER, document->file.name);
  // No is the default: the other program's bytes stay unless the user says otherwise.
  return MessageBoxW(mainWindow, question.c_str(), programName.c_str(),
                     MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// ---- What follows a look -------------------------------------------------------------------

bool MainFrame::Reload(OpenDocument& document) {
  bool reloaded = false;
  {
    WaitCursor wait;
    reloaded = ReloadText(*document.text, document.file.path);
  }
  // A file that cannot be read now (its writer still holds it) is tried again at the next look.
  if (!reloaded) return false;
  FollowFile(document);
  RestartJournal(document);
  KeepPlaceInNewText(*document.view);
  if (document.shown) ShowDocument(document, nullptr);
  RefreshCommandStates();
  return true;
}

void MainFrame::AskToReload(unsigned id) {
  OpenDocument* document = documents.Find(id);
  if (!document) return;
  // What the question is about: the file as it is when it is asked. A change made while it is
  // open is another change, asked about again after a No.
  const std::optional<FileStamp> asked = ReadFileStamp(document->file.path);
  if (!asked) return;
  const std::wstring question = LoadResourceText(instance, IDS_FILECHANGED, document->file.name);
  const int answer = MessageBoxW(mainWindow, question.c_str(), programName.c_str(),
                                 MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
  document = documents.Find(id);
  if (!document) return;
  if (answer == IDYES) {
    Reload(*document);
  } else {
    document->watch.Decline(*asked, Now());
  }
}

void MainFrame::MarkRemoved(OpenDocument& document) {
  Document& text = *document.text;
  const bool hadChanges = text.modified;
  // No state of the text is in a file any more: undoing to the saved one leaves it modified.
  text.modified = true;
  MarkSaved(*text.undo);
  // The text is now only in memory: the journal takes it whole, so that a crash before the
  // save loses nothing. One with changes of its own holds them already.
  if (!hadChanges) RestartJournal(document);
  UpdateTitle(document);
  RefreshCommandStates();
}

void MainFrame::TellRemoved(unsigned id) {
  OpenDocument* document = documents.Find(id);
  if (!document) return;
  document->watch.TellRemoved();
  const std::wstring notice = LoadResourceText(instance, IDS_FILEREMOVED, document->file.name);
  MessageBoxW(mainWindow, notice.c_str(), programName.c_str(), MB_OK | MB_ICONINFORMATION);
}
