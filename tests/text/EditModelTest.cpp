// Thousands of random edits, undos and redos against a plain model of the text: after every
// step the incremental layout must equal a layout from scratch, the text the model's, the word
// index the one built from the text, and each Undo and Redo must bring back the text of the
// history depth it arrives at.
#include <gtest/gtest.h>

#include <random>

#include "text/EditModel.h"
#include "text/Edit.h"
#include "text/Journal.h"
#include "syntax/TestSyntax.h"
#include "text/UndoHistory.h"
#include "TempFolder.h"
#include "text/TextFile.h"

namespace {

// The layout of document equals the layout of the same text made from scratch.
void ExpectConsistentLayout(const Document& document, int step) {
  ASSERT_EQ(LayoutDifference(document), "") << "step " << step;
}

class RandomEdits {
 public:
  explicit RandomEdits(unsigned seed) : random_(seed) {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  TextPlace Place(const Lines& lines) {
    int line = Below(static_cast<int>(lines.size()));
    return {Below(static_cast<int>(lines[line].size()) + 1), line};
  }

  std::wstring Text() {
    static const wchar_t* const pieces[] = {L"a", L"b", L" ", L"\t", L"\r", L"\n", L"\r\n", L"xyz",
                                            L"word ", L"  ", L"longerwordthanawrap", L"/*", L"*/", L"\"", L"//",
                                            L"'", L"\\", L"<", L">"};
    std::wstring text;
    for (int n = Below(5); n > 0; --n) text += pieces[Below(std::size(pieces))];
    return text;
  }

  // A line of up to eight words: one row or several under word wrap.
  std::wstring Line() {
    std::wstring line(static_cast<std::size_t>(Below(3)), L'\t');
    for (int n = Below(9); n > 0; --n) line += std::wstring(static_cast<std::size_t>(1 + Below(6)), L'w') + L" ";
    return line;
  }

  // count lines, each ended by a line break.
  std::wstring ManyLines(int count) {
    std::wstring text;
    for (int n = 0; n < count; ++n) text += Line() + (Below(2) ? L"\n" : L"\r\n");
    return text;
  }

 private:
  std::mt19937 random_;
};

// file: the bytes the document is loaded from; null for a document of typed lines.
// reach: how far a line may lie from its characters (see Line::SetReachForTests).
struct ModelCase {
  const char* name;
  DocClass settings;
  int wrapWidth;
  const char* file = nullptr;
  long long reach = -1;
};

std::vector<bool> LineEndsOf(const Document& document) {
  std::vector<bool> ends;
  for (int i = 0; i < document.LineCount(); ++i) ends.push_back(document.lines[i].EndsInLineFeed());
  return ends;
}

// The document the case starts from.
std::unique_ptr<Document> StartDocument(const ModelCase& c, const TempFolder& folder) {
  if (!c.file) return MakeDocument({L"int main() {", L"\treturn 0;", L"", L"}  // end of a fairly long line"},
                                   c.settings, c.wrapWidth);
  auto document = MakeDocument({L""}, c.settings, c.wrapWidth);
  if (!LoadText(*document, folder.Path(L"in.txt"))) return nullptr;
  return document;
}

DocClass WithSyntax(DocClass settings) {
  settings.hassyntax = true;
  settings.syntax = &CLikeSyntax();
  return settings;
}

}  // namespace

TEST(EditModel, RandomEditsUndosAndRedosKeepTextAndLayoutExact) {
  const ModelCase cases[] = {
      {"wrap off, tab 4", Settings(false, 4, 2), 80},
      {"wrap 12, tab 4, indent", Settings(true, 4, 2, true), 12},
      {"wrap 7, tab 3, large relindent", Settings(true, 3, 6), 7},
      {"wrap 20, tab 8", Settings(true, 8, 0), 20},
      {"wrap 12 with syntax", WithSyntax(Settings(true, 4, 2)), 12},
      {"wrap off with syntax", WithSyntax(Settings(false, 4, 2)), 80},
      // Loaded: lines kept in the file's bytes, mixed line ends, lone carriage returns.
      {"loaded code page file, wrap 12", Settings(true, 4, 2), 12,
       "int main() {\r\n\treturn 0;\n\ra\rb\n\xE9t\xE9  // end of a fairly long line\r\n"},
      // The same with every line too far from its bytes to keep only the distance to them.
      {"loaded code page file, out of reach", Settings(true, 4, 2), 12,
       "int main() {\r\n\treturn 0;\n\ra\rb\n\xE9t\xE9  // end of a fairly long line\r\n", 0},
      {"loaded UTF-8 file with syntax", WithSyntax(Settings(false, 4, 2)), 80,
       "\xEF\xBB\xBF/* \xC3\xA9 */\nx\r\n\r\n\"s\\\"\n"},
  };
  unsigned seed = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    if (c.file) folder.Write(L"in.txt", c.file);
    Line::SetReachForTests(c.reach);
    auto document = StartDocument(c, folder);
    Line::SetReachForTests(-1);
    ASSERT_TRUE(document);
    const Lines original = LinesOf(*document);
    const std::vector<bool> originalEnds = LineEndsOf(*document);
    Lines model = original;
    HistoryModel history(original);
    RandomEdits random(seed++);
    // Every change as the recovery journal records it, read back and replayed at the end.
    // The word index still being built: it counts a few more lines now and then.
    AttachWordIndex(*document, static_cast<std::size_t>(random.Below(40)));
    std::string journal = EncodeJournalHeader({}, L"doc1");
    document->onReplace = [&](const TextPos& from, const TextPos& to, std::wstring_view text) {
      AppendJournalChange(journal, from.index, from.line, to.index, to.line, text);
    };
    int lastKind = editOther;
    TextPlace lastFrom, lastEnd;
    for (int step = 0; step < 1500; ++step) {
      int action = random.Below(10);
      if (random.Below(8) == 0) document->words->CountLines(*document, static_cast<std::size_t>(random.Below(30)));
      if (action <= 1) {
        ASSERT_EQ(history.Step(*document, action == 1), "") << "step " << step;
        model = LinesOf(*document);
      } else {
        TextPlace from = random.Place(model), to = random.Place(model);
        if (random.Below(3) == 0) to = from;  // many pure insertions, as typing makes them
        std::wstring text = random.Text();
        int kind = random.Below(6);
        if (random.Below(2) == 0) {
          // Continue a run where the last one stands, as typing and deleting do; the change
          // itself may or may not have the shape its kind is meant for.
          kind = lastKind;
          from = kind == editDeleteForward ? lastFrom : lastEnd;
          if (kind == editDeleteBackward) {
            TextPos left = PosAt(*document, lastFrom.line, lastFrom.index);
            MoveLeft(left);
            from = {left.index, left.line};
          }
          from.line = std::min(from.line, static_cast<int>(model.size()) - 1);
          from.index = std::min(from.index, static_cast<int>(model[from.line].size()));
          to = from;
          if (random.Below(2) == 0) {
            TextPos right = PosAt(*document, from.line, from.index);
            MoveRight(right);
            to = {right.index, right.line};
            text.clear();
          }
        }
        lastKind = kind;
        lastFrom = from;
        std::vector<std::uint32_t> states;
        for (int i = 0; i < document->LineCount(); ++i) states.push_back(document->lines[i].State());
        ChangeRecord change = ReplaceText(*document, PosAt(*document, from.line, from.index),
                                          PosAt(*document, to.line, to.index), text, kind);
        // The rows reported changed reach every line below whose state the edit changed.
        const int added = document->LineCount() - static_cast<int>(states.size());
        for (int i = change.endLine + 1; i < document->LineCount(); ++i) {
          if (i - added >= 0 && states[i - added] != document->lines[i].State()) {
            ASSERT_LE(RowsBefore(*document, i + 1) - 1, change.lastRow) << "step " << step << " line " << i;
          }
        }
        TextPlace end = ModelReplace(model, from, to, text);
        lastEnd = end;
        ASSERT_EQ(LinesOf(*document), model) << "step " << step;
        ASSERT_EQ((TextPlace{change.endIndex, change.endLine}), end) << "step " << step;
        ASSERT_EQ(history.AfterEdit(*document), "") << "step " << step;
      }
      ASSERT_NO_FATAL_FAILURE(ExpectConsistentLayout(*document, step));
      ASSERT_EQ(WordIndexDifference(*document), "") << "step " << step;
    }
    while (CanRedo(*document->undo)) Redo(*document->undo);
    const Lines final = LinesOf(*document);
    std::optional<JournalContents> read = ParseJournal(journal);
    ASSERT_TRUE(read);
    auto replayed = StartDocument(c, folder);
    ReplayJournal(*replayed, read->changes);
    EXPECT_EQ(LinesOf(*replayed), final);
    EXPECT_EQ(LineEndsOf(*replayed), LineEndsOf(*document));
    ExpectConsistentLayout(*replayed, -3);
    // The replay is one step back to the saved text.
    Undo(*replayed->undo);
    EXPECT_EQ(LinesOf(*replayed), original);
    EXPECT_FALSE(replayed->modified);
    while (CanUndo(*document->undo)) Undo(*document->undo);
    EXPECT_EQ(LinesOf(*document), original);
    EXPECT_EQ(LineEndsOf(*document), originalEnds);
    ExpectConsistentLayout(*document, -1);
    EXPECT_EQ(WordIndexDifference(*document), "");
    if (c.file) {
      // Every edit undone, the file is saved back byte for byte.
      ASSERT_TRUE(SaveText(*document, folder.Path(L"out.txt")));
      EXPECT_EQ(folder.Read(L"out.txt"), c.file);
    }
    while (CanRedo(*document->undo)) Redo(*document->undo);
    EXPECT_EQ(LinesOf(*document), final);
    ExpectConsistentLayout(*document, -2);
  }
}

