// The Tools menu entries, the expansion of their variables, the saves before a run and the start
// of their programs, with their output captured or not.
#include "frame/ToolCommands.h"

#include <windows.h>

#include <array>
#include <string_view>

#include "comun/resource.h"
#include "config/AppSettings.h"
#include "frame/FrameSupport.h"
#include "frame/MainFrame.h"
#include "frame/ToolCapture.h"

namespace {

constexpr int toolsSubmenu = 4;

enum Variable { unixFullName, fullName, fname, fileName, fileExt, filePath, variableCount };

// In the order they are tried: a longer name before one it starts with.
constexpr std::array<std::wstring_view, variableCount> variableNames = {
    L"$unixfullname", L"$fullname", L"$fname", L"$filename", L"$fileext", L"$filepath"};

std::wstring ValueOf(Variable variable, const ToolVariables& values) {
  switch (variable) {
    case unixFullName: {
      std::wstring path = values.fullName;
      for (wchar_t& ch : path) {
        if (ch == L'\\') ch = L'/';
      }
      return path;
    }
    case fullName: return values.fullName;
    case fname: return values.fname;
    case fileName: return values.fileName;
    case fileExt: return values.fileExt;
    case filePath: return values.filePath;
    default: return {};
  }
}

// What a captured run belongs to: the document's full name (its name while untitled).
std::wstring OwnerName(const OpenDocument& document) {
  return document.untitled ? document.file.name : document.file.path;
}

// The saves a command asks for before its run; false when the run must not happen. A cancelled
// Save As of the active document alone does not stop the run; with every document it does.
bool SaveBeforeRun(MainFrame& frame, const ToolCommand& command) {
  if (command.saveall) return frame.SaveAll();
  if (command.savedoc) frame.SaveActive();
  return true;
}

// A program named without a folder is looked for as the system looks for commands (the
// program's folder, the current folder, the system folders, then PATH), ".exe" added when it
// has no extension. Anything else is taken as given.
std::wstring FindProgram(const std::wstring& program) {
  if (program.empty() || program.find_first_of(L"\\/:") != std::wstring::npos) return program;
  wchar_t found[MAX_PATH];
  DWORD length = SearchPathW(nullptr, program.c_str(), L".exe", MAX_PATH, found, nullptr);
  return length > 0 && length < MAX_PATH ? std::wstring(found, length) : program;
}

// Starts the program on its own; nothing waits for it or reads its output.
bool StartDetached(const std::wstring& application, std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool StartCapture(MainFrame& frame, const std::wstring& application,
                  const std::wstring& commandLine, std::wstring owner) {
  auto capture = ToolCapture::Start(application, commandLine, frame.mainWindow,
                                    WM_TOOL_FINISHED, std::move(owner));
  if (!capture) return false;
  frame.captures.push_back(std::move(capture));
  return true;
}

void ShowCannotRun(MainFrame& frame, const std::wstring& program) {
  std::wstring text = LoadResourceText(frame.instance, IDS_CANTRUN) + L"\n" + program;
  MessageBoxW(frame.mainWindow, text.c_str(), LoadResourceText(frame.instance, IDS_ERROR).c_str(),
              MB_OK | MB_ICONERROR);
}

bool HasSeparator(HMENU menu) {
  for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
    if (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) return true;
  }
  return false;
}

}  // namespace

ToolVariables ToolVariables::For(const DocumentName& file, bool untitled) {
  ToolVariables values;
  if (untitled) {
    values.fullName = file.name;
    values.fname = file.name;
    return values;
  }
  values.fullName = file.path;
  values.fname = file.name;
  values.fileName = file.baseName;
  values.fileExt = file.extension;
  values.filePath = file.directory;
  return values;
}

std::wstring ExpandToolVariables(const std::wstring& text, const ToolVariables& variables) {
  std::wstring result = text;
  std::size_t at = result.find(L'$');
  while (at != std::wstring::npos) {
    std::size_t next = at + 1;
    std::wstring_view rest = std::wstring_view(result).substr(at);
    for (int v = 0; v < variableCount; ++v) {
      if (rest.substr(0, variableNames[v].size()) != variableNames[v]) continue;
      std::wstring value = ValueOf(static_cast<Variable>(v), variables);
      result.replace(at, variableNames[v].size(), value);
      next = at + value.size();
      break;
    }
    at = result.find(L'$', next);
  }
  return result;
}

void RebuildToolsMenu(MainFrame& frame) {
  HMENU menu = GetSubMenu(frame.mainMenu, toolsSubmenu);
  if (!menu) return;
  for (int id = IDM_TOOL_FIRST; DeleteMenu(menu, id, MF_BYCOMMAND); ++id) {
  }
  if (!HasSeparator(menu)) return;
  const auto& commands = frame.Settings().commands;
  int count = std::min(static_cast<int>(commands.size()), IDM_TOOL_LAST - IDM_TOOL_FIRST + 1);
  for (int i = 0; i < count; ++i) {
    std::wstring text = L"&" + commands[i].name;
    AppendMenuW(menu, MF_STRING, IDM_TOOL_FIRST + i, text.c_str());
  }
}

std::wstring ToolCommandLine(const std::wstring& program, const std::wstring& arguments) {
  // The handheld hands a program its arguments alone; the desktop hands it a whole command line
  // whose first word is the program itself.
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  return commandLine;
}

void RunTool(MainFrame& frame, int index) {
  const auto& commands = frame.Settings().commands;
  if (!frame.ActiveDocument() || index < 0 || index >= static_cast<int>(commands.size())) return;
  // A copy: saving may change the settings (the recent files).
  ToolCommand command = commands[index];
  if (command.capture && CaptureRunning(frame, OwnerName(*frame.ActiveDocument()))) {
    MessageBoxW(frame.mainWindow, LoadResourceText(frame.instance, IDS_CAPTUREBUSY).c_str(),
                frame.programName.c_str(), MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (!SaveBeforeRun(frame, command)) return;
  // Found again: the save dialogs and messages let other messages in.
  OpenDocument* document = frame.ActiveDocument();
  if (!document) return;
  ToolVariables values = ToolVariables::For(document->file, document->untitled);
  std::wstring program = ExpandToolVariables(command.cmdline, values);
  std::wstring commandLine =
      ToolCommandLine(program, ExpandToolVariables(command.cmdargs, values));
  std::wstring application = FindProgram(program);
  bool started = false;
  if (!program.empty()) {
    started = command.capture ? StartCapture(frame, application, commandLine, OwnerName(*document))
                              : StartDetached(application, commandLine);
  }
  if (!started) ShowCannotRun(frame, program);
}
