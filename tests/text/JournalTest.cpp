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
  FileStamp saved{L"C:\\some\\file.txt", 1234, 5678, 0x0123456789abcdefULL};
  std::string bytes = EncodeJournalHeader(saved, L"file.txt");
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
    EXPECT_EQ(read->saved, (FileStamp{L"C:\\some\\file.txt", 1234, 5678, 0x0123456789abcdefULL}));
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
  const std::string header = EncodeJournalHeader({}, L"n");
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

namespace {

// The journal read back and replayed on the file it names gives the document's text.
void ExpectJournalGivesText(const TempFolder& folder, const std::wstring& journal,
                            const Document& document) {
  std::optional<JournalContents> read = ParseJournal(folder.Read(journal));
  ASSERT_TRUE(read);
  EXPECT_TRUE(SavedFileUnchanged(*read));
  auto replayed = MakeDocument({L""}, Settings(false, 4, 0), 80);
  ASSERT_TRUE(LoadText(*replayed, read->saved.path));
  ReplayJournal(*replayed, read->changes);
  EXPECT_EQ(LinesOf(*replayed), LinesOf(document));
}

}  // namespace

TEST(Journal, WriterFollowsTheDocumentThroughSeveralWritesAndAFailedOne) {
  TempFolder folder;
  const std::wstring file = folder.Path(L"text.txt");
  folder.Write(L"text.txt", "one\r\ntwo\r\n");
  auto document = MakeDocument({L""}, Settings(false, 4, 0), 80);
  ASSERT_TRUE(LoadText(*document, file));
  JournalWriter writer(folder.Path(L"1.fumj"));
  std::uint32_t clock = 0;
  document->onReplace = [&](const TextPos& from, const TextPos& to, std::wstring_view text) {
    writer.Add(from, to, text, clock);
  };
  writer.Begin(document->stamp);
  auto type = [&](int line, int index, const wchar_t* text) {
    ReplaceText(*document, PosAt(*document, line, index), PosAt(*document, line, index), text, editOther);
  };
  ReplaceText(*document, PosAt(*document, 0, 3), PosAt(*document, 1, 1), L"!\r\n", editOther);
  EXPECT_TRUE(writer.Pending());
  ASSERT_TRUE(writer.Write(document->modified, L"text.txt", clock));
  EXPECT_FALSE(writer.Pending());
  const std::optional<JournalContents> first = ParseJournal(folder.Read(L"1.fumj"));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->saved, document->stamp);
  EXPECT_EQ(first->saved.hash, HashBytes("one\r\ntwo\r\n"));
  ExpectJournalGivesText(folder, L"1.fumj", *document);

  // Appended, and appended again after a write that failed: the journal on the disk keeps what
  // it held meanwhile, and the retry makes it whole.
  type(0, 0, L"a");
  ASSERT_TRUE(writer.Write(true, L"text.txt", clock));
  ExpectJournalGivesText(folder, L"1.fumj", *document);
  const std::string beforeFailure = folder.Read(L"1.fumj");
  clock = 1000;
  for (long long budget : {0LL, 5LL}) {
    type(1, 0, L"b\r\n");
    platform::testing::FailWritesAfter(budget);
    EXPECT_FALSE(writer.Write(true, L"text.txt", clock));
    platform::testing::FailWritesAfter(-1);
    EXPECT_TRUE(writer.Pending());
    EXPECT_EQ(folder.Read(L"1.fumj").substr(0, beforeFailure.size()), beforeFailure);
    EXPECT_EQ(ParseJournal(folder.Read(L"1.fumj"))->changes.size(), first->changes.size() + 1);
  }
  EXPECT_FALSE(writer.Due(clock + JournalWriter::pauseMs - 1));  // tried again after a pause
  EXPECT_TRUE(writer.Due(clock + JournalWriter::pauseMs));
  ASSERT_TRUE(writer.Write(true, L"text.txt", clock));
  ExpectJournalGivesText(folder, L"1.fumj", *document);
  type(0, 0, L"c");
  ASSERT_TRUE(writer.Write(true, L"text.txt", clock));
  ExpectJournalGivesText(folder, L"1.fumj", *document);

  // Every change undone: the text is the file's again and the journal goes.
  while (document->modified) Undo(*document->undo);
  ASSERT_TRUE(writer.Write(document->modified, L"text.txt", clock));
  EXPECT_FALSE(platform::FileExists(writer.Path()));
  // Saved: a later change is journalled against the bytes written.
  type(0, 0, L">");
  ASSERT_TRUE(SaveText(*document, file));
  writer.Begin(document->stamp);
  EXPECT_FALSE(platform::FileExists(writer.Path()));
  type(0, 0, L"<");
  ASSERT_TRUE(writer.Write(true, L"text.txt", clock));
  ExpectJournalGivesText(folder, L"1.fumj", *document);
  {
    JournalWriter gone(folder.Path(L"2.fumj"));
    gone.Begin({});
    gone.Add(PosAt(*document, 0, 0), PosAt(*document, 0, 0), L"x", 0);
    ASSERT_TRUE(gone.Write(true, L"doc1", 0));
    EXPECT_TRUE(platform::FileExists(gone.Path()));
  }
  EXPECT_FALSE(platform::FileExists(folder.Path(L"2.fumj")));
}

