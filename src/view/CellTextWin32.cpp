// Wide characters on two cells, and characters of several units shaped in a face that has them.
#include "view/CellTextWin32.h"

#include <algorithm>

#include "text/Cells.h"

namespace {

using RegistryKey = platform::Owned<HKEY, &RegCloseKey>;

// The selectors of a glyph variant and the joiners: they choose among glyphs a colour or
// ligature face would have, and the faces here draw nothing for them (or a box).
bool IsInvisibleSelector(char32_t c) {
  return (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF) || c == 0x200C ||
         c == 0x200D;
}

// The units of the scripts written from right to left, and the marks and controls of direction.
bool IsRightToLeft(std::uint32_t unit) {
  return (unit >= 0x0590 && unit <= 0x08FF) || (unit >= 0xFB1D && unit <= 0xFDFF) ||
         (unit >= 0xFE70 && unit <= 0xFEFF) || unit == 0x200E || unit == 0x200F ||
         (unit >= 0x202A && unit <= 0x202E) || (unit >= 0x2066 && unit <= 0x2069);
}

// The units of a character less its invisible selectors.
std::wstring Visible(const wchar_t* units, int count) {
  const std::wstring_view text(units, static_cast<std::size_t>(count));
  std::wstring visible;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    if (!IsInvisibleSelector(cells::ReadCodePoint(text, i))) visible.append(text.substr(start, i - start));
  }
  return visible;
}

// The faces the system links to face (its font links: "FILE,Face" entries), in order.
std::vector<std::wstring> LinkedFaces(const std::wstring& face) {
  std::vector<std::wstring> names;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink", 0,
                    KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return names;
  const RegistryKey key(opened);
  DWORD type = 0, bytes = 0;
  if (RegQueryValueExW(key.Get(), face.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      type != REG_MULTI_SZ)
    return names;
  std::wstring list(bytes / sizeof(wchar_t) + 2, L'\0');
  if (RegQueryValueExW(key.Get(), face.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(list.data()),
                       &bytes) != ERROR_SUCCESS)
    return names;
  for (std::size_t start = 0; start < list.size() && list[start] != L'\0';) {
    const std::size_t end = list.find(L'\0', start);
    const std::wstring entry = list.substr(start, end - start);
    const std::size_t comma = entry.find(L',');
    if (comma != std::wstring::npos) {
      std::wstring name = entry.substr(comma + 1);
      name = name.substr(0, name.find(L','));  // scaling factors may follow
      if (!name.empty()) names.push_back(name);
    }
    start = end + 1;
  }
  return names;
}

// A face at the width of logFont, or at the face's own width (lfWidth 0).
platform::GdiObject<HFONT> FontOf(LOGFONTW logFont, const std::wstring& face, bool ownWidth) {
  if (!face.empty()) {
    const std::size_t length = std::min(face.size(), std::size(logFont.lfFaceName) - 1);
    face.copy(logFont.lfFaceName, length);
    logFont.lfFaceName[length] = L'\0';
  }
  if (ownWidth) logFont.lfWidth = 0;
  return platform::GdiObject<HFONT>(CreateFontIndirectW(&logFont));
}

}  // namespace

CellTextPainter::~CellTextPainter() { Reset(); }

void CellTextPainter::Reset() {
  for (Faces* faces : {&narrow_, &wide_})
    for (Face& face : *faces) ScriptFreeCache(&face.cache);
  narrow_.clear();
  wide_.clear();
  chosen_[0].clear();
  chosen_[1].clear();
  glyphs_.clear();
  font_ = nullptr;
}

void CellTextPainter::UseFont(HFONT font) {
  if (font == font_) return;
  Reset();
  font_ = font;
}

bool CellTextPainter::DrawnByFont(HDC dc, HFONT font, const wchar_t* text, int count) {
  UseFont(font);
  if (glyphs_.empty()) glyphs_.assign(0x10000, 0);
  for (int i = 0; i < count; ++i) {
    const std::uint32_t unit = cells::Unit(text[i]);
    if (unit < cells::firstSpecialUnit) continue;
    if (IsRightToLeft(unit)) return false;
    if (glyphs_[unit] == 0) {
      WORD glyph = 0;
      const bool found = GetGlyphIndicesW(dc, text + i, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) == 1 &&
                         glyph != 0xFFFF;
      glyphs_[unit] = found ? 1 : 2;
    }
    if (glyphs_[unit] != 1) return false;
  }
  return true;
}

void CellTextPainter::LoadFaces(HDC dc) {
  HFONT font = font_;
  LOGFONTW logFont{};
  GetObjectW(font, sizeof logFont, &logFont);
  wchar_t actual[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, actual);
  std::vector<std::wstring> linked;
  for (const std::wstring& face : {std::wstring(logFont.lfFaceName), std::wstring(actual)}) {
    for (std::wstring& name : LinkedFaces(face))
      if (std::find(linked.begin(), linked.end(), name) == linked.end()) linked.push_back(std::move(name));
  }
  // A narrowed font narrows its linked faces by their own average widths, which squeezes a
  // wide ideograph into one cell: wide characters take the faces at their own widths.
  for (Faces* faces : {&narrow_, &wide_}) {
    const bool ownWidth = faces == &wide_ && logFont.lfWidth != 0;
    faces->resize(1 + linked.size());
    if (ownWidth) (*faces)[0].owned = FontOf(logFont, {}, true);
    (*faces)[0].font = ownWidth ? (*faces)[0].owned.Get() : font;
    for (std::size_t i = 0; i < linked.size(); ++i) {
      (*faces)[1 + i].owned = FontOf(logFont, linked[i], faces == &wide_);
      (*faces)[1 + i].font = (*faces)[1 + i].owned.Get();
    }
    for (Face& face : *faces) {
      if (!face.font) continue;
      const platform::SelectedObject selected(dc, face.font);
      TEXTMETRICW metrics{};
      GetTextMetricsW(dc, &metrics);
      face.ascent = metrics.tmAscent;
      SCRIPT_FONTPROPERTIES properties{};
      properties.cBytes = sizeof properties;
      if (SUCCEEDED(ScriptGetFontProperties(dc, &face.cache, &properties)))
        face.missingGlyph = properties.wgDefault;
    }
  }
  ascent_ = narrow_[0].ascent;
}

