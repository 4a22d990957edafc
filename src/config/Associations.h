// Making the program the opener of file extensions, and giving an extension back what it had
// before: the Associations page's list of extensions and what OK writes.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "config/KeyStore.h"

// What the store says about one extension.
struct AssocEntry {
  std::wstring currentType;   // the file type the extension points to
  std::wstring description;   // the type's description; on the page, the File type text
  std::wstring previousType;  // the type recorded when the program took the extension over
  bool extensionExists = false;
  bool typeKeyExists = false;  // the program's type key (or the extension's name's) exists
  bool associated = false;     // that type key opens files with the program
  bool hasPrevious = false;    // a previous type is recorded and not empty
};

// ".txt" gives "txtfile": the description an extension gets when none is given, and the type
// key that earlier versions of the program took over.
std::wstring TypeKeyOf(const std::wstring& extension);
// The type key the program writes for an extension, shared with no other program and no other
// extension: ".txt" gives "fum.txt".
std::wstring OwnTypeKeyOf(const std::wstring& extension);
// The program's icon for an extension (exact comparison): ".tex" 2, ".cpp" 3, ".gp" 4, ".h" 5,
// any other 1.
int IconNumberOf(const std::wstring& extension);
// "\"program\" \"%1\"".
std::wstring OpenCommandOf(const std::wstring& program);

enum class ExtensionCheck { ok, noDot, forbiddenCharacter };
// An extension needs a leading dot and none of the characters blank \ / : * ? " < > |.
ExtensionCheck CheckExtension(const std::wstring& extension);

AssocEntry ReadAssociation(const KeyStore& store, const std::wstring& extension,
                           const std::wstring& program);

struct IgnoreCaseLess {
  bool operator()(const std::wstring& a, const std::wstring& b) const;
};

// The extensions on the page and those taken off it since it opened.
class AssocList {
 public:
  AssocList(KeyStore& store, std::wstring program)
      : store_(store), program_(std::move(program)) {}

  // Lists the stored extensions that still open with the program; the others are dropped.
  void Load(const std::vector<std::wstring>& extensions);
  std::vector<std::wstring> Listed() const;
  bool IsListed(const std::wstring& extension) const { return listed_.count(extension) != 0; }
  // The description the File type field shows for an extension: the listed entry's, else the
  // store's.
  std::wstring DescriptionOf(const std::wstring& extension) const;

  // Lists an extension (the caller has checked it); an empty file type is the type key.
  // False when it is listed already.
  bool Add(const std::wstring& extension, const std::wstring& fileType);
  // Takes an extension off the list; false when it is not listed.
  bool Remove(const std::wstring& extension);

  // Writes the listed extensions in order, gives the removed ones back what they had, and
  // returns the extensions to remember.
  std::vector<std::wstring> Apply(const std::vector<std::wstring>& order);

 private:
  void Associate(const std::wstring& extension, AssocEntry& entry);
  void Restore(const std::wstring& extension, const AssocEntry& entry);

  KeyStore& store_;
  std::wstring program_;
  std::map<std::wstring, AssocEntry, IgnoreCaseLess> listed_;
  std::map<std::wstring, AssocEntry, IgnoreCaseLess> removed_;
};
