// Reading and writing a document class as a section of the settings tree.
#pragma once

#include <string>

#include "config/DocClass.h"

class ConfigFile;

// The values a class may hold for its integer settings; values read from a file are brought
// into these ranges where the class is loaded.
struct ValueRange {
  int low;
  int high;
  int Clamp(int value) const { return value < low ? low : value > high ? high : value; }
};
inline constexpr ValueRange tabSizeRange{1, 20};
inline constexpr ValueRange relIndentRange{0, 20};
inline constexpr ValueRange fontWidthRange{20, 300};
inline constexpr ValueRange fontSizeRange{20, 1000};  // tenths of a point
inline constexpr int lineSpacingMaxWidening = 100;     // pixels added below each line at most
// Line spacing takes pixels off the line height: never all of them.
ValueRange LineSpacingRange(int fontsize);

// Reads every key of the class from the section name below the current section (created when
// missing; a missing key is added with its built-in default) into docClass, with the integer
// settings brought into their ranges, names the class and makes the enclosing section current
// again. The stored values stay as they were. False, with docClass untouched, when name
// holds a value rather than a section.
bool LoadClassSection(ConfigFile& settings, const std::wstring& name, DocClass& docClass);
// Writes every key of the class into the section name below the current section; an integer
// setting whose stored value stands for the class's once brought into range is left as it is.
// False, with nothing written, when name holds a value.
bool SaveClassSection(ConfigFile& settings, const std::wstring& name, const DocClass& docClass);
