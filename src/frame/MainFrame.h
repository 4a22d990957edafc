// The main window of the program: start-up and hand-over, the bars, the command dispatch and the
// list of open documents. One object lives for the whole run; its operations are split over the
// files of src/frame by area (window, bars, commands, menus, documents, files).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "frame/DocumentList.h"
#include "frame/FindInFiles.h"
#include "frame/Locations.h"
#include "pocketpc/ControlWrapperWin32.h"
#include "pocketpc/GdiWin32.h"
#include "pocketpc/PocketPC.h"
#include "search/IncrementalFind.h"
#include "search/Searcher.h"
#include "text/FileWatch.h"
#include "text/TextFormat.h"
#include "view/Completion.h"
#include "view/ViewWindowWin32.h"

class AppSettings;
class Document;
class ToolCapture;
class JournalWriter;
struct JournalContents;

// One open document as the frame keeps it: the text, its edit view and the file it belongs to.
struct OpenDocument {
  OpenDocument();
  ~OpenDocument();
  OpenDocument(const OpenDocument&) = delete;
  OpenDocument& operator=(const OpenDocument&) = delete;

  // Names the document for as long as the program runs; flows that run a message loop find
  // their document again by it, since the list may have changed meanwhile.
  unsigned id = 0;
  std::unique_ptr<Document> text;  // never null
  std::unique_ptr<ViewWindow> view;  // created with the document; a child window of the frame
  // Where the text comes from. While untitled only the name ("doc" and a digit) is set.
  DocumentName file;
  bool untitled = false;  // made by New and never read from or written to a file
  bool shown = false;     // its view is the one on screen
  bool startup = false;   // the untitled document made at start-up, until a read or write
  // Keeps the changes since the last save for recovery after a crash; null when no journal
  // folder could be made.
  std::unique_ptr<JournalWriter> journal;
  // Where the relative paths of its place lines start (Find in Files' folder, the folder a
  // captured program ran in); empty: the document's own folder.
  std::wstring locationFolder;
  // What is known of changes other programs make to the file, and the user's answers about them.
  FileWatch watch;
  // Start-up and never edited: the next Open or New takes it instead of adding a document.
  bool Pristine() const;
};

class MainFrame final : public ViewFrame {
 public:
  MainFrame();
  ~MainFrame();
  MainFrame(const MainFrame&) = delete;
  MainFrame& operator=(const MainFrame&) = delete;

  // The settings the frame reads and updates; set before the main window is created.
  void UseSettings(AppSettings& settings) { settings_ = &settings; }
  AppSettings& Settings() const { return *settings_; }

  // ---- Start-up and the main window (FrameWindow.cpp) --------------------------------------

  // Remembers line as the raw command line and appends its arguments to the command-line
  // arguments; a null line only forgets the raw command line.
  void ParseCommandLine(const wchar_t* line);

  enum class StartResult { running, handedOver, failed };
  // Hands the raw command line to a running instance, or registers the class and creates and
  // shows the main window.
  StartResult Start(HINSTANCE instance, int showCommand);

  // Gives the keyboard focus to window unless it is the focused window already; every focus
  // change of the frame and its bars goes through here. True when the focus changed.
  bool SetFocusTracked(HWND window);
  bool FocusFrame() { return SetFocusTracked(mainWindow); }

  OpenDocument* ActiveDocument() const { return documents.Active(); }
  ViewWindow* ActiveView() const;

  void ShowFindBar();
  void HideFindBar();
  // Find next or previous, through every open document with All Documents, showing the
  // document of the hit.
  void Find(bool forward);
  // Replace next (thenFind) or Replace: the finding goes on into the other documents with All
  // Documents.
  void Replace(bool thenFind);
  // Replace All in the shown document, or with All Documents in every one.
  void ReplaceAllCommand();
  // The views of the open documents in list order.
  std::vector<EditView*> DocumentViews() const;
  // Places the active view (and the find bar under it) in the client area above the menu bar.
  void ResizeActiveView();

  // Exit (IDM_EXIT): the save questions, then the end of the program unless one was cancelled.
  void Exit();
  void About();

  // ---- Commands and menus (FrameCommands.cpp, FrameMenus.cpp, FrameBars.cpp) --------------

