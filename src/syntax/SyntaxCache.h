// The syntax definitions loaded so far, by file name; each file is read once per run and shared
// by every class that names it.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "syntax/SyntaxDef.h"

class SyntaxCache {
 public:
  // Syntax files are read from folder (no trailing backslash).
  explicit SyntaxCache(std::wstring folder) : folder_(std::move(folder)) {}
  SyntaxCache(const SyntaxCache&) = delete;
  SyntaxCache& operator=(const SyntaxCache&) = delete;

  // The definition of the file syntaxfile names in the folder, read on first use; none when
  // the name is empty or the file cannot be read.
  const SyntaxDef* Load(const std::wstring& syntaxfile);

  // The definition of a file already loaded, or none.
  const SyntaxDef* Find(const std::wstring& syntaxfile) const;
  // Releases every definition; classes still pointing at one must be resolved again.
  void Clear() { definitions_.clear(); }
  std::size_t Size() const { return definitions_.size(); }
  const std::wstring& Folder() const { return folder_; }

 private:
  std::wstring folder_;
  // Keys are syntaxfile names compared exactly; definitions never move once loaded.
  std::map<std::wstring, std::unique_ptr<SyntaxDef>> definitions_;
};
