// Splitting, joining and resolving the program's backslash paths.
#include "platform/Paths.h"

#include <algorithm>
#include <vector>

namespace platform {

namespace {

bool IsDriveLetter(wchar_t ch) { return (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z'); }

// The length of the root of a backslash path: "C:\", "\\server\share\", "\"; 0 when the
// path is relative.
std::size_t RootLength(std::wstring_view path) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\') return 3;
  if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
    // The server and the share belong to the root.
    std::size_t server = path.find(L'\\', 2);
    if (server == std::wstring_view::npos) return path.size();
    std::size_t share = path.find(L'\\', server + 1);
    return share == std::wstring_view::npos ? path.size() : share + 1;
  }
  return !path.empty() && path[0] == L'\\' ? 1 : 0;
}

}  // namespace

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

std::wstring ResolvePath(std::wstring_view folder, std::wstring_view path) {
  std::wstring full(path);
  for (wchar_t& ch : full) {
    if (ch == L'/') ch = L'\\';
  }
  const std::size_t root = RootLength(full);
  if (root == 0) {
    full = JoinPath(folder, full);
  } else if (root == 1 && folder.size() >= 2 && folder[1] == L':') {
    full.insert(0, folder.substr(0, 2));  // a path from the root of folder's drive
  }
  // The steps after the root, with "." and empty steps dropped and ".." taking one back.
  const std::size_t rootLength = RootLength(full);
  std::vector<std::wstring_view> steps;
  std::wstring_view rest = std::wstring_view(full).substr(rootLength);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find(L'\\'), rest.size());
    const std::wstring_view step = rest.substr(0, end);
    if (step == L"..") {
      if (!steps.empty()) steps.pop_back();
    } else if (!step.empty() && step != L".") {
      steps.push_back(step);
    }
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  std::wstring resolved = full.substr(0, rootLength);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (i > 0) resolved += L'\\';
    resolved.append(steps[i]);
  }
  return resolved;
}

}  // namespace platform
