// Collecting a document's changes and writing them to its journal file; the journal folder.
#include "text/JournalWriter.h"

#include <climits>
#include <utility>

#include "platform/Paths.h"
#include "text/TextPos.h"

namespace {

constexpr std::wstring_view journalExtension = L".fumj";
constexpr std::wstring_view keptExtension = L".kept";
// A journal written whole goes to this name first, beside the journal it will replace.
constexpr std::wstring_view unfinishedExtension = L".fumj-new";

bool WriteAll(platform::FileHandle file, std::string_view bytes) {
  return bytes.empty() ||
         platform::WriteFile(file, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

std::wstring WithoutExtension(std::wstring path, std::wstring_view extension) {
  if (path.ends_with(extension)) path.resize(path.size() - extension.size());
  return path;
}

// The paths of the files in folder whose names end in extension.
std::vector<std::wstring> FilesEndingIn(const std::wstring& folder, std::wstring_view extension) {
  std::vector<std::wstring> paths;
  for (const platform::FoundFile& found :
       platform::ListFolder(platform::JoinPath(folder, L"*" + std::wstring(extension)))) {
    if (!found.isFolder && found.name.ends_with(extension))
      paths.push_back(platform::JoinPath(folder, found.name));
  }
  return paths;
}

}  // namespace

JournalWriter::JournalWriter(std::wstring journalPath) : path_(std::move(journalPath)) {}

JournalWriter::~JournalWriter() {
  CloseAndRemove();
  if (!superseded_.empty()) platform::RemoveFile(superseded_);
}

void JournalWriter::Begin(const FileStamp& saved) {
  CloseAndRemove();
  if (!superseded_.empty()) platform::RemoveFile(std::exchange(superseded_, {}));
  saved_ = saved;
  changes_.clear();
  pending_ = false;
}

void JournalWriter::Add(const TextPos& from, const TextPos& to, std::wstring_view text,
                        std::uint32_t now) {
  AddChange(from.index, from.line, to.index, to.line, text, now);
}

void JournalWriter::AddWholeText(std::wstring_view text, int lastLine, std::uint32_t now) {
  // Past the end of the last line: a replay brings it to the end of the saved text's last line.
  AddChange(0, 0, INT_MAX, lastLine, text, now);
}

void JournalWriter::AddChange(int firstIndex, int firstLine, int secondIndex, int secondLine,
                              std::wstring_view text, std::uint32_t now) {
  AppendJournalChange(changes_, firstIndex, firstLine, secondIndex, secondLine, text);
  if (!pending_) firstPending_ = now;
  pending_ = true;
  lastChange_ = now;
}

bool JournalWriter::Due(std::uint32_t now) const {
  return pending_ && (now - lastChange_ >= pauseMs || now - firstPending_ >= longestWaitMs);
}

bool JournalWriter::Write(bool modified, const std::wstring& name, std::uint32_t now) {
  pending_ = false;
  if (!modified) {
    // The changes cancel out: the text is the saved file's again, and so is the text the
    // superseded journal would have made.
    CloseAndRemove();
    changes_.clear();
    if (!superseded_.empty()) platform::RemoveFile(std::exchange(superseded_, {}));
    return true;
  }
  if (!(file_.IsOpen() ? Append() : WriteWhole(name))) {
    pending_ = true;
    firstPending_ = lastChange_ = now;
    return false;
  }
  if (!superseded_.empty()) platform::RemoveFile(std::exchange(superseded_, {}));
  return true;
}

bool JournalWriter::Append() {
  if (WriteAll(file_.Get(), std::string_view(changes_).substr(written_)) &&
      platform::FlushFile(file_.Get())) {
    written_ = changes_.size();
    return true;
  }
  // The file may now end in a torn record, after which nothing could be read: it keeps what
  // it holds until a whole new journal takes its place.
  file_.Close();
  return false;
}

bool JournalWriter::WriteWhole(const std::wstring& name) {
  const std::wstring fresh = WithoutExtension(path_, journalExtension) + std::wstring(unfinishedExtension);
  {
    platform::File file(platform::CreateForWriting(fresh));
    const bool written = file.IsOpen() && WriteAll(file.Get(), EncodeJournalHeader(saved_, name)) &&
                         WriteAll(file.Get(), changes_) && platform::FlushFile(file.Get());
    file.Close();
    if (!written || !platform::ReplaceFileBy(path_, fresh)) {
      platform::RemoveFile(fresh);
      return false;
    }
  }
  onDisk_ = true;
  written_ = changes_.size();
  // Later changes are appended; when the file cannot be opened again, the next write is whole.
  file_ = platform::File(platform::OpenForAppending(path_));
  return true;
}

void JournalWriter::CloseAndRemove() {
  file_.Close();
  if (onDisk_) platform::RemoveFile(path_);
  onDisk_ = false;
  written_ = 0;
}

std::vector<std::wstring> ListJournals(const std::wstring& folder) {
  return FilesEndingIn(folder, journalExtension);
}

void RemoveUnfinishedJournals(const std::wstring& folder) {
  for (const std::wstring& path : FilesEndingIn(folder, unfinishedExtension)) platform::RemoveFile(path);
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
  const std::wstring stem = WithoutExtension(journalPath, journalExtension);
  // Process ids come back: an older journal kept aside may have the name already.
  for (int n = 0; n < 1000; ++n) {
    const std::wstring kept =
        stem + (n == 0 ? L"" : L"-" + std::to_wstring(n)) + std::wstring(keptExtension);
    if (platform::RenameFile(journalPath, kept)) return kept;
    if (!platform::FileExists(kept)) return {};
  }
  return {};
}
