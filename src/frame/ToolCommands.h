// The Tools menu: user-defined commands that start another program on the active document,
// with variables such as $filename in the program path and the argument line.
#pragma once

#include <string>

#include "frame/DocumentName.h"

class MainFrame;

// The values the variables stand for, taken from a document.
struct ToolVariables {
  std::wstring fullName;  // $fullname; the name of an untitled document
  std::wstring fname;     // $fname: name with extension
  std::wstring fileName;  // $filename: name without extension; empty while untitled
  std::wstring fileExt;   // $fileext: without the dot; empty while untitled
  std::wstring filePath;  // $filepath: folder without trailing backslash; empty while untitled

  static ToolVariables For(const DocumentName& file, bool untitled);
};

// Replaces every $unixfullname, $fullname, $fname, $filename, $fileext and $filepath (compared
// case-sensitively, in that order) by its value. An inserted value is never expanded again; a
// "$" that starts no variable stays.
std::wstring ExpandToolVariables(const std::wstring& text, const ToolVariables& variables);

// Puts one entry per Tools command after the separator of the main menu's Tools submenu.
void RebuildToolsMenu(MainFrame& frame);
// Runs Tools command index on the active document (saving it first when the command says so)
// and does not wait for it. Nothing happens without an active document or such a command.
void RunTool(MainFrame& frame, int index);
