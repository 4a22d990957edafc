// Splitting a path into folder, name and extension, and joining a folder and a name. Paths
// inside the program use backslashes; these are the only functions that take them apart.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Character indexes into a path: name is the index after the last backslash (0 without one);
// extension is the index after the last dot that follows it, 0 when the name has no dot.
struct NamePositions {
  std::size_t name = 0;
  std::size_t extension = 0;
};

NamePositions FindNamePositions(std::wstring_view path);

// The path up to, not including, its last backslash; empty without one.
std::wstring FolderOf(std::wstring_view path);

// The file name of a path: the text after its last backslash, the whole path without one.
std::wstring FileNameOf(std::wstring_view path);

// The path of name inside folder: a backslash goes between them unless folder ends with one.
// An empty folder is the root: "\name".
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// The full path that path names when it is read from within folder: an absolute path (with a
// drive, a UNC server or a leading backslash, which takes folder's drive) stands as it is, any
// other is joined to folder. Slashes become backslashes, and "." and ".." steps and doubled
// backslashes are resolved; ".." never climbs above the root.
std::wstring ResolvePath(std::wstring_view folder, std::wstring_view path);

}  // namespace platform
