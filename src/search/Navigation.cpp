// Marks, goto line and bracket matching on the edit view.
#include "search/Navigation.h"

#include <algorithm>
#include <string>

#include "text/Document.h"
#include "text/Line.h"
#include "text/LineState.h"
#include "text/TextPos.h"
#include "view/Caret.h"
#include "view/EditView.h"
#include "view/Movement.h"

namespace {

bool IsMarked(const Document& document, int line) {
  return document.lines[line].Marked();
}

void SetMark(Document& document, int line, bool marked) {
  Line& text = document.lines[line];
  text.SetState(lineState::WithMark(text.State(), marked));
}

// The margin beside the visual rows first to last (screen rows may lie outside the window).
PixelRect MarginRows(const EditView& view, int firstRow, int lastRow) {
  return PixelRect{0, (firstRow - view.firstRow) * view.lineHeight, view.leftMargin,
                   (lastRow - view.firstRow + 1) * view.lineHeight};
}

// The caret jumps to pos; the target is centred when it lies off screen.
void JumpTo(EditView& view, const TextPos& pos) {
  const TextPos previous = view.caret;
  view.caret = pos;
  UpdateCaret(view, previous, false, caretCentre);
  view.desiredColumn = view.caret.visualColumn;
}

void JumpToLineStart(EditView& view, int line) {
  TextPos pos(*view.document);
  SetPos(pos, 0, line);
  JumpTo(view, pos);
}

bool AtDocumentStart(const TextPos& pos) { return pos.line == 0 && pos.index == 0; }

// Walks from pos to the partner of the bracket c there, whole character by whole character,
// counting nested pairs; false when the walk reaches an end of the document first. The walk
// counts in line and index alone: the position's column is found once, at the partner.
bool FindPartner(TextPos& pos, wchar_t c, wchar_t partner, bool forward) {
  const Document& document = *pos.document;
  int line = pos.line, index = pos.index;
  int depth = 1;
  for (;;) {
    const Line* text = &document.lines[line];
    if (forward) {
      if (index < text->Length()) {
        index = NextCharacter(*text, index);
      } else if (line + 1 < document.LineCount()) {
        ++line;
        index = 0;
        text = &document.lines[line];
      } else {
        return false;
      }
    } else if (index > 0) {
      index = PreviousCharacter(*text, index);
    } else if (line > 0) {
      --line;
      text = &document.lines[line];
      index = text->Length();
    } else {
      return false;
    }
    const wchar_t ch = text->CharAt(index);
    if (ch == c) {
      ++depth;
    } else if (ch == partner && --depth == 0) {
      SetPos(pos, index, line);
      return true;
    }
  }
}

}  // namespace

void ToggleMark(EditView& view) {
  Document& document = *view.document;
  const int line = view.caret.line;
  SetMark(document, line, !IsMarked(document, line));
  // The sign stands beside the line's first row.
  TextPos start(document);
  SetPos(start, 0, line);
  const int row = AbsoluteRow(start);
  view.surface->Invalidate(MarginRows(view, row, row), false);
  view.surface->UpdateNow();
}

void NextMark(EditView& view) {
  const Document& document = *view.document;
  const int count = document.LineCount();
  for (int step = 1; step < count; ++step) {
    const int line = (view.caret.line + step) % count;
    if (IsMarked(document, line)) {
      JumpToLineStart(view, line);
      return;
    }
  }
  UpdateCaret(view, view.caret, false, caretRowMove);
}

void PrevMark(EditView& view) {
  const Document& document = *view.document;
  const int count = document.LineCount();
  // The caret's own line is looked at last, and only when the walk wraps onto it from the
  // first line, which is when it is the last line.
  const int steps = view.caret.line == count - 1 ? count : count - 1;
  for (int step = 1; step <= steps; ++step) {
    const int line = ((view.caret.line - step) % count + count) % count;
    if (IsMarked(document, line)) {
      JumpToLineStart(view, line);
      return;
    }
  }
}

void ClearMarks(EditView& view) {
  Document& document = *view.document;
  bool any = false;
  for (int line = 0; line < document.LineCount(); ++line) {
    if (!IsMarked(document, line)) continue;
    SetMark(document, line, false);
    any = true;
  }
  if (any) {
    view.surface->Invalidate(MarginRows(view, view.firstRow, view.firstRow + view.visibleRows),
                             false);
  }
}

int LineOfNumber(const EditView& view, int number) {
  return std::clamp(number - 1, 0, view.document->LineCount() - 1);
}

void GotoLine(EditView& view, int line) {
  JumpToLineStart(view, std::clamp(line, 0, view.document->LineCount() - 1));
}

void GotoPlace(EditView& view, int line, int index) {
  Document& document = *view.document;
  line = std::clamp(line, 0, document.LineCount() - 1);
  TextPos pos(document);
  SetPos(pos, std::clamp(index, 0, document.lines[line].Length()), line);
  JumpTo(view, pos);
  // A place gone to from a list stands in the middle of the screen even when it was in view.
  ScrollRows(view, AbsoluteRow(view.caret) - view.visibleRows / 2 - view.firstRow);
}

bool MatchPair(EditView& view) {
  const DocClass& settings = view.docClass;
  const std::wstring& opens = settings.openbrackets;
  const std::wstring& closes = settings.closebrackets;
  // The partner of ch at the same place in the other list; forward when ch opens. The
  // character before the caret is tried as a closing bracket first.
  auto partnerOf = [&](wchar_t ch, bool closeFirst, wchar_t& partner, bool& forward) {
    if (ch == 0) return false;
    for (bool opening : {!closeFirst, closeFirst}) {
      const std::wstring& own = opening ? opens : closes;
      const std::wstring& other = opening ? closes : opens;
      const std::size_t at = own.find(ch);
      if (at != std::wstring::npos && at < other.size()) {
        partner = other[at];
        forward = opening;
        return true;
      }
    }
    return false;
  };

  TextPos pos = view.caret;
  wchar_t c = CharAt(pos), partner = 0;
  bool forward = true;
  if (!partnerOf(c, false, partner, forward)) {
    if (AtDocumentStart(pos)) return false;
    MoveLeft(pos);
    c = CharAt(pos);
    if (!partnerOf(c, true, partner, forward)) return false;
  }
  if (!FindPartner(pos, c, partner, forward)) return false;
  JumpTo(view, pos);
  return true;
}
