// The Tools menu entries, the expansion of their variables and the start of their programs.
#include "frame/ToolCommands.h"

#include <windows.h>

#include <array>
#include <string_view>

#include "comun/resource.h"
#include "config/AppSettings.h"
#include "frame/MainFrame.h"

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

void RunTool(MainFrame& frame, int index) {
  OpenDocument* document = frame.ActiveDocument();
  const auto& commands = frame.Settings().commands;
  if (!document || index < 0 || index >= static_cast<int>(commands.size())) return;
  // A copy: saving may change the settings (the recent files).
  ToolCommand command = commands[index];
  // A cancelled Save As does not stop the tool.
  if (command.savedoc) frame.SaveActive();
  document = frame.ActiveDocument();
  if (!document) return;
  ToolVariables values = ToolVariables::For(document->file, document->untitled);
  std::wstring program = ExpandToolVariables(command.cmdline, values);
  std::wstring arguments = ExpandToolVariables(command.cmdargs, values);
  // The handheld hands a program its arguments alone; the desktop hands it a whole command line
  // whose first word is the program itself.
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // A program that cannot be started is not reported.
  if (!program.empty() &&
      CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}
