// Fuzzes the recovery journal as a crash meets it: random edits, undos and redos of a document
// loaded from a file, journal writes that fail part of the way (a full disk), saves, and crashes
// that tear the journal's last write at any byte. After each crash the journal read back and
// replayed on the saved file must give the text exactly as it was at some point since the last
// write that succeeded (line ends included), never less than that write held, and never text
// that was not.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "FuzzInput.h"
#include "platform/Platform.h"
#include "text/Document.h"
#include "text/Edit.h"
#include "text/Journal.h"
#include "text/JournalWriter.h"
#include "text/Line.h"
#include "text/TextFile.h"
#include "text/TextPos.h"
#include "text/UndoHistory.h"

namespace {

// Stops with the condition that did not hold.
#define Check(condition)                                                   \
  do {                                                                     \
    if (!(condition)) {                                                    \
      std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                        \
    }                                                                      \
  } while (false)

// The text with the form of every line end.
struct Text {
  std::vector<std::wstring> lines;
  std::vector<bool> lineFeeds;
  friend bool operator==(const Text&, const Text&) = default;
};

Text TextOf(const Document& document) {
  Text text;
  for (int i = 0; i < document.LineCount(); ++i) {
    text.lines.emplace_back(document.lines[i].Text());
    // The last line's line end is never written.
    text.lineFeeds.push_back(document.lines[i].EndsInLineFeed() && i + 1 < document.LineCount());
  }
  return text;
}

std::string ReadBytes(const std::wstring& path) {
  std::string native(path.begin(), path.end());
  std::ifstream in(native, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TextPos RandomPos(FuzzInput& in, Document& document) {
  TextPos pos(document);
  const int line = in.Number(document.LineCount());
  SetPos(pos, in.Number(document.lines[line].Length() + 1), line);
  return pos;
}

// What the journal has been given and what the disk holds of it.
struct Journalled {
  std::vector<Text> texts;   // texts[k]: the text after the first k changes since the journal began
  std::size_t changes = 0;   // changes given to the journal
  std::size_t durable = 0;   // changes the last write that succeeded put on the disk
  std::uint64_t durableBytes = 0;  // the journal file's size after that write

  void Restart(const Text& text) {
    texts.assign(1, text);
    changes = durable = 0;
    durableBytes = 0;
  }
  // A change is about to be made: the text the one before it made is complete.
  void BeforeChange(const Document& document) {
    if (texts.size() < changes + 1) texts.push_back(TextOf(document));
    ++changes;
  }
  void AfterAction(const Document& document) {
    if (texts.size() < changes + 1) texts.push_back(TextOf(document));
  }
};

// A crash now, its last write torn at any byte: the journal must give back one of the texts
// since the last write that succeeded.
void CrashAndRecover(FuzzInput& in, const std::wstring& journalPath, const std::wstring& filePath,
                     const Journalled& journalled) {
  if (!platform::FileExists(journalPath)) {
    Check(journalled.durable == 0);  // never written, or removed with nothing unsaved
    return;
  }
  std::string bytes = ReadBytes(journalPath);
  Check(bytes.size() >= journalled.durableBytes);
  if (in.Byte() % 2 == 0) {
    const std::size_t torn = bytes.size() - journalled.durableBytes;
    bytes.resize(journalled.durableBytes + in.Number(static_cast<int>(std::min<std::size_t>(torn, 255)) + 1));
  }
  const std::optional<JournalContents> journal = ParseJournal(bytes);
  Check(journal.has_value());
  const std::size_t count = journal->changes.size();
  Check(count >= journalled.durable && count <= journalled.changes);
  Check(SavedFileUnchanged(*journal));
  Document recovered;
  Check(LoadText(recovered, filePath));
  ReplayJournal(recovered, journal->changes);
  Check(TextOf(recovered) == journalled.texts[count]);
}

Text TextOfFile(const std::wstring& path) {
  Document document;
  Check(LoadText(document, path));
  return TextOf(document);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  static const char* const starts[] = {"", "one\r\ntwo\nthree", "a\rb\r\n\xE9\n", "\xEF\xBB\xBFx\ny"};
  const char* start = starts[in.Number(4)];
  WriteFuzzFile("file.txt", reinterpret_cast<const std::uint8_t*>(start), std::char_traits<char>::length(start));
  const std::wstring filePath = FuzzPath("file.txt");
  const std::wstring journalPath = FuzzPath("doc.fumj");
  platform::RemoveFile(journalPath);

  Document document;
  Check(LoadText(document, filePath));
  Journalled journalled;
  journalled.Restart(TextOf(document));
  std::uint32_t clock = 0;
  {
    JournalWriter writer(journalPath);
    writer.Begin(document.stamp);
    document.onReplace = [&](const TextPos& from, const TextPos& to, std::wstring_view text) {
      journalled.BeforeChange(document);
      writer.Add(from, to, text, clock);
    };
    const wchar_t alphabet[] = L"ab \t\r\n\u00E9\xD83D";
    while (!in.Empty()) {
      const int action = in.Number(10);
      if (action <= 4) {
        const TextPos from = RandomPos(in, document), to = RandomPos(in, document);
        ReplaceText(document, from, to, in.Text(5, alphabet), in.Number(6));
      } else if (action == 5) {
        Undo(*document.undo);
      } else if (action == 6) {
        Redo(*document.undo);
      } else if (action == 7) {
        journalled.AfterAction(document);
        const long long budget = in.Byte() % 4 == 0 ? in.Number(200) : -1;
        platform::testing::FailWritesAfter(budget);
        const bool modified = document.modified;
        const bool written = writer.Write(modified, L"file.txt", clock);
        platform::testing::FailWritesAfter(-1);
        if (written && !modified) journalled.Restart(TextOf(document));
        if (written && modified) {
          journalled.durable = journalled.changes;
          journalled.durableBytes = ReadBytes(journalPath).size();
        }
      } else if (action == 8) {
        if (SaveText(document, filePath)) {
          // As the program does: a save that had to replace characters journals the whole text.
          writer.Begin(document.stamp);
          journalled.Restart(TextOfFile(filePath));
          if (document.modified) {
            TextPos first(document), last(document);
            const int lastLine = document.LineCount() - 1;
            SetPos(last, document.lines[lastLine].Length(), lastLine);
            journalled.BeforeChange(document);
            writer.AddWholeText(TextBetween(document, first, last), lastLine, clock);
          }
        }
      } else {
        journalled.AfterAction(document);
        CrashAndRecover(in, journalPath, filePath, journalled);
      }
      journalled.AfterAction(document);
      clock += 3000;
    }
    CrashAndRecover(in, journalPath, filePath, journalled);
    document.onReplace = nullptr;
  }
  return 0;
}
