// What an open document is called: its path split into folder, name, base name and extension,
// the names of untitled documents and the texts of numbered menu entries.
#pragma once

#include <string>

#include "platform/Paths.h"

// The path fields of a document read from or written to a file.
struct DocumentName {
  std::wstring path;
  std::wstring directory;  // the path up to, not including, the last backslash
  std::wstring name;       // without directory
  std::wstring baseName;   // the name without its extension and dot
  std::wstring extension;  // after the last dot of the name; empty without one

  // Splits path at the given positions (a dialog reports them). Positions that do not fit the
  // path (an extension position that no dot precedes inside the name, say) are taken as "no
  // extension".
  static DocumentName FromPath(const std::wstring& path, platform::NamePositions positions);
  static DocumentName FromPath(const std::wstring& path) {
    return FromPath(path, platform::FindNamePositions(path));
  }
};

// The name of the untitled document with that number: "doc" and the number's last digit, so
// the names run doc1 ... doc9, doc0, doc1 ...
std::wstring UntitledName(int number);

// The text of entry `index` of a numbered menu list (recent files, documents): "&", the
// character that follows "1" by index places, a blank and the text. The tenth entry's mnemonic
// is therefore ":".
std::wstring NumberedMenuText(int index, const std::wstring& text);
