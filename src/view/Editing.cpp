// Typing, Enter, deletions, block indentation, undo and redo on the edit view's document.
#include "view/Editing.h"

#include <algorithm>
#include <string>

#include "text/Document.h"
#include "text/Edit.h"
#include "text/Layout.h"
#include "text/Line.h"
#include "text/UndoHistory.h"
#include "view/Caret.h"
#include "view/Movement.h"

namespace {

// A copy of pos as the editing operation wants it: normalised.
TextPos Normalized(const TextPos& pos) {
  TextPos copy = pos;
  Normalize(copy);
  return copy;
}

// Replaces the text between two positions and shows the result.
void Replace(EditView& view, const TextPos& from, const TextPos& to, std::wstring_view text,
             int kind) {
  const ChangeRecord change =
      ReplaceText(*view.document, Normalized(from), Normalized(to), text, kind);
  AfterEdit(view, change);
  TakeDesiredColumn(view);
}

// Deletes the range between anchor and caret; the kind tells a single character deleted
// forward (anchor first) or backward (caret first) from any other deletion.
void DeleteRange(EditView& view) {
  if (SamePlace(view.anchor, view.caret)) return;
  const bool anchorFirst = IsBefore(view.anchor, view.caret);
  const TextPos& earlier = anchorFirst ? view.anchor : view.caret;
  const TextPos& later = anchorFirst ? view.caret : view.anchor;
  TextPos next = earlier;
  MoveRight(next);
  int kind = editOther;
  if (SamePlace(next, later)) kind = anchorFirst ? editDeleteForward : editDeleteBackward;
  Replace(view, earlier, later, L"", kind);
}

// Deletes the selection, or the character the step moves the caret over.
template <typename Step>
void DeleteCharacter(EditView& view, Step step) {
  if (!view.selectionActive) {
    view.anchor = view.caret;
    step(view.caret);
    if (SamePlace(view.anchor, view.caret)) return;  // at an end of the document
    view.selectionActive = true;
  }
  DeleteRange(view);
}

template <typename Step>
void DeleteWord(EditView& view, Step step, bool caretMoves) {
  if (view.selectionActive && !SamePlace(view.anchor, view.caret)) {
    DeleteRange(view);
    return;
  }
  view.anchor = view.caret;
  step(caretMoves ? view.caret : view.anchor);
  if (SamePlace(view.anchor, view.caret)) return;  // no word to delete
  Replace(view, view.anchor, view.caret, L"", editOther);
}

// The lines a block indent or unindent works on: from the earlier end's line to the later
// end's, leaving out the later end's line when the selection ends at its start.
struct Block {
  int first;
  int last;
};

Block BlockOf(const EditView& view) {
  const TextPos& caret = view.caret;
  const TextPos& anchor = view.selectionActive ? view.anchor : view.caret;
  const bool anchorFirst = !IsBefore(caret, anchor);
  const TextPos& earlier = anchorFirst ? anchor : caret;
  const TextPos& later = anchorFirst ? caret : anchor;
  Block block{earlier.line, later.line};
  if (later.index == 0 && later.line > earlier.line) --block.last;
  return block;
}

// Shows the merged edits of a block, puts the caret after the block and selects the block
// from the start of its first line.
void FinishBlock(EditView& view, ChangeRecord change, const Block& block) {
  Document& document = *view.document;
  // After the block: the start of the next line, or the end of the block when it reaches
  // the last line (so that the block stays whole for a further indent).
  if (block.last + 1 < document.LineCount()) {
    change.endLine = block.last + 1;
    change.endIndex = 0;
  } else {
    change.endLine = block.last;
    change.endIndex = document.lines[block.last].Length();
  }
  if (change.firstRow >= 0) {
    AfterEdit(view, change);
  } else {
    HideViewCaret(view);
    view.selectionActive = false;
    SetPos(view.caret, change.endIndex, change.endLine);
    view.anchor = view.caret;
    ShowCaretAt(view);
  }
  TextPos blockStart(document);
  SetPos(blockStart, 0, block.first);
  UpdateCaret(view, blockStart, true, caretKeepScreenRow);
  TakeDesiredColumn(view);
}

// The number of leading blanks that reach the first tab stop.
int UnindentCount(const Line& line, int tabSize) {
  int column = 0, count = 0;
  while (count < line.Length()) {
    const wchar_t ch = line.CharAt(count);
    if (ch != L' ' && ch != L'\t') break;
    column = ch == L'\t' ? column + tabSize - column % tabSize : column + 1;
    ++count;
    if (column % tabSize == 0) break;
  }
  return count;
}

}  // namespace

void ReplaceSelection(EditView& view, std::wstring_view text, int kind) {
  const TextPos from = view.selectionActive ? view.anchor : view.caret;
  Replace(view, from, view.caret, text, kind);
}

void Enter(EditView& view) {
  std::wstring text = L"\r\n";
  const Document& document = *view.document;
  if (document.settings.indent) {
    const int tabSize = std::max(1, document.settings.tabsize);
    const int width =
        std::min(IndentWidth(document, document.lines[view.caret.line]), view.caret.visualColumn);
    text.append(static_cast<std::size_t>(width / tabSize), L'\t');
    text.append(static_cast<std::size_t>(width % tabSize), L' ');
  }
  ReplaceSelection(view, text, editOther);
}

void DeleteForward(EditView& view) { DeleteCharacter(view, MoveRight); }
void DeleteBackward(EditView& view) { DeleteCharacter(view, MoveLeft); }
void DeleteWordBackward(EditView& view) { DeleteWord(view, WordLeft, false); }
void DeleteWordForward(EditView& view) { DeleteWord(view, WordRight, true); }

void Indent(EditView& view, bool fromTabKey) {
  if (fromTabKey && (!view.selectionActive || view.anchor.line == view.caret.line)) {
    ReplaceSelection(view, L"\t", editTyping);
    return;
  }
  const Block block = BlockOf(view);
  ChangeRecord change;
  {
    // The application hears of the change once, after the last line.
    EditBatch batch(*view.document);
    for (int line = block.first; line <= block.last; ++line) {
      TextPos start(*view.document);
      SetPos(start, 0, line);
      AddChange(change, ReplaceText(*view.document, start, start, L"\t",
                                line == block.first ? editOther : editContinue));
    }
  }
  view.document->NotifyStateChanged();
  FinishBlock(view, change, block);
}

void Unindent(EditView& view) {
  if (!view.selectionActive || view.anchor.line == view.caret.line) return;
  const Block block = BlockOf(view);
  Document& document = *view.document;
  const int tabSize = std::max(1, document.settings.tabsize);
  ChangeRecord change;
  {
    // The document's state is told of once, after the last of them, not after each.
    EditBatch batch(document);
    for (int line = block.first; line <= block.last; ++line) {
      const int count = UnindentCount(document.lines[line], tabSize);
      if (count == 0) continue;
      TextPos start(document), end(document);
      SetPos(start, 0, line);
      SetPos(end, count, line);
      AddChange(change, ReplaceText(document, start, end, L"", editOther));
    }
  }
  if (change.firstRow >= 0) document.NotifyStateChanged();
  FinishBlock(view, change, block);
}

void UndoEdit(EditView& view) {
  if (!CanUndo(*view.document->undo)) return;
  AfterEdit(view, Undo(*view.document->undo));
  TakeDesiredColumn(view);
}

void RedoEdit(EditView& view) {
  if (!CanRedo(*view.document->undo)) return;
  AfterEdit(view, Redo(*view.document->undo));
  TakeDesiredColumn(view);
}
