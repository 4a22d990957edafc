// The Associations page's extensions: reading what an extension opens with, taking it over and
// giving it back.
#include "config/Associations.h"

#include <algorithm>

#include "config/IgnoreCase.h"
#include "platform/Platform.h"

namespace {

const std::wstring previousValue = L"fumprevassoc";
const std::wstring backupSuffix = L".fum";
const std::wstring openCommandKey = L"\\Shell\\Open\\Command";
const std::wstring iconKey = L"\\DefaultIcon";

bool OpensWith(const KeyStore& store, const std::wstring& typeKey, const std::wstring& program) {
  return store.ReadString(typeKey + openCommandKey, L"") == OpenCommandOf(program);
}

// The type key of the extension's name ("txtfile") when an earlier version of the program took
// it over: it opens with the program, or the key it replaced is kept beside it.
bool TookOverTypeKey(const KeyStore& store, const std::wstring& extension,
                     const std::wstring& program) {
  const std::wstring typeKey = TypeKeyOf(extension);
  return OpensWith(store, typeKey, program) || store.KeyExists(typeKey + backupSuffix);
}

// Whether the extension, pointing to type, opens with the program.
bool PointsToProgram(const KeyStore& store, const std::wstring& extension, const std::wstring& type,
                     const std::wstring& program) {
  for (const std::wstring& typeKey : {OwnTypeKeyOf(extension), TypeKeyOf(extension)}) {
    if (SameIgnoringCase(type, typeKey) && OpensWith(store, typeKey, program)) return true;
  }
  return false;
}

}  // namespace

std::wstring TypeKeyOf(const std::wstring& extension) {
  return (extension.empty() ? extension : extension.substr(1)) + L"file";
}

std::wstring OwnTypeKeyOf(const std::wstring& extension) { return L"fum" + extension; }

int IconNumberOf(const std::wstring& extension) {
  if (extension == L".tex") return 2;
  if (extension == L".cpp") return 3;
  if (extension == L".gp") return 4;
  if (extension == L".h") return 5;
  return 1;
}

std::wstring OpenCommandOf(const std::wstring& program) {
  return L"\"" + program + L"\" \"%1\"";
}

ExtensionCheck CheckExtension(const std::wstring& extension) {
  if (extension.empty() || extension[0] != L'.') return ExtensionCheck::noDot;
  if (extension.find_first_of(L" \\/:*?\"<>|") != std::wstring::npos)
    return ExtensionCheck::forbiddenCharacter;
  return ExtensionCheck::ok;
}

AssocEntry ReadAssociation(const KeyStore& store, const std::wstring& extension,
                           const std::wstring& program) {
  AssocEntry entry;
  entry.extensionExists = store.KeyExists(extension);
  if (entry.extensionExists) {
    entry.currentType = store.ReadString(extension, L"");
    if (store.ValueExists(extension, previousValue)) {
      entry.previousType = store.ReadString(extension, previousValue);
      entry.hasPrevious = !entry.previousType.empty();
    }
  }
  // The program's own type key, or the one of the extension's name an earlier version used.
  for (const std::wstring& typeKey : {OwnTypeKeyOf(extension), TypeKeyOf(extension)}) {
    if (!store.KeyExists(typeKey)) continue;
    entry.typeKeyExists = true;
    entry.associated = entry.associated || OpensWith(store, typeKey, program);
  }
  if (!entry.currentType.empty()) entry.description = store.ReadString(entry.currentType, L"");
  return entry;
}

bool IgnoreCaseLess::operator()(const std::wstring& a, const std::wstring& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](wchar_t x, wchar_t y) { return platform::ToUpper(x) < platform::ToUpper(y); });
}

void AssocList::Load(const std::vector<std::wstring>& extensions) {
  for (const std::wstring& extension : extensions) {
    AssocEntry entry = ReadAssociation(store_, extension, program_);
    // An extension that no longer opens with the program leaves the list.
    if (entry.associated) listed_.emplace(extension, std::move(entry));
  }
}

std::vector<std::wstring> AssocList::Listed() const {
  std::vector<std::wstring> extensions;
  for (const auto& [extension, entry] : listed_) extensions.push_back(extension);
  return extensions;
}

