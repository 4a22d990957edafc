// Documents and their files: opening (the dialog, recent files, the command line and dropped
// files, with the question for a file that is open already), saving, Save As and Save All.
#include <windows.h>
#include <shellapi.h>

#include <new>
#include <optional>
#include <string>
#include <vector>

#include "comun/resource.h"
#include "config/AppSettings.h"
#include "config/Classify.h"
#include "filedialog/FileDialog.h"
#include "platform/HandlerNesting.h"
#include "platform/Paths.h"
#include "frame/CommandLine.h"
#include "frame/FileProgress.h"
#include "frame/FrameSupport.h"
#include "frame/MainFrame.h"
#include "text/Document.h"
#include "text/TextFile.h"
#include "text/TextFormat.h"
#include "view/ViewWindowWin32.h"

#include <commdlg.h>

namespace {

// The file name buffer of the dialog requests, with its terminating NUL.
constexpr std::size_t fileBufferLength = maxPathLength + 1;

// The names a command-line path selects: the file itself, or every file its wildcards match.
// Folders are left out.
std::vector<std::wstring> MatchingFiles(const std::wstring& path) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// A file name buffer for a dialog request that starts with text.
std::vector<wchar_t> FileBuffer(const std::wstring& text) {
  std::vector<wchar_t> buffer(fileBufferLength, L'\0');
  text.copy(buffer.data(), fileBufferLength - 1);
  return buffer;
}

}  // namespace

void MainFrame::ShowError(UINT messageId) { ShowError(LoadResourceText(instance, messageId)); }

void MainFrame::ShowError(const std::wstring& text) {
  MessageBoxW(mainWindow, text.c_str(), LoadResourceText(instance, IDS_ERROR).c_str(), MB_OK);
}

// ---- Opening ---------------------------------------------------------------------------------

void MainFrame::OpenFile(const std::wstring& path, platform::NamePositions positions) {
  EndCycling();
  OpenDocument* active = ActiveDocument();
  const unsigned beforeId = active ? active->id : 0;
  const int beforeIndex = documents.ActiveIndex();

  // The pristine start-up document takes the file. A copy that is open already gives way to
  // the file read anew, but only once that read has succeeded: when it fails, the copy stays
  // with its changes and their journal.
  OpenDocument* target = nullptr;
  unsigned copyId = 0;
  const auto found = documents.TargetForOpening(path);
  if (found.pristine >= 0) {
    documents.SetActive(found.pristine);
    target = documents[found.pristine].get();
  } else if (found.copy >= 0) {
    const OpenDocument& copy = *documents[found.copy];
    copyId = copy.id;
    if (copy.text->modified &&
        MessageBoxW(mainWindow, LoadResourceText(instance, IDS_ALREADYOPEN).c_str(),
                    copy.file.name.c_str(), MB_YESNO | MB_ICONWARNING) != IDYES) {
      return;
    }
  }
  const bool tookPristine = target != nullptr;
  if (!target) {
    std::unique_ptr<OpenDocument> document = MakeDocument();
    if (!document) {
      ShowError(IDS_NOMEMORY);
      RestoreActive(beforeId, beforeIndex);
      return;
    }
    document->file.name = L"doc";
    target = &documents.Append(std::move(document));
  }
  const unsigned targetId = target->id;

  ClassifyDocument(*settings_, *target->text, path, positions.name,
                   ViewClassApplier(*target->view, *settings_));
  bool loaded = false;
  std::wstring failure = LoadResourceText(instance, IDS_CANTOPEN);
  {
    WaitCursor wait;
    // A long load shows its progress and can be stopped; the pump queues what other programs
    // hand over and takes the keys, so that nothing changes the documents meanwhile.
    FileProgressWindow progress(instance, mainWindow, IDS_LOADING, platform::FileNameOf(path));
    try {
      LoadFailure why = LoadFailure::none;
      loaded = LoadText(*target->text, path, &why,
                        [&progress](std::uint64_t done, std::uint64_t total) { return progress.Step(done, total); });
      if (why == LoadFailure::lineTooLong)
        failure = LoadResourceText(instance, IDS_LINETOOLONG, platform::FileNameOf(path));
      if (why == LoadFailure::cancelled) failure.clear();
    } catch (const std::bad_alloc&) {
      failure = LoadResourceText(instance, IDS_NOMEMORY);
    }
  }
  if (loaded) {
    target->file = DocumentName::FromPath(path, positions);
    target->untitled = false;
    target->startup = false;
    RestartJournal(*target);
    FollowFile(*target);
    settings_->AddRecent(path);
    ShowDocument(*target, documents.Find(beforeId));
    // The copy goes now, found again (the question ran a message loop), leaving its place for
    // the file read anew.
    RemoveDocument(documents.IndexOf(copyId));
    ReturnToRememberedPlace(*target);
  } else {
    if (!failure.empty()) ShowError(failure);  // a load stopped with Escape needs no word
    if (!tookPristine) RemoveDocument(documents.IndexOf(targetId));
    RestoreActive(beforeId, beforeIndex);
  }
  RefreshCommandStates();
  if (loaded) OfferRecovery(targetId);
}

