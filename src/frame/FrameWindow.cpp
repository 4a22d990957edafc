// The main window: start-up with the hand-over to a running instance, the window procedure and
// the frame's own messages (creation, size, focus, closing), focus tracking, the find bar's
// room, Exit and About.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "comun/resource.h"
#include "config/AppSettings.h"
#include "frame/CommandLine.h"
#include "frame/CompletionPopup.h"
#include "frame/FindBar.h"
#include "frame/FramePlacement.h"
#include "frame/FrameSupport.h"
#include "frame/MainFrame.h"
#include "platform/HandlerGuard.h"
#include "platform/HandlerNesting.h"
#include "frame/ToolCapture.h"
#include "frame/ToolCommands.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "text/Document.h"
#include "view/Caret.h"
#include "text/JournalWriter.h"
#include "view/ViewWindowWin32.h"

namespace {

constexpr int defaultWidth = 480;
constexpr int defaultHeight = 640;
// Posted to the main window to carry out what waited for the frame's handlers to end.
constexpr UINT runWaitingWorkMessage = WM_APP + 1;
// Posted to the main window when a handler ran out of memory, from any thread.
constexpr UINT outOfMemoryMessage = WM_APP + 2;
// The out-of-memory message waits to be shown; later reports until then add nothing.
bool outOfMemoryWaiting = false;

// Whether a command line names files; an empty quoted argument names none.
bool HasFileNames(const std::vector<std::wstring>& arguments) {
  return std::any_of(arguments.begin(), arguments.end(),
                     [](const std::wstring& argument) { return !argument.empty(); });
}

void ReportOutOfMemory() { PostMessageW(TheFrame().mainWindow, outOfMemoryMessage, 0, 0); }

INT_PTR OnAboutMessage(HWND dialog, UINT message, WPARAM wParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SHINITDLGINFO info{SHIDIM_FLAGS, dialog,
                         SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN | SHIDIF_SIZEDLGFULLSCREEN};
      SHInitDialog(&info);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return platform::Guarded([&] { return OnAboutMessage(dialog, message, wParam); },
                           [] { return INT_PTR{FALSE}; });
}

}  // namespace

std::wstring LoadResourceText(HINSTANCE instance, UINT id) {
  if (id == 0) return {};
  // LoadStringW with no buffer length hands out the text in place, which also tells its length.
  const wchar_t* text = nullptr;
  int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text ? std::wstring(text, length) : std::wstring();
}

std::wstring LoadResourceText(HINSTANCE instance, UINT id, const std::wstring& first,
                              const std::wstring& second) {
  std::wstring text = LoadResourceText(instance, id);
  for (std::size_t at = 0; (at = text.find(L'%', at)) != std::wstring::npos;) {
    const wchar_t digit = at + 1 < text.size() ? text[at + 1] : L'\0';
    if (digit != L'1' && digit != L'2') {
      ++at;
      continue;
    }
    const std::wstring& value = digit == L'1' ? first : second;
    text.replace(at, 2, value);
    at += value.size();
  }
  return text;
}

// ---- The frame object ------------------------------------------------------------------------

OpenDocument::OpenDocument() : text(std::make_unique<Document>()) {}
OpenDocument::~OpenDocument() = default;

bool OpenDocument::Pristine() const { return startup && !text->touched; }

MainFrame::MainFrame() {
  modulePath = platform::ModulePath();
  moduleDirectory = platform::FolderOf(modulePath);
  moduleFileName = platform::FileNameOf(modulePath);
}

MainFrame::~MainFrame() = default;

ViewWindow* MainFrame::ActiveView() const {
  OpenDocument* document = ActiveDocument();
  return document ? document->view.get() : nullptr;
}

// ---- Start-up ---------------------------------------------------------------------------------

void MainFrame::ParseCommandLine(const wchar_t* line) {
  hasRawCommandLine = line != nullptr;
  rawCommandLine = line ? line : L"";
  if (line) SplitCommandLine(line, commandLineArguments);
}

