// Find in Files: the dialog, the search on a thread of its own with its progress shown and
// Escape to stop it, and the document of its hits.
#include "frame/FindInFiles.h"

#include <windows.h>

#include <cstdio>
#include <iterator>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "comun/resource.h"
#include "frame/FrameSupport.h"
#include "frame/Locations.h"
#include "frame/MainFrame.h"
#include "platform/HandlerGuard.h"
#include "search/FileSearch.h"
#include "search/LineMatcher.h"
#include "syntax/ConfigFile.h"
#include "syntax/Highlighter.h"
#include "text/Document.h"
#include "view/ViewWindowWin32.h"

namespace {

// Posted to the dialog by the searching thread when it has ended.
constexpr UINT searchEndedMessage = WM_APP + 20;
constexpr UINT progressIntervalMs = 100;

// One showing of the dialog: its fields, and while it searches the thread and what it shares
// with it. The thread writes result and outOfMemory; they are read once it has been joined.
struct FindInFilesRun {
  explicit FindInFilesRun(MainFrame& owner) : frame(owner) {}

  MainFrame& frame;
  HWND dialog = nullptr;
  ControlWrapper textField, folderField, patternsField, subfoldersBox, status;
  std::unique_ptr<LineMatcher> matcher;
  FileSearchRequest request;
  FileSearchProgress progress;
  FileSearchResult result;
  bool outOfMemory = false;
  std::thread worker;
  bool cancelled = false;
};

// A text of the string table with the values put into its "%d"s and "%ls"s.
template <typename... Values>
std::wstring FormatResource(const MainFrame& frame, UINT id, Values... values) {
  const std::wstring format = LoadResourceText(frame.instance, id);
  wchar_t text[512] = L"";
  std::swprintf(text, std::size(text), format.c_str(), values...);
  return text;
}

void Tell(const FindInFilesRun& run, UINT id) {
  MessageBoxW(run.dialog, LoadResourceText(run.frame.instance, id).c_str(),
              run.frame.programName.c_str(), MB_OK | MB_ICONINFORMATION);
}

// The patterns of a class's filter list, separated by ";".
std::wstring PatternsOf(const std::wstring& filter) {
  std::wstring patterns;
  for (const std::wstring& pattern : SplitStringList(filter)) {
    if (!patterns.empty()) patterns += L';';
    patterns += pattern;
  }
  return patterns;
}

// The folder of the active document, else the one searched last, else the current folder.
std::wstring StartFolder(const MainFrame& frame) {
  const OpenDocument* document = frame.ActiveDocument();
  if (document && !document->untitled) return document->file.directory;
  if (!frame.findInFiles.folder.empty()) return frame.findInFiles.folder;
  return CurrentFolder();
}

// The patterns of the active document's class, else the ones used last, else every file.
std::wstring StartPatterns(const MainFrame& frame) {
  const OpenDocument* document = frame.ActiveDocument();
  std::wstring patterns;
  if (document && !document->untitled) patterns = PatternsOf(document->view->docClass.filter);
  if (patterns.empty()) patterns = frame.findInFiles.patterns;
  return patterns.empty() ? L"*.*" : patterns;
}

// The word characters of the document on screen, which Whole Words goes by in every file, as
// Find Next does there. The settings, which could load the definitions anew, cannot change
// while the dialog is shown.
const SyntaxDef* WordCharacters(const MainFrame& frame) {
  const OpenDocument* document = frame.ActiveDocument();
  return document ? SyntaxOf(*document->text) : nullptr;
}

// The files open with changes not saved, as the editor holds them: their hits must name the
// lines Go to Location finds in the documents.
std::vector<OpenFileText> ChangedOpenFiles(const MainFrame& frame) {
  std::vector<OpenFileText> texts;
  for (const auto& document : frame.documents) {
    if (document->untitled || !document->text->modified) continue;
    std::wstring text;
    const Document& lines = *document->text;
    for (int line = 0; line < lines.LineCount(); ++line) {
      if (line > 0) text += L'\n';
      text += lines.lines[line].Peek();
    }
    texts.push_back({document->file.path, std::move(text)});
  }
  return texts;
}

// The full path of a folder typed into the dialog; empty when it names no folder.
std::wstring FullFolder(const std::wstring& typed) {
  if (typed.empty()) return {};
  wchar_t full[MAX_PATH * 4] = L"";
  DWORD length = GetFullPathNameW(typed.c_str(), MAX_PATH * 4, full, nullptr);
  if (length == 0 || length >= MAX_PATH * 4) return {};
  const DWORD attributes = GetFileAttributesW(full);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  std::wstring folder(full, length);
  // "C:\" keeps its backslash: without it, it would name the current folder of the drive.
  if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  return folder;
}

// Puts the dialog in the middle of the main window.
void CentreOnOwner(HWND dialog, HWND owner) {
  RECT outer{}, own{};
  if (!GetWindowRect(owner, &outer) || !GetWindowRect(dialog, &own)) return;
  const int x = outer.left + ((outer.right - outer.left) - (own.right - own.left)) / 2;
  const int y = outer.top + ((outer.bottom - outer.top) - (own.bottom - own.top)) / 2;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnInit(FindInFilesRun& run) {
  const HWND dialog = run.dialog;
  CentreOnOwner(dialog, run.frame.mainWindow);
  run.textField.AttachDialogItem(dialog, IDC_FIF_TEXT);
  run.folderField.AttachDialogItem(dialog, IDC_FIF_FOLDER);
  run.patternsField.AttachDialogItem(dialog, IDC_FIF_PATTERNS);
  run.subfoldersBox.AttachDialogItem(dialog, IDC_FIF_SUBFOLDERS);
  run.status.AttachDialogItem(dialog, IDC_FIF_STATUS);
  run.textField.SetText(run.frame.searcher.FindText());
  run.folderField.SetText(StartFolder(run.frame));
  run.patternsField.SetText(StartPatterns(run.frame));
  run.subfoldersBox.SetChecked(run.frame.findInFiles.subfolders);
  run.textField.Send(EM_SETSEL, 0, -1);
}

void ShowProgress(FindInFilesRun& run) {
  run.status.SetText(FormatResource(run.frame, IDS_FIF_PROGRESS, run.progress.filesSearched.load(),
                                   run.progress.hits.load()));
}

// Takes the choices of the fields; false, with the reason told, when they cannot be searched.
bool TakeChoices(FindInFilesRun& run) {
  MainFrame& frame = run.frame;
  const std::wstring text = run.textField.GetText();
  if (text.empty()) {
    Tell(run, IDS_FIF_NOTEXT);
    run.textField.Focus();
    return false;
  }
  const std::wstring folder = FullFolder(run.folderField.GetText());
  if (folder.empty()) {
    Tell(run, IDS_FIF_NOFOLDER);
    run.folderField.Focus();
    return false;
  }
  frame.findInFiles = {folder, run.patternsField.GetText(), run.subfoldersBox.Checked()};
  // The find bar takes the text, so that Find Next goes on with it in the files opened.
  frame.searcher.SetFindText(text);
  if (frame.findField.Window()) frame.findField.SetText(text);
  std::wstring error;
  run.matcher = frame.searcher.MakeFileMatcher(WordCharacters(frame), error);
  if (!run.matcher) {
    MessageBoxW(run.dialog, error.c_str(), frame.programName.c_str(), MB_OK | MB_ICONINFORMATION);
    run.textField.Focus();
    return false;
  }
  run.request = {folder, SplitPatterns(frame.findInFiles.patterns), frame.findInFiles.subfolders,
                 ChangedOpenFiles(frame)};
  return true;
}

void StartSearch(FindInFilesRun& run) {
  if (!TakeChoices(run)) return;
  for (ControlWrapper* field : {&run.textField, &run.folderField, &run.patternsField, &run.subfoldersBox})
    field->Enable(false);
  EnableWindow(GetDlgItem(run.dialog, IDOK), FALSE);
  SetFocus(GetDlgItem(run.dialog, IDCANCEL));
  ShowProgress(run);
  SetTimer(run.dialog, IDT_FINDINFILES, progressIntervalMs, nullptr);
  FindInFilesRun* shared = &run;
  run.worker = std::thread([shared] {
    try {
      shared->result = SearchFiles(shared->request, *shared->matcher, shared->progress);
    } catch (...) {
      // Running out of memory is the one failure a search can meet; nothing may leave a thread.
      shared->outOfMemory = true;
    }
    PostMessageW(shared->dialog, searchEndedMessage, 0, 0);
  });
}

// Stops a search still going and waits for its thread.
void EndSearch(FindInFilesRun& run) {
  KillTimer(run.dialog, IDT_FINDINFILES);
  if (!run.worker.joinable()) return;
  run.progress.cancel = true;
  run.worker.join();
}

INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto& run = *reinterpret_cast<FindInFilesRun*>(lParam);
    run.dialog = dialog;
    OnInit(run);
    return TRUE;
  }
  auto* run = reinterpret_cast<FindInFilesRun*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!run) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && !run->worker.joinable()) {
        StartSearch(*run);
      } else if (LOWORD(wParam) == IDCANCEL) {
        // Escape while the search runs stops it; the dialog ends when the thread has.
        run->cancelled = true;
        run->progress.cancel = true;
        if (!run->worker.joinable()) EndDialog(dialog, IDCANCEL);
      } else {
        return FALSE;
      }
      return TRUE;
    case WM_TIMER:
      if (wParam == IDT_FINDINFILES) ShowProgress(*run);
      return TRUE;
    case searchEndedMessage:
      EndSearch(*run);
      EndDialog(dialog, run->cancelled ? IDCANCEL : IDOK);
      return TRUE;
    case WM_DESTROY:
      EndSearch(*run);
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK FindInFilesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return platform::Guarded([&] { return OnMessage(dialog, message, wParam, lParam); },
                           [] { return INT_PTR{FALSE}; });
}

