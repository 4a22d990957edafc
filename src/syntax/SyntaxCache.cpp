// Loading syntax definitions on first use and keeping them for the run.
#include "syntax/SyntaxCache.h"

#include "platform/Paths.h"
#include "syntax/ConfigFile.h"

const SyntaxDef* SyntaxCache::Load(DocClass& docClass) {
  if (!docClass.hassyntax) return nullptr;
  if (const SyntaxDef* known = Find(docClass.syntaxfile)) {
    docClass.syntax = known;
    return known;
  }
  ConfigFile file(false);
  // An empty name would name the folder itself, which is no syntax file.
  if (docClass.syntaxfile.empty() || !file.Load(platform::JoinPath(folder_, docClass.syntaxfile))) {
    docClass.hassyntax = false;
    docClass.syntax = nullptr;
    return nullptr;
  }
  auto& slot = definitions_[docClass.syntaxfile];
  slot = std::make_unique<SyntaxDef>(BuildSyntaxDef(file));
  docClass.syntax = slot.get();
  return slot.get();
}

const SyntaxDef* SyntaxCache::Find(const std::wstring& syntaxfile) const {
  auto found = definitions_.find(syntaxfile);
  return found == definitions_.end() ? nullptr : found->second.get();
}
