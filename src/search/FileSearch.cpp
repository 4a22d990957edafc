// Find in Files: walking the folders, reading each file in its encoding and matching its lines.
#include "search/FileSearch.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "config/Wildcard.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "search/LineMatcher.h"
#include "text/TextFormat.h"

namespace {

// The bytes looked at for a NUL, which marks a file as binary; they are read first, so that
// the rest of a binary file is never read.
constexpr std::size_t binaryProbe = 8192;
// The most read at once: 16 MB takes a moment even from a slow disk.
constexpr std::size_t readPart = std::size_t{1} << 24;

bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

bool MatchesEveryName(const std::wstring& pattern) { return pattern == L"*" || pattern == L"*.*"; }

bool NameMatches(const std::wstring& name, const std::vector<std::wstring>& patterns) {
  if (patterns.empty()) return true;
  return std::any_of(patterns.begin(), patterns.end(), [&](const std::wstring& pattern) {
    return MatchesEveryName(pattern) || WildcardMatch(name, pattern);
  });
}

bool Hidden(const platform::FoundFile& entry) {
  return entry.hidden || (!entry.name.empty() && entry.name[0] == L'.');
}

// Names in the order the user reads them: without regard to case.
bool NameBefore(const platform::FoundFile& a, const platform::FoundFile& b) {
  return std::lexicographical_compare(
      a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
      [](wchar_t x, wchar_t y) { return platform::ToUpper(x) < platform::ToUpper(y); });
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](wchar_t x, wchar_t y) { return platform::ToUpper(x) == platform::ToUpper(y); });
}

bool LooksBinary(std::string_view bytes) {
  const bool utf16 = bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                           (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
  return !utf16 && bytes.substr(0, binaryProbe).find('\0') != std::string_view::npos;
}

enum class FileKind { text, binary, unreadable };

// Reads file into bytes from size on, growing bytes as the file turns out longer than thought;
// stops at the end of the file or once size reaches limit. False on a read error, and when
// cancel is set: a large file is read a part at a time, so that Escape need not wait for all.
bool ReadInto(const platform::File& file, std::string& bytes, std::size_t& size, std::size_t limit,
              const std::atomic<bool>& cancel) {
  for (;;) {
    if (cancel.load(std::memory_order_relaxed)) return false;
    if (size == bytes.size()) bytes.resize(std::min(size * 2 + binaryProbe, limit));
    if (size == bytes.size()) return true;
    auto room = static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size() - size, readPart));
    std::uint32_t got = 0;
    if (!platform::ReadFile(file.Get(), bytes.data() + size, room, got)) return false;
    if (got == 0) return true;
    size += got;
  }
}

// Reads the file at path into bytes, its first bytes alone when they show it is binary.
FileKind ReadFileBytes(const std::wstring& path, std::string& bytes, const std::atomic<bool>& cancel) {
  const platform::File file(platform::OpenForReading(path));
  if (!file.IsOpen()) return FileKind::unreadable;
  // A device or a pipe may never end: as binary as it gets.
  if (!platform::IsDiskFile(file.Get())) return FileKind::binary;
  FileKind kind = FileKind::unreadable;
  try {
    std::size_t size = 0;
    const std::uint64_t expected = platform::FileSize(file.Get());
    bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(expected, binaryProbe)));
    if (ReadInto(file, bytes, size, binaryProbe, cancel)) {
      if (LooksBinary(std::string_view(bytes.data(), size))) {
        kind = FileKind::binary;
      } else {
        // One byte more than the file's size finds its end without growing the buffer.
        bytes.resize(std::max<std::size_t>(static_cast<std::size_t>(expected) + 1, size));
        if (ReadInto(file, bytes, size, bytes.max_size(), cancel)) kind = FileKind::text;
      }
    }
    bytes.resize(size);
  } catch (const std::bad_alloc&) {
    kind = FileKind::unreadable;  // too large to hold: it is not searched, and counted
  } catch (const std::length_error&) {
    kind = FileKind::unreadable;
  }
  return kind;
}

std::wstring DecodeText(const std::string& bytes) {
  const DetectedFormat detected = DetectFormat(bytes.data(), bytes.size());
  const std::size_t count = bytes.size() - detected.bomBytes;
  std::wstring text(count, L'\0');
  text.resize(Decode(detected.format.encoding, bytes.data() + detected.bomBytes, count, text.data()));
  return text;
}

// What a hit line shows of its line, cut short between two characters; line breaks would split
// it in the results document.
std::wstring ShownText(std::wstring_view line) {
  std::size_t length = std::min(line.size(), maxHitText);
  if (length < line.size() && line[length - 1] >= 0xD800 && line[length - 1] <= 0xDBFF) --length;
  std::wstring text(line.substr(0, length));
  std::replace(text.begin(), text.end(), L'\r', L' ');
  return text;
}

class FileWalk {
 public:
  FileWalk(const FileSearchRequest& request, LineMatcher& matcher, FileSearchProgress& progress)
      : request_(request), matcher_(matcher), progress_(progress) {}

