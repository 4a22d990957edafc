// Files that other programs change: what a look at a document's file finds against the bytes the
// document last read or wrote, what the user answered about it, and what fum does then.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "text/FileStamp.h"

// What a look at a document's file found.
enum class FileChange {
  unchanged,  // the file holds the bytes the document last read or wrote
  changed,    // another program wrote other bytes
  removed,    // no file is there any more (removed, or renamed away)
  unknown,    // the file could not be reached, or its bytes read, to tell (held by its writer)
};

// What fum does about a document after a look.
enum class FileAction {
  nothing,
  reload,       // the text has no changes of its own: the file's text takes its place at once
  askReload,    // ask whether to reload the file and lose the changes
  tellRemoved,  // say that the file is gone; the text is marked modified, so Save writes it back
};

// The rules: modified, the document has changes of its own; answered, the user was asked about
// this very change already (No to reloading it), or told about this removal.
FileAction ActionAfterLook(bool modified, FileChange change, bool answered);
// Just before a save: whether to ask before writing over the file.
bool AskBeforeSaving(FileChange change, bool answered);

// What the status call of a file found.
struct FileSeen {
  enum class State {
    there,
    gone,         // no file at that path (or a folder in its place)
    unreachable,  // the call failed otherwise, or took too long: nothing is known of the file
  };
  State state = State::gone;
  platform::FileStatus status;  // while there
};
FileSeen SeeFile(const std::wstring& path);

// How a look reaches the file. The status costs one call; the bytes are read and hashed only
// when the status cannot tell.
struct FileProbe {
  std::function<FileSeen()> status;
  std::function<std::optional<FileStamp>()> readStamp;
};
// waitMs > 0: the status call is given up after that long (a network share that went away can
// hold it for many seconds), so that a look never holds the window; the file counts as
// unreachable then. 0: the call is waited for, as a save must.
FileProbe ProbeOf(const std::wstring& path, unsigned waitMs);

// What fum remembers of one document's file beyond the stamp of its bytes: the user's answers,
// and whether another program could have written the file without changing its size or time.
// Times ("now") are the system clock in the units of file times.
class FileWatch {
 public:
  // The document's text equals the file (read or written just now, at now), whose bytes stamp
  // identifies: earlier answers are forgotten.
  void Reset(const FileStamp& stamp, std::uint64_t now);

  struct Look {
    FileChange change = FileChange::unchanged;
    bool answered = false;
  };
  // Looks at the file against stamp. A file whose time alone changed keeps its stamp, with the
  // new time. atSave: the bytes are compared whenever size and time are equal, so that a
  // rewrite that kept both is caught before it is written over.
  Look LookAt(FileStamp& stamp, const FileProbe& probe, std::uint64_t now, bool atSave);

  // The user keeps the text against the file as current holds it (No to reloading): that change
  // is not asked about again, nor before a save.
  void Decline(const FileStamp& current, std::uint64_t now);
  // The user was told that the file is gone.
  void TellRemoved() { removalTold_ = true; }

  // A file time is kept in whole seconds by coarse file systems (2 s steps on FAT): another
  // program's write within the same step leaves size and time as they were. Until this long
  // after a time was seen, a look reads the bytes of such a file.
  static constexpr std::uint64_t sameTimeSpan = 30'000'000;  // 3 s

 private:
  // Bytes known at some moment, and until when a write could have kept their size and time
  // (0: it can no longer).
  struct Known {
    FileStamp stamp;
    std::uint64_t sameTimeUntil = 0;
  };
  enum class Same { yes, no, cannotTell };
  static Same Compare(FileStamp& known, std::uint64_t& sameTimeUntil,
                      const platform::FileStatus& status, const FileProbe& probe,
                      std::uint64_t now, bool atSave);

  std::uint64_t stampSameTimeUntil_ = 0;
  std::optional<Known> declined_;  // the change the user chose to keep the text against
  bool removalTold_ = false;
};
