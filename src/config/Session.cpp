// Remembering places in files, and reading and writing the session file in the configuration
// format: the option at the root, the session's files in "session", one numbered section per
// place in "places", most recent first.
#include "config/Session.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>

#include "platform/Platform.h"
#include "platform/SameFileAs.h"
#include "syntax/ConfigFile.h"

namespace {

const ConfigNode* ValueOfType(const ConfigNode& section, const wchar_t* key, ConfigType type) {
  const ConfigNode* value = section.Value(key);
  return value && value->type == type ? value : nullptr;
}

// The two numbers of the integer list under key, each at least 0; missing ones are 0.
std::pair<int, int> ReadPair(const ConfigNode& section, const wchar_t* key) {
  std::pair<int, int> pair{0, 0};
  if (const ConfigNode* list = ValueOfType(section, key, ConfigType::intList)) {
    if (list->numbers.size() > 0) pair.first = std::max(list->numbers[0], 0);
    if (list->numbers.size() > 1) pair.second = std::max(list->numbers[1], 0);
  }
  return pair;
}

// One place section; an empty path when the section names no file.
FilePlace ReadPlace(const ConfigNode& section) {
  FilePlace record;
  if (const ConfigNode* path = ValueOfType(section, L"path", ConfigType::string))
    record.path = path->text;
  ViewPlace& place = record.place;
  std::tie(place.caretLine, place.caretIndex) = ReadPair(section, L"caret");
  std::tie(place.anchorLine, place.anchorIndex) = ReadPair(section, L"anchor");
  std::tie(place.firstRow, place.firstColumn) = ReadPair(section, L"view");
  return record;
}

// Section names that sort in list order: the number from 1, with leading zeros to a common
// width.
std::wstring RecordName(std::size_t number, std::size_t count) {
  std::wstring digits = std::to_wstring(number);
  const std::size_t width = std::max<std::size_t>(3, std::to_wstring(count).size());
  return std::wstring(width - std::min(width, digits.size()), L'0') + digits;
}

}  // namespace

void Session::RememberPlace(const std::wstring& path, const ViewPlace& place) {
  if (path.empty()) return;
  // One file has one place, whichever spelling of its path it was opened under; kept under the
  // path of the file a link leads to, it is found again when the file is opened without the link.
  std::wstring file = platform::FinalPath(path);
  const platform::SameFileAs sameFile(file);
  auto found = std::find_if(places_.begin(), places_.end(),
                            [&](const FilePlace& record) { return sameFile(record.path); });
  if (found != places_.end()) places_.erase(found);
  places_.insert(places_.begin(), FilePlace{std::move(file), place});
  if (places_.size() > maxFilePlaces) places_.resize(maxFilePlaces);
}

const ViewPlace* Session::PlaceOf(const std::wstring& path) const {
  const platform::SameFileAs sameFile(path);
  for (const FilePlace& record : places_) {
    if (sameFile(record.path)) return &record.place;
  }
  return nullptr;
}

bool Session::Load(const std::wstring& path) {
  ConfigFile file;
  const bool loaded = file.Load(path);
  unreadable_ = file.Unreadable() ? path : std::wstring();
  if (!loaded) return false;
  const ConfigNode& root = file.Root();
  const ConfigNode* option = ValueOfType(root, L"reopen", ConfigType::integer);
  reopen = !option || option->number != 0;

  files.clear();
  active = -1;
  if (const ConfigNode* session = root.Section(L"session")) {
    const ConfigNode* list = ValueOfType(*session, L"files", ConfigType::stringList);
    const ConfigNode* shown = ValueOfType(*session, L"active", ConfigType::integer);
    const int shownIndex = shown ? shown->number : -1;
    // A set, so that a long damaged list costs no more than its length.
    std::set<std::wstring> listed;
    int index = 0;
    for (std::wstring& file : list ? SplitStringList(list->text, list->number)
                                   : std::vector<std::wstring>{}) {
      if (listed.insert(file).second) {
        if (index == shownIndex) active = static_cast<int>(files.size());
        files.push_back(std::move(file));
      }
      ++index;
    }
  }

  places_.clear();
  std::set<std::wstring> seen;
  if (const ConfigNode* places = root.Section(L"places")) {
    for (const auto& [name, node] : places->entries) {
      if (!node->IsSection()) continue;
      FilePlace record = ReadPlace(*node);
      if (record.path.empty() || !seen.insert(record.path).second) continue;
      places_.push_back(std::move(record));
      if (places_.size() == maxFilePlaces) break;
    }
  }
  return true;
}

bool Session::Save(const std::wstring& path) const {
  if (!unreadable_.empty() && path == unreadable_) return false;
  ConfigFile file;
  file.SetPath(path);
  file.SetInt(L"reopen", reopen);
  file.EnterSection(L"session");
  file.SetInt(L"active", active);
  file.SetStringList(L"files", files);
  file.GoToRoot();
  file.EnterSection(L"places");
  for (std::size_t i = 0; i < places_.size(); ++i) {
    const FilePlace& record = places_[i];
    file.EnterSection(RecordName(i + 1, places_.size()));
    file.SetString(L"path", record.path);
    const ViewPlace& place = record.place;
    file.SetIntList(L"caret", {place.caretLine, place.caretIndex});
    file.SetIntList(L"anchor", {place.anchorLine, place.anchorIndex});
    file.SetIntList(L"view", {place.firstRow, place.firstColumn});
    file.LeaveSection();
  }
  return file.Save();
}

std::wstring SessionPathFor(const std::wstring& settingsPath) {
  return settingsPath.substr(0, settingsPath.size() - std::min<std::size_t>(3, settingsPath.size())) +
         L"session";
}
