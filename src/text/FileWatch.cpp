// Looking at a document's file for changes of other programs, and the rules for what follows.
#include "text/FileWatch.h"

namespace {

constexpr std::uint64_t oneSecond = 10'000'000;

// Until when a write could keep the size and time of a file whose time was seen at now. File
// systems that keep finer times than whole seconds give every write its own time.
std::uint64_t SameTimeUntil(std::uint64_t writeTime, std::uint64_t now) {
  return writeTime % oneSecond == 0 ? now + FileWatch::sameTimeSpan : 0;
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

FileProbe ProbeOf(const std::wstring& path) {
  return {[path] { return platform::StatusOf(path); }, [path] { return ReadFileStamp(path); }};
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
  const std::optional<platform::FileStatus> status = probe.status();
  if (!status) {
    declined_.reset();
    return {FileChange::removed, removalTold_};
  }
  removalTold_ = false;
  switch (Compare(stamp, stampSameTimeUntil_, *status, probe, now, atSave)) {
    case Same::yes:
      declined_.reset();
      return {FileChange::unchanged, false};
    case Same::cannotTell:
      return {FileChange::unknown, false};
    case Same::no:
      break;
  }
  const bool answered =
      declined_ && Compare(declined_->stamp, declined_->sameTimeUntil, *status, probe, now,
                           atSave) == Same::yes;
  return {FileChange::changed, answered};
}
