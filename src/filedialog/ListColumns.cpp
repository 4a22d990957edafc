// Size and date texts of the file list, and the comparison that sorts it.
#include "filedialog/ListColumns.h"

#include <algorithm>
#include <cstddef>
#include <cwchar>

namespace filedialog {
namespace {

constexpr std::uint32_t kilobyte = 1024;
constexpr std::uint32_t megabyte = 1024 * 1024;

// A number with at least `digits` digits, zeros in front.
std::wstring Number(long long value, int digits = 1) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%0*lld", digits, value);
  return text;
}

bool IsPatternLetter(wchar_t ch) { return ch && std::wcschr(L"dMyqhHmstgw", ch) != nullptr; }

// A number field that allows runs of one or two letters.
std::wstring ShortField(int value, std::size_t count) {
  return count <= 2 ? Number(value, static_cast<int>(count)) : L"???";
}

// The text of a run of `count` times the pattern letter `letter`.
std::wstring FieldText(wchar_t letter, std::size_t count, const LocalTime& time,
                       const LocaleNames& names) {
  switch (letter) {
    case L'd':
      if (count <= 2) return Number(time.day, static_cast<int>(count));
      if (time.dayOfWeek < 0 || time.dayOfWeek > 6) return {};
      if (count == 3) return names.shortDays[time.dayOfWeek];
      return count == 4 ? names.longDays[time.dayOfWeek] : L"???";
    case L'M':
      if (count <= 2) return Number(time.month, static_cast<int>(count));
      if (time.month < 1 || time.month > 12) return {};
      if (count == 3) return names.shortMonths[time.month - 1];
      return count == 4 ? names.longMonths[time.month - 1] : L"???";
    case L'y':
      if (count == 1) return Number(time.year);
      if (count == 2) return Number(time.year % 100, 2);
      return count == 4 ? Number(time.year, 4) : L"???";
    case L'q':
      return count == 1 ? Number((time.month - 1) / 3 + 1) : L"???";
    case L'h': {
      // Midnight and noon are both 12 on a 12-hour clock.
      int hour = time.hour % 12;
      return ShortField(hour == 0 ? 12 : hour, count);
    }
    case L'H':
      return ShortField(time.hour, count);
    case L'm':
      return ShortField(time.minute, count);
    case L's':
      return ShortField(time.second, count);
    case L't': {
      const std::wstring& designator = time.hour < 12 ? names.am : names.pm;
      if (count == 1) return designator.substr(0, 1);
      return count == 2 ? designator : L"???";
    }
    default:  // g and w show nothing
      return {};
  }
}

int Sign(long long value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

int CompareNames(const std::wstring& a, const std::wstring& b) {
  std::size_t length = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < length; ++i) {
    wchar_t x = platform::ToUpper(a[i]);
    wchar_t y = platform::ToUpper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return Sign(static_cast<long long>(a.size()) - static_cast<long long>(b.size()));
}

}  // namespace

std::wstring SizeText(std::uint64_t size) {
  auto low = static_cast<std::uint32_t>(size);
  if (low > megabyte) return Number(low / megabyte) + L"M";
  if (low > kilobyte) return Number(low / kilobyte) + L"K";
  return Number(low);
}

std::wstring DateText(const std::wstring& format, const LocalTime& time,
                      const LocaleNames& names) {
  std::wstring text;
  std::size_t i = 0;
  while (i < format.size()) {
    wchar_t ch = format[i];
    if (ch == L'\'') {
      std::size_t close = format.find(L'\'', i + 1);
      if (close == std::wstring::npos) close = format.size();
      text.append(format, i + 1, close - i - 1);
      i = close + 1;
      continue;
    }
    if (!IsPatternLetter(ch)) {
      text += ch;
      ++i;
      continue;
    }
    std::size_t end = format.find_first_not_of(ch, i);
    if (end == std::wstring::npos) end = format.size();
    text += FieldText(ch, end - i, time, names);
    i = end;
  }
  return text;
}

int NextSortCode(int code, int column) {
  int ascending = column + 1;
  return code == ascending ? -ascending : ascending;
}

int CompareEntries(const platform::FoundFile& a, const platform::FoundFile& b, int sortCode) {
  if (a.isFolder != b.isFolder) return a.isFolder ? -1 : 1;
  const platform::FoundFile& first = sortCode < 0 ? b : a;
  const platform::FoundFile& second = sortCode < 0 ? a : b;
  switch (sortCode < 0 ? -sortCode : sortCode) {
    case 1:
      return CompareNames(first.name, second.name);
    case 2:
      return Sign(static_cast<long long>(static_cast<std::uint32_t>(first.size)) -
                  static_cast<long long>(static_cast<std::uint32_t>(second.size)));
    case 3:
      return first.writeTime < second.writeTime ? -1 : first.writeTime > second.writeTime;
    default:
      return 0;
  }
}

}  // namespace filedialog