  // Runs the command with this id, as WM_COMMAND does.
  void RunCommand(int id);
  // Recomputes the title and the enabled state of the bar buttons.
  void RefreshCommandStates() override;
  // The find bar's line number field shows text.
  void SetLineNumberText(const std::wstring& text) override;
  void ShowHelp(const wchar_t* topic);
  // Settings... (IDM_SETTINGS): the settings sheet (FrameSettings.cpp).
  void ShowSettings();
  void RebuildRecentFilesMenu();

  // ---- Documents (FrameDocuments.cpp, DocumentFiles.cpp) -----------------------------------

  // A new untitled document, or the pristine one; the start-up mark makes it pristine.
  void NewDocument(bool startupMark);
  // Opens path with the name and extension positions of its text.
  void OpenFile(const std::wstring& path, platform::NamePositions positions);
  void OpenFile(const std::wstring& path) { OpenFile(path, platform::FindNamePositions(path)); }
  void OpenWithDialog();
  void OpenCommandLineFiles();
  // Files dropped on the main window open as if named on the command line; folders are passed
  // over. Frees drop.
  void OpenDroppedFiles(HDROP drop);
  // The titled document of the file at path (compared without case), or null.
  OpenDocument* FindOpenFile(const std::wstring& path) const;
  // A new untitled document holding text, with the caret at its start; null when none could
  // be made.
  OpenDocument* NewDocumentShowing(const std::wstring& text);
  // Save (IDM_SAVE): Save As for an untitled document.
  bool SaveActive();
  // Writes a modified document to its file; false, with a message, when the write failed, and
  // false without one when there was nothing to write.
  bool SaveDocument(OpenDocument& document);
  // Save As (IDM_SAVEAS); true when the document was written under the chosen name.
  bool SaveActiveAs();
  bool SaveDocumentAs(OpenDocument& document);
  // Save All (IDM_SAVEALL): every modified document; stops at the first that is not saved.
  bool SaveAll();
  void CloseActive();
  // Takes a document out of the list without a question; the active index keeps naming the
  // same document, or the one before it when that one went.
  void RemoveDocument(int index);
  // The save question for every modified document; false when the program must go on.
  bool QueryCloseAll();
  void ShowDocument(OpenDocument& document, OpenDocument* previous);
  void HideDocument(OpenDocument& document);
  void UpdateTitle(const OpenDocument& document);
  // ---- The form of the file (FileFormat.cpp) ----------------------------------------------
  // The form of a file for the title ("[UTF-8, LF]"); empty for the code page with CR LF.
  std::wstring FormatSuffix(const TextFormat& format) const;
  // One of the File menu's Encoding commands: the active document is saved in that form.
  void ChooseFormat(int command);
  // Check marks of the Encoding commands in menu for the active document.
  void ApplyFormatChecks(HMENU menu);
  void NextWindow();
  // Prev (IDM_PREVWINDOW): the document before the active one, without reordering.
  void PreviousWindow();
  // The cycle timer fired.
  void ReorderAfterCycling();
  void SelectDocument(int index);
  void ToggleWordWrap();

  // ---- Recovery journals (FrameJournal.cpp) ---------------------------------------------------

  // Finds or makes the folder of the journals; journals are off when none can be made.
  void PrepareJournalFolder();
  // Gives a new document its journal, fed by every change of its text.
  void AttachJournal(OpenDocument& document);
  // The document's text equals its file (read or written just now): its journal starts anew.
  void RestartJournal(OpenDocument& document);
  // The journal timer fired: writes the changes that are due; with all, every change waiting
  // (the program may be ended without another message).
  void WriteDueJournals(bool all = false);
  void StopJournalTimer();
  // Offers every journal a run that ended without Exit left behind; from now on opening a file
  // offers its journal too.
  void RecoverAtStartup();
  // Offers the journal left behind for the file of the document with this id, if there is one.
  void OfferRecovery(unsigned id);

  // ---- The session and places in files (FrameSession.cpp) ------------------------------------

