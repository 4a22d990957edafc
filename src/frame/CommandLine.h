// The program's command line: splitting it into file names, the form a second start hands it
// over in, resolving relative names, and the built-in filter list of the entry point.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Appends the arguments of line to arguments. Blanks and tabs separate arguments; an argument
// that starts with a double quote runs to the next double quote that no backslash precedes (a
// backslash and the character after it both stay in the argument), and a quote that is never
// closed takes the rest of the line. An empty quoted argument is appended as an empty string.
void SplitCommandLine(std::wstring_view line, std::vector<std::wstring>& arguments);

// The data kind of a hand-over from a second start (WM_COPYDATA's dwData).
inline constexpr std::uintptr_t handOverKind = 1;

// The command line carried by hand-over data, or none when the data is not a hand-over: another
// kind, no bytes, no data, or an odd number of bytes. Only the given bytes are read; the text
// ends at its first NUL or, without one, at the end of the data.
std::optional<std::wstring> CommandLineFromHandOver(std::uintptr_t kind, const void* data,
                                                    std::size_t bytes);

// The longest path the document manager handles, without its terminating NUL.
inline constexpr std::size_t maxPathLength = 260;

// The full path a command-line argument names. A path that starts with a backslash or has ":\"
// as its second and third characters is taken as it is; any other is relative to defaultFolder,
// with ".\" dropped and "..\" going up one folder. None when the result is longer than
// maxPathLength characters: a path cut short could name another file.
std::optional<std::wstring> ResolveCommandLinePath(std::wstring_view argument, std::wstring_view defaultFolder);

// The built-in filter list from its resource text: every "-" becomes a NUL, which turns
// "Text-*.txt--" into pairs of description and pattern ending with an empty string. At most
// maxLength characters of the text are used, and the result always ends with two NULs.
std::wstring FilterListFromResource(std::wstring_view text, std::size_t maxLength = 99);
