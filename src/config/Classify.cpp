// Classification of documents by wildcard filters, and the plain way of applying a class.
#include "config/Classify.h"

#include <algorithm>

#include "config/AppSettings.h"
#include "config/Wildcard.h"
#include "syntax/ConfigFile.h"
#include "syntax/SyntaxDef.h"
#include "text/Document.h"
#include "text/Layout.h"

const LineSyntax* HighlightingOf(const DocClass& docClass) {
  return docClass.hassyntax ? docClass.syntax : nullptr;
}

void GiveClass(Document& document, const DocClass& docClass) {
  document.settings = docClass;
  document.highlighter = HighlightingOf(docClass);
}

void ApplyClassSettings(AppSettings& settings, Document& document, const DocClass& docClass) {
  GiveClass(document, settings.Resolved(docClass));
  LayoutDocument(document);
}

bool ClassMatches(const DocClass& docClass, const std::wstring& path, const std::wstring& name) {
  for (const auto& pattern : SplitStringList(docClass.filter))
    if (WildcardMatch(path, pattern) || WildcardMatch(name, pattern)) return true;
  return false;
}

void ClassifyDocument(AppSettings& settings, Document& document, const std::wstring& path,
                      std::size_t nameStart, const ClassApplier& apply) {
  const std::wstring name = path.substr(std::min(nameStart, path.size()));
  for (const auto& [className, docClass] : settings.classes) {
    if (!ClassMatches(docClass, path, name)) continue;
    if (apply)
      apply(document, docClass);
    else
      ApplyClassSettings(settings, document, docClass);
  }
}
