// The word index of a document: counting the words of its lines and of each change, and the
// words that complete a prefix.
#include "text/WordIndex.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "platform/Platform.h"
#include "text/CodePage.h"
#include "text/Document.h"
#include "text/Line.h"
#include "text/TextPos.h"

namespace {

constexpr std::uint32_t hashBasis = 2166136261u;
constexpr std::uint32_t hashPrime = 16777619u;
// Places of words that no longer occur are kept until there are more of them than this and more
// than of the others.
constexpr std::size_t unusedBeforePacking = 4096;

std::uint32_t HashStep(std::uint32_t hash, wchar_t unit) {
  return (hash ^ (static_cast<std::uint32_t>(unit) & 0xFFFF)) * hashPrime;
}

std::uint32_t HashOf(std::wstring_view word) {
  std::uint32_t hash = hashBasis;
  for (wchar_t unit : word) hash = HashStep(hash, unit);
  return hash;
}

}  // namespace

WordChars::WordChars(const std::function<bool(wchar_t)>& part,
                     const std::function<bool(wchar_t)>& start) {
  for (std::uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
    const auto ch = static_cast<wchar_t>(unit);
    if (ch == L'\r' || ch == L'\n' || !part(ch)) continue;
    part_[unit >> 6] |= std::uint64_t{1} << (unit & 63);
    if (start(ch)) start_[unit >> 6] |= std::uint64_t{1} << (unit & 63);
  }
}

// Reads units one at a time and counts (or takes out) every word they hold; a word may be fed in
// several pieces.
class WordIndex::Scanner {
 public:
  Scanner(WordIndex& index, bool add) : index_(index), chars_(*index.chars_), add_(add) {}
  ~Scanner() { End(); }
  Scanner(const Scanner&) = delete;
  Scanner& operator=(const Scanner&) = delete;

  void Feed(wchar_t unit) {
    if (chars_.IsPart(unit)) {
      Part(unit);
    } else {
      End();
    }
  }
  void Feed(std::wstring_view units) {
    for (wchar_t unit : units) Feed(unit);
  }
  // A narrow line's bytes, each one unit through the code page.
  void FeedBytes(std::string_view bytes) {
    const codepage::ByteUnits& units = codepage::Units();
    for (char byte : bytes) {
      const auto b = static_cast<unsigned char>(byte);
      if (index_.narrowPart_[b]) {
        Part(units.unit[b]);
      } else {
        End();
      }
    }
  }
  // The word read so far (if any) is complete.
  void End() {
    if (length_ >= 2 && length_ <= longestWord && chars_.CanStart(word_[0])) {
      if (add_) {
        index_.Add(word_.data(), length_, hash_);
      } else {
        index_.Remove(word_.data(), length_, hash_);
      }
    }
    length_ = 0;
    hash_ = hashBasis;
  }

 private:
  void Part(wchar_t unit) {
    // Beyond the longest word only the length counts, and only up to one more.
    if (length_ < longestWord) {
      word_[static_cast<std::size_t>(length_)] = unit;
      hash_ = HashStep(hash_, unit);
    }
    if (length_ <= longestWord) ++length_;
  }

  WordIndex& index_;
  const WordChars& chars_;
  const bool add_;
  std::array<wchar_t, longestWord> word_{};
  int length_ = 0;
  std::uint32_t hash_ = hashBasis;
};

WordIndex::WordIndex(std::shared_ptr<const WordChars> chars, const void* source)
    : chars_(std::move(chars)), source_(source) {
  const codepage::ByteUnits& units = codepage::Units();
  for (int b = 0; b < 256; ++b) narrowPart_[static_cast<std::size_t>(b)] = chars_->IsPart(units.unit[b]);
}

void WordIndex::AddDocument(const Document& document) {
  for (int i = 0; i < document.LineCount(); ++i) {
    const Line& line = document.lines[i];
    ScanLine(line, 0, line.Length(), true);
  }
}

void WordIndex::ScanLine(const Line& line, int begin, int end, bool add) {
  if (begin >= end) return;
  Scanner scanner(*this, add);
  const auto offset = static_cast<std::size_t>(begin);
  const auto count = static_cast<std::size_t>(end - begin);
  // A narrow line is read in its bytes: widening it would cost the memory it saves.
  if (line.IsNarrow()) {
    scanner.FeedBytes(line.Bytes().substr(offset, count));
  } else {
    scanner.Feed(line.Text().substr(offset, count));
  }
}