void MainFrame::RestoreActive(unsigned beforeId, int beforeIndex) {
  int index = documents.IndexOf(beforeId);
  if (index >= 0) {
    documents.SetActive(index);
    return;
  }
  // The document shown before has gone meanwhile: its neighbour takes its place.
  documents.SetActive(-1);
  int neighbour = documents.NeighbourOf(beforeIndex);
  if (neighbour < 0) {
    RepaintEmptyClientArea();
  } else {
    ShowIndex(neighbour);
  }
}

void MainFrame::OpenWithDialog() {
  const AppSettings& settings = *settings_;
  OpenDocument* active = ActiveDocument();
  std::wstring folder;
  if (settings.dirfollowsdoc) {
    folder = active && !active->untitled ? active->file.directory : settings.lastDirectory;
  } else {
    folder = settings.defdir;
  }
  std::vector<wchar_t> file = FileBuffer(L"");
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = mainWindow;
  request.hInstance = instance;
  request.lpstrFilter = settings.filter.empty() ? nullptr : settings.filter.c_str();
  request.nMaxCustFilter = static_cast<DWORD>(settings.foopenflags);
  request.lpstrFile = file.data();
  request.nMaxFile = static_cast<DWORD>(file.size());
  request.lpstrInitialDir = folder.c_str();
  request.lpstrDefExt = settings.defext.c_str();
  if (!OpenFileDialog(request)) return;
  settings_->foopenflags = static_cast<int>(request.nMaxCustFilter);
  OpenFile(file.data(), {request.nFileOffset, request.nFileExtension});
}

void MainFrame::OpenCommandLineFiles() {
  // Taken out first: opening a file may show a message, and a hand-over may arrive meanwhile.
  std::vector<std::wstring> arguments;
  arguments.swap(commandLineArguments);
  for (const std::wstring& argument : arguments) {
    if (argument.empty()) continue;
    // A name too long for a path is passed over: cut short, it could name another file.
    std::optional<std::wstring> path = ResolveCommandLinePath(argument, settings_->defdir);
    if (!path) continue;
    std::wstring folder = platform::FolderOf(*path);
    for (const std::wstring& name : MatchingFiles(*path)) {
      std::wstring file = platform::JoinPath(folder, name);
      if (file.size() <= maxPathLength) OpenFile(file);
    }
  }
}

void MainFrame::OpenDroppedFiles(HDROP drop) {
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
    commandLineArguments.push_back(std::move(path));
  }
  DragFinish(drop);
  // A drop can arrive inside a question's message loop; the files open after it.
  platform::RunOutsideHandlers([this] { OpenCommandLineFiles(); });
}

// ---- Saving ----------------------------------------------------------------------------------

bool MainFrame::SaveActive() {
  OpenDocument* document = ActiveDocument();
  if (!document) return false;
  bool saved = document->untitled ? SaveActiveAs() : SaveDocument(*document);
  RefreshCommandStates();
  return saved;
}

bool MainFrame::WriteText(unsigned id, const std::wstring& path) {
  OpenDocument* document = documents.Find(id);
  if (!document) return false;
  if (document->text->format.encoding == Encoding::codePage && !EncodingHoldsText(*document->text)) {
    const int answer =
        MessageBoxW(mainWindow, LoadResourceText(instance, IDS_CANTSTORE, platform::FileNameOf(path)).c_str(),
                    programName.c_str(), MB_YESNOCANCEL | MB_ICONWARNING);
    // The question ran a message loop: the document is found again.
    document = documents.Find(id);
    if (!document || (answer != IDYES && answer != IDNO)) return false;
    // Yes: the document takes the form that stores every character, for this save and later.
    if (answer == IDYES) document->text->format = {Encoding::utf8, false, document->text->format.lineFeed};
  }
  bool written = false;
  bool stopped = false;
  {
    WaitCursor wait;
    FileProgressWindow progress(instance, mainWindow, IDS_SAVING, platform::FileNameOf(path));
    written = SaveText(*document->text, path,
                       [&progress](std::uint64_t done, std::uint64_t total) { return progress.Step(done, total); });
    stopped = progress.Cancelled();
  }
  UpdateTitle(*document);
  // A failed or stopped write leaves the document its changes and its "*", and the old file
  // untouched.
  if (!written && !stopped) ShowError(IDS_CANTSAVE);
  return written;
}

