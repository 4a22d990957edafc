// The Document and Classes pages' fields: the font, size and syntax file lists, showing a class
// in the fields and reading it back, and the colour slots with their swatch and sample.
#include "settings/ClassPage.h"

#include <commctrl.h>

#include "comun/resource.h"
#include "config/AppSettings.h"
#include "platform/HandlerGuard.h"
#include "platform/Paths.h"
#include "pocketpc/GdiWin32.h"
#include "settings/SettingsSheet.h"
#include "syntax/ConfigFile.h"

namespace {

// Fixed-pitch TrueType faces of the ANSI character set, once each. A failure ends the listing.
int CALLBACK AddFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM data) {
  return platform::Guarded(
      [&] {
        const auto& list = *reinterpret_cast<const ComboWrapper*>(data);
        bool fixed = (font->lfPitchAndFamily & 3) == FIXED_PITCH;
        if ((type & TRUETYPE_FONTTYPE) && fixed && font->lfCharSet == ANSI_CHARSET &&
            list.FindExact(font->lfFaceName) < 0)
          list.Add(font->lfFaceName);
        return 1;
      },
      [] { return 0; });
}

// Every style of a family, with its style bits as item data.
int CALLBACK AddStyle(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
  return platform::Guarded(
      [&] {
        const auto& list = *reinterpret_cast<const ComboWrapper*>(data);
        const auto* full = reinterpret_cast<const ENUMLOGFONTW*>(font);
        int flags = (font->lfWeight >= 550 ? 1 : 0) | (font->lfItalic ? 2 : 0) |
                    (font->lfUnderline ? 4 : 0) | (font->lfStrikeOut ? 8 : 0);
        const wchar_t* name = full->elfStyle[0]
                                  ? reinterpret_cast<const wchar_t*>(full->elfStyle)
                                  : L"Regular";
        if (list.FindExact(name) < 0) list.SetItemData(list.Add(name), flags);
        return 1;
      },
      [] { return 0; });
}

// Selects the entry with this text, adding it first when the list does not hold it.
void SelectOrAdd(const ComboWrapper& list, const std::wstring& text) {
  int index = list.FindExact(text);
  list.Select(index >= 0 ? index : list.Add(text));
}

}  // namespace

void ClassPage::FillFamilies() {
  const platform::WindowDc dc(nullptr);
  EnumFontFamiliesW(dc.Get(), nullptr, AddFamily, reinterpret_cast<LPARAM>(&family_));
}

void ClassPage::FillSizes() {
  size_.Reset();
  for (int size : FontSizes()) size_.SetItemData(size_.Add(FontSizeText(size)), size);
}

