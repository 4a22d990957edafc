// Where an open document comes from: its path split into folder, name, base name and
// extension, the names of untitled documents and the texts of numbered menu entries.
#pragma once

#include <cstddef>
#include <string>

// Character indexes into a path: name is the index after the last backslash (0 without one);
// extension is the index after the last dot that follows it, 0 when the name has no dot.
struct NamePositions {
  std::size_t name = 0;
  std::size_t extension = 0;
};

NamePositions FindNamePositions(const std::wstring& path);

// The path fields of a document read from or written to a file.
struct DocumentName {
  std::wstring path;
  std::wstring directory;  // the path up to, not including, the last backslash
  std::wstring name;       // without directory
  std::wstring baseName;   // the name without its extension and dot
  std::wstring extension;  // after the last dot of the name; empty without one

  // Splits path at the given positions. Positions that do not fit the path (an extension
  // position that no dot precedes inside the name, say) are taken as "no extension".
  static DocumentName FromPath(const std::wstring& path, NamePositions positions);
  static DocumentName FromPath(const std::wstring& path) {
    return FromPath(path, FindNamePositions(path));
  }
};

// The name of the untitled document with that number: "doc" and the number's last digit, so
// the names run doc1 ... doc9, doc0, doc1 ...
std::wstring UntitledName(int number);

// The text of entry `index` of a numbered menu list (recent files, documents): "&", the
// character that follows "1" by index places, a blank and the text. The tenth entry's mnemonic
// is therefore ":".
std::wstring NumberedMenuText(int index, const std::wstring& text);

// The file name of a path: the text after its last backslash.
std::wstring FileNameOf(const std::wstring& path);
