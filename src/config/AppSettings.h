// The settings object: general settings, recent files, document classes, Tools commands and
// key bindings, read from the settings file at start and written back at exit.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "config/DocClass.h"
#include "config/KeyBindings.h"
#include "config/Session.h"
#include "syntax/ConfigFile.h"
#include "syntax/SyntaxCache.h"

// One entry of the Tools menu.
struct ToolCommand {
  std::wstring name;     // menu text and section name
  std::wstring cmdline;  // the program to run
  std::wstring cmdargs;  // its arguments, with variables such as $filename
  bool savedoc = false;  // save the active document before running
  bool saveall = false;  // save all documents before running
  bool capture = false;  // capture the program's output
};

inline constexpr int maxRecentFiles = 9;
// Coordinates and sizes of the main window's place stay within plus and minus this.
inline constexpr int maxWindowExtent = 32767;

class AppSettings {
 public:
  // Reads the program's own settings file (its path with "opt" for the last three characters)
  // and takes syntax files from the program's folder.
  AppSettings();
  // Reads settingsPath; syntax files come from syntaxFolder (no trailing backslash).
  AppSettings(const std::wstring& settingsPath, const std::wstring& syntaxFolder);
  // Writes the settings file.
  ~AppSettings();
  AppSettings(const AppSettings&) = delete;
  AppSettings& operator=(const AppSettings&) = delete;

  // Copies every member into the tree and writes it to the settings file, and writes the
  // session file. False when a file could not be written completely; that file's previous
  // version is then left as it was.
  bool Save();
  // Writes the session file alone.
  bool SaveSession() { return session.Save(SessionPathFor(SettingsPath())); }

  // Puts path at the head of the recent files (moving it there when it is listed already) and
  // calls onRecentChanged.
  void AddRecent(const std::wstring& path);

  // The definition named by the class's syntaxfile, read on first use, and stored in the
  // class. None when the class has highlighting off; when the file cannot be read the class's
  // highlighting is switched off as well.
  const SyntaxDef* LoadSyntaxDef(DocClass& docClass);
  // A copy of the class with its syntax definition resolved, for a document to use. The stored
  // class keeps its settings even when its syntax file cannot be read this time.
  DocClass Resolved(const DocClass& docClass) {
    DocClass copy = docClass;
    LoadSyntaxDef(copy);
    return copy;
  }
  SyntaxCache& Syntaxes() { return syntaxCache_; }

  // The named class, or none.
  DocClass* FindClass(const std::wstring& name);
  // Names that the settings file uses for its own keys and so cannot name a class or command.
  static bool IsReservedClassName(const std::wstring& name);
  static bool IsReservedCommandName(const std::wstring& name);

  ConfigFile& Tree() { return tree_; }
  const std::wstring& SettingsPath() const { return tree_.Path(); }
  const KeyBinding* KeyBindings() const { return keyBindings_.data(); }
  int KeyBindingCount() const { return static_cast<int>(keyBindings_.size()); }

  // Document classes. classNames and classes hold the same names; the default class is in
  // neither. classNames is the order of the Classes page, the map's order that of
  // classification.
  DocClass defaultClass;
  std::vector<std::wstring> classNames;
  std::map<std::wstring, DocClass> classes;

  std::vector<ToolCommand> commands;  // in menu order

  std::wstring progname;  // read at start, never written back
  std::wstring version;   // read at start, never written back
  // Pairs of display name and pattern list, each item followed by a NUL, one more NUL.
  std::wstring filter;
  std::wstring assocs;  // associated extensions with their dot, NUL-separated like filter
  std::vector<std::wstring> recent;  // full paths, most recent first; at most maxRecentFiles
  std::wstring defext;
  std::wstring defdir;
  std::wstring lastDirectory;  // the folder last used in a file dialog; not stored
  bool dirfollowsdoc = true;
  // Written back as given: the frame sets it to whether the find bar is shown at exit.
  bool tbfindactive = false;
  int foopenflags = 0;
  int fosaveflags = 0;
  // The main window's place and size while neither maximized nor minimized, in the desktop's
  // workspace coordinates, and whether it was maximized; the frame records them at exit. A
  // width or height of 0 means no place is known.
  int winleft = 0;
  int wintop = 0;
  int winwidth = 0;   // 0 to maxWindowExtent
  int winheight = 0;  // 0 to maxWindowExtent
  bool winmaximized = false;

  // The files of the last session, the places in files and the option to reopen them; kept in
  // the session file beside the settings file.
  Session session;

  // Called after every change of the recent files (the frame rebuilds its menu).
  std::function<void()> onRecentChanged;

 private:
  void Load(const std::wstring& settingsPath);
  void LoadRoot();
  void LoadClasses();
  void LoadGeneral();
  void LoadCommands();
  void SaveRoot();
  void SaveGeneral();
  void SaveClasses();
  void SaveCommands();

  ConfigFile tree_;
  SyntaxCache syntaxCache_;
  std::vector<KeyBinding> keyBindings_;
};

// The settings file of the program at modulePath: its last three characters become "opt".
std::wstring SettingsPathFor(const std::wstring& modulePath);
