// Keeps the recovery journal of one open document: collects its changes as they are made and
// writes them to the journal file when the typing pauses, and at the latest every few seconds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "text/Journal.h"

struct TextPos;

class JournalWriter {
 public:
  static constexpr std::uint32_t pauseMs = 2000;     // quiet time after which changes are written
  static constexpr std::uint32_t longestWaitMs = 10000;  // the latest a change waits while typing goes on

  // The journal will be the file at journalPath; nothing is written before the first change.
  explicit JournalWriter(std::wstring journalPath);
  // The journal file goes with the writer: the document was saved or closed on purpose.
  ~JournalWriter();
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  const std::wstring& Path() const { return path_; }

  // The text now equals the file at savedPath (empty: an untitled document's empty text): the
  // changes so far are forgotten and the journal file removed.
  void Begin(const std::wstring& savedPath);
  // Records a change about to be made; now is a millisecond clock that may wrap.
  void Add(const TextPos& from, const TextPos& to, std::wstring_view text, std::uint32_t now);
  // Changes wait to be written.
  bool Pending() const { return pending_; }
  // The changes waiting should be written now.
  bool Due(std::uint32_t now) const;
  // Writes the changes not yet in the file, under a header that names the saved file and the
  // document's name. With modified false the text equals the saved file and the journal file
  // is removed instead. False when the file could not be written; it is then written whole
  // at the next call.
  bool Write(bool modified, const std::wstring& name);

 private:
  void CloseAndRemove();
  bool Create(const std::wstring& name);

  std::wstring path_;
  std::wstring savedPath_;
  std::optional<SavedState> statAtBegin_;  // the saved file's size and time when it was read
  std::string changes_;       // every change since Begin, encoded as journal records
  std::size_t written_ = 0;   // how many bytes of changes_ the file holds
  platform::FileHandle file_ = platform::invalidFile;
  bool pending_ = false;
  std::uint32_t firstPending_ = 0;  // when the oldest change not yet written was made
  std::uint32_t lastChange_ = 0;
};

// The journal files in folder (named "*.fumj"), full paths.
std::vector<std::wstring> ListJournals(const std::wstring& folder);
// A path "folder\stem.fumj", or with "-1", "-2"... after stem, that no file has yet.
std::wstring UnusedJournalPath(const std::wstring& folder, const std::wstring& stem);
// Renames a journal whose saved file has changed, so that it is kept but never offered again.
// The new path, or empty when the rename failed.
std::wstring KeepJournalAside(const std::wstring& journalPath);
