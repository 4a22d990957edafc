// The word index of a document: changes at the edges of what counts as a word, on lines read
// from a file (kept in its bytes), keep it equal to an index built from the text; and the words
// it offers for a prefix.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TempFolder.h"
#include "text/Edit.h"
#include "text/EditModel.h"
#include "text/TextFile.h"

namespace {

std::wstring Repeated(wchar_t ch, int count) { return std::wstring(static_cast<std::size_t>(count), ch); }

std::string Narrow(const std::wstring& text) { return {text.begin(), text.end()}; }

}  // namespace

TEST(WordIndex, ChangesAtTheEdgesOfWordsKeepItExact) {
  const std::wstring longest = Repeated(L'a', WordIndex::longestWord);
  struct Case {
    const char* name;
    std::vector<std::wstring> lines;
    int fromLine, fromIndex, toLine, toIndex;
    std::wstring text;
  };
  const Case cases[] = {
      {"a space splits a run too long into two words", {Repeated(L'a', 150)}, 0, 75, 0, 75, L" "},
      {"joining two words makes one too long", {Repeated(L'b', 60) + L" " + Repeated(L'b', 60)}, 0, 60, 0, 61, L""},
      {"a word of the longest length grows past it", {L"x " + longest + L" y"}, 0, 50, 0, 50, L"a"},
      {"a run one too long shrinks to a word", {longest + L"a"}, 0, 3, 0, 4, L""},
      {"a typed letter continues the word before it", {L"ab cd"}, 0, 2, 0, 2, L"x"},
      {"a digit before a word makes it a number", {L"abc"}, 0, 0, 0, 0, L"7"},
      {"deleting a digit makes a word again", {L"7abc 7abc"}, 0, 0, 0, 1, L""},
      {"lines removed and words joined across them", {L"one two", L"three", L"four five"}, 0, 5, 2, 2, L""},
      {"a line break splits a word", {L"alphabet"}, 0, 5, 0, 5, L"\r\n"},
      {"a lone carriage return or line feed parts words", {L"abcd"}, 0, 2, 0, 2, L"\rx\ny"},
      {"a word pasted over lines", {L"ab", L"cd"}, 0, 1, 1, 1, L"pasted words\r\nhere"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    std::string bytes;
    for (const auto& line : c.lines) bytes += Narrow(line) + "\r\n";
    folder.Write(L"t.txt", bytes);
    Document document;
    ASSERT_TRUE(LoadText(document, folder.Path(L"t.txt")));
    ASSERT_TRUE(document.lines[0].IsNarrow());
    AttachWordIndex(document);
    ReplaceText(document, PosAt(document, c.fromLine, c.fromIndex),
                PosAt(document, c.toLine, c.toIndex), c.text, editOther);
    EXPECT_EQ(WordIndexDifference(document), "");
    Undo(*document.undo);
    EXPECT_EQ(WordIndexDifference(document), "");
    // Reading the file anew drops the index: it would describe the old text.
    ASSERT_TRUE(LoadText(document, folder.Path(L"t.txt")));
    EXPECT_EQ(document.words, nullptr);
  }
}

TEST(WordIndex, OffersLongerWordsThatBeginWithThePrefix) {
  auto document = MakeDocument({L"Print print printf pr 42nd _private", L"printf priNT x"},
                               Settings(false, 4, 2), Document::noWrapWidth, nullptr);
  AttachWordIndex(*document);
  EXPECT_EQ(document->words->Count(L"printf"), 2);
  EXPECT_EQ(document->words->Count(L"42nd"), 0);  // a number, no word
  EXPECT_EQ(document->words->Count(L"x"), 0);     // one letter completes nothing
  const auto offered = [&](std::wstring_view prefix, bool ignoreCase) {
    std::set<std::wstring> words;
    document->words->ForEachCompletion(prefix, ignoreCase,
                                       [&](std::wstring_view word) { words.emplace(word); });
    return words;
  };
  EXPECT_EQ(offered(L"pri", false), (std::set<std::wstring>{L"print", L"printf", L"priNT"}));
  EXPECT_EQ(offered(L"print", false), (std::set<std::wstring>{L"printf"}));
  EXPECT_EQ(offered(L"PRINT", true), (std::set<std::wstring>{L"printf"}));
  EXPECT_EQ(offered(L"pRi", true),
            (std::set<std::wstring>{L"Print", L"print", L"printf", L"priNT"}));
  EXPECT_EQ(offered(L"_p", false), (std::set<std::wstring>{L"_private"}));
  EXPECT_EQ(offered(L"printf", false), (std::set<std::wstring>{}));
}

TEST(WordIndex, StaysExactWhenWordsThatNoLongerOccurAreDropped) {
  std::vector<std::wstring> lines;
  for (int i = 0; i < 12000; ++i) lines.push_back(L"word" + std::to_wstring(i) + L" shared");
  auto document = MakeDocument(lines, Settings(false, 4, 2), Document::noWrapWidth, nullptr);
  AttachWordIndex(*document);
  const std::size_t memory = document->words->MemoryBytes();
  // Most words go: the places they kept are given up.
  ReplaceText(*document, PosAt(*document, 100, 0), PosAt(*document, 11999, 0), L"", editOther);
  EXPECT_EQ(WordIndexDifference(*document), "");
  EXPECT_EQ(document->words->WordCount(), 102u);
  EXPECT_LT(document->words->MemoryBytes(), memory / 4);
  EXPECT_EQ(document->words->Count(L"shared"), 101);
  Undo(*document->undo);
  EXPECT_EQ(WordIndexDifference(*document), "");
  EXPECT_EQ(document->words->Count(L"word11998"), 1);
}
