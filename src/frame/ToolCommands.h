// The Tools menu: user-defined commands that start another program on the active document,
// with variables such as $filename in the program path and the argument line.
#pragma once

#include <string>
#include <string_view>

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

// The command line a Tools program is started with: the program quoted as its first word, then
// the arguments.
std::wstring ToolCommandLine(const std::wstring& program, const std::wstring& arguments);

// Puts one entry per Tools command after the separator of the main menu's Tools submenu.
void RebuildToolsMenu(MainFrame& frame);
// Runs Tools command index on the active document: saves the document or all documents first
// when the command says so, and starts the program. A program whose output is captured shows
// it in a new document when it ends; any other runs on by itself. A program that cannot be
// started is reported. Nothing happens without an active document or such a command.
void RunTool(MainFrame& frame, int index);

// ---- Captured output (ToolOutput.cpp) ------------------------------------------------------

// The text of a captured run's document: output converted from codePage with every line end
// made a carriage return, and, when exitCode is not 0, a last line of exitLabel and the code.
std::wstring CapturedText(std::string_view output, unsigned codePage, unsigned long exitCode,
                          const std::wstring& exitLabel);
// Whether a captured run of the document named owner is still going.
bool CaptureRunning(const MainFrame& frame, const std::wstring& owner);
// Shows the output of every finished captured run in a new document; while a dialog or a
// message box is open the output waits for it to close.
void ShowFinishedCaptures(MainFrame& frame);
// Asks at Exit whether to stop the captured runs still going and stops them. False when the
// program must go on.
bool QueryStopCaptures(MainFrame& frame);
