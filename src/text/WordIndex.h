// The distinct words of a document with how often each occurs, kept current with every change of
// its text: what word completion offers.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Document;
class Line;
struct TextPos;

// The characters words are made of: those that may stand in a word, and those that may begin
// one (a run of word characters that begins otherwise, such as a number, is no word). Line
// breaks are never word characters.
class WordChars {
 public:
  WordChars(const std::function<bool(wchar_t)>& part, const std::function<bool(wchar_t)>& start);
  bool IsPart(wchar_t ch) const { return Test(part_, ch); }
  bool CanStart(wchar_t ch) const { return Test(start_, ch); }

 private:
  using Bits = std::array<std::uint64_t, 0x10000 / 64>;
  static bool Test(const Bits& bits, wchar_t ch) {
    const auto unit = static_cast<std::uint32_t>(ch);
    return unit <= 0xFFFF && ((bits[unit >> 6] >> (unit & 63)) & 1);
  }
  Bits part_{};
  Bits start_{};
};

// A multiset of words in little memory: the characters of every distinct word once, in one
// array, and a hash table of them with their counts. A word that no longer occurs keeps its place
// (count 0) until such places outnumber the others; then the index is packed anew.
class WordIndex {
 public:
  // Longer runs of word characters are no words worth completing (and would cost memory): a
  // line of data or an encoded blob.
  static constexpr int longestWord = 100;

  // An empty index of words made of chars; source names what chars were taken from (the owner
  // builds a new index when it changes).
  WordIndex(std::shared_ptr<const WordChars> chars, const void* source);

  const WordChars& Chars() const { return *chars_; }
  const void* Source() const { return source_; }

  // Counts every word of document (the lines not counted yet).
  void AddDocument(const Document& document);
  // The index may be built a part at a time, in the program's idle time: the lines are counted
  // from the first on, whole lines until about units characters were read. True once every line
  // is counted; until then the index holds the words of the counted lines alone.
  bool CountLines(const Document& document, std::size_t units);
  bool IsComplete(const Document& document) const;
  // The text between from and to (in order, inside the document) is about to be replaced by
  // text: the words that the change ends are taken out and those it makes are counted. Reads
  // only the characters next to the change and the lines it removes. Of an index still being
  // built, a change in lines not counted yet changes nothing, and one that reaches into them
  // from counted lines makes those lines uncounted again, from its first line on.
  void BeforeReplace(const Document& document, const TextPos& from, const TextPos& to,
                     std::wstring_view text);

  // Calls found with every word that begins with prefix and is longer than it, once each, in no
  // particular order; ignoring case, both sides are compared upper-cased.
  void ForEachCompletion(std::wstring_view prefix, bool ignoreCase,
                         const std::function<void(std::wstring_view)>& found) const;
  // How often word occurs; 0 for a word that does not, or is no word.
  int Count(std::wstring_view word) const;
  // Distinct words that occur.
  std::size_t WordCount() const { return used_ - unused_; }
  // The memory the index holds, in bytes.
  std::size_t MemoryBytes() const;

 private:
  struct Entry {
    std::uint32_t offset = 0;  // of its characters in text_
    std::uint32_t count = 0;   // 0: the word no longer occurs
    std::uint32_t hash = 0;
    std::uint16_t length = 0;  // 0: an empty place of the table
  };

  // The place of word in table_: the one that holds it, or the empty one where it would go.
  std::size_t SlotOf(const wchar_t* word, int length, std::uint32_t hash) const;
  void Add(const wchar_t* word, int length, std::uint32_t hash);
  void Remove(const wchar_t* word, int length, std::uint32_t hash);
  // The words of line between begin and end, of units or of a narrow line's bytes, added or
  // removed; the text begins and ends at the edges of runs of word characters.
  void ScanLine(const Line& line, int begin, int end, bool add);
  void ScanUnits(std::wstring_view units, bool add);
  void ScanBytes(std::string_view bytes, bool add);
  // One whole run of word characters, added or removed when it is a word (of the hash given).
  void CountRun(std::wstring_view run, bool add);
  void CountWord(std::wstring_view run, std::uint32_t hash, bool add);
  void CountJoined(std::wstring_view before, std::wstring_view run, std::wstring_view after, bool add);
  // Puts every entry into a table of size places (a power of two, more than twice the entries).
  void Rehash(std::size_t size);
  // Drops the words that no longer occur.
  void Pack();
  std::wstring_view WordOf(const Entry& entry) const { return {text_.data() + entry.offset, entry.length}; }

  std::shared_ptr<const WordChars> chars_;
  const void* source_;
  std::array<bool, 256> narrowPart_{};  // IsPart of each byte of a narrow line
  std::vector<wchar_t> text_;           // the characters of every entry, one after another
  // The words, open-addressed by their hash (linear probing); a power of two long, at most half
  // of it taken.
  std::vector<Entry> table_;
  std::size_t used_ = 0;    // places taken
  std::size_t unused_ = 0;  // places taken by words with count 0
  int counted_ = 0;         // the document's lines from the first on whose words are counted
};