// The last line of the results: the hits, the files with hits and the files searched, and
// what could not be searched.
std::wstring SummaryLine(const MainFrame& frame, const FileSearchResult& result) {
  const int hits = static_cast<int>(result.lines.size());
  std::wstring notes;
  for (auto [id, count] : {std::pair{IDS_FIF_UNREADABLE, result.unreadable},
                           std::pair{IDS_FIF_COSTLY, result.costlyLines}}) {
    if (count == 0) continue;
    if (!notes.empty()) notes += L", ";
    notes += FormatResource(frame, id, count);
  }
  if (notes.empty())
    return FormatResource(frame, IDS_FIF_SUMMARY, hits, result.filesWithHits, result.filesSearched);
  return FormatResource(frame, IDS_FIF_SUMMARYNOTES, hits, result.filesWithHits,
                        result.filesSearched, notes.c_str());
}

}  // namespace

void FindInFiles(MainFrame& frame) {
  FindInFilesRun run(frame);
  const INT_PTR answer = DialogBoxParamW(frame.instance, MAKEINTRESOURCEW(IDD_FINDINFILES),
                                         frame.mainWindow, FindInFilesProc,
                                         reinterpret_cast<LPARAM>(&run));
  if (answer != IDOK) return;
  if (run.outOfMemory) {
    MessageBoxW(frame.mainWindow, LoadResourceText(frame.instance, IDS_NOMEMORY).c_str(),
                LoadResourceText(frame.instance, IDS_ERROR).c_str(), MB_OK);
    return;
  }
  // Many thousands of hits take a moment to become a document.
  WaitCursor wait;
  const std::wstring text = HitLinesText(run.result) + SummaryLine(frame, run.result);
  // The results go into the active document; the dialog's message loop may have changed it.
  if (OpenDocument* results = frame.NewDocumentShowing(text))
    UseAsLocationList(frame, *results, run.request.folder);
}