MainFrame::StartResult MainFrame::Start(HINSTANCE moduleInstance, int showCommand) {
  instance = moduleInstance;
  programName = LoadResourceText(instance, IDS_PROGRAMNAME);
  className = LoadResourceText(instance, IDS_CLASSNAME);
  if (HandOverToRunningInstance()) return StartResult::handedOver;

  RegisterWindowClass();
  // The create handler runs inside CreateWindowExW and records the window. On the desktop the
  // window comes back where it was left, or starts with the proportions of a handheld's screen
  // rather than filling the screen.
  RECT place{CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
  int width = defaultWidth;
  int height = defaultHeight;
  if (std::optional<RECT> stored = StoredWindowRect(*settings_)) {
    place = *stored;
    width = place.right - place.left;
    height = place.bottom - place.top;
  }
  HWND window = CreateWindowExW(0, className.c_str(), L"fum", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                place.left, place.top, width, height, nullptr, nullptr,
                                instance, nullptr);
  if (!window) return StartResult::failed;
  ShowWindow(window, StartShowCommand(*settings_, showCommand));
  UpdateWindow(window);
  return StartResult::running;
}

bool MainFrame::HandOverToRunningInstance() {
  HWND running = FindWindowW(className.c_str(), nullptr);
  if (!running) return false;
  // The command line with its terminating NUL, in a buffer of our own for the copy.
  std::wstring buffer = rawCommandLine;
  buffer.push_back(L'\0');
  COPYDATASTRUCT data{handOverKind, static_cast<DWORD>(buffer.size() * sizeof(wchar_t)),
                      buffer.data()};
  SendMessageW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  // While the running instance asks a question, its main window is disabled: the question
  // comes to the front, so that the keys typed next answer it.
  HWND front = GetLastActivePopup(running);
  SetForegroundWindow(front && IsWindowEnabled(front) ? front : running);
  return true;
}

bool MainFrame::RegisterWindowClass() {
  WNDCLASSW windowClass{};
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_FUM));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = className.c_str();
  classAtom = RegisterClassW(&windowClass);
  return classAtom != 0;
}

// ---- The window procedure ------------------------------------------------------------------

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainFrame* frame = &TheFrame();
  if (message == WM_NCCREATE) frame->mainWindow = window;
  const auto byDefault = [&] { return DefWindowProcW(window, message, wParam, lParam); };
  if (frame->mainWindow != window) return byDefault();
  // A failed handler leaves the documents with what they had.
  return platform::Guarded([&] { return frame->OnMessage(message, wParam, lParam); }, byDefault);
}

LRESULT MainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Requests from outside the frame's flows (a second start's files, the platform's close)
  // are carried out at once when no handler runs, else after the outermost one has ended: a
  // question or dialog of a flow runs a message loop in which they arrive.
  switch (message) {
    case WM_COPYDATA:
      return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_CLOSE:
      if (closing) return DefWindowProcW(mainWindow, message, wParam, lParam);
      platform::RunOutsideHandlers([this] { RunCommand(IDM_EXIT); });
      return 0;
    case WM_DROPFILES:
      OpenDroppedFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_TOOL_FINISHED:
      platform::RunOutsideHandlers([this] { ShowFinishedCaptures(*this); });
      // The program may have rewritten the files it was given (a formatter, a version control
      // tool) without fum losing the focus.
      LookAtFilesSoon(0);
      return 0;
    case runWaitingWorkMessage:
      platform::RunWaitingWork();
      return 0;
    case outOfMemoryMessage:
      if (!outOfMemoryWaiting) {
        outOfMemoryWaiting = true;
        platform::RunOutsideHandlers([this] {
          outOfMemoryWaiting = false;
          ShowError(IDS_NOMEMORY);
        });
      }
      return 0;
    default: {
      platform::HandlerScope scope;
      return OnHandlerMessage(message, wParam, lParam);
    }
  }
}

