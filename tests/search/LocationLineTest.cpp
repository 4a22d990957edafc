// Reading the place a line names: each form compilers, grep and Find in Files write, paths
// with drives, blanks and parentheses, lines that only look like places, columns counted in
// characters, and stepping through the place lines of a document.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Paths.h"
#include "search/LocationLine.h"
#include "text/Document.h"
#include "text/TextTestUtil.h"

namespace {

TEST(LocationLineTest, ReadsEveryFormWithItsPathLineAndColumn) {
  struct Case { const wchar_t* line; const wchar_t* path; int number, column; } cases[] = {
      {L"sub\\helper.c(2): int x;", L"sub\\helper.c", 2, 0},
      {L"main.c(12,5): error C2065: 'y': undeclared", L"main.c", 12, 5},
      {L"main.c(12) : warning C4101", L"main.c", 12, 0},
      {L"sub/helper.c:2:5: error: expected ';'", L"sub/helper.c", 2, 5},
      {L"Makefile:12: recipe for target 'all' failed", L"Makefile", 12, 0},
      {L"src/a.c:7:int main(void) {", L"src/a.c", 7, 0},  // grep -n
      {L"  a.c:3: note", L"a.c", 3, 0},
      {L"In file included from src/x.h:4:", L"src/x.h", 4, 0},
      {L"                 from src/y.c:5:", L"src/y.c", 5, 0},
      {L"In file included from a.h:2,", L"a.h", 2, 0},
      {L"                 from b h.h:30,", L"b h.h", 30, 0},
      {L"C:\\work\\a.c(3): x", L"C:\\work\\a.c", 3, 0},
      {L"c:/work/a.c:3:9: error", L"c:/work/a.c", 3, 9},
      {L"\\\\server\\share\\a.c:30: x", L"\\\\server\\share\\a.c", 30, 0},
      {L"C:\\Program Files (x86)\\kit\\my file.h(40,2): error", L"C:\\Program Files (x86)\\kit\\my file.h", 40, 2},
      {L"dir (2)\\a(1).c:8: x", L"dir (2)\\a(1).c", 8, 0},
      {L"/usr/src/a.c:1:1: fatal error", L"/usr/src/a.c", 1, 1},
      {L"../up.c:2:", L"../up.c", 2, 0},
      {L"from notes.txt(4): a file named so", L"from notes.txt", 4, 0},
      {L"2024(3): a file named by a year", L"2024", 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.line, c.line + wcslen(c.line)));
    const std::optional<Location> place = ParseLocation(c.line);
    ASSERT_TRUE(place.has_value());
    EXPECT_EQ(place->path, c.path);
    EXPECT_EQ(place->line, c.number);
    EXPECT_EQ(place->column, c.column);
  }
}

TEST(LocationLineTest, LinesThatOnlyLookLikePlacesAreNone) {
  const wchar_t* lines[] = {
      L"", L"plain text", L"a.c: In function 'main':", L"warning: unused variable",
      L"12:30:45 started",               // a time: the path would be a bare number
      L"see foo (12): bar",              // a blank before the parenthesis
      L"std::vector<int> v;",            // no number after the colon
      L"case 1: x = f(2); break;",
      L"a ? b(1) : c",                   // "?" is no character of a file name
      L"printf(\"%d(2): x\");",
      L"make: *** [Makefile:12: all] Error 1",
      L"a.c(x): y", L"a.c(3,): y", L"a.c(3) y", L"a.c:3", L"a.c:0: line zero",
      L"a.c:3, b.c:4",                   // a comma ends the number only in an include chain
      L"a.c:1234567890: too long a number",
      L"http://example.com:8080/x: y",
      L"N hits in M files (K files searched)",
  };
  for (const wchar_t* line : lines) {
    EXPECT_FALSE(ParseLocation(line).has_value()) << std::string(line, line + wcslen(line));
  }
}

TEST(LocationLineTest, ColumnsCountCharactersNotUnits) {
  const std::wstring line = L"a\xD83D\xDE00" L"b\tc";  // U+1F600 as a surrogate pair
  struct Case { int column, index; } cases[] = {
      {0, 0}, {1, 0}, {2, 1}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {99, 6}};
  for (const Case& c : cases) EXPECT_EQ(IndexOfColumn(line, c.column), c.index) << c.column;
}

TEST(LocationLineTest, FindsTheNextAndPreviousPlaceLineWithoutWrapping) {
  Document document;
  SetLines(document, {L"a.c(1): x", L"text", L"b.c:2: y", L"", L"3 hits in 2 files (9 files searched)"});
  struct Case { int from; bool forward; int expected; } cases[] = {
      {-1, true, 0}, {0, true, 2}, {2, true, -1}, {4, false, 2}, {2, false, 0}, {0, false, -1},
      {99, false, 2}, {99, true, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(FindLocationLine(document, c.from, c.forward), c.expected)
        << c.from << (c.forward ? " forward" : " backward");
  }
}

TEST(LocationLineTest, PathsResolveAgainstTheFolderOfTheirLine) {
  struct Case { const wchar_t* folder; const wchar_t* path; const wchar_t* expected; } cases[] = {
      {L"C:\\work", L"sub/helper.c", L"C:\\work\\sub\\helper.c"},
      {L"C:\\work\\", L".\\a.c", L"C:\\work\\a.c"},
      {L"C:\\work\\src", L"..\\include\\b.h", L"C:\\work\\include\\b.h"},
      {L"C:\\work", L"..\\..\\..\\b.h", L"C:\\b.h"},
      {L"C:\\work", L"D:/other//x.c", L"D:\\other\\x.c"},
      {L"C:\\work", L"/usr/src/a.c", L"C:\\usr\\src\\a.c"},
      {L"\\\\srv\\share\\dir", L"../a.c", L"\\\\srv\\share\\a.c"},
      {L"\\\\srv\\share", L"..\\..\\a.c", L"\\\\srv\\share\\a.c"},
      {L"\\home\\u", L"x (1)\\y.c", L"\\home\\u\\x (1)\\y.c"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ResolvePath(c.folder, c.path), c.expected)
        << std::string(c.path, c.path + wcslen(c.path));
  }
}

}  // namespace