  FileSearchResult Run() {
    Walk(L"");
    result_.cancelled = Cancelled();
    return std::move(result_);
  }

 private:
  bool Cancelled() const { return progress_.cancel.load(std::memory_order_relaxed); }

  // relative: the folder's path below the searched one, empty for the searched one itself.
  void Walk(const std::wstring& relative) {
    const std::wstring folder = relative.empty() ? request_.folder : platform::JoinPath(request_.folder, relative);
    std::vector<platform::FoundFile> entries = platform::ListFolder(platform::JoinPath(folder, L"*"));
    std::erase_if(entries, Hidden);
    std::sort(entries.begin(), entries.end(), NameBefore);
    for (const platform::FoundFile& entry : entries) {
      if (Cancelled()) return;
      if (!entry.isFolder && !entry.special && NameMatches(entry.name, request_.patterns))
        SearchFile(relative.empty() ? entry.name : platform::JoinPath(relative, entry.name), entry.name);
    }
    if (!request_.subfolders) return;
    for (const platform::FoundFile& entry : entries) {
      // A linked folder may lead back up the tree.
      if (Cancelled()) return;
      if (entry.isFolder && !entry.link)
        Walk(relative.empty() ? entry.name : platform::JoinPath(relative, entry.name));
    }
  }

  // The text the editor holds of the file at path, named name; null when it is not open with
  // changes. Names are compared first: asking whether two paths name one file opens both.
  const std::wstring* OpenText(const std::wstring& path, const std::wstring& name) const {
    for (const OpenFileText& open : request_.openTexts) {
      if (SameName(platform::FileNameOf(open.path), name) && platform::SameFile(open.path, path))
        return &open.text;
    }
    return nullptr;
  }

  void SearchFile(const std::wstring& relative, const std::wstring& name) {
    const std::wstring path = platform::JoinPath(request_.folder, relative);
    const std::wstring* open = OpenText(path, name);
    std::string bytes;
    FileKind kind = open ? FileKind::text : ReadFileBytes(path, bytes, progress_.cancel);
    if (kind == FileKind::binary) return;
    if (kind == FileKind::text) {
      try {
        const std::size_t before = result_.lines.size();
        if (open) SearchText(relative, *open);
        else SearchText(relative, DecodeText(bytes));
        if (result_.lines.size() > before) ++result_.filesWithHits;
      } catch (const std::bad_alloc&) {
        kind = FileKind::unreadable;  // its text is too large to hold beside its bytes
      }
    }
    if (kind == FileKind::unreadable) {
      ++result_.unreadable;
      return;
    }
    ++result_.filesSearched;
    progress_.filesSearched.store(result_.filesSearched, std::memory_order_relaxed);
  }

  void SearchText(const std::wstring& relative, std::wstring_view text) {
    int number = 1;
    for (std::size_t start = 0; start <= text.size() && !Cancelled(); ++number) {
      std::size_t end = std::min(text.find(L'\n', start), text.size());
      std::wstring_view line = text.substr(start, end - start);
      if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
      if (matcher_.MatchForwardInLine(line, 0).Found()) {
        result_.lines.push_back({relative, number, ShownText(line)});
        progress_.hits.fetch_add(1, std::memory_order_relaxed);
      } else if (matcher_.GaveUp()) {
        // One line too costly for an expression must not silence the lines after it.
        ++result_.costlyLines;
        matcher_.Restart();
      }
      start = end + 1;
    }
  }

  const FileSearchRequest& request_;
  LineMatcher& matcher_;
  FileSearchProgress& progress_;
  FileSearchResult result_;
};

}  // namespace

std::vector<std::wstring> SplitPatterns(std::wstring_view list) {
  std::vector<std::wstring> patterns;
  while (!list.empty()) {
    const std::size_t end = std::min(list.find(L';'), list.size());
    std::wstring_view pattern = list.substr(0, end);
    while (!pattern.empty() && IsBlank(pattern.front())) pattern.remove_prefix(1);
    while (!pattern.empty() && IsBlank(pattern.back())) pattern.remove_suffix(1);
    if (!pattern.empty()) patterns.emplace_back(pattern);
    list.remove_prefix(std::min(end + 1, list.size()));
  }
  return patterns;
}

FileSearchResult SearchFiles(const FileSearchRequest& request, LineMatcher& matcher,
                             FileSearchProgress& progress) {
  return FileWalk(request, matcher, progress).Run();
}

std::wstring HitLinesText(const FileSearchResult& result) {
  // Reserved at once: hundreds of thousands of hits make tens of megabytes.
  std::size_t size = 0;
  for (const HitLine& hit : result.lines) size += hit.path.size() + hit.text.size() + 16;
  std::wstring text;
  text.reserve(size);
  for (const HitLine& hit : result.lines) {
    text += hit.path;
    text += L'(';
    text += std::to_wstring(hit.line);
    text += L"): ";
    text += hit.text;
    text += L"\r\n";
  }
  return text;
}
