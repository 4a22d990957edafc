// The Document and Classes pages' values, checks and sections, and the replacement of the class
// registry.
#include "config/ClassFields.h"

#include <array>

#include "comun/resource.h"
#include "config/AppSettings.h"
#include "config/DocClassIO.h"
#include "syntax/ConfigFile.h"

namespace {

// The sections in selector order.
constexpr std::array<ClassSection, 6> sectionTable = {{
    {IDS_SECTION_PARAGRAPH, IDC_SECTION_PARAGRAPH},
    {IDS_SECTION_FILTERS, IDC_SECTION_FILTERS},
    {IDS_SECTION_COMMANDS, IDC_SECTION_COMMANDS},
    {IDS_SECTION_COLORS, IDC_SECTION_COLORS},
    {IDS_SECTION_FONT, IDC_SECTION_FONT},
    {IDS_SECTION_SYNTAX, IDC_SECTION_SYNTAX},
}};

bool Within(int value, int low, int high) { return value >= low && value <= high; }

// Two classes show the same on screen: the syntax pointer is only a cache of syntaxfile.
bool SameSettings(DocClass a, DocClass b) {
  a.syntax = b.syntax = nullptr;
  return a == b;
}

}  // namespace

ClassFields FieldsOfClass(const DocClass& docClass) {
  ClassFields fields;
  fields.tabsize = docClass.tabsize;
  fields.relindent = docClass.relindent;
  fields.wordwrap = docClass.wordwrap;
  fields.indent = docClass.indent;
  fields.filters = SplitStringList(docClass.filter);
  fields.colours = docClass.colours;
  fields.fontfamily = docClass.fontfamily;
  fields.fontstyle = docClass.fontstyle;
  fields.styleSelected = true;
  fields.fontflags = docClass.fontflags;
  fields.sizeSelected = true;
  fields.fontsize = docClass.fontsize;
  fields.alterFont = docClass.fontwidthrel != 100;
  fields.fontwidthrel = docClass.fontwidthrel;
  fields.linespacing = docClass.linespacing;
  fields.cleartype = docClass.fontcleartype;
  fields.proof = docClass.fontproof;
  fields.hassyntax = docClass.hassyntax;
  fields.syntaxfile = docClass.hassyntax ? docClass.syntaxfile : std::wstring();
  return fields;
}

void StoreFields(const ClassFields& fields, DocClass& docClass) {
  docClass.tabsize = fields.tabsize;
  docClass.relindent = fields.relindent;
  docClass.wordwrap = fields.wordwrap;
  docClass.indent = fields.indent;
  docClass.hassyntax = fields.hassyntax;
  if (fields.hassyntax && docClass.syntaxfile != fields.syntaxfile) {
    docClass.syntaxfile = fields.syntaxfile;
    docClass.syntax = nullptr;  // resolved again when the class is applied
  }
  docClass.fontfamily = fields.fontfamily;
  docClass.fontstyle = fields.fontstyle;
  docClass.fontflags = fields.fontflags;
  docClass.fontsize = fields.fontsize;
  docClass.fontwidthrel = fields.alterFont ? fields.fontwidthrel : 100;
  // Typed on the page: a line must keep at least a pixel, and widening has its bound.
  docClass.linespacing = LineSpacingRange(fields.fontsize).Clamp(fields.linespacing);
  docClass.fontcleartype = fields.cleartype;
  docClass.fontproof = fields.proof;
  docClass.filter = JoinStringList(fields.filters);
  docClass.colours = fields.colours;
}

std::optional<FieldProblem> CheckClassFields(const ClassFields& fields, bool needsFilter) {
  if (needsFilter && fields.filters.empty())
    return FieldProblem{IDS_NEEDFILTER, IDC_SECTION_FILTERS, 0};
  if (!Within(fields.tabsize, 1, 20))
    return FieldProblem{IDS_BADTABSIZE, IDC_SECTION_PARAGRAPH, IDC_CLS_TABSIZE};
  if (!Within(fields.relindent, 0, 20))
    return FieldProblem{IDS_BADRELINDENT, IDC_SECTION_PARAGRAPH, IDC_CLS_RELINDENT};
  if (fields.hassyntax && fields.syntaxfile.empty())
    return FieldProblem{IDS_NEEDSYNTAX, IDC_SECTION_SYNTAX, IDC_CLS_SYNTAXFILE};
  if (fields.fontfamily.empty() || !fields.styleSelected || !fields.sizeSelected)
    return FieldProblem{IDS_BADFONT, IDC_SECTION_FONT, IDC_CLS_FONTFAMILY};
  // The width is checked whether or not it is used.
  if (!Within(fields.fontwidthrel, 20, 300))
    return FieldProblem{IDS_BADWIDTH, IDC_SECTION_FONT, IDC_CLS_WIDTH};
  return std::nullopt;
}

std::vector<ClassSection> SectionsFor(bool classesMode, bool defaultClass) {
  std::vector<ClassSection> sections;
  for (const ClassSection& section : sectionTable) {
    if (section.sectionId == IDC_SECTION_COMMANDS) continue;
    if (section.sectionId == IDC_SECTION_FILTERS && (!classesMode || defaultClass)) continue;
    sections.push_back(section);
  }
  return sections;
}

std::vector<int> FontSizes() {
  std::vector<int> sizes;
  for (int size = 60; size <= 135; size += 5) sizes.push_back(size);
  return sizes;
}

std::wstring FontSizeText(int tenths) {
  std::wstring text;
  text += tenths < 100 ? L' ' : static_cast<wchar_t>(L'0' + tenths / 100 % 10);
  text += static_cast<wchar_t>(L'0' + tenths / 10 % 10);
  text += L'.';
  text += static_cast<wchar_t>(L'0' + tenths % 10);
  return text;
}

Colour MakeColour(int red, int green, int blue) {
  return static_cast<Colour>(red & 0xFF) | static_cast<Colour>(green & 0xFF) << 8 |
         static_cast<Colour>(blue & 0xFF) << 16;
}

std::vector<DocClass> ClassesForEditing(const AppSettings& settings) {
  std::vector<DocClass> list;
  for (const std::wstring& name : settings.classNames) {
    auto found = settings.classes.find(name);
    if (found != settings.classes.end()) list.push_back(found->second);
  }
  list.push_back(settings.defaultClass);
  return list;
}

std::vector<std::wstring> ReplaceClasses(AppSettings& settings,
                                         const std::vector<DocClass>& list) {
  if (list.empty()) return {};
  std::map<std::wstring, DocClass> before = std::move(settings.classes);
  settings.classes.clear();
  settings.classNames.clear();
  std::vector<std::wstring> changed;
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    const DocClass& docClass = list[i];
    if (!settings.classes.emplace(docClass.name, docClass).second) continue;
    settings.classNames.push_back(docClass.name);
    auto old = before.find(docClass.name);
    if (old == before.end() || !SameSettings(old->second, docClass))
      changed.push_back(docClass.name);
  }
  DocClass defaultClass = list.back();
  defaultClass.name = settings.defaultClass.name;
  if (!SameSettings(settings.defaultClass, defaultClass)) changed.push_back(defaultClass.name);
  settings.defaultClass = defaultClass;
  if (settings.defaultClass.hassyntax) settings.LoadSyntaxDef(settings.defaultClass);
  return changed;
}