void ClassPage::FillSyntaxFiles() {
  std::wstring pattern = platform::JoinPath(host_.Settings().Syntaxes().Folder(), L"*.syntax");
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN)))
      syntaxFile_.Add(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

void ClassPage::FillStyles() {
  int selection = style_.Selection();
  style_.Reset();
  std::wstring family = family_.GetText();
  const platform::WindowDc dc(nullptr);
  EnumFontFamiliesW(dc.Get(), family.c_str(), AddStyle, reinterpret_cast<LPARAM>(&style_));
  // A face the system does not have is drawn with a substitute: the class keeps its own style.
  if (style_.Count() == 0 && CurrentIndex() >= 0) {
    const DocClass& docClass = working_[CurrentIndex()];
    style_.SetItemData(style_.Add(docClass.fontstyle), docClass.fontflags);
  }
  style_.Select(selection);
}

void ClassPage::FillColourSlots(const ColourTable& colours) {
  colours_.Reset();
  for (int slot = 0; slot < colourCount; ++slot)
    colours_.SetItemData(colours_.Add(ResourceText(IDS_COLOUR_FIRST + slot)),
                         static_cast<LPARAM>(colours[slot]));
  colours_.Select(-1);
}

void ClassPage::ShowFields(const ClassFields& fields) {
  tabsize_.SetText(std::to_wstring(fields.tabsize));
  relindent_.SetText(std::to_wstring(fields.relindent));
  wordwrap_.SetChecked(fields.wordwrap);
  indent_.SetChecked(fields.indent);

  hasSyntax_.SetChecked(fields.hassyntax);
  syntaxLabel_.Enable(fields.hassyntax);
  syntaxFile_.Enable(fields.hassyntax);
  // A syntax file that is missing stays the class's choice until the user makes another.
  if (fields.hassyntax && !fields.syntaxfile.empty())
    SelectOrAdd(syntaxFile_, fields.syntaxfile);
  else
    syntaxFile_.Select(-1);

  ShowFontFields(fields);

  filters_.Reset();
  for (const std::wstring& pattern : fields.filters) filters_.Add(pattern);

  FillColourSlots(fields.colours);
  colourShown_ = false;
  for (const ControlWrapper* bar : {&red_, &green_, &blue_}) {
    bar->Enable(false);
    SendMessageW(bar->Window(), TBM_SETPOS, TRUE, 0);
  }
  InvalidateRect(swatch_.Window(), nullptr, TRUE);
  InvalidateRect(sample_.Window(), nullptr, TRUE);
}

void ClassPage::ShowFontFields(const ClassFields& fields) {
  SelectOrAdd(family_, fields.fontfamily);
  FillStyles();
  style_.Select(style_.FindByData(fields.fontflags));
  int size = size_.FindByData(fields.fontsize);
  if (size < 0) {
    size = size_.Add(FontSizeText(fields.fontsize));
    size_.SetItemData(size, fields.fontsize);
  }
  size_.Select(size);
  alterFont_.SetChecked(fields.alterFont);
  width_.Enable(fields.alterFont);
  width_.SetText(std::to_wstring(fields.fontwidthrel));
  compress_.SetText(std::to_wstring(fields.linespacing));
  cleartype_.SetChecked(fields.cleartype);
  proof_.SetChecked(fields.proof);
}

ClassFields ClassPage::ReadFields() const {
  ClassFields fields;
  fields.tabsize = tabsize_.GetInt();
  fields.relindent = relindent_.GetInt();
  fields.wordwrap = wordwrap_.Checked();
  fields.indent = indent_.Checked();
  for (int i = 0, count = filters_.Count(); i < count; ++i)
    fields.filters.push_back(filters_.ItemText(i));
  for (int slot = 0; slot < colourCount && slot < colours_.Count(); ++slot)
    fields.colours[slot] = static_cast<Colour>(colours_.ItemData(slot));
  if (family_.Selection() >= 0) fields.fontfamily = family_.ItemText(family_.Selection());
  int style = style_.Selection();
  fields.styleSelected = style >= 0;
  if (fields.styleSelected) {
    fields.fontstyle = style_.ItemText(style);
    fields.fontflags = static_cast<int>(style_.ItemData(style));
  }
  int size = size_.Selection();
  fields.sizeSelected = size >= 0;
  if (fields.sizeSelected) fields.fontsize = static_cast<int>(size_.ItemData(size));
  fields.alterFont = alterFont_.Checked();
  fields.fontwidthrel = width_.GetInt();
  // Negative: the rows are widened.
  fields.linespacing = SignedDigitsValue(compress_.GetText());
  fields.cleartype = cleartype_.Checked();
  fields.proof = proof_.Checked();
  fields.hassyntax = hasSyntax_.Checked();
  if (syntaxFile_.Selection() >= 0) fields.syntaxfile = syntaxFile_.ItemText(syntaxFile_.Selection());
  return fields;
}

// ---- Colours --------------------------------------------------------------------------------

void ClassPage::ShowColour() {
  int slot = colours_.Selection();
  if (slot < 0) return;
  shownColour_ = static_cast<Colour>(colours_.ItemData(slot));
  colourShown_ = true;
  InvalidateRect(swatch_.Window(), nullptr, TRUE);
  InvalidateRect(sample_.Window(), nullptr, TRUE);
  const int parts[] = {RedOf(shownColour_), GreenOf(shownColour_), BlueOf(shownColour_)};
  const ControlWrapper* bars[] = {&red_, &green_, &blue_};
  for (int i = 0; i < 3; ++i) {
    bars[i]->Enable(!readOnly_);
    SendMessageW(bars[i]->Window(), TBM_SETPOS, TRUE, parts[i]);
  }
}

void ClassPage::SetColour() {
  int slot = colours_.Selection();
  if (slot < 0) return;
  auto position = [](const ControlWrapper& bar) {
    return static_cast<int>(SendMessageW(bar.Window(), TBM_GETPOS, 0, 0));
  };
  colours_.SetItemData(slot, MakeColour(position(red_), position(green_), position(blue_)));
  ShowColour();
  MarkDirty();
}

bool ClassPage::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (static_cast<int>(item.CtlID) == IDC_CLS_SWATCH) DrawSwatch(item);
  else if (static_cast<int>(item.CtlID) == IDC_CLS_SAMPLE) DrawSample(item);
  else return false;
  return true;
}

void ClassPage::DrawSwatch(const DRAWITEMSTRUCT& item) const {
  const platform::GdiObject<HBRUSH> colour(colourShown_ ? CreateSolidBrush(shownColour_)
                                                        : nullptr);
  FillRect(item.hDC, &item.rcItem, colour ? colour.Get() : GetSysColorBrush(COLOR_BTNFACE));
}

void ClassPage::DrawSample(const DRAWITEMSTRUCT& item) const {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  if (!colourShown_) return;
  std::wstring text = ResourceText(IDS_TESTTEXT);
  SetTextColor(item.hDC, shownColour_);
  SetBkMode(item.hDC, TRANSPARENT);
  const platform::SelectedObject font(
      item.hDC, reinterpret_cast<HGDIOBJ>(SendMessageW(Window(), WM_GETFONT, 0, 0)));
  RECT area = item.rcItem;
  DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &area,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}
