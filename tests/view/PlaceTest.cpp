// A view's place taken and given back: the selection and the scroll position, brought into a
// text that changed, on screen and off it.
#include <gtest/gtest.h>

#include "FakeSurface.h"
#include "view/Place.h"

namespace {

std::vector<std::wstring> Lines(int count) {
  std::vector<std::wstring> lines;
  for (int i = 0; i < count; ++i) lines.push_back(L"line " + std::to_wstring(i));
  lines.back() = L"ab\xD83D\xDE00z";
  return lines;
}

TEST(Place, ComesBackBroughtIntoTheTextAsItIsNow) {
  struct Case {
    ViewPlace place;
    ViewPlace expected;
    bool onScreen = true;
  } cases[] = {
      {{30, 4, 28, 0, 25, 0}, {30, 4, 28, 0, 25, 0}},  // a selection, scrolled
      // The file lost lines: the last line's end, the last page.
      {{80, 99, 80, 99, 78, 0}, {59, 5, 59, 5, 50, 0}},
      // An index inside a character of two units goes to its start; a caret off screen is
      // brought into view.
      {{59, 3, 2, 7, 0, 0}, {59, 2, 2, 6, 50, 0}},
      // Not on screen, the window is left alone: showing the view scrolls and places the caret.
      {{59, 3, 2, 7, 90, 0}, {59, 2, 2, 6, 59, 0}, false},
      // A column far beyond any line (a damaged file) goes to the widest line's end, 7, and on
      // screen back to where the caret shows.
      {{0, 0, 0, 0, 0, 2147483647}, {0, 0, 0, 0, 0, 0}},
      {{0, 0, 0, 0, 0, 2147483647}, {0, 0, 0, 0, 0, 7}, false},
  };
  for (const Case& c : cases) {
    ViewFixture f(Lines(60), 20, 10);
    const std::wstring lineNumber = f.frame.lineNumber;
    ReturnToPlace(f.view, c.place, c.onScreen);
    EXPECT_EQ(PlaceOfView(f.view), c.expected) << c.place.firstRow;
    int dx = 0, dy = 0;
    if (c.onScreen) {
      EXPECT_TRUE(IsPosVisible(f.view, f.view.caret, dx, dy)) << c.place.firstRow;
      EXPECT_EQ(f.frame.lineNumber, std::to_wstring(c.expected.caretLine + 1));
    } else {
      EXPECT_EQ(f.frame.lineNumber, lineNumber);
      EXPECT_TRUE(f.surface.scrolled.empty() && f.surface.invalidated.empty());
    }
  }
}

}  // namespace
