// Splitting and joining the program's backslash paths.
#include "platform/Paths.h"

namespace platform {

NamePositions FindNamePositions(std::wstring_view path) {
  NamePositions positions;
  std::size_t slash = path.rfind(L'\\');
  positions.name = slash == std::wstring_view::npos ? 0 : slash + 1;
  std::size_t dot = path.rfind(L'.');
  if (dot != std::wstring_view::npos && dot >= positions.name) positions.extension = dot + 1;
  return positions;
}

std::wstring FolderOf(std::wstring_view path) {
  std::size_t name = FindNamePositions(path).name;
  return std::wstring(path.substr(0, name > 0 ? name - 1 : 0));
}

std::wstring FileNameOf(std::wstring_view path) {
  return std::wstring(path.substr(FindNamePositions(path).name));
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path.append(name);
}

}  // namespace platform
