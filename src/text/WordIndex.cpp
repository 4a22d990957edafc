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

WordIndex::WordIndex(std::shared_ptr<const WordChars> chars, const void* source)
    : chars_(std::move(chars)), source_(source) {
  const codepage::ByteUnits& units = codepage::Units();
  for (int b = 0; b < 256; ++b) narrowPart_[static_cast<std::size_t>(b)] = chars_->IsPart(units.unit[b]);
}

void WordIndex::AddDocument(const Document& document) {
  CountLines(document, std::numeric_limits<std::size_t>::max());
}

bool WordIndex::CountLines(const Document& document, std::size_t units) {
  std::size_t read = 0;
  for (; counted_ < document.LineCount() && read < units; ++counted_) {
    const Line& line = document.lines[counted_];
    ScanLine(line, 0, line.Length(), true);
    read += static_cast<std::size_t>(line.Length()) + 1;
  }
  return IsComplete(document);
}

bool WordIndex::IsComplete(const Document& document) const { return counted_ >= document.LineCount(); }

void WordIndex::ScanLine(const Line& line, int begin, int end, bool add) {
  if (begin >= end) return;
  const auto offset = static_cast<std::size_t>(begin);
  const auto count = static_cast<std::size_t>(end - begin);
  // A narrow line is read in its bytes: widening it would cost the memory it saves.
  if (line.IsNarrow()) {
    ScanBytes(line.Bytes().substr(offset, count), add);
  } else {
    ScanUnits(line.Text().substr(offset, count), add);
  }
}

void WordIndex::ScanUnits(std::wstring_view units, bool add) {
  const wchar_t* p = units.data();
  const wchar_t* const end = p + units.size();
  while (p < end) {
    while (p < end && !chars_->IsPart(*p)) ++p;
    const wchar_t* run = p;
    while (p < end && chars_->IsPart(*p)) ++p;
    CountRun({run, static_cast<std::size_t>(p - run)}, add);
  }
}

void WordIndex::ScanBytes(std::string_view bytes, bool add) {
  const wchar_t* const units = codepage::Units().unit;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  std::array<wchar_t, longestWord> word;
  while (p < end) {
    while (p < end && !narrowPart_[*p]) ++p;
    const unsigned char* run = p;
    while (p < end && narrowPart_[*p]) ++p;
    const auto length = static_cast<std::size_t>(p - run);
    if (length < 2 || length > word.size()) continue;
    std::uint32_t hash = hashBasis;
    for (std::size_t i = 0; i < length; ++i) {
      word[i] = units[run[i]];
      hash = HashStep(hash, word[i]);
    }
    CountWord({word.data(), length}, hash, add);
  }
}

void WordIndex::CountRun(std::wstring_view run, bool add) {
  if (run.size() < 2 || run.size() > static_cast<std::size_t>(longestWord)) return;
  CountWord(run, HashOf(run), add);
}

void WordIndex::CountWord(std::wstring_view run, std::uint32_t hash, bool add) {
  if (!chars_->CanStart(run[0])) return;
  const auto length = static_cast<int>(run.size());
  if (add) {
    Add(run.data(), length, hash);
  } else {
    Remove(run.data(), length, hash);
  }
}

void WordIndex::CountJoined(std::wstring_view before, std::wstring_view run, std::wstring_view after,
                            bool add) {
  // Too long a word is not put together only to be left out.
  const std::size_t length = before.size() + run.size() + after.size();
  if (length > static_cast<std::size_t>(longestWord)) return;
  std::array<wchar_t, longestWord> word;
  auto at = std::copy(before.begin(), before.end(), word.begin());
  at = std::copy(run.begin(), run.end(), at);
  std::copy(after.begin(), after.end(), at);
  CountRun({word.data(), length}, add);
}

