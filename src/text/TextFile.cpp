// Loading converts each line's bytes straight into the text arena of a fresh line store, which
// takes the place of the document's lines only when the whole file was read.
#include "text/TextFile.h"

#include <algorithm>
#include <utility>

#include "text/CodePage.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "text/LineReader.h"
#include "text/LineWriter.h"
#include "text/UndoHistory.h"

namespace {

// Appends one line of bytes to store and its row total to totals.
void AppendLine(const Document& document, LineStore& store, std::vector<int>& totals,
                const char* bytes, std::size_t count, int& rows, std::uint32_t& state) {
  wchar_t* text = store.ArenaText(count);
  std::size_t length = codepage::ToWide(bytes, count, text);
  store.ShrinkArenaText(text, length, count);
  Line& line = store.AppendArenaLine(text, static_cast<int>(length));
  LayoutLine(document, line, state);
  rows += line.SegmentCount();
  if (totals.size() == totals.capacity()) totals.reserve(totals.size() * 2 + 16);
  totals.push_back(rows);
}

}  // namespace

bool LoadText(Document& document, const std::wstring& path) {
  LineReader reader(path);
  if (reader.Failed()) return false;
  LineStore store;
  std::vector<int> totals;
  int rows = 0;
  std::uint32_t state = 0;
  const char* bytes = nullptr;
  std::size_t count = 0;
  while (reader.ReadLineBytes(bytes, count))
    AppendLine(document, store, totals, bytes, count, rows, state);
  if (store.empty()) AppendLine(document, store, totals, "", 0, rows, state);
  reader.Close();
  document.lines = std::move(store);
  document.rowTotals = std::move(totals);
  RecomputeWidestLine(document);
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
