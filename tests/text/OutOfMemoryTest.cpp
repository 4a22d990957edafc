// Edits, undos, redos and journal replays that run out of memory at every allocation they make in
// turn: each either happens whole or leaves the text, its layout, its undo history and its
// journal exactly as they were. A binary of its own, as it replaces the global allocator.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <utility>

#include "TempFolder.h"
#include "platform/Platform.h"
#include "syntax/TestSyntax.h"
#include "text/EditModel.h"
#include "text/Edit.h"
#include "text/Journal.h"
#include "text/TextFile.h"
#include "text/UndoHistory.h"

// The replacements below pair malloc with free; the compiler cannot see that through new.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
// Allocations that may still succeed; negative: no fault armed.
long long allocationsLeft = -1;
}  // namespace

void* operator new(std::size_t size) {
  if (allocationsLeft == 0) throw std::bad_alloc();
  if (allocationsLeft > 0) --allocationsLeft;
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

// What a failed edit must leave as it was.
struct Snapshot {
  Lines lines;
  std::vector<bool> lineFeeds;
  std::vector<UndoRecord> undo, redo;
  std::string journal;
  bool modified;

  Snapshot(const Document& document, const std::string& journalBytes)
      : lines(LinesOf(document)), journal(journalBytes), modified(document.modified) {
    for (int i = 0; i < document.LineCount(); ++i) lineFeeds.push_back(document.lines[i].EndsInLineFeed());
    undo = document.undo->undoList;
    if (document.undo->redoList) redo = *document.undo->redoList;
  }
  bool operator==(const Snapshot&) const = default;
};

// Runs step with the n-th allocation (large blocks of the text store too) failing, for n = 0, 1,
// ... until it succeeds; after every failure the document must be as before, and the journal
// replayed on the first text must give it. Each n is tried twice: a failed try may leave a
// container grown, so that the second makes fewer allocations before the n-th and so reaches one
// that comes later (the last one of an edit included).
void FailEveryAllocationOf(Document& document, const std::string& journal, const Lines& first,
                           const std::function<void()>& step, const char* what) {
  for (long long n = 0;; ++n) {
    for (int attempt = 0; attempt < 2; ++attempt) {
      const Snapshot before(document, journal);
      allocationsLeft = n;
      platform::testing::FailLargeBlocksAfter(n);
      bool failed = false;
      try {
        step();
      } catch (const std::bad_alloc&) {
        failed = true;
      }
      allocationsLeft = -1;
      platform::testing::FailLargeBlocksAfter(-1);
      if (!failed) return;
      ASSERT_TRUE(Snapshot(document, journal) == before) << what << ", allocation " << n;
      ASSERT_EQ(LayoutDifference(document), "") << what << ", allocation " << n;
      auto replayed = MakeDocument(first, document.settings, document.wrapWidth, document.highlighter);
      ReplayJournal(*replayed, ParseJournal(journal)->changes);
      ASSERT_EQ(LinesOf(*replayed), LinesOf(document)) << what << ", allocation " << n;
    }
    ASSERT_LT(n, 10000) << what << " never succeeds";
  }
}

}  // namespace

TEST(OutOfMemory, AnEditThatRunsOutOfMemoryLeavesTextHistoryAndJournalAsTheyWere) {
  struct {
    const char* name;
    bool wordwrap;
    int lines;  // 4096 fills the first block of the line pool: a new line needs another
    bool wide = false;  // lines wider than the line widths' table
    // Highlighted, with lines below the edits that end a comment far into them once one is
    // opened above: the states walked down after the edit give them far construct positions.
    bool farConstructs = false;
  } const cases[] = {{"wrap off", false, 3}, {"wrap on", true, 3}, {"a full line pool", false, 4096},
                     {"wide lines", false, 3, true}, {"far constructs", false, 6, false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Lines first(static_cast<std::size_t>(c.lines), L"some words of a line");
    first[1] = L"\tthe second line, long enough to wrap";
    if (c.wide) {
      for (std::wstring& line : first) line += std::wstring(5000, L'w');
    }
    DocClass settings = Settings(c.wordwrap, 4, 2);
    if (c.farConstructs) {
      for (std::size_t i = 3; i < first.size(); ++i) first[i] = std::wstring(150, L'a') + L"*/";
      settings.hassyntax = true;
      settings.syntax = &CLikeSyntax();
    }
    auto document = MakeDocument(first, settings, c.wordwrap ? 12 : 80);
    if (c.farConstructs) {
      // Loaded, so that the lines are as small as a file's lines are: no block of their own.
      std::string bytes;
      for (const std::wstring& line : first) bytes += std::string(line.begin(), line.end()) + "\r\n";
      bytes.resize(bytes.size() - 2);
      const TempFolder folder;
      folder.Write(L"far.c", bytes);
      ASSERT_TRUE(LoadText(*document, folder.Path(L"far.c")));
    }
    std::string journal = EncodeJournalHeader({}, L"doc1");
    document->onReplace = [&](const TextPos& from, const TextPos& to, std::wstring_view text) {
      AppendJournalChange(journal, from.index, from.line, to.index, to.line, text);
    };
    auto edit = [&](int line1, int index1, int line2, int index2, const wchar_t* text, int kind) {
      return [&, line1, index1, line2, index2, text, kind] {
        ReplaceText(*document, PosAt(*document, line1, index1), PosAt(*document, line2, index2), text, kind);
      };
    };
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"paste", edit(0, 5, 1, 4, L"pasted\r\nlines\nhere\r\n", editOther)},
        {"typing", edit(0, 2, 0, 2, L"x", editTyping)},
        {"more typing", edit(0, 3, 0, 3, L"y", editTyping)},
        {"backspace", edit(0, 4, 0, 3, L"", editDeleteBackward)},
        {"a joining deletion", edit(1, 0, 2, 3, L"", editOther)},
        {"a replacement", edit(0, 1, 0, 6, L"z", editReplace)},
        {"undo", [&] { Undo(*document->undo); }},
        {"another undo", [&] { Undo(*document->undo); }},
        {"redo", [&] { Redo(*document->undo); }},
        {"enter", edit(2, 0, 2, 0, L"\r\n", editOther)},
        {"a comment opened", edit(0, 0, 0, 0, L"/*", editOther)},
        {"the comment closed", edit(1, 0, 1, 0, L"*/", editOther)},
    };
    for (const auto& [what, step] : steps)
      ASSERT_NO_FATAL_FAILURE(FailEveryAllocationOf(*document, journal, first, step, what));
  }
}
