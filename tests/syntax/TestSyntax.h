// A small C-like syntax definition for the tests and fuzz targets of highlighting and editing:
// line and block comments, two kinds of strings with a backslash escape, angle-bracket emphasis,
// and the keywords "int" (class 2) and "return" (class 3).
#pragma once

#include "syntax/SyntaxDef.h"

inline SyntaxDef CLikeDefinition() {
  SyntaxDef def;
  def.singleLineComment = L"//";
  def.commentBegin = L"/*";
  def.commentEnd = L"*/";
  def.stringBegin = def.stringEnd = L"\"";
  def.stringBegin2 = def.stringEnd2 = L"'";
  def.stringEscape = L"\\";
  def.emphasisBegin = L"<";
  def.emphasisEnd = L">";
  def.wordFirstSet = {{L'a', L'z'}, {L'A', L'Z'}, {L'_', L'_'}};
  def.wordSet = {{L'a', L'z'}, {L'A', L'Z'}, {L'_', L'_'}, {L'0', L'9'}};
  def.keywords = {{L"int", 2}, {L"return", 3}};
  return def;
}

inline const SyntaxDef& CLikeSyntax() {
  static const SyntaxDef def = CLikeDefinition();
  return def;
}
