// Copy, cut, paste and the appending variants over the view's clipboard.
#include "view/Clipboard.h"

#include "text/Document.h"
#include "text/Edit.h"
#include "text/Line.h"
#include "view/Editing.h"

std::wstring SelectionText(const EditView& view) {
  std::wstring text;
  if (!view.selectionActive) return text;
  const bool anchorFirst = !IsBefore(view.caret, view.anchor);
  const TextPos& start = anchorFirst ? view.anchor : view.caret;
  const TextPos& end = anchorFirst ? view.caret : view.anchor;
  const Document& document = *view.document;
  for (int line = start.line; line <= end.line; ++line) {
    const std::wstring_view chars = document.lines[line].Peek();
    const std::size_t from = line == start.line ? static_cast<std::size_t>(start.index) : 0;
    const std::size_t to = line == end.line ? static_cast<std::size_t>(end.index) : chars.size();
    for (std::size_t i = from; i < to && i < chars.size(); ++i)
      if (chars[i] != L'\0') text.push_back(chars[i]);
    if (line != end.line) text.append(L"\r\n");
  }
  return text;
}

bool CopySelection(EditView& view, const std::wstring& prefix) {
  ViewSurface& surface = *view.surface;
  if (!view.selectionActive || !surface.OpenClipboard()) return false;
  const std::wstring text = prefix + SelectionText(view);
  if (text.empty()) {
    surface.CloseClipboard();
    return false;
  }
  surface.EmptyClipboard();
  const bool written = surface.SetClipboardText(text);
  surface.CloseClipboard();
  return written;
}

bool CutSelection(EditView& view, const std::wstring& prefix) {
  if (!CopySelection(view, prefix)) return false;
  if (!SamePlace(view.anchor, view.caret)) ReplaceSelection(view, L"", editOther);
  return true;
}

bool CopyAppend(EditView& view, bool cut) {
  ViewSurface& surface = *view.surface;
  std::wstring prefix;
  if (surface.ClipboardHasText()) {
    if (!surface.OpenClipboard()) return false;
    if (auto text = surface.GetClipboardText()) prefix = std::move(*text);
    surface.CloseClipboard();
  }
  return cut ? CutSelection(view, prefix) : CopySelection(view, prefix);
}

bool PasteClipboard(EditView& view) {
  ViewSurface& surface = *view.surface;
  if (!surface.ClipboardHasText() || !surface.OpenClipboard()) return false;
  if (auto text = surface.GetClipboardText()) ReplaceSelection(view, *text, editOther);
  surface.CloseClipboard();
  return true;
}
