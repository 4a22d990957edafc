// The find bar. Not built yet: the frame has no bar, reserves no room for one, and the find
// commands see empty texts.
#include "frame/FindBar.h"

#include "frame/MainFrame.h"

bool CreateFindBar(MainFrame&) { return false; }

std::wstring FindBarFindText(const MainFrame&) { return {}; }

std::wstring FindBarReplaceText(const MainFrame&) { return {}; }

void FindBarCommand(MainFrame&, int) {}

void FindBarShowLineNumber(MainFrame& frame, const std::wstring& text) {
  if (frame.lineNumberField) SetWindowTextW(frame.lineNumberField, text.c_str());
}
