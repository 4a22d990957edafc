// Paths as the folder tree sees them: a drive at the top, then one folder per level.
#pragma once

#include <string>
#include <vector>

namespace filedialog {

// The drive of a path ("C:" of "C:\docs"), empty when it names none.
std::wstring DriveOf(const std::wstring& path);

// The components of a full path from its drive down: "C:\Users\me\a.txt" gives "C:", "Users",
// "me", "a.txt". A path that starts with a single backslash lies on currentDrive. "." is left
// out and ".." takes away the component before it, never the drive. A path that names no drive
// (a relative one, a network path, or a root-based one without a current drive) gives none.
std::vector<std::wstring> PathComponents(const std::wstring& path,
                                         const std::wstring& currentDrive);

// The folder of tree item texts from the drive down, each followed by a backslash: "C:",
// "docs" gives "C:\docs\". No texts give the empty path of the drive list.
std::wstring FolderPathOf(const std::vector<std::wstring>& components);

// The path of components without a final backslash, except for a drive alone ("C:\").
std::wstring JoinComponents(const std::vector<std::wstring>& components);

// Which of a tree item's children stands for a path component: the first whose text equals
// the name, letter case aside (a folder whose name only begins with it is another folder).
// -1 for none.
int FindChildFor(const std::vector<std::wstring>& childTexts, const std::wstring& name);

}  // namespace filedialog
