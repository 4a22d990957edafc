// The structured text configuration format: a tree of sections and typed values, one current
// section that the entry operations act on, and reading and writing the whole tree as a file.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

enum class ConfigType { section = 1, string = 2, integer = 3, intList = 4, stringList = 5 };

// One value or section of the tree.
struct ConfigNode {
  using Entries = std::map<std::wstring, std::unique_ptr<ConfigNode>>;

  ConfigType type = ConfigType::section;
  // The integer (integer), the element count (both lists), else 0.
  int number = 0;
  // The string (string); the elements each followed by a NUL plus one more NUL (string list).
  std::wstring text;
  // The elements of an integer list; number == numbers.size() for integer lists.
  std::vector<int> numbers;
  // Sections only: entries ordered by key in UTF-16 code units; a key names one entry, which
  // is either a section or a value.
  Entries entries;
  ConfigNode* parent = nullptr;  // the enclosing section; none for the root

  bool IsSection() const { return type == ConfigType::section; }
  // The section entry called name, or none when there is no entry or it is a value.
  ConfigNode* Section(const std::wstring& name) const;
  // The value entry called name, or none when there is no entry or it is a section.
  const ConfigNode* Value(const std::wstring& key) const;
  // Puts node in this section under key, replacing whatever the key held; returns it.
  ConfigNode* Store(const std::wstring& key, std::unique_ptr<ConfigNode> node);
};

// Value nodes of each kind.
std::unique_ptr<ConfigNode> MakeIntNode(int value);
std::unique_ptr<ConfigNode> MakeStringNode(std::wstring text);
std::unique_ptr<ConfigNode> MakeIntListNode(std::vector<int> numbers);
std::unique_ptr<ConfigNode> MakeStringListNode(const std::vector<std::wstring>& items);

class ConfigFile {
 public:
  // With saveOnClose the destructor writes the tree to the path given to Load.
  explicit ConfigFile(bool saveOnClose = false);
  ~ConfigFile();
  ConfigFile(const ConfigFile&) = delete;
  ConfigFile& operator=(const ConfigFile&) = delete;

  // Remembers path and reads the file into the tree, starting at the root. False, with the
  // tree unchanged, when the file cannot be opened or read to its end.
  bool Load(const std::wstring& path);
  // Writes the whole tree to the path given to Load. The old file is replaced only by a
  // completely written new one: false, with the old file intact, when anything failed. A file
  // that Load found but could not read whole is never written over: Save then fails at once.
  bool Save();
  // Load found the file but could not open it or read it to its end.
  bool Unreadable() const { return unreadable_; }

  const std::wstring& Path() const { return path_; }
  // Another file to write: Save writes it whatever Load found.
  void SetPath(const std::wstring& path) {
    path_ = path;
    unreadable_ = false;
  }

  ConfigNode& Root() { return root_; }
  const ConfigNode& Root() const { return root_; }
  ConfigNode& Current() { return *current_; }
  void GoToRoot() { current_ = &root_; }

  // Makes the section name of the current section current, creating it when the key is
  // unused. False, with nothing changed, when name holds a value.
  bool EnterSection(const std::wstring& name);
  // Makes the enclosing section current; nothing at the root.
  void LeaveSection();
  // Removes the section name with everything in it; a value of that name is left alone.
  void DeleteSection(const std::wstring& name);
  bool Exists(const std::wstring& key) const;

  // Reads of values of the current section. A missing key is added with the default, so that
  // the next Save writes it; a section under the key gives the default and stays. A value of
  // another type gives its number (0 for strings, the count for lists) or its text (empty
  // for integers and integer lists; the NUL-separated form for string lists).
  int GetInt(const std::wstring& key, int defaultValue);
  std::wstring GetString(const std::wstring& key, const std::wstring& defaultValue);
  // Always count numbers: those of the stored integer list, the rest taken from defaults (a
  // short list, a value of another type, a section). The stored list keeps its own length.
  std::vector<int> GetIntList(const std::wstring& key, const int* defaults, int count);

  // Writes of values of the current section, replacing any old value; nothing when key names
  // a section.
  void SetInt(const std::wstring& key, int value);
  void SetString(const std::wstring& key, const std::wstring& text);
  void SetIntList(const std::wstring& key, std::vector<int> numbers);
  void SetStringList(const std::wstring& key, const std::vector<std::wstring>& items);

 private:
  // Stores node under key unless key names a section.
  void SetValue(const std::wstring& key, std::unique_ptr<ConfigNode> node);

  ConfigNode root_;
  ConfigNode* current_ = &root_;
  std::wstring path_;
  bool unreadable_ = false;
  bool saveOnClose_;
};

// Whether name written as a section's tag reads back as the same name: it holds no '>', no
// line break and no NUL, and does not start with '/', which would make the tag a closing one.
bool IsSectionName(const std::wstring& name);

// The text of a string list holding items: each followed by a NUL, then one more NUL.
std::wstring JoinStringList(const std::vector<std::wstring>& items);
// The items of a NUL-separated list: at most maxCount, ending at the end of the text or at the
// empty item that closes a list. A text without NUL is a list of one item.
std::vector<std::wstring> SplitStringList(const std::wstring& text, int maxCount = 0x7fffffff);