  // Opens the files of the last session, each where it was left, and shows the one that was
  // shown; files that are gone are passed over without a word.
  void ReopenSession();
  // Records the titled documents in Window-menu order, the shown one and the place of each, for
  // the next start.
  void RecordSession();
  // The document's file is closing: its place is remembered for the next time it opens.
  void RememberPlace(const OpenDocument& document);
  // The step of every open that puts the caret where the file was left (or, without a
  // remembered place, brings the view's own place into the text). An open that goes to a line
  // of its own does so after this step.
  void ReturnToRememberedPlace(OpenDocument& document);

  // ---- Files changed by other programs (FrameFileWatch.cpp) ---------------------------------

  // The document's text equals its file, read or written just now: changes are looked for
  // against those bytes.
  void FollowFile(OpenDocument& document);
  // Looks at the file of the document with this id (0: of every document) once no question,
  // dialog or menu is open: an unmodified document takes the file's new text; the shown one is
  // asked about, or told, what concerns its changes.
  void LookAtFilesSoon(unsigned id);
  // Just before the document with this id is saved: false when its file was changed by another
  // program and the user chose not to save over it.
  bool MayWriteOver(unsigned id);

  // ---- Fields ---------------------------------------------------------------------------------

  std::wstring className;        // window class of the main window, "CEFEDITOR"
  std::wstring moduleDirectory;  // folder of the executable, without the trailing backslash
  std::wstring modulePath;       // full path of the executable
  std::wstring moduleFileName;   // file name part of modulePath
  std::wstring programName;      // "fum": the caption of every question
  ATOM classAtom = 0;
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  HWND menuBar = nullptr;        // at the bottom of the client area; null when refused
  HWND findBar = nullptr;        // null while the find bar is not built
  // Menus of the bars, which own them and destroy them with their windows.
  HMENU mainMenu = nullptr;      // drop-down of the menu bar's first button
  HMENU findBarMenu = nullptr;   // the find bar's "Find" menu
  HMENU findOptionsMenu = nullptr;  // Options of the main menu's Find submenu
  HMENU menuBarMenu = nullptr;   // the menu bar's own menu
  HWND lineNumberField = nullptr;  // static text showing the caret line, on the find bar
  // The find bar's entry fields: goto line (in the line number field's place), find, replace.
  EditFieldWrapper gotoField;
  EditFieldWrapper findField;
  EditFieldWrapper replaceField;
  // Tahoma, 10 pixels, for the find bar and its fields.
  platform::GdiObject<HFONT> findBarFont;
  HWND findTip = nullptr;        // says why the find text is no valid expression; null if none
  int findBarHeight = 0;

  // The open documents in Window-menu order and the active one.
  DocumentList<OpenDocument> documents;
  UINT_PTR cycleTimer = 0;  // the reorder timer's id while it runs, else 0

  bool frameHasFocus = false;
  HWND focusedWindow = nullptr;  // the window last focused through SetFocusTracked

  bool hasRawCommandLine = false;
  std::wstring rawCommandLine;                // for the hand-over to a running instance
  std::vector<std::wstring> commandLineArguments;  // consumed by OpenCommandLineFiles

  bool findBarVisible = false;
  // The files of the command line or the session have been opened (after the window showed).
  bool startupOpened = false;
  int findBarReservedHeight = 0;
  // The find and replace texts and the options every search command uses.
  Searcher searcher;

  std::wstring journalFolder;  // where the recovery journals are; empty when they are off
  UINT_PTR journalTimer = 0;   // the journal timer's id while changes wait, else 0
  bool offerJournals = false;  // journals left behind are offered (set once the window is up)

  // The documents whose files wait to be looked at, and whether all do.
  std::vector<unsigned> filesToLookAt;
  bool lookAtAllFiles = false;
  bool lookQueued = false;  // a look waits for the handlers to end

  SHACTIVATEINFO activationState{};
  bool closing = false;  // set by Exit just before the main window is destroyed

  // Tools runs whose output is captured, from their start until their output is shown.
  std::vector<std::unique_ptr<ToolCapture>> captures;

