// The values of a document's class that its lines are laid out by.
#pragma once

struct TextClass {
  bool wordwrap = true;
  int tabsize = 2;
  int relindent = 2;  // extra cells of indentation of wrapped continuation rows
  bool indent = true;  // Enter copies the indentation of the current line

  friend bool operator==(const TextClass&, const TextClass&) = default;
};
