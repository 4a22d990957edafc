// The texts of the file list's Size and Date columns, and the order of its entries.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace filedialog {

// A size as the list shows it: bytes up to 1024, whole kilobytes ("1K") up to 1048576, whole
// megabytes ("1M") above. Only the low 32 bits of the size count.
std::wstring SizeText(std::uint64_t size);

// A local time broken into the fields a date format can show.
struct LocalTime {
  int year = 0;
  int month = 1;      // 1-12
  int day = 1;        // 1-31
  int dayOfWeek = 0;  // 0 Sunday - 6 Saturday
  int hour = 0;       // 0-23
  int minute = 0;
  int second = 0;
};

// The names a date format takes from the user's locale.
struct LocaleNames {
  std::array<std::wstring, 7> shortDays;  // Sunday first
  std::array<std::wstring, 7> longDays;
  std::array<std::wstring, 12> shortMonths;  // January first
  std::array<std::wstring, 12> longMonths;
  std::wstring am;
  std::wstring pm;
};

// A time written with a short date format of the locale ("d/M/yy", "dd.MM.yyyy", "ddd, MMM d"):
// runs of one pattern letter are fields, text in single quotes is copied without the quotes,
// everything else as it is. A run the format does not know shows "???".
std::wstring DateText(const std::wstring& format, const LocalTime& time, const LocaleNames& names);

// The sort code after a tap on header column `column` (0 Name, 1 Size, 2 Date): that column
// ascending (+column + 1), or the other direction when it is already sorted ascending by it.
int NextSortCode(int code, int column);

// The list's order of two entries for a sort code (±1 name, ±2 size, ±3 date, negative for
// descending): folders come before files in both directions. Negative when a comes first.
int CompareEntries(const platform::FoundFile& a, const platform::FoundFile& b, int sortCode);

}  // namespace filedialog
