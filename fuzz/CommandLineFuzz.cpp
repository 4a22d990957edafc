// Fuzzes the command line: splitting, resolving each argument against a folder, the hand-over
// data of a second start (read from a buffer of exactly its size) and the filter list.
#include <cstdlib>
#include <cstring>
#include <memory>

#include "FuzzInput.h"
#include "frame/CommandLine.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The hand-over reads only the bytes it is given: a copy of exactly that size lets the
  // address checker see any read past them.
  auto copy = std::make_unique<std::uint8_t[]>(size);
  if (size > 0) std::memcpy(copy.get(), data, size);
  auto handed = CommandLineFromHandOver(handOverKind, copy.get(), size);
  Check(!handed || handed->size() <= size / 2);

  FuzzInput in(data, size);
  const wchar_t alphabet[] = L"ab \t\"\\.:*?-\xE9";
  std::wstring folder = L"C:\\" + in.Text(300, alphabet);
  std::wstring line = in.Rest(alphabet);
  std::vector<std::wstring> arguments;
  SplitCommandLine(line, arguments);
  for (const auto& argument : arguments) {
    Check(argument.size() <= line.size());
    // A name too long for a path is passed over, never cut short.
    const std::optional<std::wstring> path = ResolveCommandLinePath(argument, folder);
    Check(!path || path->size() <= maxPathLength);
  }
  std::wstring filters = FilterListFromResource(line);
  Check(filters.size() >= 2 && filters[filters.size() - 1] == 0 && filters[filters.size() - 2] == 0);
  return 0;
}
