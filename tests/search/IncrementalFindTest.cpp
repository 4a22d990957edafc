// Find as you type on a view over the recording surface: every change of the find text selects
// the first hit from where the search began, wrapping, or goes back there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/IncrementalFind.h"
#include "search/Searcher.h"
#include "view/FakeSurface.h"

namespace {

using Result = IncrementalFind::Result;

struct TypingFixture : ViewFixture {
  Searcher searcher;
  IncrementalFind find;

  explicit TypingFixture(const std::vector<std::wstring>& lines) : ViewFixture(lines, 40, 10) {}

  // The find field's text becomes text, as typing or deleting in it makes it.
  Result Type(const std::wstring& text) {
    searcher.SetFindText(text);
    return find.Update(view, searcher);
  }
  // The selection as (anchor line, anchor index, caret line, caret index), or the caret alone.
  std::vector<int> Selection() const {
    if (!view.selectionActive) return {view.caret.line, view.caret.index};
    return {view.anchor.line, view.anchor.index, view.caret.line, view.caret.index};
  }
};

}  // namespace

TEST(IncrementalFind, EachTextSelectsTheFirstHitFromWhereTheSearchBeganAndWraps) {
  TypingFixture f({L"fox one", L"two foo", L"fob three"});
  f.Place(1, 2);
  f.find.Begin(f.view);
  EXPECT_EQ(f.Type(L"f"), Result::found);
  EXPECT_EQ(f.Selection(), (std::vector<int>{1, 4, 1, 5}));
  EXPECT_TRUE(f.view.findHitSelected);
  EXPECT_EQ(f.Type(L"fo"), Result::found);
  EXPECT_EQ(f.Selection(), (std::vector<int>{1, 4, 1, 6}));
  // Not from the last hit but from where the search began: "fob" lies after it.
  EXPECT_EQ(f.Type(L"fob"), Result::found);
  EXPECT_EQ(f.Selection(), (std::vector<int>{2, 0, 2, 3}));
  // Only before the start place: found by wrapping.
  EXPECT_EQ(f.Type(L"fox"), Result::found);
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 0, 0, 3}));
  // Deleting back to a shorter text finds the nearer hit again.
  EXPECT_EQ(f.Type(L"fo"), Result::found);
  EXPECT_EQ(f.Selection(), (std::vector<int>{1, 4, 1, 6}));
}

TEST(IncrementalFind, WithoutAHitTheViewGoesBackAsItWas) {
  TypingFixture f({L"alpha beta", L"gamma"});
  f.Select(0, 6, 0, 8);  // the user's selection "be"
  f.find.Begin(f.view);
  EXPECT_EQ(f.Type(L"gam"), Result::found);
  EXPECT_EQ(f.Selection(), (std::vector<int>{1, 0, 1, 3}));
  EXPECT_EQ(f.Type(L"gamz"), Result::notFound);
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 6, 0, 8}));
  EXPECT_FALSE(f.view.findHitSelected);
  EXPECT_EQ(f.Type(L""), Result::empty);
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 6, 0, 8}));
  // The search began at the start of the selection: a longer text still finds the hit there.
  EXPECT_EQ(f.Type(L"beta"), Result::found);
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 6, 0, 10}));
}

TEST(IncrementalFind, AnExpressionSearchesOnceItIsValid) {
  TypingFixture f({L"a1 b22 c333"});
  f.searcher.SetOption(searchRegularExpression, true);
  f.find.Begin(f.view);
  EXPECT_EQ(f.Type(L"b"), Result::found);
  EXPECT_EQ(f.Type(L"b("), Result::invalid);  // the hit of "b" stays
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 3, 0, 4}));
  EXPECT_EQ(f.Type(L"(b|c)\\d+"), Result::found);
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 3, 0, 6}));
}

TEST(IncrementalFind, ASearchBegunInAnotherViewBeginsAnewInThisOne) {
  TypingFixture f({L"one two"});
  TypingFixture g({L"two one"});
  f.Place(0, 7);
  f.find.Begin(f.view);
  g.Place(0, 3);
  g.searcher.SetFindText(L"two");
  EXPECT_EQ(f.find.Update(g.view, g.searcher), Result::found);
  EXPECT_EQ(g.Selection(), (std::vector<int>{0, 0, 0, 3}));  // from g's caret, wrapped
  EXPECT_EQ(f.Selection(), (std::vector<int>{0, 7}));
}
