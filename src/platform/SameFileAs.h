// Finding which of many remembered paths (recent files, places in files) names a given file.
#pragma once

#include <string>

namespace platform {

// Tells whether a path names the same file as the one given, as SameFile tells, but asks the
// file system only about paths that could: the same spelling needs no question, and a path
// whose file name differs (letter case aside) from both the given path's and the one it finally
// names (links followed) cannot name that file unless it is a link itself or a short name. A
// long list, some of it on shares gone away, is then gone through without a wait for each.
class SameFileAs {
 public:
  explicit SameFileAs(std::wstring path);
  bool operator()(const std::wstring& other) const;

 private:
  std::wstring path_;
  std::wstring name_;       // path_'s file name in capitals
  std::wstring finalName_;  // the file name of the file path_ finally names, in capitals
};

}  // namespace platform
