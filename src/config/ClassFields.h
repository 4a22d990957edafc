// What the Document and Classes pages edit, apart from their windows: the values of the
// fields, their checks, the sections and the replacement of the class registry.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/DocClass.h"

class AppSettings;

// The fields of one class as the page holds them. Empty texts stand for lists with nothing
// selected.
struct ClassFields {
  int tabsize = 0;
  int relindent = 0;
  bool wordwrap = false;
  bool indent = false;
  std::vector<std::wstring> filters;  // in the list's (sorted) order
  ColourTable colours{};
  std::wstring fontfamily;
  std::wstring fontstyle;
  bool styleSelected = false;
  int fontflags = 0;       // item data of the selected style
  bool sizeSelected = false;
  int fontsize = 0;        // item data of the selected size
  bool alterFont = false;  // "Alter Font:": the width field counts
  int fontwidthrel = 0;
  int linespacing = 0;
  bool cleartype = false;
  bool proof = false;
  bool hassyntax = false;
  std::wstring syntaxfile;  // the selected syntax file
};

// The fields showing a class.
ClassFields FieldsOfClass(const DocClass& docClass);
// Copies the fields into the class; the syntax file changes only with highlighting on, and the
// width is 100 unless "Alter Font:" is set.
void StoreFields(const ClassFields& fields, DocClass& docClass);

// A refused field: the message, the section to show and the control to focus (0 to leave the
// focus where it is).
struct FieldProblem {
  int messageId;
  int sectionId;
  int focusId;
};
// The first check the fields fail, in the order the user is told; needsFilter for a named
// class, which needs at least one file pattern.
std::optional<FieldProblem> CheckClassFields(const ClassFields& fields, bool needsFilter);

// The sections of the page in selector order: their names (string ids) and section ids.
struct ClassSection {
  int nameId;
  int sectionId;
};
// The sections offered for an item: Filters only for a named class on the Classes page, the
// commands section never.
std::vector<ClassSection> SectionsFor(bool classesMode, bool defaultClass);

// The font sizes offered, in tenths of a point: 60, 65, ..., 135.
std::vector<int> FontSizes();
// A size as the size list shows it: " 6.0", " 7.5", "13.5" (a blank below 10 keeps the list's
// text order the numeric one).
std::wstring FontSizeText(int tenths);

// A colour from its red, green and blue parts (0 to 255), and back.
Colour MakeColour(int red, int green, int blue);
inline int RedOf(Colour colour) { return colour & 0xFF; }
inline int GreenOf(Colour colour) { return (colour >> 8) & 0xFF; }
inline int BlueOf(Colour colour) { return (colour >> 16) & 0xFF; }

// The Classes page's working list: the named classes in the order of the class names, then the
// default class.
std::vector<DocClass> ClassesForEditing(const AppSettings& settings);
// Replaces the class registry by a working list (the default class last) and resolves the
// default class's syntax definition. Returns the names of the classes that now differ from
// before, "default" included, so that documents carrying them can be laid out again.
std::vector<std::wstring> ReplaceClasses(AppSettings& settings, const std::vector<DocClass>& list);
