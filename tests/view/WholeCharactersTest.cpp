// A model test of the edit view's commands over text of every kind of character: whatever the
// keys, taps, finds, completions, undo steps and wrap changes, no character is cut, the caret
// and the anchor stand between whole characters on the columns they show, and the layout and
// the word index match the text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "FakeSurface.h"
#include "search/Navigation.h"
#include "search/SearchCommands.h"
#include "search/Searcher.h"
#include "text/EditModel.h"
#include "view/CaretCommands.h"
#include "view/Clipboard.h"
#include "view/Completion.h"
#include "view/Editing.h"
#include "view/Grid.h"
#include "view/Keys.h"
#include "view/Mouse.h"

namespace {

// Whole characters the text is made of; each begins with a unit no other one holds, so a text
// cut inside one of them no longer reads as a sequence of them.
const std::vector<std::wstring> pieces = {L"a", L"b", L" ", L"\t", L"(", L")", L"\u4E2D",
                                          L"e\u0301", L"\xD83D\xDE00", L"\u0301"};

bool MadeOfPieces(const std::wstring& text) {
  for (std::size_t i = 0; i < text.size();) {
    std::size_t longest = 0;
    for (const std::wstring& piece : pieces)
      if (text.compare(i, piece.size(), piece) == 0) longest = std::max(longest, piece.size());
    if (longest == 0) return false;
    i += longest;
  }
  return true;
}

std::string PositionProblem(const TextPos& pos, const char* what) {
  const Line& line = pos.document->lines[pos.line];
  if (!IsCharacterBoundary(line.Text(), static_cast<std::size_t>(pos.index)))
    return std::string(what) + " inside a character";
  TextPos fresh = pos;
  ComputeVisualColumn(fresh);
  if (fresh.visualColumn != pos.visualColumn || fresh.segment != pos.segment)
    return std::string(what) + " column";
  const int start = pos.segment > 0 ? line.SegmentEnd(pos.segment - 1) : 0;
  if (pos.index < start || pos.index > line.SegmentEnd(pos.segment))
    return std::string(what) + " segment";
  return {};
}

std::string Problem(const ViewFixture& f) {
  for (const std::wstring& line : f.Lines())
    if (!MadeOfPieces(line)) return "a cut character";
  if (auto problem = PositionProblem(f.view.caret, "caret"); !problem.empty()) return problem;
  if (f.view.selectionActive)
    if (auto problem = PositionProblem(f.view.anchor, "anchor"); !problem.empty()) return problem;
  return {};
}

TEST(WholeCharactersTest, NoCommandCutsACharacterOrStopsInsideOne) {
  std::mt19937 random(36);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  // A lone mark may be typed, but a find text of one would rightly find it on a letter.
  const auto pieceText = [&](int count, bool loneMark = true) {
    std::wstring text;
    const int kinds = static_cast<int>(pieces.size()) - (loneMark ? 0 : 1);
    for (int i = 0; i < count; ++i) text += pieces[static_cast<std::size_t>(pick(kinds))];
    return text;
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<std::wstring> lines;
    for (int i = 1 + pick(4); i > 0; --i) lines.push_back(pieceText(pick(14)));
    DocClass settings = PlainSettings(pick(2) == 1, 1 + pick(4));
    settings.relindent = pick(3);
    ViewFixture f(lines, 6 + pick(6), 4, settings);
    Searcher searcher;
    std::string trail;
    for (int step = 0; step < 60; ++step) {
      const int action = pick(16);
      trail += std::to_string(action) + " ";
      switch (action) {
        case 0: case 1: case 2: {
          static const unsigned keys[] = {keyBack, keyTab, keyPageUp, keyPageDown, keyEnd, keyHome,
                                          keyLeft, keyUp, keyRight, keyDown, keyDelete};
          OnKeyDown(f.view, keys[pick(std::size(keys))], pick(2) == 1, pick(3) == 0);
          break;
        }
        case 3: {
          const std::wstring text = pieceText(1);
          for (wchar_t ch : text) OnChar(f.view, ch);
          break;
        }
        case 4: {
          const int x = 10 + pick(14 * 8), y = pick(5 * 16);
          OnPress(f.view, x, y, pick(3) == 0, false);
          if (pick(2)) OnDrag(f.view, 10 + pick(14 * 8), pick(5 * 16));
          OnRelease(f.view, x, y);
          break;
        }
        case 5: OnDoubleTap(f.view, 10 + pick(14 * 8), pick(5 * 16), false); break;
        case 6: UndoEdit(f.view); break;
        case 7: RedoEdit(f.view); break;
        case 8: GotoLine(f.view, pick(5)); break;
        case 9: MatchPair(f.view); break;
        case 10:
          searcher.SetFindText(pieceText(1 + pick(2), false));
          searcher.SetReplaceText(pieceText(pick(2)));
          pick(2) ? (void)FindNext(f.view, searcher) : (void)FindPrevious(f.view, searcher);
          break;
        case 11: pick(3) ? ReplaceNext(f.view, searcher) : (void)ReplaceAll(f.view, searcher); break;
        case 12: {
          Document* documents[] = {f.document.get()};
          CompletionList list;
          if (list.Start(f.view, documents) == CompletionList::Outcome::listed) {
            list.Move(pick(3));
            list.Take(f.view);
          }
          break;
        }
        case 13: {
          DocClass changed = settings;
          changed.wordwrap = pick(2) == 1;
          ApplyLayoutSettings(f.view, changed);
          OnViewSize(f.view, 10 + (3 + pick(10)) * 8 + 2, 4 * 16);
          break;
        }
        case 14:
          pick(2) ? (void)CutSelection(f.view, L"") : (void)CopySelection(f.view, L"");
          break;
        case 15: PasteClipboard(f.view); break;
      }
      const std::string problem = Problem(f);
      ASSERT_TRUE(problem.empty()) << problem << " in round " << round << " after " << trail;
    }
    ASSERT_EQ(LayoutDifference(*f.document), "") << round;
    if (f.document->words) {
      ASSERT_EQ(WordIndexDifference(*f.document), "") << round;
    }
  }
}

}  // namespace
