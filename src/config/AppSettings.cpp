// Loading the settings from the settings tree at start and storing them back at exit.
#include "config/AppSettings.h"

#include <algorithm>

#include "config/DocClassIO.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/SameFileAs.h"

namespace {

// The items of the string list under key in the current section: its count is what GetInt
// reads, its items what GetString reads.
std::vector<std::wstring> ReadStringList(ConfigFile& tree, const std::wstring& key) {
  int count = tree.GetInt(key, 0);
  return SplitStringList(tree.GetString(key, L""), count);
}

// Reads a list whose item count must not be 0: a missing or empty list is stored as
// defaults first.
std::vector<std::wstring> ReadListOr(ConfigFile& tree, const std::wstring& key,
                                     const std::vector<std::wstring>& defaults) {
  if (tree.GetInt(key, 0) == 0) tree.SetStringList(key, defaults);
  return ReadStringList(tree, key);
}

const std::vector<std::wstring> defaultFilter = {L"Text Files", L"*.txt", L"All Files", L"*.*"};

}  // namespace

std::wstring SettingsPathFor(const std::wstring& modulePath) {
  std::wstring path = modulePath.substr(0, modulePath.size() - std::min<std::size_t>(3, modulePath.size()));
  return path + L"opt";
}

AppSettings::AppSettings()
    : AppSettings(SettingsPathFor(platform::ModulePath()), platform::FolderOf(platform::ModulePath())) {}

AppSettings::AppSettings(const std::wstring& settingsPath, const std::wstring& syntaxFolder)
    : tree_(false), syntaxCache_(syntaxFolder) {
  keyBindings_.reserve(maxKeyBindings);
  Load(settingsPath);
}

AppSettings::~AppSettings() { Save(); }

void AppSettings::Load(const std::wstring& settingsPath) {
  // A missing file leaves the tree empty, and every read below takes its default.
  tree_.Load(settingsPath);
  // A missing or damaged session file is no error: the session starts empty.
  session.Load(SessionPathFor(settingsPath));
  LoadRoot();
  LoadClasses();
  LoadGeneral();
  LoadCommands();
  keyBindings_.assign(defaultKeyBindings.begin(), defaultKeyBindings.end());
}

void AppSettings::LoadRoot() {
  tree_.GoToRoot();
  progname = tree_.GetString(L"progname", L"");
  version = tree_.GetString(L"version", L"");
  recent = ReadStringList(tree_, L"recent");
  if (recent.size() > maxRecentFiles) recent.resize(maxRecentFiles);
  assocs = JoinStringList(ReadListOr(tree_, L"assocs", {}));
}

void AppSettings::LoadClasses() {
  tree_.GoToRoot();
  if (!tree_.EnterSection(L"clases")) return;
  LoadClassSection(tree_, L"default", defaultClass);
  defaultClass.filter = JoinStringList({L"*.*"});

  int count = tree_.GetInt(L"nclasses", 0);
  if (count == 0) tree_.SetStringList(L"classlist", {});
  for (const auto& name : SplitStringList(tree_.GetString(L"classlist", L""), std::max(count, 0))) {
    // A name listed twice is one class; names of the section's own keys cannot be sections.
    if (classes.count(name) || IsReservedClassName(name)) continue;
    DocClass docClass = defaultClass;
    if (!LoadClassSection(tree_, name, docClass)) continue;
    classNames.push_back(name);
    classes.emplace(name, std::move(docClass));
  }
}

void AppSettings::LoadGeneral() {
  tree_.GoToRoot();
  if (!tree_.EnterSection(L"general")) return;
  defext = tree_.GetString(L"defext", L"txt");
  defdir = tree_.GetString(L"defdir", L"\\");
  lastDirectory = defdir;
  dirfollowsdoc = tree_.GetInt(L"dirfollowsdoc", 1) != 0;
  foopenflags = tree_.GetInt(L"foopenflags", 0);
  fosaveflags = tree_.GetInt(L"fosaveflags", 0);
  tbfindactive = tree_.GetInt(L"tbfindactive", 0) != 0;
  filter = JoinStringList(ReadListOr(tree_, L"filter", defaultFilter));
  winleft = std::clamp(tree_.GetInt(L"winleft", 0), -maxWindowExtent, maxWindowExtent);
  wintop = std::clamp(tree_.GetInt(L"wintop", 0), -maxWindowExtent, maxWindowExtent);
  winwidth = std::clamp(tree_.GetInt(L"winwidth", 0), 0, maxWindowExtent);
  winheight = std::clamp(tree_.GetInt(L"winheight", 0), 0, maxWindowExtent);
  winmaximized = tree_.GetInt(L"winmaximized", 0) != 0;
}

void AppSettings::LoadCommands() {
  tree_.GoToRoot();
  if (!tree_.EnterSection(L"commands")) return;
  for (const auto& name : ReadListOr(tree_, L"cmdlist", {})) {
    ToolCommand command;
    command.name = name;
    if (!IsReservedCommandName(name) && tree_.EnterSection(name)) {
      command.cmdline = tree_.GetString(L"cmdline", L"");
      command.cmdargs = tree_.GetString(L"cmdargs", L"");
      command.savedoc = tree_.GetInt(L"savedoc", 0) != 0;
      command.saveall = tree_.GetInt(L"saveall", 0) != 0;
      command.capture = tree_.GetInt(L"capture", 0) != 0;
      tree_.LeaveSection();
    }
    commands.push_back(std::move(command));
  }
}

