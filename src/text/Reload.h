// Reading a document's file again after another program changed it, as one undo step.
#pragma once

#include <string>

class Document;

// Reads the file at path and puts its text in the place of the document's, as one undo step whose
// undo brings the text before back (modified, since it is not what the file holds). The lines that
// begin and end both texts alike keep their marks. Afterwards the document is unmodified and takes
// the file's form and stamp. False, with the document unchanged, when the file could not be read.
bool ReloadText(Document& document, const std::wstring& path);
