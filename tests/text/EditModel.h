// A plain model of editing (a vector of strings) and a check of a document's incremental layout
// against one made from scratch: shared by the randomised tests and the edit fuzz target.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "text/TextTestUtil.h"
#include "text/UndoHistory.h"

using Lines = std::vector<std::wstring>;

// ReplaceText on a vector of strings, the plain way.
inline TextPlace ModelReplace(Lines& lines, TextPlace from, TextPlace to, const std::wstring& text) {
  if (to.line < from.line || (to.line == from.line && to.index < from.index)) std::swap(from, to);
  Lines pieces{L""};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r') {
      pieces.emplace_back();
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      pieces.back() += text[i];
    }
  }
  std::wstring head = lines[from.line].substr(0, from.index);
  std::wstring tail = lines[to.line].substr(to.index);
  TextPlace end{static_cast<int>(pieces.back().size()), from.line + static_cast<int>(pieces.size()) - 1};
  if (pieces.size() == 1) end.index += from.index;
  pieces.front() = head + pieces.front();
  pieces.back() += tail;
  lines.erase(lines.begin() + from.line, lines.begin() + to.line + 1);
  lines.insert(lines.begin() + from.line, pieces.begin(), pieces.end());
  return end;
}

// Where the layout of document differs from the layout of the same text made from scratch;
// empty when it does not.
inline std::string LayoutDifference(const Document& document) {
  auto fresh = MakeDocument(LinesOf(document), document.settings, document.wrapWidth);
  if (document.rowTotals != fresh->rowTotals) return "row totals";
  if (document.widestLine != fresh->widestLine) return "widest line";
  for (int i = 0; i < document.LineCount(); ++i) {
    const Line& line = document.lines[i];
    const Line& expected = fresh->lines[i];
    std::string where = " of line " + std::to_string(i);
    if (EndsOf(line) != EndsOf(expected)) return "segment ends" + where;
    if (line.IndentWidth() != expected.IndentWidth()) return "indent width" + where;
    if (line.State() != expected.State()) return "state" + where;
    if (line.ConstructPosition() != expected.ConstructPosition()) return "construct position" + where;
  }
  return {};
}
