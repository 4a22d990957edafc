// Fuzzes the open and save dialog's rules on text: the typed name resolved against a folder, a
// date format, and a filter list read from a buffer of exactly its size.
#include <cstdlib>
#include <memory>

#include "FuzzInput.h"
#include "filedialog/FilterList.h"
#include "filedialog/FolderPaths.h"
#include "filedialog/ListColumns.h"
#include "filedialog/TypedName.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace filedialog;
  FuzzInput in(data, size);
  const wchar_t pathLetters[] = L"aB.\\:C ";
  std::wstring folder = in.Text(20, pathLetters);
  std::wstring typed = in.Text(40, pathLetters);
  std::size_t buffer = static_cast<std::size_t>(in.Number(64));
  int lookups = 0;
  auto chosen = ResolveTypedName(typed, folder, L"txt", buffer, [&](const std::wstring& path) {
    ++lookups;
    Check(!path.empty() && path.size() < buffer);
    return static_cast<PathKind>(path.size() % 3);
  });
  Check(lookups <= 2);
  if (chosen) {
    Check(chosen->path.size() < buffer);
    Check(chosen->namePosition <= chosen->path.size());
    Check(chosen->extensionPosition == 0 || (chosen->extensionPosition > chosen->namePosition &&
                                             chosen->path[chosen->extensionPosition - 1] == L'.'));
    Check(!PathComponents(chosen->path, L"").empty());
  }

  LocalTime time{in.Number(3000), in.Number(14), in.Number(33), in.Number(8),
                 in.Number(25), in.Number(61), in.Number(61)};
  LocaleNames names;
  std::wstring format = in.Text(30, L"dMyqhHmstgw' /.x");
  Check(DateText(format, time, names).size() <= format.size() * 12 + 12);

  // The filter list is read from a copy of exactly its size, ending with two NULs.
  std::wstring list = in.Rest(L"a*;\t \0") + std::wstring(2, L'\0');
  auto copy = std::make_unique<wchar_t[]>(list.size());
  list.copy(copy.get(), list.size());
  for (const Filter& filter : ReadFilterList(copy.get())) {
    for (const std::wstring& pattern : filter.patterns) {
      Check(!pattern.empty() && pattern.find_first_of(L"; \t") == std::wstring::npos);
    }
  }
  return 0;
}
