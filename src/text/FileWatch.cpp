// Looking at a document's file for changes of other programs, and the rules for what follows.
#include "text/FileWatch.h"

#include <memory>
#include <new>
#include <utility>

namespace {

constexpr std::uint64_t oneSecond = 10'000'000;

// Until when a write could keep the size and time of a file whose time was seen at now. File
// systems that keep finer times than whole seconds give every write its own time.
std::uint64_t SameTimeUntil(std::uint64_t writeTime, std::uint64_t now) {
  return writeTime % oneSecond == 0 ? now + FileWatch::sameTimeSpan : 0;
}

// The status call runs on a thread of its own, which is left to end by itself when it takes
// longer than waitMs; what it finds then goes nowhere.
FileSeen SeeFileWithin(const std::wstring& path, unsigned waitMs) {
  const auto seen = std::make_shared<std::optional<FileSeen>>();
  const bool ended = platform::RunWithin(
      [seen, path] {
        try {
          *seen = SeeFile(path);
        } catch (const std::bad_alloc&) {
          // nothing seen: the file counts as out of reach this time
        }
      },
      waitMs);
  if (ended && *seen) return **seen;
  return {FileSeen::State::unreachable, {}};
}

}  // namespace

FileAction ActionAfterLook(bool modified, FileChange change, bool answered) {
  switch (change) {
    case FileChange::changed:
      if (!modified) return FileAction::reload;
      return answered ? FileAction::nothing : FileAction::askReload;
    case FileChange::removed:
      return answered ? FileAction::nothing : FileAction::tellRemoved;
    default:
      return FileAction::nothing;
  }
}

bool AskBeforeSaving(FileChange change, bool answered) {
  // A removed file is written back without a question: that is what keeping its text is for.
  return change == FileChange::changed && !answered;
}

FileSeen SeeFile(const std::wstring& path) {
  if (const std::optional<platform::FileStatus> status = platform::StatusOf(path))
    return {FileSeen::State::there, *status};
  // No error: a folder is in the file's place.
  const std::uint32_t error = platform::LastError();
  const bool gone = error == 0 || error == platform::errorFileNotFound ||
                    error == platform::errorPathNotFound;
  return {gone ? FileSeen::State::gone : FileSeen::State::unreachable, {}};
}

FileProbe ProbeOf(const std::wstring& path, unsigned waitMs) {
  std::function<FileSeen()> status = [path] { return SeeFile(path); };
  if (waitMs > 0) status = [path, waitMs] { return SeeFileWithin(path, waitMs); };
  return {std::move(status), [path] { return ReadFileStamp(path); }};
}

void FileWatch::Reset(const FileStamp& stamp, std::uint64_t now) {
  stampSameTimeUntil_ = SameTimeUntil(stamp.writeTime, now);
  declined_.reset();
  removalTold_ = false;
}

void FileWatch::Decline(const FileStamp& current, std::uint64_t now) {
  declined_ = Known{current, SameTimeUntil(current.writeTime, now)};
}

FileWatch::Same FileWatch::Compare(FileStamp& known, std::uint64_t& sameTimeUntil,
                                   const platform::FileStatus& status, const FileProbe& probe,
                                   std::uint64_t now, bool atSave) {
  if (status.size != known.size) return Same::no;
  const bool sameTime = status.writeTime == known.writeTime;
  if (sameTime && sameTimeUntil == 0 && !atSave) return Same::yes;
  // The status cannot tell: the bytes do.
  const std::optional<FileStamp> read = probe.readStamp();
  if (!read) return Same::cannotTell;
  if (!SameBytes(*read, known)) return Same::no;
  if (!sameTime) {
    // Only the time changed (the file was touched, or written again with the same bytes).
    known.writeTime = read->writeTime;
    sameTimeUntil = SameTimeUntil(read->writeTime, now);
  } else if (now >= sameTimeUntil) {
    // Read after the time's step was over: a later write gets a later time.
    sameTimeUntil = 0;
  }
  return Same::yes;
}

FileWatch::Look FileWatch::LookAt(FileStamp& stamp, const FileProbe& probe, std::uint64_t now,
                                  bool atSave) {
  const FileSeen seen = probe.status();
  if (seen.state == FileSeen::State::unreachable) return {FileChange::unknown, false};
  if (seen.state == FileSeen::State::gone) {
    declined_.reset();
    return {FileChange::removed, removalTold_};
  }
  removalTold_ = false;
  switch (Compare(stamp, stampSameTimeUntil_, seen.status, probe, now, atSave)) {
    case Same::yes:
      declined_.reset();
      return {FileChange::unchanged, false};
    case Same::cannotTell:
      return {FileChange::unknown, false};
    case Same::no:
      break;
  }
  const bool answered =
      declined_ && Compare(declined_->stamp, declined_->sameTimeUntil, seen.status, probe, now,
                           atSave) == Same::yes;
  return {FileChange::changed, answered};
}