LRESULT MainFrame::OnHandlerMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The completion list, while it is open, has the first look at keys and commands.
  if (CompletionMessage(*this, message, wParam, lParam)) return TRUE;
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_SIZE:
      OnSize(wParam);
      return 0;
    case WM_MOVE:
      FindBarShowPatternError(*this);
      return 0;
    case WM_ACTIVATE:
      SHHandleWMActivate(mainWindow, wParam, lParam, &activationState, 0);
      return 0;
    case WM_ENDSESSION:
      OnEndSession(wParam != FALSE);
      return 0;
    case WM_ACTIVATEAPP:
      // Another program had the focus: it may have changed files meanwhile.
      if (wParam) LookAtFilesSoon(0);
      return 0;
    case WM_SETTINGCHANGE:
      SHHandleWMSettingChange(mainWindow, wParam, lParam, &activationState);
      return 0;
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_KILLFOCUS:
      OnKillFocus();
      return 0;
    case WM_CHAR:
    case WM_MOUSEWHEEL:
      return ForwardToView(message, wParam, lParam);
    case WM_KEYDOWN:
      if (OnKeyDown(wParam)) return 0;
      break;
    case WM_COMMAND:
      RunCommand(LOWORD(wParam));
      return 0;
    case WM_SYSCOMMAND:
      // The keyboard's way into the menus: the window has no menu of its own.
      if ((wParam & 0xFFF0) == SC_KEYMENU && OpenMenuFromKeyboard(static_cast<wchar_t>(lParam))) {
        return 0;
      }
      break;
    case WM_INITMENUPOPUP:
      OnInitMenuPopup();
      return 0;
    case WM_HELP:
      ShowHelp(L"Main_Contents");
      return 1;
    case WM_FILEDLG_HELP:
      ShowHelp(L"fileopen");
      return 1;
    case WM_TIMER:
      if (wParam == IDT_JOURNAL) {
        WriteDueJournals();
        return 0;
      }
      if (wParam != IDT_CYCLE) break;
      ReorderAfterCycling();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(mainWindow, message, wParam, lParam);
}

// ---- Frame messages --------------------------------------------------------------------------

LRESULT MainFrame::OnCreate() {
  activationState = SHACTIVATEINFO{};
  activationState.cbSize = sizeof(SHACTIVATEINFO);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  settings_->onRecentChanged = [this] { RebuildRecentFilesMenu(); };
  platform::SetWakeUp([this] { PostMessageW(mainWindow, runWaitingWorkMessage, 0, 0); });
  platform::SetOutOfMemoryReaction(ReportOutOfMemory);
  CreateBars();
  DragAcceptFiles(mainWindow, TRUE);
  PrepareJournalFolder();
  RebuildRecentFilesMenu();
  RefreshCommandStates();
  // A start with file names opens only those, so that a program starting fum on one file gets
  // just that file.
  const bool namesGiven = HasFileNames(commandLineArguments);
  const auto openStartupFiles = [this, namesGiven] {
    startupOpened = true;
    OpenCommandLineFiles();
    if (!namesGiven && settings_->session.reopen) ReopenSession();
    if (documents.empty()) NewDocument(true);
    if (settings_->tbfindactive) ShowFindBar();
  };
  // Files are read once the window is on the screen, so that a long load shows its progress
  // over it; a start that reads none shows its untitled document from the first paint.
  const bool readsFiles = namesGiven || (settings_->session.reopen && !settings_->session.files.empty());
  if (readsFiles)
    platform::RunOutsideHandlers(openStartupFiles);
  else
    openStartupFiles();
  // The changes a crashed run left behind are offered once the files are open.
  platform::RunOutsideHandlers([this] { RecoverAtStartup(); });
  return 0;
}

