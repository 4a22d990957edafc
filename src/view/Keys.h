// The key table of the edit view: which editing or caret command a key runs, and typing.
#pragma once

#include "view/EditView.h"

// Virtual-key codes of the keys the view handles (the window system's VK_ values).
enum ViewKey : unsigned {
  keyBack = 0x08,
  keyTab = 0x09,
  keyPageUp = 0x21,
  keyPageDown = 0x22,
  keyEnd = 0x23,
  keyHome = 0x24,
  keyLeft = 0x25,
  keyUp = 0x26,
  keyRight = 0x27,
  keyDown = 0x28,
  keyDelete = 0x2E,
};

// A key-down the frame received while the view's document is shown. Returns whether the key
// is one of the table's keys (whatever the modifiers made of it); false leaves it to the
// default handling.
bool OnKeyDown(EditView& view, unsigned key, bool shift, bool ctrl);
// A character message forwarded to the view. Returns false when the view does not take the
// character (the window's default handling then applies).
bool OnChar(EditView& view, wchar_t ch);
