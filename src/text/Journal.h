// The recovery journal of a document: the changes made since its file was last saved, with what
// identifies that saved file, stored as records that each carry their length and checksum.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Document;

// What identifies a saved file: a journal's changes apply to exactly these bytes.
struct SavedState {
  std::wstring path;            // empty for an untitled document, whose text starts empty
  std::uint64_t size = 0;
  std::uint64_t writeTime = 0;  // last write, in 100 ns units since 1601-01-01 UTC
  std::uint64_t hash = 0;       // of the file's bytes
  friend bool operator==(const SavedState&, const SavedState&) = default;
};

// The file's size and write time now; nullopt when it cannot be found.
std::optional<SavedState> StatFile(const std::wstring& path);
// StatFile with the hash of the bytes; nullopt when the file cannot be found or read whole.
std::optional<SavedState> ReadSavedState(const std::wstring& path);

// One change as ReplaceText was asked to make it: the range, in order, and the text put there.
struct JournalChange {
  int firstIndex = 0;
  int firstLine = 0;
  int secondIndex = 0;
  int secondLine = 0;
  std::wstring text;
  friend bool operator==(const JournalChange&, const JournalChange&) = default;
};

struct JournalContents {
  SavedState saved;
  std::wstring name;  // the document's name when the journal began ("doc1" while untitled)
  // False when the file was changed by someone else before the journal began, so that no
  // saved state fits the changes.
  bool savedKnown = true;
  std::vector<JournalChange> changes;
};

// The first record of a journal.
std::string EncodeJournalHeader(const SavedState& saved, const std::wstring& name, bool savedKnown);
// Appends the record of one change to out.
void AppendJournalChange(std::string& out, int firstIndex, int firstLine, int secondIndex,
                         int secondLine, std::wstring_view text);

// The contents of a journal's bytes up to the first record that is cut short or damaged (a
// write torn by a crash); nullopt when not even the header is whole.
std::optional<JournalContents> ParseJournal(std::string_view bytes);
std::optional<JournalContents> ReadJournal(const std::wstring& path);

// Makes the changes in order, as one undo step that brings back the saved text.
void ReplayJournal(Document& document, const std::vector<JournalChange>& changes);

// The checksums the journal uses: CRC-32 of a record and a 64-bit FNV-1a hash of a file.
std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);
std::uint64_t Fnv1a64(std::string_view bytes, std::uint64_t hash = 14695981039346656037ULL);
