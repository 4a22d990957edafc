// The file list's size and date texts, its sort order and the filters.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "filedialog/FilterList.h"
#include "filedialog/ListColumns.h"

using namespace filedialog;

namespace {

TEST(ListColumns, SizeTextSwitchesUnitsAboveWholeKilobytesAndMegabytes) {
  struct Case { std::uint64_t size; const wchar_t* text; };
  const Case cases[] = {
      {0, L"0"},          {1024, L"1024"},       {1025, L"1K"},
      {2047, L"1K"},      {1048576, L"1024K"},   {1048577, L"1M"},
      {0x100000401ull, L"1K"},  // only the low 32 bits count
  };
  for (const Case& c : cases) EXPECT_EQ(SizeText(c.size), c.text) << c.size;
}

LocaleNames EnglishNames() {
  LocaleNames names;
  names.shortDays = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
  names.longDays = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                    L"Thursday", L"Friday", L"Saturday"};
  names.shortMonths = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                       L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
  names.longMonths = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                      L"July",    L"August",   L"September", L"October", L"November", L"December"};
  names.am = L"AM";
  names.pm = L"PM";
  return names;
}

TEST(ListColumns, DateTextWritesEveryFieldOfTheFormat) {
  // Sunday, 5 March 2006, 07:04:09 in the morning; and 9 November 2026, 23:30:00.
  const LocalTime morning{2006, 3, 5, 0, 7, 4, 9};
  const LocalTime evening{2026, 11, 9, 1, 23, 30, 0};
  const LocalTime midnight{2026, 11, 9, 1, 0, 15, 0};
  const LocalTime broken{2026, 13, 9, 7, 0, 0, 0};  // no such month or day of the week
  struct Case { const wchar_t* format; const LocalTime& time; const wchar_t* text; };
  const Case cases[] = {
      {L"d/M/yy", morning, L"5/3/06"},
      {L"dd.MM.yyyy", morning, L"05.03.2006"},
      {L"ddd, MMM d y", morning, L"Sun, Mar 5 2006"},
      {L"dddd d MMMM", evening, L"Monday 9 November"},
      {L"'Q'q yyyy", evening, L"Q4 2026"},
      {L"h:mm:ss tt", morning, L"7:04:09 AM"},
      {L"hh:m t", evening, L"11:30 P"},
      {L"H.HH.s", morning, L"7.07.9"},
      {L"h tt", midnight, L"12 AM"},
      // Quoted text is copied without the quotes, pattern letters included; other text as is.
      {L"'day' d 'of' M", morning, L"day 5 of 3"},
      {L"yyyy-MM-dd'T", morning, L"2006-03-05T"},
      // Era and week fields show nothing; runs of unknown length show "???".
      {L"gg yy ww", morning, L" 06 "},
      {L"ddddd yyy MMMMM hhh qq ttt", morning, L"??? ??? ??? ??? ??? ???"},
      {L"dddd MMMM.", broken, L" ."},
  };
  LocaleNames names = EnglishNames();
  for (const Case& c : cases) {
    EXPECT_EQ(DateText(c.format, c.time, names), c.text)
        << std::string(c.format, c.format + wcslen(c.format));
  }
}

platform::FoundFile Entry(const wchar_t* name, bool folder, std::uint64_t size,
                          std::uint64_t time) {
  return {name, folder, size, time};
}

std::wstring SortedNames(std::vector<platform::FoundFile> entries, int code) {
  std::stable_sort(entries.begin(), entries.end(), [code](const auto& a, const auto& b) {
    return CompareEntries(a, b, code) < 0;
  });
  std::wstring names;
  for (const auto& entry : entries) names += entry.name + L" ";
  return names;
}

TEST(ListColumns, SortingKeepsFoldersFirstInBothDirections) {
  const std::vector<platform::FoundFile> entries = {
      Entry(L"b.txt", false, 300, 20),  Entry(L"Zdir", true, 0, 5),
      Entry(L"a.TXT", false, 4000, 10), Entry(L"adir", true, 0, 50),
      Entry(L"C.txt", false, 0x100000010ull, 30),  // 16 in its low 32 bits
  };
  EXPECT_EQ(SortedNames(entries, 1), L"adir Zdir a.TXT b.txt C.txt ");
  EXPECT_EQ(SortedNames(entries, -1), L"Zdir adir C.txt b.txt a.TXT ");
  EXPECT_EQ(SortedNames(entries, 2), L"Zdir adir C.txt b.txt a.TXT ");
  EXPECT_EQ(SortedNames(entries, -2), L"Zdir adir a.TXT b.txt C.txt ");
  EXPECT_EQ(SortedNames(entries, 3), L"Zdir adir a.TXT b.txt C.txt ");
  EXPECT_EQ(SortedNames(entries, -3), L"adir Zdir C.txt b.txt a.TXT ");
  // Names that share a start: the shorter one first, then by the first unit that differs,
  // letter case aside.
  const std::vector<platform::FoundFile> prefixed = {
      Entry(L"notes.txt", false, 1, 1), Entry(L"NOTE", false, 1, 1), Entry(L"note.txt", false, 1, 1),
      Entry(L"Notes", false, 1, 1)};
  EXPECT_EQ(SortedNames(prefixed, 1), L"NOTE note.txt Notes notes.txt ");
  EXPECT_EQ(SortedNames(prefixed, -1), L"notes.txt Notes note.txt NOTE ");
  for (int code : {2, -2, 3, -3})  // equal sizes and times compare equal
    EXPECT_EQ(CompareEntries(Entry(L"x", false, 1, 7), Entry(L"y", false, 1, 7), code), 0) << code;
}

TEST(ListColumns, AHeaderTapSortsAscendingAndASecondTapReverses) {
  int code = 0;
  code = NextSortCode(code, 1);
  EXPECT_EQ(code, 2);
  code = NextSortCode(code, 1);
  EXPECT_EQ(code, -2);
  code = NextSortCode(code, 1);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(NextSortCode(-2, 0), 1);  // another column starts ascending
}

TEST(FilterList, ReadsPairsAndSplitsPatterns) {
  const wchar_t list[] = L"Usual\0*.c; *.h;;\t*.txt \0All\0*.*\0Dangling\0";
  std::vector<Filter> filters = ReadFilterList(list);
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0].description, L"Usual");
  EXPECT_EQ(filters[0].patterns, (std::vector<std::wstring>{L"*.c", L"*.h", L"*.txt"}));
  EXPECT_EQ(filters[1].patterns, (std::vector<std::wstring>{L"*.*"}));
  EXPECT_TRUE(ReadFilterList(nullptr).empty());
  EXPECT_TRUE(SplitPatterns(L" ; ;").empty());

  EXPECT_TRUE(PassesFilter(L"main.C", filters[0].patterns));
  EXPECT_FALSE(PassesFilter(L"main.cpp", filters[0].patterns));
  EXPECT_TRUE(PassesFilter(L"anything", {}));
  // All Files lists names without a dot as well; a pattern with an extension does not.
  EXPECT_TRUE(PassesFilter(L"Makefile", filters[1].patterns));
  EXPECT_TRUE(PassesFilter(L"README", {L"read*.*"}));
  EXPECT_FALSE(PassesFilter(L"Makefile", filters[0].patterns));
  EXPECT_FALSE(PassesFilter(L"notes", {L"x*.*"}));
}

}  // namespace
