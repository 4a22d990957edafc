// Document classes in the settings tree: the keys, their order and their defaults.
#include "config/DocClassIO.h"

#include <vector>

#include "syntax/ConfigFile.h"

namespace {

// The filter in the canonical in-memory form: each pattern followed by a NUL, one more NUL.
std::wstring CanonicalList(const std::wstring& text) { return JoinStringList(SplitStringList(text)); }

}  // namespace

bool LoadClassSection(ConfigFile& settings, const std::wstring& name, DocClass& docClass) {
  if (!settings.EnterSection(name)) return false;
  const DocClass defaults;
  DocClass& c = docClass;
  c.tabsize = settings.GetInt(L"tabsize", defaults.tabsize);
  c.wordwrap = settings.GetInt(L"wordwrap", defaults.wordwrap) != 0;
  c.indent = settings.GetInt(L"indent", defaults.indent) != 0;
  c.relindent = settings.GetInt(L"relindent", defaults.relindent);
  c.fontfamily = settings.GetString(L"fontfamily", defaults.fontfamily);
  c.fontstyle = settings.GetString(L"fontstyle", defaults.fontstyle);
  c.fontsize = settings.GetInt(L"fontsize", defaults.fontsize);
  c.fontflags = settings.GetInt(L"fontflags", defaults.fontflags);
  if (!settings.Exists(L"filter")) settings.SetStringList(L"filter", {});
  c.filter = CanonicalList(settings.GetString(L"filter", L""));
  c.fontwidthrel = settings.GetInt(L"fontwidthrel", defaults.fontwidthrel);
  c.fontcleartype = settings.GetInt(L"fontcleartype", defaults.fontcleartype) != 0;
  c.fontproof = settings.GetInt(L"fontproof", defaults.fontproof) != 0;
  c.linespacing = settings.GetInt(L"linespacing", defaults.linespacing);
  c.openbrackets = settings.GetString(L"openbrackets", defaults.openbrackets);
  c.closebrackets = settings.GetString(L"closebrackets", defaults.closebrackets);
  c.hassyntax = settings.GetInt(L"hassyntax", defaults.hassyntax) != 0;
  c.syntaxfile = settings.GetString(L"syntaxfile", defaults.syntaxfile);
  c.delimiters = settings.GetString(L"delimiters", defaults.delimiters);
  // A short stored list keeps the default colours for the slots it lacks.
  int defaultNumbers[colourCount];
  for (int i = 0; i < colourCount; ++i) defaultNumbers[i] = static_cast<int>(defaultColours[i]);
  std::vector<int> colours = settings.GetIntList(L"colores", defaultNumbers, colourCount);
  for (int i = 0; i < colourCount; ++i) c.colours[i] = static_cast<Colour>(colours[i]);
  c.name = name;
  settings.LeaveSection();
  return true;
}

bool SaveClassSection(ConfigFile& settings, const std::wstring& name, const DocClass& docClass) {
  if (!settings.EnterSection(name)) return false;
  const DocClass& c = docClass;
  settings.SetInt(L"tabsize", c.tabsize);
  settings.SetInt(L"wordwrap", c.wordwrap);
  settings.SetInt(L"indent", c.indent);
  settings.SetInt(L"relindent", c.relindent);
  settings.SetString(L"fontfamily", c.fontfamily);
  settings.SetString(L"fontstyle", c.fontstyle);
  settings.SetInt(L"fontsize", c.fontsize);
  settings.SetInt(L"fontflags", c.fontflags);
  settings.SetStringList(L"filter", SplitStringList(c.filter));
  settings.SetInt(L"fontwidthrel", c.fontwidthrel);
  settings.SetInt(L"fontcleartype", c.fontcleartype);
  settings.SetInt(L"fontproof", c.fontproof);
  settings.SetInt(L"linespacing", c.linespacing);
  settings.SetString(L"openbrackets", c.openbrackets);
  settings.SetString(L"closebrackets", c.closebrackets);
  settings.SetInt(L"hassyntax", c.hassyntax);
  settings.SetString(L"syntaxfile", c.syntaxfile);
  settings.SetString(L"delimiters", c.delimiters);
  int colours[colourCount];
  for (int i = 0; i < colourCount; ++i) colours[i] = static_cast<int>(c.colours[i]);
  settings.SetIntList(L"colores", colours, colourCount);
  settings.LeaveSection();
  return true;
}
