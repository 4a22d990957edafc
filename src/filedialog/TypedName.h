// What OK does with the name typed into the dialog: the full path it stands for, with the
// default extension when it needs one, and the step that follows (enter a folder, ask, create,
// accept or stay).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace filedialog {

// Bits of the request's Flags that the dialog reads.
inline constexpr std::uint32_t askBeforeReplacing = 0x2;   // save mode
inline constexpr std::uint32_t severalItems = 0x200;       // the list may select several
inline constexpr std::uint32_t fileMustExist = 0x1000;     // open mode
inline constexpr std::uint32_t askBeforeCreating = 0x2000; // open mode

enum class PathKind { none, file, folder };
using PathLookup = std::function<PathKind(const std::wstring& path)>;

struct ChosenPath {
  std::wstring path;
  PathKind kind = PathKind::none;
  std::size_t namePosition = 0;       // index after the last backslash
  std::size_t extensionPosition = 0;  // index after the name's last dot, 0 without one
};

// The path the typed text stands for in folder (a path ending with a backslash, empty at the
// drive list): a full path with its drive as it is, a root-based one on the folder's drive,
// anything else inside the folder. A name ending with a dot loses the dot and gets no default
// extension; a name without a dot that does not exist as typed gets a dot and defaultExtension
// (when there is one), whether or not that file exists. Nothing when the text is empty, names
// no drive, ends with a backslash but names no folder, or gives a path that with its NUL does
// not fit bufferSize characters.
std::optional<ChosenPath> ResolveTypedName(const std::wstring& typed, const std::wstring& folder,
                                           const std::wstring& defaultExtension,
                                           std::size_t bufferSize, const PathLookup& lookup);

enum class OkStep {
  enterFolder,  // show the folder and stay
  askReplace,   // ask before replacing the file; accept on Yes
  askCreate,    // ask before creating the file; create and accept on Yes
  create,       // create the file empty, then accept
  accept,       // end the dialog with the path
  stay,         // do nothing
};

OkStep NextOkStep(bool saveMode, std::uint32_t flags, PathKind kind);

}  // namespace filedialog