std::wstring AssocList::DescriptionOf(const std::wstring& extension) const {
  auto found = listed_.find(extension);
  if (found != listed_.end()) return found->second.description;
  return ReadAssociation(store_, extension, program_).description;
}

bool AssocList::Add(const std::wstring& extension, const std::wstring& fileType) {
  if (extension.empty() || IsListed(extension)) return false;
  removed_.erase(extension);
  AssocEntry entry = ReadAssociation(store_, extension, program_);
  // Added on the page, the extension is to open with the program, whatever another program
  // has made it open with since.
  entry.associated = PointsToProgram(store_, extension, entry.currentType, program_);
  entry.description = fileType.empty() ? TypeKeyOf(extension) : fileType;
  listed_.emplace(extension, std::move(entry));
  return true;
}

bool AssocList::Remove(const std::wstring& extension) {
  auto found = listed_.find(extension);
  if (found == listed_.end()) return false;
  removed_.insert_or_assign(found->first, std::move(found->second));
  listed_.erase(found);
  return true;
}

std::vector<std::wstring> AssocList::Apply(const std::vector<std::wstring>& order) {
  std::vector<std::wstring> remembered;
  for (const std::wstring& extension : order) {
    auto found = listed_.find(extension);
    if (found == listed_.end()) continue;
    if (!found->second.associated) Associate(found->first, found->second);
    remembered.push_back(found->first);
  }
  for (const auto& [extension, entry] : removed_) Restore(extension, entry);
  removed_.clear();
  return remembered;
}

void AssocList::Associate(const std::wstring& extension, AssocEntry& entry) {
  const std::wstring typeKey = OwnTypeKeyOf(extension);
  // What the extension opened with is recorded to be given back, unless that is a type of the
  // program's own (taken over again after the program moved): the type recorded when it was
  // first taken over stays.
  const bool ownType = SameIgnoringCase(entry.currentType, typeKey) ||
                       (SameIgnoringCase(entry.currentType, TypeKeyOf(extension)) &&
                        TookOverTypeKey(store_, extension, program_));
  if (entry.extensionExists && !ownType)
    store_.WriteString(extension, previousValue, entry.currentType);
  // A type key of the program's own: a type key of another program, which other extensions
  // may share, is never changed.
  store_.WriteString(extension, L"", typeKey);
  store_.WriteString(typeKey, L"", entry.description);
  store_.WriteString(typeKey + openCommandKey, L"", OpenCommandOf(program_));
  store_.WriteString(typeKey + iconKey, L"",
                     program_ + L",-" + std::to_wstring(IconNumberOf(extension)));
  if (!entry.hasPrevious && entry.extensionExists && entry.typeKeyExists) {
    entry.hasPrevious = true;
    entry.previousType = entry.currentType;
  }
  entry.currentType = typeKey;
  entry.extensionExists = entry.typeKeyExists = entry.associated = true;
}

void AssocList::Restore(const std::wstring& extension, const AssocEntry& entry) {
  if (!entry.hasPrevious) return;  // nothing recorded: the extension keeps its entries
  const std::wstring previous = store_.ReadString(extension, previousValue);
  if (previous.empty()) return;  // without a type to go back to, nothing is undone
  const std::wstring ownKey = OwnTypeKeyOf(extension);
  const std::wstring oldKey = TypeKeyOf(extension);
  const bool tookOver = TookOverTypeKey(store_, extension, program_);
  // The extension gets its type back only while it points to the program's: another program
  // may have taken it since, and keeps it.
  const std::wstring current = store_.ReadString(extension, L"");
  if (SameIgnoringCase(current, ownKey) || (tookOver && SameIgnoringCase(current, oldKey))) {
    if (!SameIgnoringCase(current, previous)) store_.WriteString(extension, L"", previous);
  }
  store_.DeleteValue(extension, previousValue);
  // Only the program's own type keys go; one an earlier version took over gets back the key it
  // replaced.
  store_.DeleteTree(ownKey);
  if (!tookOver) return;
  if (store_.KeyExists(oldKey + backupSuffix)) {
    MoveKey(store_, oldKey + backupSuffix, oldKey, true);
  } else {
    store_.DeleteTree(oldKey);
  }
}
