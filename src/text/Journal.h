// The recovery journal of a document: the changes made since its file was last saved, with what
// identifies that saved file, stored as records that each carry their length and checksum.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/FileStamp.h"

class Document;

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
  // The bytes the changes apply to: what the document last read or wrote. An empty path: an
  // untitled document, whose text starts empty.
  FileStamp saved;
  std::wstring name;  // the document's name when the journal began ("doc1" while untitled)
  // False when no saved bytes fit the changes (journals of earlier versions could say so).
  bool savedKnown = true;
  // The form of the journal: 1 hashed the saved bytes with Fnv1a64, 2 and later with BytesHash.
  std::uint32_t version = 0;
  std::vector<JournalChange> changes;
};

// The first record of a journal.
std::string EncodeJournalHeader(const FileStamp& saved, const std::wstring& name);
// Appends the record of one change to out.
void AppendJournalChange(std::string& out, int firstIndex, int firstLine, int secondIndex,
                         int secondLine, std::wstring_view text);

// The contents of a journal's bytes up to the first record that is cut short or damaged (a
// write torn by a crash); nullopt when not even the header is whole.
std::optional<JournalContents> ParseJournal(std::string_view bytes);
std::optional<JournalContents> ReadJournal(const std::wstring& path);

// True when the file the journal's changes apply to is still there with the same bytes.
bool SavedFileUnchanged(const JournalContents& journal);

// Makes the changes in order, as one undo step that brings back the saved text.
void ReplayJournal(Document& document, const std::vector<JournalChange>& changes);

// The checksums the journal uses: CRC-32 of a record, and the 64-bit FNV-1a hash of a file
// that journals of the first version hold.
std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);
std::uint64_t Fnv1a64(std::string_view bytes, std::uint64_t hash = 14695981039346656037ULL);