bool MainFrame::SaveDocument(OpenDocument& document) {
  // An unchanged document is not written again.
  if (!document.text->modified) return false;
  const unsigned id = document.id;
  if (!MayWriteOver(id)) return false;
  // A question may have run a message loop: the document is found again.
  const OpenDocument* asked = documents.Find(id);
  if (!asked || !WriteText(id, asked->file.path)) return false;
  OpenDocument* saved = documents.Find(id);
  if (!saved) return false;
  RestartJournal(*saved);
  FollowFile(*saved);
  settings_->AddRecent(saved->file.path);
  return true;
}

bool MainFrame::SaveActiveAs() {
  OpenDocument* document = ActiveDocument();
  return document && SaveDocumentAs(*document);
}

bool MainFrame::SaveDocumentAs(OpenDocument& named) {
  const unsigned id = named.id;
  AppSettings& settings = *settings_;
  std::wstring start = named.untitled ? named.file.name : named.file.path;
  std::vector<wchar_t> file = FileBuffer(start);
  platform::NamePositions given = platform::FindNamePositions(start);
  std::wstring folder = named.untitled ? settings.lastDirectory : named.file.directory;

  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = mainWindow;
  request.hInstance = instance;
  request.lpstrFilter = settings.filter.empty() ? nullptr : settings.filter.c_str();
  request.nMaxCustFilter = static_cast<DWORD>(settings.fosaveflags);
  request.lpstrFile = file.data();
  request.nMaxFile = static_cast<DWORD>(file.size());
  request.nFileOffset = static_cast<WORD>(given.name);
  request.nFileExtension =
      static_cast<WORD>(given.extension ? given.extension : start.size());
  request.lpstrInitialDir = folder.c_str();
  request.lpstrDefExt = settings.defext.c_str();
  request.Flags = OFN_OVERWRITEPROMPT;
  if (!SaveFileDialog(request)) return false;
  settings.fosaveflags = static_cast<int>(request.nMaxCustFilter);
  // The dialog ran a message loop: the document is found again.
  OpenDocument* document = documents.Find(id);
  if (!document) return false;

  // The dialog returns one path, which may hold ";": it is taken whole.
  const std::wstring path = file.data();
  platform::NamePositions positions =
      path.find(L'\\') != std::wstring::npos
          ? platform::FindNamePositions(path)
          : platform::NamePositions{request.nFileOffset, request.nFileExtension};
  if (!WriteText(id, path) || !(document = documents.Find(id))) {
    // The document keeps its name, its changes and its "*".
    RefreshCommandStates();
    return false;
  }
  document->file = DocumentName::FromPath(path, positions);
  document->untitled = false;
  document->startup = false;
  RestartJournal(*document);
  FollowFile(*document);
  settings.AddRecent(path);
  UpdateTitle(*document);
  ClassifyDocument(settings, *document->text, path, positions.name,
                   ViewClassApplier(*document->view, settings));
  settings.lastDirectory = document->file.directory;
  RefreshCommandStates();
  return true;
}

bool MainFrame::SaveAll() {
  OpenDocument* active = ActiveDocument();
  const unsigned wasActive = active ? active->id : 0;
  bool allSaved = true;
  // Save As and the error messages run message loops: the documents are found again by id.
  for (unsigned id : documents.Ids()) {
    int index = documents.IndexOf(id);
    if (index < 0 || !documents[index]->text->modified) continue;
    OpenDocument& document = *documents[index];
    if (document.untitled) {
      // Save As needs the document in front, where the user sees what is being named.
      EndCycling();
      ShowIndex(index);
      allSaved = SaveDocumentAs(document);
    } else {
      allSaved = SaveDocument(document);
    }
    if (!allSaved) break;
  }
  int index = documents.IndexOf(wasActive);
  if (index >= 0 && index != documents.ActiveIndex()) ShowIndex(index);
  RefreshCommandStates();
  return allSaved;
}
