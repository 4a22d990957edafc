// The key table: each key with its modifiers runs one editing or caret command; characters type.
#include "view/Keys.h"

#include <string_view>

#include "text/Edit.h"
#include "view/CaretCommands.h"
#include "view/Caret.h"
#include "view/Clipboard.h"
#include "view/Editing.h"

namespace {

constexpr int modCtrl = 1;
constexpr int modShift = 2;

}  // namespace

bool OnKeyDown(EditView& view, unsigned key, bool shift, bool ctrl) {
  const int mods = (ctrl ? modCtrl : 0) | (shift ? modShift : 0);
  const bool extend = shift;
  switch (key) {
    case keyBack:
      if (mods == 0) DeleteBackward(view);
      else if (mods == modCtrl) DeleteWordBackward(view);
      return true;
    case keyTab:
      if (mods == 0) Indent(view, true);
      else if (mods == modShift) Unindent(view);
      return true;
    case keyPageUp:
      if (!ctrl) MovePageUp(view, extend);
      return true;
    case keyPageDown:
      if (!ctrl) MovePageDown(view, extend);
      return true;
    case keyEnd:
      if (ctrl) MoveDocumentEnd(view, extend);
      else MoveRowEnd(view, extend);
      return true;
    case keyHome:
      if (ctrl) MoveDocumentStart(view, extend);
      else MoveRowStart(view, extend);
      return true;
    case keyLeft:
      if (ctrl) MoveWordLeft(view, extend);
      else MoveCharLeft(view, extend);
      return true;
    case keyRight:
      if (ctrl) MoveWordRight(view, extend);
      else MoveCharRight(view, extend);
      return true;
    case keyUp:
      if (mods == modCtrl) ScrollRows(view, -1);
      else if (!ctrl) MoveRowUp(view, extend);
      return true;
    case keyDown:
      if (mods == modCtrl) ScrollRows(view, 1);
      else if (!ctrl) MoveRowDown(view, extend);
      return true;
    case keyDelete:
      if (mods == 0) DeleteForward(view);
      else if (mods == modCtrl) DeleteWordForward(view);
      else if (mods == modShift) CutSelection(view, L"");
      return true;
    default:
      return false;
  }
}

bool OnChar(EditView& view, wchar_t ch) {
  if (ch == L'\r' || ch == L'\n') {
    Enter(view);
    return true;
  }
  if (ch == 27) return EndSelection(view);
  if (ch >= 32 && ch != 127) {
    ReplaceSelection(view, std::wstring_view(&ch, 1), editTyping);
    return true;
  }
  return false;
}
