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

}  // namespace

std::wstring TypeKeyOf(const std::wstring& extension) {
  return (extension.empty() ? extension : extension.substr(1)) + L"file";
}

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
  std::wstring typeKey = TypeKeyOf(extension);
  entry.typeKeyExists = store.KeyExists(typeKey);
  if (entry.typeKeyExists)
    entry.associated = store.ReadString(typeKey + openCommandKey, L"") == OpenCommandOf(program);
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
  std::wstring typeKey = TypeKeyOf(extension);
  if (entry.extensionExists) store_.WriteString(extension, previousValue, entry.currentType);
  // A type key of the same name that belongs to someone else is kept aside.
  if (SameIgnoringCase(entry.currentType, typeKey))
    MoveKey(store_, typeKey, typeKey + backupSuffix, true);
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
  std::wstring previous = store_.ReadString(extension, previousValue);
  // Without a type to go back to, or one to drop, nothing is undone.
  if (previous.empty() || entry.currentType.empty()) return;
  if (!SameIgnoringCase(previous, entry.currentType)) {
    store_.WriteString(extension, L"", previous);
    store_.DeleteValue(extension, previousValue);
    store_.DeleteTree(entry.currentType);
  } else if (store_.KeyExists(entry.currentType + backupSuffix)) {
    MoveKey(store_, entry.currentType + backupSuffix, entry.currentType, true);
  }
}