bool CellTextPainter::Covers(HDC dc, Face& face, const std::wstring& character) {
  if (!face.font) return false;
  const platform::SelectedObject selected(dc, face.font);
  SCRIPT_ITEM items[8];
  int itemCount = 0;
  const int length = static_cast<int>(character.size());
  if (FAILED(ScriptItemize(character.data(), length, 7, nullptr, nullptr, items, &itemCount)))
    return false;
  for (int i = 0; i < itemCount; ++i) {
    const int first = items[i].iCharPos;
    const int units = items[i + 1].iCharPos - first;
    WORD glyphs[32], clusters[32];
    SCRIPT_VISATTR attributes[32];
    int glyphCount = 0;
    if (units > 32 || FAILED(ScriptShape(dc, &face.cache, character.data() + first, units, 32,
                                         &items[i].a, glyphs, clusters, attributes, &glyphCount)))
      return false;
    for (int g = 0; g < glyphCount; ++g)
      if (glyphs[g] == face.missingGlyph) return false;
  }
  return true;
}

int CellTextPainter::FaceFor(HDC dc, Faces& faces, const std::wstring& character) {
  std::map<std::wstring, int>& chosen = chosen_[&faces == &wide_ ? 1 : 0];
  auto known = chosen.find(character);
  if (known != chosen.end()) return known->second;
  int face = -1;
  for (std::size_t i = 0; i < faces.size() && face < 0; ++i)
    if (Covers(dc, faces[i], character)) face = static_cast<int>(i);
  // A cache of what a page of text holds, not of everything ever drawn.
  if (chosen.size() > 4096) chosen.clear();
  chosen.emplace(character, face);
  return face;
}

void CellTextPainter::DrawShaped(HDC dc, Faces& faces, int x, int y, int width, int lineHeight,
                                 const std::wstring& character) {
  RECT cells{x, y, x + width, y + lineHeight};
  const int chosen = FaceFor(dc, faces, character);
  // No face of the view's has the glyphs: the platform's shaping looks for a face itself.
  const Face& face = faces[static_cast<std::size_t>(std::max(chosen, 0))];
  const DWORD flags = SSA_GLYPHS | (chosen < 0 ? SSA_FALLBACK | SSA_LINK : 0);
  const platform::SelectedObject selected(dc, face.font);
  SCRIPT_STRING_ANALYSIS analysis = nullptr;
  const int length = static_cast<int>(character.size());
  if (FAILED(ScriptStringAnalyse(dc, character.data(), length, length * 3 / 2 + 16, -1, flags, 0,
                                 nullptr, nullptr, nullptr, nullptr, nullptr, &analysis))) {
    ExtTextOutW(dc, x, y, ETO_OPAQUE, &cells, nullptr, 0, nullptr);
    return;
  }
  ScriptStringOut(analysis, x, y + ascent_ - face.ascent, ETO_OPAQUE | ETO_CLIPPED, &cells, 0, 0,
                  FALSE);
  ScriptStringFree(&analysis);
}

void CellTextPainter::DrawPlain(HDC dc, int x, int y, int end, int lineHeight) {
  if (plain_.empty()) return;
  RECT cells{x, y, end, y + lineHeight};
  const Face& face = plainWide_ ? wide_[0] : narrow_[0];
  const platform::SelectedObject selected(dc, face.font);
  // In the order of the text whatever its direction, which also keeps the system's font links.
  ExtTextOutW(dc, x, y + ascent_ - face.ascent, ETO_OPAQUE | ETO_CLIPPED | ETO_IGNORELANGUAGE, &cells,
              plain_.data(), static_cast<UINT>(plain_.size()), advances_.data());
  plain_.clear();
  advances_.clear();
}

void CellTextPainter::Draw(HDC dc, HFONT font, int x, int y, int cellWidth, int lineHeight,
                           const wchar_t* text, int count) {
  UseFont(font);
  if (narrow_.empty()) LoadFaces(dc);
  const std::wstring_view units(text, static_cast<std::size_t>(count));
  plain_.clear();
  advances_.clear();
  int plainX = x;
  int cellX = x;
  for (std::size_t i = 0; i < units.size();) {
    const CharacterSpan character = CharacterAt(units, i);
    const int width = character.cells * cellWidth;
    const bool wide = character.cells > 1;
    const std::wstring visible = character.units == 1 ? std::wstring() : Visible(text + i, character.units);
    if (visible.size() <= 1) {
      // Characters of one unit and one width go out together, each on its own cells; a lone
      // joiner leaves its cell empty.
      if (!plain_.empty() && wide != plainWide_) DrawPlain(dc, plainX, y, cellX, lineHeight);
      if (plain_.empty()) {
        plainX = cellX;
        plainWide_ = wide;
      }
      plain_ += character.units == 1 ? text[i] : visible.empty() ? L' ' : visible[0];
      advances_.push_back(width);
    } else {
      DrawPlain(dc, plainX, y, cellX, lineHeight);
      DrawShaped(dc, wide ? wide_ : narrow_, cellX, y, width, lineHeight, visible);
    }
    cellX += width;
    i += static_cast<std::size_t>(character.units);
  }
  DrawPlain(dc, plainX, y, cellX, lineHeight);
}