TEST(Journal, ASupersededJournalGoesOnlyOnceTheNewOneIsWritten) {
  TempFolder folder;
  folder.Write(L"old.fumj", "left behind");
  auto document = MakeDocument({L""}, Settings(false, 4, 0), 80);
  JournalWriter writer(folder.Path(L"new.fumj"));
  writer.Begin({});
  writer.Supersede(folder.Path(L"old.fumj"));
  writer.Add(PosAt(*document, 0, 0), PosAt(*document, 0, 0), L"x", 0);
  platform::testing::FailWritesAfter(0);
  EXPECT_FALSE(writer.Write(true, L"doc1", 0));
  platform::testing::FailWritesAfter(-1);
  EXPECT_EQ(folder.Read(L"old.fumj"), "left behind");
  EXPECT_FALSE(platform::FileExists(folder.Path(L"new.fumj")));
  ASSERT_TRUE(writer.Write(true, L"doc1", 0));
  EXPECT_FALSE(platform::FileExists(folder.Path(L"old.fumj")));
  EXPECT_EQ(ParseJournal(folder.Read(L"new.fumj"))->changes.size(), 1u);
  // What a write cut short by the end of the program left is cleared away.
  folder.Write(L"3.fumj-new", "half");
  const std::wstring dir = folder.Path(L"");
  RemoveUnfinishedJournals(dir.substr(0, dir.size() - 1));
  EXPECT_FALSE(platform::FileExists(folder.Path(L"3.fumj-new")));
  EXPECT_TRUE(platform::FileExists(folder.Path(L"new.fumj")));
}

TEST(Journal, TheSavedBytesAreTheOnesReadNotTheFileAtTheFirstWrite) {
  // Rewritten between the open and the first write, in the same size and at the same time.
  TempFolder folder;
  const std::wstring file = folder.Path(L"text.txt");
  folder.Write(L"text.txt", "one");
  const auto writeTime = std::filesystem::last_write_time(folder.Native(L"text.txt"));
  auto document = MakeDocument({L""}, Settings(false, 4, 0), 80);
  ASSERT_TRUE(LoadText(*document, file));
  folder.Write(L"text.txt", "two");
  std::filesystem::last_write_time(folder.Native(L"text.txt"), writeTime);
  JournalWriter writer(folder.Path(L"1.fumj"));
  writer.Begin(document->stamp);
  writer.Add(PosAt(*document, 0, 0), PosAt(*document, 0, 0), L"x", 0);
  ASSERT_TRUE(writer.Write(true, L"text.txt", 0));
  std::optional<JournalContents> read = ParseJournal(folder.Read(L"1.fumj"));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->saved.hash, HashBytes("one"));
  EXPECT_FALSE(SavedFileUnchanged(*read));
  folder.Write(L"text.txt", "one");  // the bytes back: the time does not matter
  EXPECT_TRUE(SavedFileUnchanged(*read));
}

TEST(Journal, AJournalOfTheFirstVersionIsStillRecognised) {
  TempFolder folder;
  folder.Write(L"a.txt", "abc");
  std::string payload = "FUMJ";
  auto put32 = [&](std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) payload += static_cast<char>(v >> shift);
  };
  auto put64 = [&](std::uint64_t v) { put32(static_cast<std::uint32_t>(v)), put32(static_cast<std::uint32_t>(v >> 32)); };
  auto putText = [&](const std::wstring& text) {
    put32(static_cast<std::uint32_t>(text.size()));
    for (wchar_t ch : text) payload += static_cast<char>(ch), payload += static_cast<char>(ch >> 8);
  };
  put32(1);  // the version
  put32(1);  // the saved file is known
  put64(3);
  put64(0);
  put64(Fnv1a64("abc"));
  putText(folder.Path(L"a.txt"));
  putText(L"a.txt");
  std::string journal;
  for (std::uint32_t word : {static_cast<std::uint32_t>(payload.size()), Crc32(payload)})
    for (int shift = 0; shift < 32; shift += 8) journal += static_cast<char>(word >> shift);
  journal += payload;
  // Its texts wrote every break as CR LF after the line's own carriage returns.
  AppendJournalChange(journal, 0, 0, 0, 0, L"x\r\r\ny\r\nz\r");
  std::optional<JournalContents> read = ParseJournal(journal);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->version, 1u);
  EXPECT_EQ(read->changes.at(0).text, L"x\r\r\r\ny\r\nz\r");
  EXPECT_TRUE(SavedFileUnchanged(*read));
  folder.Write(L"a.txt", "abd");
  EXPECT_FALSE(SavedFileUnchanged(*read));
}