void WordIndex::BeforeReplace(const Document& document, const TextPos& from, const TextPos& to,
                              std::wstring_view text) {
  const Line& first = document.lines[from.line];
  const Line& last = document.lines[to.line];
  // The words the change touches reach out over the word characters next to it. A run longer
  // than any word is cut one beyond that length: the word it belongs to is too long before the
  // change and after it, whatever the change does.
  int begin = from.index;
  const int beginLimit = std::max(0, from.index - (longestWord + 1));
  while (begin > beginLimit && chars_->IsPart(first.CharAt(begin - 1))) --begin;
  int end = to.index;
  const int endLimit = std::min(last.Length(), to.index + longestWord + 1);
  while (end < endLimit && chars_->IsPart(last.CharAt(end))) ++end;

  // Out go the words of the text from begin to end as it stands.
  if (from.line == to.line) {
    ScanLine(first, begin, end, false);
  } else {
    ScanLine(first, begin, first.Length(), false);
    for (int i = from.line + 1; i < to.line; ++i) {
      const Line& line = document.lines[i];
      ScanLine(line, 0, line.Length(), false);
    }
    ScanLine(last, 0, end, false);
  }
  // In come the words of what will stand there.
  Scanner scanner(*this, true);
  for (int i = begin; i < from.index; ++i) scanner.Feed(first.CharAt(i));
  scanner.Feed(text);
  for (int i = to.index; i < end; ++i) scanner.Feed(last.CharAt(i));
}

std::size_t WordIndex::SlotOf(const wchar_t* word, int length, std::uint32_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const std::wstring_view wanted(word, static_cast<std::size_t>(length));
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const std::uint32_t slot = slots_[i];
    if (slot == 0) return i;
    const Entry& entry = entries_[slot - 1];
    if (entry.hash == hash && WordOf(entry) == wanted) return i;
  }
}

void WordIndex::Add(const wchar_t* word, int length, std::uint32_t hash) {
  if ((entries_.size() + 1) * 2 > slots_.size()) Rehash(std::max<std::size_t>(16, slots_.size() * 2));
  const std::size_t i = SlotOf(word, length, hash);
  if (slots_[i] != 0) {
    Entry& entry = entries_[slots_[i] - 1];
    if (entry.count++ == 0) --unused_;
    return;
  }
  // Offsets are 32 bits: beyond that many characters of distinct words, new ones are left out.
  if (text_.size() + static_cast<std::size_t>(length) > std::numeric_limits<std::uint32_t>::max())
    return;
  entries_.push_back({static_cast<std::uint32_t>(text_.size()), 1, hash,
                      static_cast<std::uint16_t>(length)});
  text_.insert(text_.end(), word, word + length);
  slots_[i] = static_cast<std::uint32_t>(entries_.size());
}

void WordIndex::Remove(const wchar_t* word, int length, std::uint32_t hash) {
  if (slots_.empty()) return;
  const std::size_t i = SlotOf(word, length, hash);
  if (slots_[i] == 0) return;  // a word left out when it came
  Entry& entry = entries_[slots_[i] - 1];
  if (entry.count == 0 || --entry.count > 0) return;
  ++unused_;
  if (unused_ > unusedBeforePacking && unused_ * 2 > entries_.size()) Pack();
}

void WordIndex::Rehash(std::size_t size) {
  slots_.assign(size, 0);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t e = 0; e < entries_.size(); ++e) {
    std::size_t i = entries_[e].hash & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    slots_[i] = static_cast<std::uint32_t>(e + 1);
  }
}

void WordIndex::Pack() {
  std::vector<wchar_t> text;
  std::vector<Entry> entries;
  entries.reserve(entries_.size() - unused_);
  for (const Entry& entry : entries_) {
    if (entry.count == 0) continue;
    entries.push_back({static_cast<std::uint32_t>(text.size()), entry.count, entry.hash, entry.length});
    const std::wstring_view word = WordOf(entry);
    text.insert(text.end(), word.begin(), word.end());
  }
  text_ = std::move(text);
  entries_ = std::move(entries);
  unused_ = 0;
  Rehash(std::bit_ceil(std::max<std::size_t>(16, (entries_.size() + 1) * 2)));
}

void WordIndex::ForEachCompletion(std::wstring_view prefix, bool ignoreCase,
                                  const std::function<void(std::wstring_view)>& found) const {
  const auto begins = [&](std::wstring_view word) {
    if (!ignoreCase) return word.starts_with(prefix);
    for (std::size_t i = 0; i < prefix.size(); ++i) {
      if (platform::ToUpper(word[i]) != platform::ToUpper(prefix[i])) return false;
    }
    return true;
  };
  for (const Entry& entry : entries_) {
    if (entry.count == 0 || entry.length <= prefix.size()) continue;
    const std::wstring_view word = WordOf(entry);
    if (begins(word)) found(word);
  }
}

int WordIndex::Count(std::wstring_view word) const {
  if (slots_.empty() || word.empty() || word.size() > static_cast<std::size_t>(longestWord)) return 0;
  const std::size_t i = SlotOf(word.data(), static_cast<int>(word.size()), HashOf(word));
  return slots_[i] == 0 ? 0 : static_cast<int>(entries_[slots_[i] - 1].count);
}

std::size_t WordIndex::MemoryBytes() const {
  return sizeof(*this) + text_.capacity() * sizeof(wchar_t) + entries_.capacity() * sizeof(Entry) +
         slots_.capacity() * sizeof(std::uint32_t);
}