// Long documents, wrapped or not, loaded or typed: pastes and deletions of up to 150 lines move
// lines across the blocks the row totals are kept by, typing changes the rows of a line, and
// after every edit, undo, redo and relayout the row totals are the lines' rows added up.
TEST(EditModel, RowTotalsStayExactWhileManyLinesComeAndGo) {
  struct Case { const char* name; DocClass settings; int wrapWidth; bool loaded; };
  const Case cases[] = {
      {"wrap 12, loaded", Settings(true, 4, 2), 12, true},
      {"wrap off", Settings(false, 4, 2), 80, false},
      {"wrap 9 with syntax", WithSyntax(Settings(true, 4, 2)), 9, false},
  };
  unsigned seed = 100;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RandomEdits random(seed++);
    const std::wstring first = random.ManyLines(300);
    auto document = MakeDocument({L""}, c.settings, c.wrapWidth);
    TempFolder folder;
    if (c.loaded) {
      folder.Write(L"in.txt", std::string(first.begin(), first.end()));
      ASSERT_TRUE(LoadText(*document, folder.Path(L"in.txt")));
    }
    HistoryModel history(LinesOf(*document));
    if (!c.loaded) {
      ReplaceText(*document, PosAt(*document, 0, 0), PosAt(*document, 0, 0), first, editOther);
      ASSERT_EQ(history.AfterEdit(*document), "");
    }
    Lines model = LinesOf(*document);
    ASSERT_EQ(LayoutDifference(*document), "");
    for (int step = 0; step < 300; ++step) {
      const int action = random.Below(12);
      if (action <= 1) {
        ASSERT_EQ(history.Step(*document, action == 1), "") << "step " << step;
        model = LinesOf(*document);
      } else if (action == 2) {
        TextClass other = document->settings;
        other.wordwrap = !other.wordwrap;
        Relayout(*document, other, c.wrapWidth);
      } else {
        TextPlace from = random.Place(model), to = from;
        std::wstring text;
        const int size = static_cast<int>(model.size());
        if (action <= 6 && (size > 400 || random.Below(2) == 0)) {
          to.line = std::min(size - 1, from.line + random.Below(150));
          to.index = random.Below(static_cast<int>(model[to.line].size()) + 1);
        } else if (action <= 6) {
          text = random.ManyLines(random.Below(150)) + random.Text();
        } else {
          text = random.Text();
          to.index = std::min(static_cast<int>(model[from.line].size()), from.index + random.Below(4));
        }
        ReplaceText(*document, PosAt(*document, from.line, from.index), PosAt(*document, to.line, to.index),
                    text, editOther);
        ModelReplace(model, from, to, text);
        ASSERT_EQ(LinesOf(*document), model) << "step " << step;
        ASSERT_EQ(history.AfterEdit(*document), "") << "step " << step;
      }
      ASSERT_EQ(LayoutDifference(*document), "") << "step " << step;
    }
  }
}