void MainFrame::OnDestroy() {
  // What the settings file records of this run; the settings are written after the entry
  // point returns.
  RecordWindowPlace(mainWindow, *settings_);
  // A window that ends before its start-up files were opened leaves the session and the find
  // bar as they were recorded.
  if (startupOpened) {
    settings_->tbfindactive = findBarVisible;
    RecordSession();
  }
  settings_->onRecentChanged = nullptr;
  // Files handed over during the last questions go with the program.
  platform::DropWaitingWork();
  platform::SetWakeUp(nullptr);
  platform::SetOutOfMemoryReaction(nullptr);
  if (cycleTimer) KillTimer(mainWindow, cycleTimer);
  cycleTimer = 0;
  // Programs whose output nobody will see are stopped.
  captures.clear();
  StopJournalTimer();
  // Each view goes with its window before its document; each journal goes with its document,
  // since the program ends on purpose.
  for (auto& document : documents) document->view.reset();
  documents.Clear();
  if (menuBar) DestroyWindow(menuBar);
  menuBar = nullptr;
  findBar = nullptr;
  PostQuitMessage(0);
}

void MainFrame::OnSize(WPARAM kind) {
  // Only the window's own size changes; kinds 3 and 4 report other windows.
  if (kind > SIZE_MAXIMIZED) return;
  ResizeActiveView();
}

void MainFrame::ResizeActiveView() {
  if (ViewWindow* view = ActiveView()) PlaceView(*view);
  // The find field may have moved: its tip follows.
  FindBarShowPatternError(*this);
}

void MainFrame::OnSetFocus() {
  ViewWindow* view = ActiveView();
  if (!view) return;
  FrameFocusGained(*view);
  FocusFrame();
}

void MainFrame::OnKillFocus() {
  if (ViewWindow* view = ActiveView()) FrameFocusLost(*view);
}

LRESULT MainFrame::OnCopyData(const COPYDATASTRUCT* data) {
  if (!data) return 1;
  auto line = CommandLineFromHandOver(data->dwData, data->lpData, data->cbData);
  if (!line) return 1;
  platform::RunOutsideHandlers([this, text = std::move(*line)] { OpenHandedOver(text); });
  return 1;
}

void MainFrame::OpenHandedOver(const std::wstring& line) {
  ParseCommandLine(line.c_str());
  OpenCommandLineFiles();
  ParseCommandLine(nullptr);
}

LRESULT MainFrame::ForwardToView(UINT message, WPARAM wParam, LPARAM lParam) {
  if (ViewWindow* view = ActiveView()) SendMessageW(view->window, message, wParam, lParam);
  return 0;
}

// ---- Focus -------------------------------------------------------------------------------------

bool MainFrame::SetFocusTracked(HWND window) {
  if (window == focusedWindow && GetFocus() == window) return false;
  SetFocus(window);
  focusedWindow = window;
  frameHasFocus = window == mainWindow;
  return true;
}

// ---- The find bar's room -------------------------------------------------------------------

void MainFrame::ShowFindBar() {
  if (findBar) ShowWindow(findBar, SW_SHOW);
  findBarVisible = true;
  findBarReservedHeight = findBarHeight;
  ResizeActiveView();
  if (ViewWindow* view = ActiveView()) ShowLineNumber(*view);
}

void MainFrame::HideFindBar() {
  if (findBar) ShowWindow(findBar, SW_HIDE);
  findBarVisible = false;
  findBarReservedHeight = 0;
  ResizeActiveView();
}

// ---- Exit and About ------------------------------------------------------------------------

void MainFrame::Exit() {
  if (!QueryStopCaptures(*this)) return;
  // The save questions show each changed document in turn; the session remembers the one the
  // user had in front.
  const OpenDocument* shown = ActiveDocument();
  const unsigned shownId = shown ? shown->id : 0;
  if (!QueryCloseAll()) return;
  const int index = documents.IndexOf(shownId);
  if (index >= 0 && index != documents.ActiveIndex()) ShowIndex(index);
  closing = true;
  DestroyWindow(mainWindow);
}

void MainFrame::About() {
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), mainWindow, AboutProc, 0);
}
