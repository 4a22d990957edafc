// The General page's filter list: names with pattern entries, blanks removed, Up and Modify.
#include "config/FilterList.h"

#include <gtest/gtest.h>

#include "syntax/ConfigFile.h"

namespace {

using Names = std::vector<std::wstring>;

TEST(FilterList, AddRemovesBlanksAndRefusesDuplicatesAndEmptyPatterns) {
  FilterList filters = FilterList::FromStringList(JoinStringList({L"Text Files", L"*.txt"}));
  EXPECT_TRUE(filters.Add(L"C files", L"* .c ; *.h"));
  EXPECT_FALSE(filters.Add(L"c FILES", L"*.x"));
  EXPECT_FALSE(filters.Add(L"Blank", L" \t "));
  EXPECT_EQ(filters.ToStringList(),
            JoinStringList({L"Text Files", L"*.txt", L"C files", L"*.c;*.h"}));
}

TEST(FilterList, UpSwapsNamesWithTheirPatterns) {
  FilterList filters =
      FilterList::FromStringList(JoinStringList({L"A", L"*.a", L"B", L"*.b", L"C", L"*.c"}));
  EXPECT_FALSE(filters.MoveUp(0));
  EXPECT_TRUE(filters.MoveUp(2));
  EXPECT_EQ(filters.ToStringList(), JoinStringList({L"A", L"*.a", L"C", L"*.c", L"B", L"*.b"}));
}

TEST(FilterList, ModifyAndRemoveFindTheNameIgnoringCase) {
  FilterList filters = FilterList::FromStringList(JoinStringList({L"A", L"*.a", L"B", L"*.b"}));
  EXPECT_TRUE(filters.Modify(L"b", L"*.b ;*.bb"));
  EXPECT_FALSE(filters.Modify(L"Z", L"*.z"));
  EXPECT_FALSE(filters.Modify(L"A", L" "));
  EXPECT_TRUE(filters.Remove(L"a"));
  EXPECT_FALSE(filters.Remove(L"a"));
  EXPECT_EQ(filters.ToStringList(), JoinStringList({L"B", L"*.b;*.bb"}));
}

TEST(FilterList, ANameWithoutPatternIsShownButNotStored) {
  FilterList filters = FilterList::FromStringList(JoinStringList({L"A", L"*.a", L"Odd"}));
  EXPECT_EQ(filters.Names(), (Names{L"A", L"Odd"}));
  EXPECT_EQ(filters.PatternOf(0), L"*.a");
  EXPECT_EQ(filters.PatternOf(1), L"");
  EXPECT_EQ(filters.PatternOf(5), L"");
  EXPECT_FALSE(filters.MoveUp(1));  // it stays last
  // A pair added keeps every pattern with its name.
  EXPECT_TRUE(filters.Add(L"B", L"*.b"));
  EXPECT_EQ(filters.Names(), (Names{L"A", L"B", L"Odd"}));
  EXPECT_EQ(filters.ToStringList(), JoinStringList({L"A", L"*.a", L"B", L"*.b"}));
  FilterList removed = filters;
  EXPECT_TRUE(removed.Remove(L"Odd"));
  EXPECT_EQ(removed.ToStringList(), filters.ToStringList());
  // Modify gives it an entry of its own.
  EXPECT_TRUE(filters.Modify(L"Odd", L"*.o"));
  EXPECT_EQ(filters.PatternOf(2), L"*.o");
}

}  // namespace
