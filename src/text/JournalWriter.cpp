// Collecting a document's changes and writing them to its journal file; the journal folder.
#include "text/JournalWriter.h"

#include <utility>

#include "platform/Paths.h"
#include "text/TextPos.h"

namespace {

constexpr std::wstring_view journalExtension = L".fumj";
constexpr std::wstring_view keptExtension = L".kept";

bool WriteAll(platform::FileHandle file, std::string_view bytes) {
  return bytes.empty() ||
         platform::WriteFile(file, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

}  // namespace

JournalWriter::JournalWriter(std::wstring journalPath) : path_(std::move(journalPath)) {}

JournalWriter::~JournalWriter() { CloseAndRemove(); }

void JournalWriter::Begin(const std::wstring& savedPath) {
  CloseAndRemove();
  savedPath_ = savedPath;
  statAtBegin_ = savedPath.empty() ? std::nullopt : StatFile(savedPath);
  changes_.clear();
  pending_ = false;
}

void JournalWriter::Add(const TextPos& from, const TextPos& to, std::wstring_view text,
                        std::uint32_t now) {
  AppendJournalChange(changes_, from.index, from.line, to.index, to.line, text);
  if (!pending_) firstPending_ = now;
  pending_ = true;
  lastChange_ = now;
}

bool JournalWriter::Due(std::uint32_t now) const {
  return pending_ && (now - lastChange_ >= pauseMs || now - firstPending_ >= longestWaitMs);
}

bool JournalWriter::Write(bool modified, const std::wstring& name) {
  pending_ = false;
  if (!modified) {
    // The changes cancel out: the text is the saved file's again.
    CloseAndRemove();
    changes_.clear();
    return true;
  }
  bool ok = (file_ != platform::invalidFile || Create(name)) &&
            WriteAll(file_, std::string_view(changes_).substr(written_)) &&
            platform::FlushFile(file_);
  if (!ok) {
    // A record may be torn: the next write starts the file afresh with every change.
    CloseAndRemove();
    return false;
  }
  written_ = changes_.size();
  return true;
}

bool JournalWriter::Create(const std::wstring& name) {
  SavedState saved;
  bool known = true;
  if (!savedPath_.empty()) {
    // The file must still be the one the text was read from (or written to).
    std::optional<SavedState> now = ReadSavedState(savedPath_);
    known = now && statAtBegin_ && now->size == statAtBegin_->size &&
            now->writeTime == statAtBegin_->writeTime;
    saved = now ? *now : statAtBegin_.value_or(SavedState{savedPath_});
  }
  file_ = platform::CreateForWriting(path_);
  if (file_ == platform::invalidFile) return false;
  written_ = 0;
  return WriteAll(file_, EncodeJournalHeader(saved, name, known));
}

void JournalWriter::CloseAndRemove() {
  if (file_ == platform::invalidFile) return;
  platform::CloseFile(file_);
  platform::RemoveFile(path_);
  file_ = platform::invalidFile;
  written_ = 0;
}

std::vector<std::wstring> ListJournals(const std::wstring& folder) {
  std::vector<std::wstring> paths;
  for (const platform::FoundFile& found :
       platform::ListFolder(platform::JoinPath(folder, L"*" + std::wstring(journalExtension)))) {
    if (!found.isFolder) paths.push_back(platform::JoinPath(folder, found.name));
  }
  return paths;
}

std::wstring UnusedJournalPath(const std::wstring& folder, const std::wstring& stem) {
  std::wstring path = platform::JoinPath(folder, stem + std::wstring(journalExtension));
  for (int n = 1; platform::FileExists(path); ++n) {
    const std::wstring name = stem + L"-" + std::to_wstring(n) + std::wstring(journalExtension);
    path = platform::JoinPath(folder, name);
  }
  return path;
}

std::wstring KeepJournalAside(const std::wstring& journalPath) {
  std::wstring kept = journalPath;
  if (kept.ends_with(journalExtension)) kept.resize(kept.size() - journalExtension.size());
  kept += keptExtension;
  return platform::ReplaceFileBy(kept, journalPath) ? kept : std::wstring();
}