bool AppSettings::Save() {
  SaveRoot();
  SaveGeneral();
  SaveClasses();
  SaveCommands();
  tree_.GoToRoot();
  const bool settingsSaved = tree_.Save();
  return SaveSession() && settingsSaved;
}

void AppSettings::SaveRoot() {
  tree_.GoToRoot();
  tree_.SetInt(L"nrecent", static_cast<int>(recent.size()));
  tree_.SetStringList(L"recent", recent);
  tree_.SetStringList(L"assocs", SplitStringList(assocs));
}

void AppSettings::SaveGeneral() {
  tree_.GoToRoot();
  if (!tree_.EnterSection(L"general")) return;
  tree_.SetString(L"defext", defext);
  tree_.SetString(L"defdir", defdir);
  tree_.SetInt(L"dirfollowsdoc", dirfollowsdoc);
  tree_.SetInt(L"foopenflags", foopenflags);
  tree_.SetInt(L"fosaveflags", fosaveflags);
  tree_.SetInt(L"tbfindactive", tbfindactive);
  tree_.SetInt(L"winleft", winleft);
  tree_.SetInt(L"wintop", wintop);
  tree_.SetInt(L"winwidth", winwidth);
  tree_.SetInt(L"winheight", winheight);
  tree_.SetInt(L"winmaximized", winmaximized);
  std::vector<std::wstring> items = SplitStringList(filter);
  items.resize(items.size() / 2 * 2);  // whole name/pattern pairs only
  tree_.SetStringList(L"filter", items);
}

void AppSettings::SaveClasses() {
  tree_.GoToRoot();
  if (!tree_.EnterSection(L"clases")) return;
  std::vector<std::wstring> saved;
  for (const auto& name : classNames) {
    if (!classes.count(name) || IsReservedClassName(name)) continue;
    if (std::find(saved.begin(), saved.end(), name) != saved.end()) continue;
    saved.push_back(name);
  }
  // The sections of classes that are gone go; those that stay are written over, so that a
  // stored value the class loaded in range is kept as the user wrote it.
  std::vector<std::wstring> gone;
  for (const auto& [key, node] : tree_.Current().entries)
    if (node->IsSection() && key != L"default" &&
        std::find(saved.begin(), saved.end(), key) == saved.end())
      gone.push_back(key);
  for (const auto& key : gone) tree_.DeleteSection(key);
  SaveClassSection(tree_, L"default", defaultClass);
  for (const auto& name : saved) SaveClassSection(tree_, name, classes.at(name));
  tree_.SetStringList(L"classlist", saved);
  tree_.SetInt(L"nclasses", static_cast<int>(saved.size()));
}

void AppSettings::SaveCommands() {
  tree_.GoToRoot();
  tree_.DeleteSection(L"commands");
  if (!tree_.EnterSection(L"commands")) return;
  std::vector<std::wstring> names;
  for (const auto& command : commands) {
    names.push_back(command.name);
    if (IsReservedCommandName(command.name) || !tree_.EnterSection(command.name)) continue;
    tree_.SetString(L"cmdline", command.cmdline);
    tree_.SetString(L"cmdargs", command.cmdargs);
    tree_.SetInt(L"savedoc", command.savedoc);
    tree_.SetInt(L"saveall", command.saveall);
    tree_.SetInt(L"capture", command.capture);
    tree_.LeaveSection();
  }
  tree_.SetStringList(L"cmdlist", names);
}

void AppSettings::AddRecent(const std::wstring& path) {
  // A file is listed once, under the spelling it was last used by.
  auto found = std::find_if(recent.begin(), recent.end(), platform::SameFileAs(path));
  if (found != recent.end()) {
    *found = path;
    std::rotate(recent.begin(), found, found + 1);
  } else {
    recent.insert(recent.begin(), path);
    if (recent.size() > maxRecentFiles) recent.pop_back();
  }
  if (onRecentChanged) onRecentChanged();
}

const SyntaxDef* AppSettings::LoadSyntaxDef(DocClass& docClass) {
  docClass.syntax = docClass.hassyntax ? syntaxCache_.Load(docClass.syntaxfile) : nullptr;
  if (!docClass.syntax) docClass.hassyntax = false;
  return docClass.syntax;
}

DocClass* AppSettings::FindClass(const std::wstring& name) {
  auto found = classes.find(name);
  return found == classes.end() ? nullptr : &found->second;
}

bool AppSettings::IsReservedClassName(const std::wstring& name) {
  return name == L"default" || name == L"nclasses" || name == L"classlist" || !IsSectionName(name);
}

bool AppSettings::IsReservedCommandName(const std::wstring& name) {
  return name == L"cmdlist" || !IsSectionName(name);
}