TEST(Journal, TheStampOfAFileNamedInAnotherCaseIsFound) {
  TempFolder folder;
  folder.Write(L"Mixed.txt", "abc");
  if (!platform::FileExists(folder.Path(L"MIXED.TXT"))) GTEST_SKIP() << "names are case-sensitive here";
  std::optional<FileStamp> state = ReadFileStamp(folder.Path(L"MIXED.TXT"));
  ASSERT_TRUE(state);
  EXPECT_EQ(state->size, 3u);
  EXPECT_EQ(state->hash, HashBytes("abc"));
  EXPECT_FALSE(ReadFileStamp(folder.Path(L"missing.txt")));
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
  // A later journal of the same name (process ids come back) never takes an older one's place.
  folder.Write(L"7-1.fumj", "y");
  EXPECT_EQ(KeepJournalAside(folder.Path(L"7-1.fumj")), folder.Path(L"7-1-1.kept"));
  EXPECT_EQ(folder.Read(L"7-1.kept"), "x");
  EXPECT_EQ(folder.Read(L"7-1-1.kept"), "y");
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
  ASSERT_EQ(LinesOf(*document), (std::vector<std::wstring>{L"a\rb", L"x", L"y\rzc", L""}));

  auto replayed = MakeDocument({L""}, Settings(false, 4, 0), 80);
  ASSERT_TRUE(LoadText(*replayed, file));
  ReplayJournal(*replayed, changes);
  EXPECT_EQ(LinesOf(*replayed), LinesOf(*document));
}

// A line ending in a carriage return ends in CR LF, so that it is saved as bytes that read back
// as it is; undo gives the line feed back, and replays and runs of deletions keep each form.
TEST(Journal, CarriageReturnsEndingALineComeBackAsTheyWere) {
  TempFolder folder;
  const std::string bytes = "a\r\nb\n";
  folder.Write(L"in.txt", bytes);
  auto document = MakeDocument({L""}, Settings(false, 4, 0), 80);
  ASSERT_TRUE(LoadText(*document, folder.Path(L"in.txt")));
  std::vector<JournalChange> changes;
  document->onReplace = [&](const TextPos& from, const TextPos& to, std::wstring_view text) {
    changes.push_back({from.index, from.line, to.index, to.line, std::wstring(text)});
  };
  SetLineEnds(*document, true);
  ReplaceText(*document, PosAt(*document, 1, 1), PosAt(*document, 1, 1), L"\r", editOther);
  ReplaceText(*document, PosAt(*document, 2, 0), PosAt(*document, 2, 0), L"\r\r\n", editOther);
  const Lines typed = LinesOf(*document);
  ASSERT_EQ(typed, (Lines{L"a", L"b\r", L"\r", L""}));
  ASSERT_TRUE(SaveText(*document, folder.Path(L"typed.txt")));
  EXPECT_EQ(folder.Read(L"typed.txt"), "a\nb\r\r\n\r\r\n");
  Document reread;
  ASSERT_TRUE(LoadText(reread, folder.Path(L"typed.txt")));
  EXPECT_EQ(LinesOf(reread), typed);
  // Deleted forward and backward one unit at a time, each line end joins a run.
  for (int i = 0; i < 3; ++i)
    ReplaceText(*document, PosAt(*document, 1, 1), PosAt(*document, 1, 2), L"", editDeleteForward);
  ReplaceText(*document, PosAt(*document, 0, 1), PosAt(*document, 1, 0), L"", editDeleteBackward);
  ReplaceText(*document, PosAt(*document, 0, 0), PosAt(*document, 0, 1), L"", editDeleteBackward);
  Undo(*document->undo);
  Undo(*document->undo);
  EXPECT_EQ(LinesOf(*document), typed);
  ASSERT_TRUE(SaveText(*document, folder.Path(L"out.txt")));
  EXPECT_EQ(folder.Read(L"out.txt"), folder.Read(L"typed.txt"));
  auto replayed = MakeDocument({L""}, Settings(false, 4, 0), 80);
  ASSERT_TRUE(LoadText(*replayed, folder.Path(L"in.txt")));
  SetLineEnds(*replayed, true);
  ReplayJournal(*replayed, changes);
  EXPECT_EQ(LinesOf(*replayed), typed);
  for (int i = 0; i < replayed->LineCount(); ++i)
    EXPECT_EQ(replayed->lines[i].EndsInLineFeed(), document->lines[i].EndsInLineFeed()) << i;
  Undo(*document->undo);
  Undo(*document->undo);
  ASSERT_TRUE(SaveText(*document, folder.Path(L"out.txt")));
  EXPECT_EQ(folder.Read(L"out.txt"), "a\nb\n");
}
