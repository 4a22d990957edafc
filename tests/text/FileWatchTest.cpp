// Files changed by other programs: what a look finds, what fum does about it for documents with
// and without changes of their own, the answers it remembers, and when it reads a file's bytes.
#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.h"
#include "text/FileWatch.h"

namespace {

constexpr std::uint64_t second = 10'000'000;
constexpr std::uint64_t readAt = 13'300'000'060 * second;  // when the document read its file
constexpr std::uint64_t fineTime = readAt - 3600 * second + 1234567;  // not in whole seconds
constexpr std::uint64_t later = readAt + 3600 * second;

FileStamp Bytes(std::uint64_t size, std::uint64_t hash, std::uint64_t time) {
  return FileStamp{L"C:\\f.txt", size, time, hash};
}

// A document whose file held the given bytes when it read them, and the file as it is now, whose
// bytes are counted each time they are read.
struct Watched {
  explicit Watched(const FileStamp& bytes) : stamp(bytes), now(bytes) { watch.Reset(stamp, readAt); }
  FileWatch::Look Look(std::uint64_t at = later, bool atSave = false) {
    using enum FileSeen::State;
    return watch.LookAt(
        stamp,
        {[this] {
           return cutOff ? FileSeen{unreachable, {}}
                  : now       ? FileSeen{there, {now->size, now->writeTime}}
                              : FileSeen{gone, {}};
         },
         [this] { return ++reads, readable ? now : std::nullopt; }},
        at, atSave);
  }

  FileStamp stamp;
  std::optional<FileStamp> now;  // none: not there
  bool readable = true;
  bool cutOff = false;  // its share or card cannot be reached
  int reads = 0;
  FileWatch watch;
};

}  // namespace

TEST(FileWatch, WhatFollowsALookAndASave) {
  using enum FileChange;
  using enum FileAction;
  struct {
    bool modified;
    FileChange change;
    bool answered;  // No to reloading that change, or told of that removal
    FileAction expected;
    bool askBeforeSave;
  } const cases[] = {
      {false, unchanged, false, nothing, false},   {true, unchanged, false, nothing, false},
      {false, changed, false, reload, true},       {true, changed, false, askReload, true},
      {false, changed, true, reload, false},       {true, changed, true, nothing, false},
      {false, removed, false, tellRemoved, false}, {true, removed, false, tellRemoved, false},
      {false, removed, true, nothing, false},      {true, removed, true, nothing, false},
  };
  for (const auto& c : cases) {
    const std::string name = "row " + std::to_string(&c - cases);
    Watched doc(Bytes(10, 1, fineTime));
    if (c.change == changed) doc.now = Bytes(12, 2, fineTime + second);
    if (c.change == removed) doc.now.reset();
    if (c.answered && c.change == changed) doc.watch.Decline(*doc.now, later);
    if (c.answered && c.change == removed) {
      EXPECT_FALSE(doc.Look().answered) << name;
      doc.watch.TellRemoved();
    }
    const FileWatch::Look look = doc.Look();
    EXPECT_EQ(look.change, c.change) << name;
    EXPECT_EQ(ActionAfterLook(c.modified, look.change, look.answered), c.expected) << name;
    const FileWatch::Look atSave = doc.Look(later, true);
    EXPECT_EQ(AskBeforeSaving(atSave.change, atSave.answered), c.askBeforeSave) << name;
  }
}

TEST(FileWatch, TheBytesAreReadOnlyWhenSizeAndTimeCannotTell) {
  // A look reads no unchanged file; a save does, which catches a rewrite that kept size and time.
  Watched fine(Bytes(10, 1, fineTime));
  EXPECT_EQ(fine.Look().change, FileChange::unchanged);
  fine.now->hash = 2;
  EXPECT_EQ(fine.Look().change, FileChange::unchanged);
  EXPECT_EQ(fine.reads, 0);
  EXPECT_EQ(fine.Look(later, true).change, FileChange::changed);
  fine.now = Bytes(11, 2, fineTime);
  EXPECT_EQ(fine.Look().change, FileChange::changed);
  EXPECT_EQ(fine.reads, 1);

  // Another time: the bytes tell. A touch is no change; the next look reads nothing.
  Watched touched(Bytes(10, 1, fineTime));
  touched.now->writeTime += second;
  EXPECT_EQ(touched.Look().change, FileChange::unchanged);
  EXPECT_EQ(touched.Look().change, FileChange::unchanged);
  EXPECT_EQ(touched.reads, 1);
  touched.now = Bytes(10, 3, fineTime + 2 * second);
  EXPECT_EQ(touched.Look().change, FileChange::changed);
  touched.watch.Decline(*touched.now, later);
  touched.now->writeTime += second;  // a touch after No: still the change answered
  EXPECT_TRUE(touched.Look().answered);
  touched.readable = false;  // held by its writer: neither reloaded nor asked about yet
  EXPECT_EQ(touched.Look().change, FileChange::unknown);

  // Whole seconds: until the step of the time is surely over, a write may have kept it.
  Watched coarse(Bytes(10, 1, readAt));
  coarse.now->hash = 2;
  EXPECT_EQ(coarse.Look(readAt + second).change, FileChange::changed);
  coarse.now->hash = 1;
  EXPECT_EQ(coarse.Look(readAt + FileWatch::sameTimeSpan).change, FileChange::unchanged);
  EXPECT_EQ(coarse.Look().change, FileChange::unchanged);
  EXPECT_EQ(coarse.reads, 2);
}

TEST(FileWatch, AFileOutOfReachIsNeitherChangedNorRemovedAndKeepsTheAnswers) {
  Watched doc(Bytes(10, 1, fineTime));
  doc.now = Bytes(12, 2, fineTime + second);
  doc.watch.Decline(*doc.now, later);
  doc.cutOff = true;
  EXPECT_EQ(doc.Look().change, FileChange::unknown);
  EXPECT_EQ(doc.Look(later, true).change, FileChange::unknown);
  doc.cutOff = false;
  EXPECT_TRUE(doc.Look().answered);

  // What the system says of real paths: a file there, none, one under a file, and a folder in
  // the file's place, also after another call failed on the thread that looks.
  TempFolder folder;
  folder.Write(L"f.txt", "abc");
  std::filesystem::create_directory(folder.Native(L"sub"));
  const auto state = [&](const wchar_t* name, unsigned waitMs) {
    return ProbeOf(folder.Path(name), waitMs).status().state;
  };
  for (const unsigned waitMs : {0u, 30000u}) {
    EXPECT_EQ(state(L"f.txt", waitMs), FileSeen::State::there);
    EXPECT_EQ(ProbeOf(folder.Path(L"f.txt"), waitMs).status().status.size, 3u);
    EXPECT_EQ(state(L"gone.txt", waitMs), FileSeen::State::gone);
    EXPECT_EQ(state(L"f.txt/under.txt", waitMs), FileSeen::State::gone);
    platform::File(platform::OpenForAppending(folder.Path(L"sub")));
    EXPECT_EQ(state(L"sub", waitMs), FileSeen::State::gone);
  }
}
