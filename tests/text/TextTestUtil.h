// Documents built from lines, and their text and layout read back, for the text model's tests.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "config/Classify.h"
#include "config/DocClass.h"
#include "text/Document.h"
#include "text/Layout.h"
#include "text/Line.h"
#include "text/TextPos.h"

inline DocClass Settings(bool wordwrap, int tabsize, int relindent, bool indent = false) {
  DocClass settings;
  settings.wordwrap = wordwrap;
  settings.tabsize = tabsize;
  settings.relindent = relindent;
  settings.indent = indent;
  return settings;
}

using Lines = std::vector<std::wstring>;

// A place in the text, comparable and printable in test messages.
struct At {
  int line;
  int index;
  friend bool operator==(const At&, const At&) = default;
};
inline std::ostream& operator<<(std::ostream& out, const At& at) {
  return out << "(" << at.line << ", " << at.index << ")";
}

// Replaces the document's lines (laid out properly by the next relayout).
inline void SetLines(Document& document, const std::vector<std::wstring>& lines) {
  document.lines.Clear();
  document.rowTotals.Clear();
  std::uint32_t state = 0;
  for (const auto& text : lines.empty() ? std::vector<std::wstring>{L""} : lines) {
    int rows = 0;
    ConstructLine(document, document.LineCount(), text, rows, state);
    document.rowTotals.Append(rows);
  }
}

// A document holding lines, laid out for settings, highlighter and wrapWidth.
inline std::unique_ptr<Document> MakeDocument(const std::vector<std::wstring>& lines,
                                              const TextClass& settings, int wrapWidth,
                                              const LineSyntax* highlighter) {
  auto document = std::make_unique<Document>();
  document->settings = settings;
  document->highlighter = highlighter;
  document->wrapWidth = wrapWidth;
  SetLines(*document, lines);
  LayoutDocument(*document);
  return document;
}

// A document holding lines, laid out for the class and wrapWidth.
inline std::unique_ptr<Document> MakeDocument(const std::vector<std::wstring>& lines,
                                              const DocClass& settings, int wrapWidth) {
  return MakeDocument(lines, settings, wrapWidth, HighlightingOf(settings));
}

// The lines' characters, read as a look that leaves lines in a file's bytes as they are.
inline std::vector<std::wstring> LinesOf(const Document& document) {
  std::vector<std::wstring> lines;
  for (int i = 0; i < document.LineCount(); ++i)
    lines.emplace_back(document.lines[i].Peek());
  return lines;
}

// The rows of lines 0 to i together, for every line i.
inline std::vector<int> RowTotalsOf(const Document& document) {
  std::vector<int> totals;
  for (int i = 1; i <= document.LineCount(); ++i) totals.push_back(RowsBefore(document, i));
  return totals;
}

inline std::vector<int> EndsOf(const Line& line) {
  std::vector<int> ends;
  for (int k = 0; k < line.SegmentCount(); ++k) ends.push_back(line.SegmentEnd(k));
  return ends;
}

inline TextPos PosAt(Document& document, int line, int index) {
  TextPos pos(document);
  SetPos(pos, index, line);
  return pos;
}
