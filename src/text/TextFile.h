// Loading a document from a text file and saving it to one.
#pragma once

#include <string>

class Document;

// Replaces the document's lines by the file's lines, laid out for the document's settings and
// wrap width. False, with the document unchanged, when the file could not be opened.
bool LoadText(Document& document, const std::wstring& path);
// Writes the lines with carriage return and line feed between them. On success clears the
// modified flag and marks the undo history as not matching the file. False, with the file and
// the document unchanged, when the file could not be written completely.
bool SaveText(Document& document, const std::wstring& path);
