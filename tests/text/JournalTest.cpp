// The recovery journal: records read back whole or not at all after any cut or damage, the
// writer's file follows the document's state, and a saved file is recognised only unchanged.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "TextTestUtil.h"
#include "platform/Platform.h"
#include "text/Edit.h"
#include "text/Journal.h"
#include "text/JournalWriter.h"
#include "text/TextFile.h"
#include "text/UndoHistory.h"

namespace {

const std::vector<JournalChange> someChanges = {
    {0, 0, 0, 0, L"typed"},
    {2, 0, 4, 1, L""},
    {1, 0, 1, 0, L"line\r\nbreak \x00e9\xd83d\xde00"},
    {0, 0, 0, 0, std::wstring(300, L'x')},
};

std::string JournalBytes(std::vector<std::size_t>& recordEnds) {
  SavedState saved{L"C:\\some\\file.txt", 1234, 5678, 0x0123456789abcdefULL};
  std::string bytes = EncodeJournalHeader(saved, L"file.txt", true);
  recordEnds.push_back(bytes.size());
  for (const JournalChange& c : someChanges) {
    AppendJournalChange(bytes, c.firstIndex, c.firstLine, c.secondIndex, c.secondLine, c.text);
    recordEnds.push_back(bytes.size());
  }
  return bytes;
}

// How many change records end at or before length.
std::size_t WholeChanges(const std::vector<std::size_t>& recordEnds, std::size_t length) {
  std::size_t whole = 0;
  for (std::size_t i = 1; i < recordEnds.size(); ++i)
    if (recordEnds[i] <= length) whole = i;
  return whole;
}

}  // namespace

TEST(Journal, CutAtEveryByteReadsTheWholeRecordsBeforeTheCut) {
  std::vector<std::size_t> ends;
  const std::string bytes = JournalBytes(ends);
  for (std::size_t length = 0; length <= bytes.size(); ++length) {
    std::optional<JournalContents> read = ParseJournal(std::string_view(bytes).substr(0, length));
    if (length < ends[0]) {
      EXPECT_FALSE(read) << "cut at " << length;
      continue;
    }
    ASSERT_TRUE(read) << "cut at " << length;
    EXPECT_EQ(read->saved, (SavedState{L"C:\\some\\file.txt", 1234, 5678, 0x0123456789abcdefULL}));
    EXPECT_EQ(read->name, L"file.txt");
    EXPECT_TRUE(read->savedKnown);
    std::vector<JournalChange> expected(someChanges.begin(),
                                        someChanges.begin() + WholeChanges(ends, length));
    EXPECT_EQ(read->changes, expected) << "cut at " << length;
  }
}

TEST(Journal, ADamagedByteEndsTheJournalBeforeItsRecord) {
  std::vector<std::size_t> ends;
  const std::string bytes = JournalBytes(ends);
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    std::string damaged = bytes;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
    std::optional<JournalContents> read = ParseJournal(damaged);
    if (at < ends[0]) {
      EXPECT_FALSE(read) << "damage at " << at;
      continue;
    }
    ASSERT_TRUE(read) << "damage at " << at;
    EXPECT_EQ(read->changes.size(), WholeChanges(ends, at)) << "damage at " << at;
  }
  // Records whose checksums hold but whose fields do not: a header with a byte after its
  // fields is no header; a change with one, at a place past INT_MAX, or with a text longer
  // than its record ends the journal.
  auto withPrefix = [](const std::string& payload) {
    std::string record;
    for (std::uint32_t word : {static_cast<std::uint32_t>(payload.size()), Crc32(payload)})
      for (int shift = 0; shift < 32; shift += 8) record += static_cast<char>(word >> shift);
    return record + payload;
  };
  const std::string header = EncodeJournalHeader({}, L"n", false);
  EXPECT_FALSE(ParseJournal(withPrefix(header.substr(8) + "x")));
  std::string negative, longText, plain;
  AppendJournalChange(negative, -1, 0, 0, 0, L"");
  AppendJournalChange(plain, 0, 0, 0, 0, L"");
  EXPECT_TRUE(ParseJournal(header + withPrefix(plain.substr(8) + "x"))->changes.empty());
  AppendJournalChange(longText, 0, 0, 0, 0, L"ab");
  longText[8 + 17] = 9;  // the text's length: 9 units where the record holds 2
  EXPECT_TRUE(ParseJournal(header + negative)->changes.empty());
  EXPECT_TRUE(ParseJournal(header + withPrefix(longText.substr(8)))->changes.empty());
}

