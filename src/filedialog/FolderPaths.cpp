// Splitting, normalising and joining the paths the folder tree walks.
#include "filedialog/FolderPaths.h"

#include "platform/Platform.h"

namespace filedialog {
namespace {

bool IsLetter(wchar_t ch) { return (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z'); }

// Whether text is name, case aside.
bool SameName(const std::wstring& text, const std::wstring& name) {
  if (text.size() != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (platform::ToUpper(text[i]) != platform::ToUpper(name[i])) return false;
  }
  return true;
}

}  // namespace

std::wstring DriveOf(const std::wstring& path) {
  if (path.size() >= 2 && IsLetter(path[0]) && path[1] == L':') return path.substr(0, 2);
  return {};
}

std::vector<std::wstring> PathComponents(const std::wstring& path,
                                         const std::wstring& currentDrive) {
  std::wstring drive = DriveOf(path);
  std::size_t start = 2;
  if (drive.empty()) {
    bool rootBased = !path.empty() && path[0] == L'\\' && (path.size() < 2 || path[1] != L'\\');
    if (!rootBased || currentDrive.empty()) return {};
    drive = currentDrive;
    start = 0;
  }
  drive[0] = platform::ToUpper(drive[0]);
  std::vector<std::wstring> components{drive};
  while (start < path.size()) {
    std::size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    std::wstring part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == L".") continue;
    if (part == L"..") {
      if (components.size() > 1) components.pop_back();
      continue;
    }
    components.push_back(part);
  }
  return components;
}

std::wstring FolderPathOf(const std::vector<std::wstring>& components) {
  std::wstring path;
  for (const std::wstring& text : components) {
    path += text;
    if (path.empty() || path.back() != L'\\') path += L'\\';
  }
  return path;
}

std::wstring JoinComponents(const std::vector<std::wstring>& components) {
  std::wstring path = FolderPathOf(components);
  if (components.size() > 1) path.pop_back();
  return path;
}

int FindChildFor(const std::vector<std::wstring>& childTexts, const std::wstring& name) {
  for (std::size_t i = 0; i < childTexts.size(); ++i) {
    if (SameName(childTexts[i], name)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace filedialog