void WordIndex::BeforeReplace(const Document& document, const TextPos& from, const TextPos& to,
                              std::wstring_view text) {
  if (from.line >= counted_) return;  // lines still to be counted as they will be
  if (to.line >= counted_) {
    // The change reaches into the lines still to be counted: from its first line on, the lines
    // are counted again later as they will be.
    for (; counted_ > from.line; --counted_) {
      const Line& line = document.lines[counted_ - 1];
      ScanLine(line, 0, line.Length(), false);
    }
    return;
  }
  // Every line the change touches is counted: those it makes or removes are too.
  counted_ += static_cast<int>(std::count(text.begin(), text.end(), L'\n')) - (to.line - from.line);
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
  // In come the words of what will stand there: the word characters before the change and
  // after it join the text's first and last runs.
  std::array<wchar_t, longestWord + 1> headUnits, tailUnits;
  for (int i = begin; i < from.index; ++i) headUnits[static_cast<std::size_t>(i - begin)] = first.CharAt(i);
  for (int i = to.index; i < end; ++i) tailUnits[static_cast<std::size_t>(i - to.index)] = last.CharAt(i);
  const std::wstring_view head(headUnits.data(), static_cast<std::size_t>(from.index - begin));
  const std::wstring_view tail(tailUnits.data(), static_cast<std::size_t>(end - to.index));
  const auto delimiter = [this](wchar_t ch) { return !chars_->IsPart(ch); };
  const auto firstBreak = std::find_if(text.begin(), text.end(), delimiter);
  if (firstBreak == text.end()) {
    CountJoined(head, text, tail, true);
    return;
  }
  const auto lastBreak = std::find_if(text.rbegin(), text.rend(), delimiter).base() - 1;
  CountJoined(head, {text.begin(), firstBreak}, {}, true);
  ScanUnits({firstBreak, lastBreak + 1}, true);
  CountJoined({}, {lastBreak + 1, text.end()}, tail, true);
}

std::size_t WordIndex::SlotOf(const wchar_t* word, int length, std::uint32_t hash) const {
  const std::size_t mask = table_.size() - 1;
  const std::wstring_view wanted(word, static_cast<std::size_t>(length));
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Entry& entry = table_[i];
    if (entry.length == 0 || (entry.hash == hash && WordOf(entry) == wanted)) return i;
  }
}

void WordIndex::Add(const wchar_t* word, int length, std::uint32_t hash) {
  if ((used_ + 1) * 2 > table_.size()) Rehash(std::max<std::size_t>(16, table_.size() * 2));
  Entry& entry = table_[SlotOf(word, length, hash)];
  if (entry.length != 0) {
    if (entry.count++ == 0) --unused_;
    return;
  }
  // Offsets are 32 bits: beyond that many characters of distinct words, new ones are left out.
  if (text_.size() + static_cast<std::size_t>(length) > std::numeric_limits<std::uint32_t>::max())
    return;
  entry = {static_cast<std::uint32_t>(text_.size()), 1, hash, static_cast<std::uint16_t>(length)};
  text_.insert(text_.end(), word, word + length);
  ++used_;
}

void WordIndex::Remove(const wchar_t* word, int length, std::uint32_t hash) {
  if (table_.empty()) return;
  Entry& entry = table_[SlotOf(word, length, hash)];
  // A word left out when it came is not there.
  if (entry.length == 0 || entry.count == 0 || --entry.count > 0) return;
  ++unused_;
  if (unused_ > unusedBeforePacking && unused_ * 2 > used_) Pack();
}

void WordIndex::Rehash(std::size_t size) {
  std::vector<Entry> old(size);
  old.swap(table_);
  const std::size_t mask = table_.size() - 1;
  for (const Entry& entry : old) {
    if (entry.length == 0) continue;
    std::size_t i = entry.hash & mask;
    while (table_[i].length != 0) i = (i + 1) & mask;
    table_[i] = entry;
  }
}

void WordIndex::Pack() {
  std::vector<wchar_t> text;
  std::vector<Entry> live;
  for (const Entry& entry : table_) {
    if (entry.length == 0 || entry.count == 0) continue;
    live.push_back({static_cast<std::uint32_t>(text.size()), entry.count, entry.hash, entry.length});
    const std::wstring_view word = WordOf(entry);
    text.insert(text.end(), word.begin(), word.end());
  }
  text_ = std::move(text);
  used_ = live.size();
  unused_ = 0;
  table_ = std::move(live);
  Rehash(std::bit_ceil(std::max<std::size_t>(16, (used_ + 1) * 2)));
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
  for (const Entry& entry : table_) {
    if (entry.count == 0 || entry.length <= prefix.size()) continue;
    const std::wstring_view word = WordOf(entry);
    if (begins(word)) found(word);
  }
}

int WordIndex::Count(std::wstring_view word) const {
  if (table_.empty() || word.empty() || word.size() > static_cast<std::size_t>(longestWord)) return 0;
  return static_cast<int>(table_[SlotOf(word.data(), static_cast<int>(word.size()), HashOf(word))].count);
}

std::size_t WordIndex::MemoryBytes() const {
  return sizeof(*this) + text_.capacity() * sizeof(wchar_t) + table_.capacity() * sizeof(Entry);
}