TEST(Journal, WriterFollowsTheDocumentAndNamesTheSavedFile) {
  TempFolder folder;
  const std::wstring file = folder.Path(L"text.txt");
  folder.Write(L"text.txt", "one\r\ntwo\r\n");
  auto document = MakeDocument({L""}, Settings(false, 4, 0), 80);
  ASSERT_TRUE(LoadText(*document, file));
  // Read back while the writer holds it, as another program may.
  JournalWriter writer(folder.Path(L"1.fumj"));
  std::uint32_t clock = 0;
  document->onReplace = [&](const TextPos& from, const TextPos& to, std::wstring_view text) {
    writer.Add(from, to, text, clock);
  };
  writer.Begin(file);
  ReplaceText(*document, PosAt(*document, 0, 3), PosAt(*document, 1, 1), L"!\r\n", editOther);
  EXPECT_TRUE(writer.Pending());
  ASSERT_TRUE(writer.Write(document->modified, L"text.txt"));
  EXPECT_FALSE(writer.Pending());

  std::optional<JournalContents> read = ParseJournal(folder.Read(L"1.fumj"));
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->savedKnown);
  EXPECT_EQ(std::optional(read->saved), ReadSavedState(file));
  auto replayed = MakeDocument({L""}, Settings(false, 4, 0), 80);
  ASSERT_TRUE(LoadText(*replayed, file));
  ReplayJournal(*replayed, read->changes);
  EXPECT_EQ(LinesOf(*replayed), LinesOf(*document));

  // The change undone: the text is the file's again and the journal goes.
  Undo(*document->undo);
  ASSERT_TRUE(writer.Write(document->modified, L"text.txt"));
  EXPECT_FALSE(platform::FileExists(writer.Path()));
  // A later change starts from the saved text, in a journal of its own.
  ReplaceText(*document, PosAt(*document, 0, 0), PosAt(*document, 0, 0), L">", editTyping);
  ASSERT_TRUE(writer.Write(document->modified, L"text.txt"));
  ASSERT_TRUE((read = ParseJournal(folder.Read(L"1.fumj"))));
  EXPECT_EQ(read->changes, (std::vector<JournalChange>{{0, 0, 0, 0, L">"}}));
  // Saved again: the journal goes; a writer that goes takes its file along.
  writer.Begin(file);
  EXPECT_FALSE(platform::FileExists(writer.Path()));
  ReplaceText(*document, PosAt(*document, 0, 0), PosAt(*document, 0, 0), L"<", editTyping);
  ASSERT_TRUE(writer.Write(true, L"text.txt"));
  {
    JournalWriter gone(folder.Path(L"2.fumj"));
    gone.Begin(L"");
    gone.Add(PosAt(*document, 0, 0), PosAt(*document, 0, 0), L"x", 0);
    ASSERT_TRUE(gone.Write(true, L"doc1"));
    EXPECT_TRUE(platform::FileExists(gone.Path()));
    // A failed write drops the file; the next one writes every change afresh.
    gone.Add(PosAt(*document, 0, 0), PosAt(*document, 0, 0), L"y", 0);
    platform::testing::FailWritesAfter(0);
    EXPECT_FALSE(gone.Write(true, L"doc1"));
    platform::testing::FailWritesAfter(-1);
    EXPECT_FALSE(platform::FileExists(gone.Path()));
    ASSERT_TRUE(gone.Write(true, L"doc1"));
    EXPECT_EQ(ParseJournal(folder.Read(L"2.fumj"))->changes.size(), 2u);
  }
  EXPECT_FALSE(platform::FileExists(folder.Path(L"2.fumj")));
}

TEST(Journal, AFileChangedBeforeTheFirstWriteIsNotTakenForTheSavedOne) {
  // Its size tells, at the old time; or its time, in the same size.
  for (const std::string other : {"someone else's longer text", "two"}) {
    TempFolder folder;
    const std::wstring file = folder.Path(L"text.txt");
    folder.Write(L"text.txt", "one");
    auto document = MakeDocument({L""}, Settings(false, 4, 0), 80);
    JournalWriter writer(folder.Path(L"1.fumj"));
    writer.Begin(file);
    const auto writeTime = std::filesystem::last_write_time(folder.Native(L"text.txt"));
    folder.Write(L"text.txt", other);
    std::filesystem::last_write_time(folder.Native(L"text.txt"),
                                     other.size() == 3 ? writeTime + std::chrono::seconds(2) : writeTime);
    writer.Add(PosAt(*document, 0, 0), PosAt(*document, 0, 0), L"x", 0);
    ASSERT_TRUE(writer.Write(true, L"text.txt"));
    std::optional<JournalContents> read = ParseJournal(folder.Read(L"1.fumj"));
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->savedKnown) << other;
  }
}

