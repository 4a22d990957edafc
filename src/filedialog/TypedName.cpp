// The OK rules of the dialog on paths, apart from its windows.
#include "filedialog/TypedName.h"

#include "filedialog/FolderPaths.h"
#include "platform/Paths.h"

namespace filedialog {
namespace {

// The path of the typed text relative to folder, before "." and ".." are resolved.
std::wstring Join(const std::wstring& folder, const std::wstring& typed) {
  bool full = !DriveOf(typed).empty() || (typed.size() >= 2 && typed[0] == L'\\' && typed[1] == L'\\');
  if (full || typed[0] == L'\\') return typed;
  if (folder.empty()) return {};
  return platform::JoinPath(folder, typed);
}

// Whether the last component of text is empty or made of dots only ("." or ".."): a folder or a
// way up, not a file name.
bool NamesAFolder(const std::wstring& text) {
  std::size_t start = platform::FindNamePositions(text).name;
  return text.find_first_not_of(L'.', start) == std::wstring::npos;
}

void SetPositions(ChosenPath& chosen) {
  const platform::NamePositions positions = platform::FindNamePositions(chosen.path);
  chosen.namePosition = positions.name;
  chosen.extensionPosition = positions.extension;
}

}  // namespace

std::optional<ChosenPath> ResolveTypedName(const std::wstring& typed, const std::wstring& folder,
                                           const std::wstring& defaultExtension,
                                           std::size_t bufferSize, const PathLookup& lookup) {
  if (typed.empty()) return std::nullopt;
  std::wstring text = typed;
  bool wantsExtension = false;
  if (!NamesAFolder(text)) {
    std::size_t mark = text.find_last_of(L".\\");
    if (mark != std::wstring::npos && text[mark] == L'.' && mark + 1 == text.size()) {
      text.pop_back();  // a final dot means "no extension"
    } else {
      wantsExtension = (mark == std::wstring::npos || text[mark] == L'\\') &&
                       !defaultExtension.empty();
    }
  }
  if (text.empty()) return std::nullopt;
  std::wstring joined = Join(folder, text);
  if (joined.empty()) return std::nullopt;
  ChosenPath chosen;
  chosen.path = JoinComponents(PathComponents(joined, DriveOf(folder)));
  if (chosen.path.empty() || chosen.path.size() + 1 > bufferSize) return std::nullopt;
  chosen.kind = lookup(chosen.path);
  if (text.back() == L'\\' && chosen.kind != PathKind::folder) return std::nullopt;
  if (chosen.kind == PathKind::none && wantsExtension) {
    chosen.path += L'.' + defaultExtension;
    if (chosen.path.size() + 1 > bufferSize) return std::nullopt;
    chosen.kind = lookup(chosen.path);
  }
  SetPositions(chosen);
  return chosen;
}

OkStep NextOkStep(bool saveMode, std::uint32_t flags, PathKind kind) {
  if (kind == PathKind::folder) return OkStep::enterFolder;
  if (saveMode) {
    return kind == PathKind::file && (flags & askBeforeReplacing) ? OkStep::askReplace
                                                                   : OkStep::accept;
  }
  if (kind == PathKind::file) return OkStep::accept;
  if (flags & fileMustExist) return OkStep::stay;
  return flags & askBeforeCreating ? OkStep::askCreate : OkStep::create;
}

}  // namespace filedialog
