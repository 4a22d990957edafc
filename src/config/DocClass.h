// A document class: the per-file-type settings every document's view carries a copy of.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "text/TextClass.h"

struct SyntaxDef;

using Colour = std::uint32_t;  // 0x00BBGGRR

inline constexpr int colourCount = 12;
using ColourTable = std::array<Colour, colourCount>;

// Slots 0-8 colour keyword classes "Syntax 1" to "Syntax 9"; 9 comments, 10 strings, 11 emphasis.
inline constexpr ColourTable defaultColours = {
    0x00FF0000, 0x00993300, 0x00800000, 0x00336666, 0x00003399, 0x00800080,
    0x00FF0099, 0x00CC9900, 0x00777777, 0x00008000, 0x00C89696, 0x00966464};

// A plain value: copies share the syntax definition, which the settings' syntax cache owns. The
// values the lines are laid out by are the TextClass part, which the document keeps.
struct DocClass : TextClass {
  ColourTable colours = defaultColours;
  std::wstring name;
  int fontsize = 75;       // tenths of a point
  int fontwidthrel = 90;   // character width in percent of the font's own width
  int fontflags = 0;       // 1 bold, 2 italic, 4 underline, 8 strikeout
  int linespacing = 0;     // pixels taken off the font's line height
  bool fontcleartype = true;
  bool fontproof = false;
  std::wstring fontfamily = L"Courier New";
  std::wstring fontstyle = L"Normal";
  // File name patterns, each followed by a NUL, with one more NUL at the end.
  std::wstring filter = std::wstring(2, L'\0');
  bool hassyntax = false;
  std::wstring syntaxfile;
  const SyntaxDef* syntax = nullptr;  // resolved from syntaxfile; meaningful only with hassyntax
  std::wstring delimiters = L" \t\n,.;:-=?!+";
  std::wstring openbrackets = L"([{";
  std::wstring closebrackets = L")]}";

  friend bool operator==(const DocClass&, const DocClass&) = default;
};
