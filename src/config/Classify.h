// Choosing a document's class from its file name, and applying a class to a document.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "config/DocClass.h"

class AppSettings;
class Document;
class LineSyntax;

// The highlighting a document of the class gets: its syntax definition while highlighting is on.
const LineSyntax* HighlightingOf(const DocClass& docClass);
// Gives the document the layout values and the highlighting of the class; lays nothing out.
void GiveClass(Document& document, const DocClass& docClass);

// Resolves the class's syntax definition through the settings' syntax cache, gives the document
// the class (GiveClass) and lays the document out again. The class itself is not changed:
// a syntax file that cannot be read switches highlighting off in the document's copy only.
void ApplyClassSettings(AppSettings& settings, Document& document, const DocClass& docClass);

// How a matching class reaches the document; the edit view supplies one that also updates its
// font and caret.
using ClassApplier = std::function<void(Document&, const DocClass&)>;

// Applies, in ascending order of class names, every class with a filter pattern that matches
// the whole path or the file name starting at nameStart; the last match wins. A document that
// matches no class keeps the class it has. Without an applier, ApplyClassSettings is used.
void ClassifyDocument(AppSettings& settings, Document& document, const std::wstring& path,
                      std::size_t nameStart, const ClassApplier& apply = nullptr);

// Whether one of the class's filter patterns matches the whole path or the name.
bool ClassMatches(const DocClass& docClass, const std::wstring& path, const std::wstring& name);
