// Recovery of unsaved changes: every document keeps a journal of its changes since its last save,
// written by a timer, and the journals a run that ended without Exit left behind are offered
// back when the window is up and whenever their file is opened.
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "comun/resource.h"
#include "frame/FrameSupport.h"
#include "frame/MainFrame.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "text/Document.h"
#include "text/Edit.h"
#include "text/Line.h"
#include "text/TextPos.h"
#include "text/Journal.h"
#include "text/JournalWriter.h"
#include "view/ViewWindowWin32.h"

namespace {

// How often the timer looks for journals whose changes are due while some wait.
constexpr UINT journalTickMs = 500;

// True when folder exists, made now if it did not.
bool EnsureFolder(const std::wstring& folder) {
  return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring EnvironmentVariable(const wchar_t* name) {
  std::vector<wchar_t> buffer(32768);
  DWORD length = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
  return length > 0 && length < buffer.size() ? std::wstring(buffer.data(), length) : std::wstring();
}

}  // namespace

// ---- Keeping the journals ----------------------------------------------------------------------

void MainFrame::PrepareJournalFolder() {
  // Beside the program, as its settings; where that cannot be made, in the user's own folder.
  journalFolder = platform::JoinPath(moduleDirectory, L"recovery");
  if (EnsureFolder(journalFolder)) return;
  const std::wstring local = EnvironmentVariable(L"LOCALAPPDATA");
  journalFolder = platform::JoinPath(local, L"fum");
  if (local.empty() || !EnsureFolder(journalFolder) ||
      !EnsureFolder(journalFolder = platform::JoinPath(journalFolder, L"recovery")))
    journalFolder.clear();
}

void MainFrame::AttachJournal(OpenDocument& document) {
  if (journalFolder.empty()) return;
  const std::wstring stem =
      std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(document.id);
  document.journal = std::make_unique<JournalWriter>(UnusedJournalPath(journalFolder, stem));
  JournalWriter* writer = document.journal.get();
  // Only remembered here: the timer writes, so that typing never waits for the disk.
  document.text->onReplace = [this, writer](const TextPos& from, const TextPos& to,
                                            std::wstring_view text) {
    writer->Add(from, to, text, GetTickCount());
    if (!journalTimer) journalTimer = SetTimer(mainWindow, IDT_JOURNAL, journalTickMs, nullptr);
  };
}

void MainFrame::RestartJournal(OpenDocument& document) {
  JournalWriter* writer = document.journal.get();
  if (!writer) return;
  Document& text = *document.text;
  writer->Begin(document.untitled ? FileStamp{} : text.stamp);
  if (document.untitled || !text.modified) return;
  // A save that had to replace characters left the file different from the text: the journal
  // starts with the whole text in place of the file's.
  TextPos start(text), end(text);
  const int lastLine = text.LineCount() - 1;
  SetPos(end, text.lines[lastLine].Length(), lastLine);
  writer->AddWholeText(TextBetween(text, start, end), lastLine, GetTickCount());
  if (!journalTimer) journalTimer = SetTimer(mainWindow, IDT_JOURNAL, journalTickMs, nullptr);
}

void MainFrame::WriteDueJournals(bool all) {
  const DWORD now = GetTickCount();
  bool waiting = false;
  for (const auto& document : documents) {
    JournalWriter* writer = document->journal.get();
    if (!writer) continue;
    // A journal that cannot be written (a full disk) stays pending and is tried again, whole,
    // after the next pause; the one on the disk keeps what it holds meanwhile. With all, every
    // change waiting is written now.
    if (all ? writer->Pending() : writer->Due(now))
      writer->Write(document->text->modified, document->file.name, now);
    waiting = waiting || writer->Pending();
  }
  if (waiting) return;
  KillTimer(mainWindow, IDT_JOURNAL);
  journalTimer = 0;
}

void MainFrame::StopJournalTimer() {
  if (journalTimer) KillTimer(mainWindow, IDT_JOURNAL);
  journalTimer = 0;
}

// ---- Offering what was left behind -----------------------------------------------------------

std::vector<std::wstring> MainFrame::LeftBehindJournals() const {
  std::vector<std::wstring> found;
  if (journalFolder.empty()) return found;
  for (std::wstring& path : ListJournals(journalFolder)) {
    // A document's own journal, and one whose changes a document holds since it was restored.
    const bool own = std::any_of(documents.begin(), documents.end(), [&](const auto& document) {
      const JournalWriter* writer = document->journal.get();
      return writer && (platform::SameFile(writer->Path(), path) ||
                        (!writer->Superseded().empty() && platform::SameFile(writer->Superseded(), path)));
    });
    if (!own) found.push_back(std::move(path));
  }
  return found;
}

bool MainFrame::AskToRestore(const std::wstring& name) {
  return MessageBoxW(mainWindow, LoadResourceText(instance, IDS_RECOVER, name).c_str(),
                     programName.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void MainFrame::SetJournalAside(const std::wstring& path, const std::wstring& name) {
  // Renamed, it is never offered again; the message is shown this once.
  const std::wstring kept = KeepJournalAside(path);
  if (kept.empty()) return;
  MessageBoxW(mainWindow, LoadResourceText(instance, IDS_RECOVERKEPT, name, kept).c_str(),
              programName.c_str(), MB_OK | MB_ICONINFORMATION);
}

void MainFrame::RecoverAtStartup() {
  offerJournals = true;
  if (!journalFolder.empty()) RemoveUnfinishedJournals(journalFolder);
  for (const std::wstring& path : LeftBehindJournals()) {
    std::optional<JournalContents> journal = ReadJournal(path);
    if (!journal || journal->changes.empty()) {
      // No change reached the disk whole (or another program holds it: then it stays).
      platform::RemoveFile(path);
      continue;
    }
    if (journal->saved.path.empty()) {
      RecoverUntitled(path, *journal);
    } else if (!SavedFileUnchanged(*journal)) {
      const std::wstring& file = journal->saved.path;
      SetJournalAside(path, platform::FileNameOf(file));
    } else if (OpenDocument* open = FindOpenFile(journal->saved.path)) {
      OfferRecovery(open->id);
    } else {
      OpenFile(journal->saved.path);  // the open offers the journal
    }
  }
}

OpenDocument* MainFrame::FindOpenFile(const std::wstring& path) const {
  for (const auto& document : documents) {
    if (!document->untitled && platform::SameFile(document->file.path, path)) return document.get();
  }
  return nullptr;
}

void MainFrame::RecoverUntitled(const std::wstring& path, const JournalContents& journal) {
  if (!AskToRestore(journal.name)) {
    platform::RemoveFile(path);
    return;
  }
  NewDocument(false);
  OpenDocument* document = ActiveDocument();
  // A new untitled document, or the untouched one of the start-up; else none could be made.
  if (!document || !document->untitled || document->text->touched) return;
  Restore(*document, journal, path);
}

void MainFrame::OfferRecovery(unsigned id) {
  OpenDocument* document = documents.Find(id);
  // The changes apply to the text as it was read, before any edit.
  if (!offerJournals || !document || document->untitled || document->text->touched) return;
  const std::wstring file = document->file.path;
  const std::wstring name = document->file.name;
  for (const std::wstring& path : LeftBehindJournals()) {
    std::optional<JournalContents> journal = ReadJournal(path);
    if (!journal || journal->changes.empty() || journal->saved.path.empty() ||
        !platform::SameFile(journal->saved.path, file))
      continue;
    if (!SavedFileUnchanged(*journal)) {
      SetJournalAside(path, name);
      return;
    }
    if (!AskToRestore(name)) {
      platform::RemoveFile(path);
      return;
    }
    // The question ran a message loop. Only the text as it was read takes the changes; a
    // document closed or edited meanwhile leaves the journal for the next start.
    document = documents.Find(id);
    if (document && !document->text->touched) Restore(*document, *journal, path);
    return;
  }
}

void MainFrame::Restore(OpenDocument& document, const JournalContents& journal,
                        const std::wstring& path) {
  ReplayJournal(*document.text, journal.changes);
  // The caret stood in the text as it was read: it goes where the file was left, in the text as
  // restored.
  ReturnToRememberedPlace(document);
  // The document's own journal now holds the changes: written at once; the old one goes only
  // once the new one is on the disk whole (a failed write is tried again by the timer).
  if (document.journal) {
    document.journal->Supersede(path);
    document.journal->Write(document.text->modified, document.file.name, GetTickCount());
    if (document.journal->Pending() && !journalTimer)
      journalTimer = SetTimer(mainWindow, IDT_JOURNAL, journalTickMs, nullptr);
  }
  if (document.shown) ShowDocument(document, nullptr);
  RefreshCommandStates();
}
