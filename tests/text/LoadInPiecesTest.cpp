// A file is read in pieces while the lines of the bytes already read are split, before its
// encoding is known: whatever the pieces, and wherever a byte outside ASCII first shows, the
// lines come out as the whole file's text cut at its line feeds.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "text/EditModel.h"
#include "text/CodePage.h"
#include "text/FileBytes.h"
#include "text/TextFile.h"
#include "text/TextFormat.h"

namespace {

// The lines a file's bytes hold, found apart from the loader: the bytes decoded whole in the
// format DetectFormat finds, cut at line feeds; a carriage return right before a line feed
// belongs to the line end.
struct PlainLines {
  Lines lines;
  std::vector<bool> lineFeeds;  // of every line but the last
  TextFormat format;
};

PlainLines PlainSplit(const std::string& bytes) {
  const DetectedFormat detected = DetectFormat(bytes.data(), bytes.size());
  std::wstring text(bytes.size(), L'\0');
  text.resize(Decode(detected.format.encoding, bytes.data() + detected.bomBytes,
                     bytes.size() - detected.bomBytes, text.data()));
  PlainLines plain{{L""}, {}, detected.format};
  for (wchar_t ch : text) {
    if (ch != L'\n') {
      plain.lines.back() += ch;
      continue;
    }
    std::wstring& line = plain.lines.back();
    const bool crLf = !line.empty() && line.back() == L'\r';
    if (crLf) line.pop_back();
    if (plain.lineFeeds.empty()) plain.format.lineFeed = !crLf;
    plain.lineFeeds.push_back(!crLf);
    plain.lines.emplace_back();
  }
  return plain;
}

// A file of short lines with every kind of line end, now and then bytes outside ASCII (whole
// UTF-8 sequences of two to four bytes, a byte that no UTF-8 holds alone, both: UTF-8 that turns
// out not to be) and sometimes a byte-order mark.
std::string RandomFile(std::mt19937& random) {
  static const char* const pieces[] = {"word ", "x", "\r\n", "\n", "\r", "\n\n", "\t"};
  static const char* const valids[] = {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"};
  std::string bytes;
  static const char* const marks[] = {"\xEF\xBB\xBF", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  if (random() % 8 == 0) bytes = marks[random() % std::size(marks)];
  const int count = static_cast<int>(random() % 400);
  const int valid = random() % 2 == 0 ? -1 : static_cast<int>(random() % (count + 1));
  const int invalid = random() % 2 == 0 ? -1 : static_cast<int>(random() % (count + 1));
  for (int i = 0; i < count; ++i) {
    if (i == valid) bytes += valids[random() % std::size(valids)];
    if (i == invalid) bytes += "\xE9";
    bytes += pieces[random() % std::size(pieces)];
  }
  return bytes;
}

class ReadPiece {
 public:
  explicit ReadPiece(std::size_t bytes) { FileBytes::SetPieceForTests(bytes); }
  ~ReadPiece() { FileBytes::SetPieceForTests(0); }
};

class Shortfall {
 public:
  explicit Shortfall(std::size_t bytes) { FileBytes::SetShortfallForTests(bytes); }
  ~Shortfall() { FileBytes::SetShortfallForTests(0); }
};

void ExpectLoadedAsPlainSplit(const Document& document, const std::string& bytes, const std::string& where) {
  const PlainLines plain = PlainSplit(bytes);
  ASSERT_EQ(LinesOf(document), plain.lines) << where;
  for (std::size_t i = 0; i < plain.lineFeeds.size(); ++i)
    ASSERT_EQ(document.lines[static_cast<int>(i)].EndsInLineFeed(), plain.lineFeeds[i]) << where << " line " << i;
  EXPECT_EQ(document.format.encoding, plain.format.encoding) << where;
  EXPECT_EQ(document.format.bom, plain.format.bom) << where;
  EXPECT_EQ(document.format.lineFeed, plain.format.lineFeed) << where;
}

}  // namespace

TEST(LoadInPieces, AnyFileReadInAnyPiecesLoadsAsItsPlainSplit) {
  TempFolder folder;
  const std::wstring path = folder.Path(L"in.txt");
  std::mt19937 random(34);
  // Every line of a code page file, and lines of ASCII in UTF-8, stay in the file's bytes where
  // the code page reads ASCII as itself.
  const bool asciiStaysNarrow = codepage::IsSingleByte() && codepage::IsAsciiIdentity();
  for (int round = 0; round < 300; ++round) {
    const std::string bytes = RandomFile(random);
    folder.Write(L"in.txt", bytes);
    for (std::size_t piece : {1, 3, 16, 0}) {
      const ReadPiece reads(piece);
      auto document = MakeDocument({L"before"}, Settings(round % 2 == 0, 4, 2), 10);
      ASSERT_TRUE(LoadText(*document, path)) << round;
      const std::string where = "round " + std::to_string(round) + ", pieces of " + std::to_string(piece);
      // Asked before anything reads the lines' characters, which widens them.
      for (int i = 0; asciiStaysNarrow && i < document->LineCount(); ++i) {
        const std::wstring text(document->lines[i].Peek());
        const bool ascii = text.find_first_not_of(L"word x\r\t") == std::wstring::npos;
        const Encoding encoding = document->format.encoding;
        const bool narrow = encoding == Encoding::codePage || (encoding == Encoding::utf8 && ascii);
        EXPECT_EQ(document->lines[i].IsNarrow(), narrow) << where << " line " << i;
      }
      ASSERT_NO_FATAL_FAILURE(ExpectLoadedAsPlainSplit(*document, bytes, where));
      EXPECT_EQ(LayoutDifference(*document), "") << where;
      ASSERT_TRUE(SaveText(*document, folder.Path(L"out.txt"))) << where;
      ASSERT_EQ(folder.Read(L"out.txt"), bytes) << where;
    }
  }
}

// Files whose first bytes alone do not tell their format: marks alone or cut short, a sequence
// cut off at the end, a byte that no UTF-8 holds after UTF-8; read a few bytes at a time.
TEST(LoadInPieces, ShortAndCutFilesTakeTheFormatTheirWholeBytesTell) {
  TempFolder folder;
  const std::wstring path = folder.Path(L"in.txt");
  const std::string files[] = {"", "A", "\xFF", "\xEF\xBB", "\xEF\xBB\xBF", "\xEF\xBB\xBF\xFF",
                               "\xFF\xFE", "\xFF\xFEx", "\xFE\xFF", "ab\xC3\xA9\xE2\x82",
                               "\xC3\xA9xy\xE9", "a\nb\r\n\xC3\xA9\n"};
  for (const std::string& bytes : files) {
    folder.Write(L"in.txt", bytes);
    for (std::size_t piece : {1, 2, 3, 4, 0}) {
      const ReadPiece reads(piece);
      auto document = MakeDocument({L"before"}, Settings(false, 4, 2), 10);
      ASSERT_TRUE(LoadText(*document, path));
      const std::string where = "file of " + std::to_string(bytes.size()) + " bytes, pieces of " + std::to_string(piece);
      ASSERT_NO_FATAL_FAILURE(ExpectLoadedAsPlainSplit(*document, bytes, where));
      ASSERT_TRUE(SaveText(*document, folder.Path(L"out.txt"))) << where;
      EXPECT_EQ(folder.Read(L"out.txt"), bytes) << where;
    }
  }
}

// A file that grew after its size was asked for loads whole, as it is at the end of the read:
// the lines split from a block that turned out too small are made again in one that grows.
TEST(LoadInPieces, AFileLongerThanItsSizeToldLoadsWhole) {
  TempFolder folder;
  const std::wstring path = folder.Path(L"in.txt");
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes += "line " + std::to_string(i) + "\n";
  bytes += "grown\r\nand more \xC3\xA9";
  folder.Write(L"in.txt", bytes);
  for (std::size_t shortfall : {1, 30, 100000}) {
    const Shortfall grown(shortfall);
    const ReadPiece reads(64);
    auto document = MakeDocument({L"before"}, Settings(false, 4, 2), 10);
    ASSERT_TRUE(LoadText(*document, path)) << shortfall;
    ExpectLoadedAsPlainSplit(*document, bytes, "shortfall " + std::to_string(shortfall));
    EXPECT_EQ(document->stamp.size, bytes.size());
  }
}
