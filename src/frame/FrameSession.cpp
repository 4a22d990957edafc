// Picking up where the user left off: the documents of the last session reopened at a start
// without file names, and each file's place remembered when it closes and given back when it
// opens again.
#include <windows.h>

#include <string>
#include <vector>

#include "config/AppSettings.h"
#include "frame/MainFrame.h"
#include "view/Place.h"
#include "view/ViewWindowWin32.h"

namespace {

// A file, not a folder, is there under path.
bool IsExistingFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void MainFrame::ReopenSession() {
  // Copied first: every open may run a message loop (a file that cannot be read says so).
  const std::vector<std::wstring> files = settings_->session.files;
  const int shown = settings_->session.active;
  // Reopening is no new use of the files: the recent files stay as they were left.
  const std::vector<std::wstring> recent = settings_->recent;
  unsigned shownId = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!IsExistingFile(files[i])) continue;
    OpenFile(files[i]);
    const OpenDocument* opened = ActiveDocument();
    if (static_cast<int>(i) == shown && opened && !opened->untitled &&
        opened->file.path == files[i])
      shownId = opened->id;
  }
  settings_->recent = recent;
  RebuildRecentFilesMenu();
  const int index = documents.IndexOf(shownId);
  if (index >= 0 && index != documents.ActiveIndex()) {
    ShowIndex(index);
    RefreshCommandStates();
  }
}

void MainFrame::RecordSession() {
  Session& session = settings_->session;
  session.files.clear();
  session.active = -1;
  // Remembered from the last to the first, so that the session's first file is the most recent
  // place.
  for (auto document = documents.end(); document != documents.begin();) {
    --document;
    RememberPlace(**document);
  }
  const OpenDocument* active = ActiveDocument();
  for (const auto& document : documents) {
    if (document->untitled || document->file.path.empty()) continue;
    if (document.get() == active) session.active = static_cast<int>(session.files.size());
    session.files.push_back(document->file.path);
  }
}

void MainFrame::RememberPlace(const OpenDocument& document) {
  // An untitled document has no file; a document whose read failed has no path yet.
  if (document.untitled || document.file.path.empty() || !document.view) return;
  settings_->session.RememberPlace(document.file.path, PlaceOfView(*document.view));
}

void MainFrame::ReturnToRememberedPlace(OpenDocument& document) {
  if (document.untitled || !document.view) return;
  const ViewPlace* remembered = settings_->session.PlaceOf(document.file.path);
  const ViewPlace place = remembered ? *remembered : PlaceOfView(*document.view);
  ReturnToPlace(*document.view, place, document.shown);
}

void MainFrame::OnEndSession(bool ending) {
  // The program may be ended without another message: the session is written now, and the
  // changes typed since the journals were last written go into them.
  if (!ending) return;
  WriteDueJournals(true);
  if (startupOpened) RecordSession();
  settings_->SaveSession();
}
