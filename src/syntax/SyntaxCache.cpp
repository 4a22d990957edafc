// Loading syntax definitions on first use and keeping them for the run.
#include "syntax/SyntaxCache.h"

#include "platform/Paths.h"
#include "syntax/ConfigFile.h"

const SyntaxDef* SyntaxCache::Load(const std::wstring& syntaxfile) {
  if (const SyntaxDef* known = Find(syntaxfile)) return known;
  ConfigFile file(false);
  // An empty name would name the folder itself, which is no syntax file.
  if (syntaxfile.empty() || !file.Load(platform::JoinPath(folder_, syntaxfile))) return nullptr;
  auto& slot = definitions_[syntaxfile];
  slot = std::make_unique<SyntaxDef>(BuildSyntaxDef(file));
  return slot.get();
}

const SyntaxDef* SyntaxCache::Find(const std::wstring& syntaxfile) const {
  auto found = definitions_.find(syntaxfile);
  return found == definitions_.end() ? nullptr : found->second.get();
}
