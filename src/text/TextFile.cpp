// Loading converts each line's bytes straight into the text arena of a fresh line store, which
// takes the place of the document's lines only when the whole file was read.
#include "text/TextFile.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "text/CodePage.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "text/LineReader.h"
#include "text/LineWriter.h"
#include "text/UndoHistory.h"

namespace {

// What loading carries from line to line.
struct Loading {
  LineStore store;
  std::vector<int> totals;
  int rows = 0;
  std::uint32_t state = 0;
  int widest = 0;
};

// Appends one line of bytes to the store, its row total to the totals, and its width to the
// widest line while the line is fresh in the cache.
void AppendLine(const Document& document, Loading& loading, const char* bytes, std::size_t count) {
  wchar_t* text = loading.store.ArenaText(count);
  std::size_t length = codepage::ToWide(bytes, count, text);
  loading.store.ShrinkArenaText(text, length, count);
  Line& line = loading.store.AppendArenaLine(text, static_cast<int>(length));
  LayoutLine(document, line, loading.state);
  loading.rows += line.SegmentCount();
  std::vector<int>& totals = loading.totals;
  if (totals.size() == totals.capacity()) totals.reserve(totals.size() * 2 + 16);
  totals.push_back(loading.rows);
  if (!document.settings.wordwrap) {
    // No code page turns anything but the tab byte into a tab.
    int width = std::memchr(bytes, '\t', count) ? LineWidth(document, line) : line.Length();
    loading.widest = std::max(loading.widest, width);
  }
}

}  // namespace

bool LoadText(Document& document, const std::wstring& path) {
  LineReader reader(path);
  if (reader.Failed()) return false;
  Loading loading;
  const char* bytes = nullptr;
  std::size_t count = 0;
  while (reader.ReadLineBytes(bytes, count)) AppendLine(document, loading, bytes, count);
  if (loading.store.empty()) AppendLine(document, loading, "", 0);
  reader.Close();
  document.lines = std::move(loading.store);
  document.rowTotals = std::move(loading.totals);
  document.widestLine = document.settings.wordwrap ? document.wrapWidth : loading.widest;
  return true;
}

bool SaveText(Document& document, const std::wstring& path) {
  LineWriter writer(path);
  if (writer.Failed()) return false;
  for (int i = 0; i < document.LineCount(); ++i) {
    const Line& line = document.lines[i];
    writer.WriteLine(line.Data(), static_cast<std::size_t>(line.Length()));
  }
  if (!writer.Close()) return false;
  document.modified = false;
  MarkAllModified(*document.undo);
  return true;
}
