// Keeps the recovery journal of one open document: collects its changes as they are made and
// writes them to the journal file when the typing pauses, and at the latest every few seconds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "text/FileStamp.h"
#include "text/Journal.h"

struct TextPos;

class JournalWriter {
 public:
  static constexpr std::uint32_t pauseMs = 2000;     // quiet time after which changes are written
  static constexpr std::uint32_t longestWaitMs = 10000;  // the latest a change waits while typing goes on

  // The journal will be the file at journalPath; nothing is written before the first change.
  explicit JournalWriter(std::wstring journalPath);
  // The journal file goes with the writer (and the one it supersedes): the document was saved
  // or closed on purpose.
  ~JournalWriter();
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  const std::wstring& Path() const { return path_; }

  // The text now equals the bytes of saved (an empty path: an untitled document's empty text):
  // the changes so far are forgotten and the journal file removed.
  void Begin(const FileStamp& saved);
  // Records a change about to be made; now is a millisecond clock that may wrap.
  void Add(const TextPos& from, const TextPos& to, std::wstring_view text, std::uint32_t now);
  // Records that the saved text, of lastLine + 1 lines, is replaced whole by text (in the form
  // undo records keep): for a save that had to replace characters the file cannot store.
  void AddWholeText(std::wstring_view text, int lastLine, std::uint32_t now);
  // Changes wait to be written.
  bool Pending() const { return pending_; }
  // The changes waiting should be written now.
  bool Due(std::uint32_t now) const;
  // Writes the changes not yet in the file, under a header that names the saved bytes and the
  // document's name. With modified false the text equals the saved file and the journal file
  // is removed instead. False when the changes could not be written: the file on the disk keeps
  // every whole record it had, and the changes stay pending, to be written whole (through a new
  // file that takes the old one's place only when it is complete) once a pause has passed again.
  bool Write(bool modified, const std::wstring& name, std::uint32_t now);
  // The journal at path (one left behind, whose changes this one now holds) is removed once
  // this one has been written whole; until then it stays, for recovery after a crash.
  void Supersede(const std::wstring& path) { superseded_ = path; }
  const std::wstring& Superseded() const { return superseded_; }

 private:
  void AddChange(int firstIndex, int firstLine, int secondIndex, int secondLine,
                 std::wstring_view text, std::uint32_t now);
  void CloseAndRemove();
  bool Append();
  bool WriteWhole(const std::wstring& name);

  std::wstring path_;
  FileStamp saved_;
  std::string changes_;       // every change since Begin, encoded as journal records
  std::size_t written_ = 0;   // how many bytes of changes_ the file holds
  platform::File file_;       // open for appending while the file ends in a whole record
  bool onDisk_ = false;       // the journal file exists
  bool pending_ = false;
  std::uint32_t firstPending_ = 0;  // when the oldest change not yet written was made
  std::uint32_t lastChange_ = 0;
  std::wstring superseded_;
};

// The journal files in folder (named "*.fumj"), full paths.
std::vector<std::wstring> ListJournals(const std::wstring& folder);
// Removes what a write of a whole journal left behind when the program ended in the middle of it.
void RemoveUnfinishedJournals(const std::wstring& folder);
// A path "folder\stem.fumj", or with "-1", "-2"... after stem, that no file has yet.
std::wstring UnusedJournalPath(const std::wstring& folder, const std::wstring& stem);
// Renames a journal whose saved file has changed to a name no file has ("*.kept", "*-1.kept"
// ...), so that it is kept but never offered again. The new path, or empty when it failed.
std::wstring KeepJournalAside(const std::wstring& journalPath);
