// The program's command line: splitting, hand-over data, relative names and the filter list.
#include "frame/CommandLine.h"

#include <cstring>

#include "platform/Paths.h"

namespace {

bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

// The quoted argument that starts after the opening quote at start; end receives the index
// after the closing quote, or the line's length when no quote closes it.
std::wstring QuotedArgument(std::wstring_view line, std::size_t start, std::size_t& end) {
  std::size_t i = start;
  while (i < line.size() && line[i] != L'"') {
    // A backslash makes the next character ordinary; both stay.
    i += (line[i] == L'\\' && i + 1 < line.size()) ? 2 : 1;
  }
  std::wstring argument(line.substr(start, i - start));
  end = i < line.size() ? i + 1 : line.size();
  return argument;
}

// Removes the last folder of a path that ends with a backslash ("\a\b\" gives "\a\"); a path
// with a single backslash is left alone, so ".." never climbs above the root.
void DropLastFolder(std::wstring& path) {
  if (path.size() < 2) return;
  std::size_t previous = path.rfind(L'\\', path.size() - 2);
  if (previous != std::wstring::npos) path.resize(previous + 1);
}

}  // namespace

void SplitCommandLine(std::wstring_view line, std::vector<std::wstring>& arguments) {
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) return;
    if (line[i] == L'"') {
      arguments.push_back(QuotedArgument(line, i + 1, i));
      continue;
    }
    std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    arguments.emplace_back(line.substr(start, i - start));
  }
}

std::optional<std::wstring> CommandLineFromHandOver(std::uintptr_t kind, const void* data,
                                                    std::size_t bytes) {
  if (kind != handOverKind || !data || bytes == 0 || bytes % sizeof(wchar_t) != 0) {
    return std::nullopt;
  }
  // Copied unit by unit: the sender's buffer need not be aligned for wchar_t.
  std::wstring text(bytes / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), data, bytes);
  std::size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

std::optional<std::wstring> ResolveCommandLinePath(std::wstring_view argument,
                                                   std::wstring_view defaultFolder) {
  bool absolute = (!argument.empty() && argument[0] == L'\\') ||
                  (argument.size() >= 3 && argument.substr(1, 2) == std::wstring_view(L":\\"));
  std::wstring result;
  if (absolute) {
    result = argument;
  } else {
    result = platform::JoinPath(defaultFolder, L"");
    const std::size_t nameStart = platform::FindNamePositions(argument).name;
    std::wstring_view folders = argument.substr(0, nameStart);
    std::size_t i = 0;
    while (i < folders.size()) {
      if (folders.substr(i, 2) == std::wstring_view(L".\\")) {
        i += 2;
      } else if (folders.substr(i, 3) == std::wstring_view(L"..\\")) {
        DropLastFolder(result);
        i += 3;
      } else {
        // One folder name, with its backslash.
        std::size_t next = folders.find(L'\\', i);
        result += folders.substr(i, next - i + 1);
        i = next + 1;
      }
    }
    result += argument.substr(nameStart);
  }
  if (result.size() > maxPathLength) return std::nullopt;
  return result;
}

std::wstring FilterListFromResource(std::wstring_view text, std::size_t maxLength) {
  std::wstring list(text.substr(0, maxLength));
  for (wchar_t& ch : list) {
    if (ch == L'-') ch = L'\0';
  }
  // A text that does not end in "--" still yields a terminated list.
  list.append(2, L'\0');
  return list;
}
