// Document classes in the settings tree: the keys, their order and their defaults.
#include "config/DocClassIO.h"

#include <algorithm>
#include <vector>

#include "syntax/ConfigFile.h"

namespace {

// The filter in the canonical in-memory form: each pattern followed by a NUL, one more NUL.
std::wstring CanonicalList(const std::wstring& text) { return JoinStringList(SplitStringList(text)); }

// Reads an integer key and brings it into range: layout, painting and the font divide and
// multiply by these values and must never see one the settings pages would refuse.
int ReadInRange(ConfigFile& settings, const std::wstring& key, int defaultValue, ValueRange range) {
  return range.Clamp(settings.GetInt(key, defaultValue));
}

// Writes an integer key unless the stored value already stands for value once brought into
// range: the file keeps what the user wrote there until the class itself is changed.
void WriteInRange(ConfigFile& settings, const std::wstring& key, int value, ValueRange range) {
  const ConfigNode* stored = settings.Current().Value(key);
  if (stored && stored->type == ConfigType::integer && range.Clamp(stored->number) == value) return;
  settings.SetInt(key, value);
}

}  // namespace

ValueRange LineSpacingRange(int fontsize) {
  // The font's line height is at least its character height, fontsize * 96 / 720 pixels on the
  // coarsest screen the program runs on; compressing by less keeps every row at least a pixel.
  return {-lineSpacingMaxWidening, std::max(0, fontsize * 96 / 720 - 1)};
}

bool LoadClassSection(ConfigFile& settings, const std::wstring& name, DocClass& docClass) {
  if (!settings.EnterSection(name)) return false;
  const DocClass defaults;
  DocClass& c = docClass;
  c.tabsize = ReadInRange(settings, L"tabsize", defaults.tabsize, tabSizeRange);
  c.wordwrap = settings.GetInt(L"wordwrap", defaults.wordwrap) != 0;
  c.indent = settings.GetInt(L"indent", defaults.indent) != 0;
  c.relindent = ReadInRange(settings, L"relindent", defaults.relindent, relIndentRange);
  c.fontfamily = settings.GetString(L"fontfamily", defaults.fontfamily);
  c.fontstyle = settings.GetString(L"fontstyle", defaults.fontstyle);
  c.fontsize = ReadInRange(settings, L"fontsize", defaults.fontsize, fontSizeRange);
  c.fontflags = settings.GetInt(L"fontflags", defaults.fontflags);
  if (!settings.Exists(L"filter")) settings.SetStringList(L"filter", {});
  c.filter = CanonicalList(settings.GetString(L"filter", L""));
  c.fontwidthrel = ReadInRange(settings, L"fontwidthrel", defaults.fontwidthrel, fontWidthRange);
  c.fontcleartype = settings.GetInt(L"fontcleartype", defaults.fontcleartype) != 0;
  c.fontproof = settings.GetInt(L"fontproof", defaults.fontproof) != 0;
  c.linespacing = ReadInRange(settings, L"linespacing", defaults.linespacing, LineSpacingRange(c.fontsize));
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
  WriteInRange(settings, L"tabsize", c.tabsize, tabSizeRange);
  settings.SetInt(L"wordwrap", c.wordwrap);
  settings.SetInt(L"indent", c.indent);
  WriteInRange(settings, L"relindent", c.relindent, relIndentRange);
  settings.SetString(L"fontfamily", c.fontfamily);
  settings.SetString(L"fontstyle", c.fontstyle);
  WriteInRange(settings, L"fontsize", c.fontsize, fontSizeRange);
  settings.SetInt(L"fontflags", c.fontflags);
  settings.SetStringList(L"filter", SplitStringList(c.filter));
  WriteInRange(settings, L"fontwidthrel", c.fontwidthrel, fontWidthRange);
  settings.SetInt(L"fontcleartype", c.fontcleartype);
  settings.SetInt(L"fontproof", c.fontproof);
  WriteInRange(settings, L"linespacing", c.linespacing, LineSpacingRange(c.fontsize));
  settings.SetString(L"openbrackets", c.openbrackets);
  settings.SetString(L"closebrackets", c.closebrackets);
  settings.SetInt(L"hassyntax", c.hassyntax);
  settings.SetString(L"syntaxfile", c.syntaxfile);
  settings.SetString(L"delimiters", c.delimiters);
  std::vector<int> colours(colourCount);
  for (int i = 0; i < colourCount; ++i) colours[i] = static_cast<int>(c.colours[i]);
  settings.SetIntList(L"colores", std::move(colours));
  settings.LeaveSection();
  return true;
}