  // Word completion: the choice of the open list, its drop-down window and the view window it
  // watches for taps and scrolls (both null while it is closed).
  CompletionList completion;
  HWND completionWindow = nullptr;
  HWND completionView = nullptr;
  // Find as you type in the find field; findNoMatch while its text has no hit, which the field
  // shows in the colour of noMatchBrush.
  IncrementalFind incrementalFind;
  bool findNoMatch = false;
  platform::GdiObject<HBRUSH> noMatchBrush;
  // The list Next and Previous Location work through, and what Find in Files used last.
  LocationList locations;
  FindInFilesChoices findInFiles;

 private:
  friend LRESULT CALLBACK MainWindowProc(HWND, UINT, WPARAM, LPARAM);

  // FrameWindow.cpp
  bool HandOverToRunningInstance();
  bool RegisterWindowClass();
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnHandlerMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCreate();
  void OnDestroy();
  void OnSize(WPARAM kind);
  void OnSetFocus();
  void OnKillFocus();
  LRESULT OnCopyData(const COPYDATASTRUCT* data);
  // Opens the files of a command line that a second start handed over.
  void OpenHandedOver(const std::wstring& line);
  LRESULT ForwardToView(UINT message, WPARAM wParam, LPARAM lParam);

  // FrameBars.cpp
  void CreateBars();
  void AddMenuBarButtons();
  void UpdateBarButtons();
  void EnableBarButton(int command, bool enabled);

  // FrameCommands.cpp
  bool OnKeyDown(WPARAM key);
  void ToggleSearchOption(int command);
  void OpenRecentFile(int index);
  bool RunGeneratedCommand(int id);

  // FrameMenus.cpp
  void OnInitMenuPopup();
  void ApplySearchOptionChecks();
  void ApplyMenuStates();
  void RebuildWindowMenu();
  // F10 or Alt alone (key 0) opens the main menu; Alt and a letter opens the item of the main
  // menu with that mnemonic. False for keys that are no such mnemonic.
  bool OpenMenuFromKeyboard(wchar_t key);

  // FrameDocuments.cpp
  std::unique_ptr<OpenDocument> MakeDocument();
  void ShowIndex(int index);
  void EndCycling();
  void RepaintEmptyClientArea();
  int AskToSave(HWND owner);
  // The save question for a modified document about to close; true when it may close.
  bool SaveBeforeClosing(unsigned id, HWND owner);
  FindBarStrip FindBarPlacement() const;
  void PlaceView(ViewWindow& view);

  // FrameJournal.cpp
  std::vector<std::wstring> LeftBehindJournals() const;
  bool AskToRestore(const std::wstring& name);
  // Keeps a journal whose file changed since, and says so.
  void SetJournalAside(const std::wstring& path, const std::wstring& name);
  void RecoverUntitled(const std::wstring& path, const JournalContents& journal);
  // Replays the journal at path onto the document and removes that file.
  void Restore(OpenDocument& document, const JournalContents& journal, const std::wstring& path);

  // FrameSession.cpp
  // The platform ends the user's session (WM_ENDSESSION); ending is false when it does not.
  void OnEndSession(bool ending);

  // FrameFileWatch.cpp
  void LookAtWaitingFiles();
  void LookAtFile(unsigned id);
  // Reads the document's file again, as one undo step, keeping its place; false when it could
  // not be read.
  bool Reload(OpenDocument& document);
  void AskToReload(unsigned id);
  // The file is gone: the text is marked modified so that Save writes it back.
  void MarkRemoved(OpenDocument& document);
  void TellRemoved(unsigned id);

  // DocumentFiles.cpp
  // Makes the document that was active before an open active again, or its neighbour when
  // it is gone. beforeId 0 names no document.
  void RestoreActive(unsigned beforeId, int beforeIndex);
  void ShowError(UINT messageId);
  void ShowError(const std::wstring& text);
  // Writes the text of the document with this id to path; when its code page cannot store every
  // character, asks first whether to save it as UTF-8 (No saves the replacements, Cancel nothing).
  // False when nothing was written (a failure is reported) or the document is gone.
  bool WriteText(unsigned id, const std::wstring& path);

  std::wstring shownTitle;  // the title last given to the main window
  AppSettings* settings_ = nullptr;
};

// The one main window of the program; it lives for the whole run.
MainFrame& TheFrame();
// The window procedure of the main window's class: hands every message to TheFrame().
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The command id of a search option's menu item.
int SearchOptionCommand(int option);