TEST(Journal, TheSavedStateOfAFileNamedInAnotherCaseIsFound) {
  TempFolder folder;
  folder.Write(L"Mixed.txt", "abc");
  if (!platform::FileExists(folder.Path(L"MIXED.TXT"))) GTEST_SKIP() << "names are case-sensitive here";
  std::optional<SavedState> state = ReadSavedState(folder.Path(L"MIXED.TXT"));
  ASSERT_TRUE(state);
  EXPECT_EQ(state->size, 3u);
  EXPECT_EQ(state->hash, Fnv1a64("abc"));
  EXPECT_FALSE(ReadSavedState(folder.Path(L"missing.txt")));
}

TEST(Journal, ChangesAreDueAfterAPauseOrAfterTheLongestWait) {
  struct {
    std::uint32_t first, last, now;
    bool due;
  } const cases[] = {
      {1000, 1000, 2999, false},   // typing just paused
      {1000, 1000, 3000, true},    // paused long enough
      {1000, 10900, 10999, false}, // still typing, not yet the longest wait
      {1000, 10900, 11000, true},  // still typing, waited the longest
      {0xFFFFF000u, 0xFFFFF000u, 0x00000800u, true},  // the clock wrapped
  };
  for (const auto& c : cases) {
    auto document = MakeDocument({L""}, Settings(false, 4, 0), 80);
    JournalWriter writer(L"unused.fumj");
    EXPECT_FALSE(writer.Due(c.now));
    writer.Add(PosAt(*document, 0, 0), PosAt(*document, 0, 0), L"a", c.first);
    writer.Add(PosAt(*document, 0, 0), PosAt(*document, 0, 0), L"b", c.last);
    EXPECT_EQ(writer.Due(c.now), c.due) << c.first << " " << c.last << " " << c.now;
  }
}

TEST(Journal, UnusedPathsAndKeepingAside) {
  TempFolder folder;
  const std::wstring dir = folder.Path(L"");
  const std::wstring base = dir.substr(0, dir.size() - 1);
  folder.Write(L"7-1.fumj", "x");
  std::filesystem::create_directory(folder.Native(L"folder.fumj"));  // not listed
  EXPECT_EQ(UnusedJournalPath(base, L"7-1"), folder.Path(L"7-1-1.fumj"));
  EXPECT_EQ(ListJournals(base), std::vector<std::wstring>{folder.Path(L"7-1.fumj")});
  EXPECT_EQ(KeepJournalAside(folder.Path(L"7-1.fumj")), folder.Path(L"7-1.kept"));
  EXPECT_TRUE(ListJournals(base).empty());
  EXPECT_EQ(folder.Read(L"7-1.kept"), "x");
}

TEST(Journal, ReplayMakesTheSameLinesFromPastedBreaksAndUndoneLoneCarriageReturns) {
  TempFolder folder;
  const std::wstring file = folder.Path(L"lf.txt");
  // A file whose first line end is a line feed keeps a lone CR as a character of its line.
  folder.Write(L"lf.txt", "a\rb\nc\n");
  auto document = MakeDocument({L""}, Settings(false, 4, 0), 80);
  ASSERT_TRUE(LoadText(*document, file));
  std::vector<JournalChange> changes;
  document->onReplace = [&](const TextPos& from, const TextPos& to, std::wstring_view text) {
    changes.push_back({from.index, from.line, to.index, to.line, std::wstring(text)});
  };
  ReplaceText(*document, PosAt(*document, 0, 0), PosAt(*document, 1, 1), L"", editOther);
  Undo(*document->undo);
  ReplaceText(*document, PosAt(*document, 1, 0), PosAt(*document, 1, 0), L"x\ny\rz", editOther);
  ASSERT_EQ(LinesOf(*document), (std::vector<std::wstring>{L"a\rb", L"x", L"y", L"zc", L""}));

  auto replayed = MakeDocument({L""}, Settings(false, 4, 0), 80);
  ASSERT_TRUE(LoadText(*replayed, file));
  ReplayJournal(*replayed, changes);
  EXPECT_EQ(LinesOf(*replayed), LinesOf(*document));
}
