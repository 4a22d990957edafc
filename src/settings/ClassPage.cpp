// The Document and Classes pages: initialisation, sections, the list of classes, commands and
// applying.
#include "settings/ClassPage.h"

#include <commctrl.h>

#include <array>
#include <initializer_list>

#include "comun/resource.h"
#include "config/AppSettings.h"
#include "settings/SettingsSheet.h"

namespace {

struct SectionControls {
  int sectionId;
  std::initializer_list<int> controls;
};

const std::array<SectionControls, 5> sectionControls = {{
    {IDC_SECTION_PARAGRAPH,
     {IDC_CLS_TABSIZE_LABEL, IDC_CLS_TABSIZE, IDC_CLS_RELINDENT_LABEL, IDC_CLS_RELINDENT,
      IDC_CLS_WORDWRAP, IDC_CLS_INDENT}},
    {IDC_SECTION_FILTERS,
     {IDC_CLS_FILTERS, IDC_CLS_FILTERADD, IDC_CLS_FILTERDELETE, IDC_CLS_FILTERTEXT}},
    {IDC_SECTION_COLORS,
     {IDC_CLS_COLORS, IDC_CLS_SWATCH, IDC_CLS_SAMPLE, IDC_CLS_RED, IDC_CLS_GREEN, IDC_CLS_BLUE,
      IDC_CLS_RED_LABEL, IDC_CLS_GREEN_LABEL, IDC_CLS_BLUE_LABEL, IDC_CLS_SETCOLOR}},
    {IDC_SECTION_FONT,
     {IDC_CLS_FONT_LABEL, IDC_CLS_FONTFAMILY, IDC_CLS_FONTSTYLE, IDC_CLS_FONTSIZE,
      IDC_CLS_ALTERFONT, IDC_CLS_WIDTH_LABEL, IDC_CLS_WIDTH, IDC_CLS_WIDTH_UNIT,
      IDC_CLS_COMPRESS_LABEL, IDC_CLS_COMPRESS, IDC_CLS_COMPRESS_UNIT, IDC_CLS_CLEARTYPE,
      IDC_CLS_PROOF}},
    {IDC_SECTION_SYNTAX, {IDC_CLS_HASSYNTAX, IDC_CLS_SYNTAX_LABEL, IDC_CLS_SYNTAXFILE}},
}};

constexpr int editChanged = EN_CHANGE;

}  // namespace

ClassPage::ClassPage(SettingsHost& host, bool classesMode)
    : ListEditorPage(IDC_CLS_NAMES, IDC_CLS_NEW, IDC_CLS_DELETE),
      host_(host),
      classesMode_(classesMode) {}

bool ClassPage::OnInit(HWND window) {
  SetHelpTopic(classesMode_ ? L"file:fum.htm#classes" : L"file:fum.htm#settings");
  WhileBusy([&] {
    SetWindow(window);
    AttachControls();
    FillFamilies();
    FillSizes();
    FillSyntaxFiles();
    for (const ControlWrapper* bar : {&red_, &green_, &blue_})
      SendMessageW(bar->Window(), TBM_SETRANGE, TRUE, MAKELPARAM(0, 255));
    MakeWorkingList();
    for (const DocClass& docClass : working_) nameList_.Add(docClass.name);
    for (const ControlWrapper* control :
         std::initializer_list<const ControlWrapper*>{&nameList_, &newButton_, &deleteButton_})
      control->Show(classesMode_);
    activeDocument_.Show(!classesMode_);
    SettingsPage::SetModified(false);
    LoadItem(static_cast<int>(working_.size()) - 1);
    if (readOnly_) DisableAllFields();
  });
  return true;
}

void ClassPage::AttachControls() {
  AttachControl(nameList_, IDC_CLS_NAMES);
  AttachControl(newButton_, IDC_CLS_NEW);
  AttachControl(deleteButton_, IDC_CLS_DELETE);
  AttachControl(activeDocument_, IDC_CLS_ACTIVEDOC);
  AttachControl(section_, IDC_CLS_SECTION);
  AttachControl(tabsize_, IDC_CLS_TABSIZE);
  AttachControl(relindent_, IDC_CLS_RELINDENT);
  AttachControl(wordwrap_, IDC_CLS_WORDWRAP);
  AttachControl(indent_, IDC_CLS_INDENT);
  AttachControl(filterText_, IDC_CLS_FILTERTEXT);
  AttachControl(filters_, IDC_CLS_FILTERS);
  AttachControl(addFilter_, IDC_CLS_FILTERADD);
  AttachControl(deleteFilter_, IDC_CLS_FILTERDELETE);
  AttachControl(colours_, IDC_CLS_COLORS);
  AttachControl(swatch_, IDC_CLS_SWATCH);
  AttachControl(sample_, IDC_CLS_SAMPLE);
  AttachControl(red_, IDC_CLS_RED);
  AttachControl(green_, IDC_CLS_GREEN);
  AttachControl(blue_, IDC_CLS_BLUE);
  AttachControl(setColour_, IDC_CLS_SETCOLOR);
  AttachControl(family_, IDC_CLS_FONTFAMILY);
  AttachControl(style_, IDC_CLS_FONTSTYLE);
  AttachControl(size_, IDC_CLS_FONTSIZE);
  AttachControl(alterFont_, IDC_CLS_ALTERFONT);
  AttachControl(width_, IDC_CLS_WIDTH);
  AttachControl(compress_, IDC_CLS_COMPRESS);
  AttachControl(cleartype_, IDC_CLS_CLEARTYPE);
  AttachControl(proof_, IDC_CLS_PROOF);
  AttachControl(hasSyntax_, IDC_CLS_HASSYNTAX);
  AttachControl(syntaxLabel_, IDC_CLS_SYNTAX_LABEL);
  AttachControl(syntaxFile_, IDC_CLS_SYNTAXFILE);
}

void ClassPage::MakeWorkingList() {
  AppSettings& settings = host_.Settings();
  if (classesMode_) {
    working_ = ClassesForEditing(settings);
    return;
  }
  DocClass active;
  if (!host_.ActiveClass(active)) {
    active = settings.defaultClass;
    readOnly_ = true;
  }
  active.name = L"activedoc";
  working_.assign(1, active);
}

// ---- Sections -------------------------------------------------------------------------------

void ClassPage::FillSections(bool defaultClass) {
  section_.Reset();
  for (const ClassSection& section : SectionsFor(classesMode_, defaultClass)) {
    int index = section_.Add(ResourceText(section.nameId));
    section_.SetItemData(index, section.sectionId);
  }
}

void ClassPage::ShowSection(int index) {
  if (index != -1) section_.Enable(true);
  int shown = index == -1 ? 0 : static_cast<int>(section_.ItemData(index));
  for (const SectionControls& section : sectionControls)
    for (int id : section.controls)
      ShowWindow(GetDlgItem(Window(), id), section.sectionId == shown ? SW_SHOW : SW_HIDE);
  section_.Select(index);
}

void ClassPage::ShowSectionById(int sectionId) {
  int index = section_.FindByData(sectionId);
  if (index >= 0) ShowSection(index);
}

void ClassPage::DisableAllFields() {
  for (const SectionControls& section : sectionControls)
    for (int id : section.controls) EnableWindow(GetDlgItem(Window(), id), FALSE);
}

// ---- The list of classes --------------------------------------------------------------------

bool ClassPage::ValidateCurrent() {
  if (FieldsDisabled() || CurrentIndex() < 0 || readOnly_) return true;
  bool needsFilter = classesMode_ && !IsLast(CurrentIndex());
  std::optional<FieldProblem> problem = CheckClassFields(ReadFields(), needsFilter);
  if (!problem) return true;
  nameList_.Select(CurrentIndex());
  Tell(problem->messageId);
  ShowSectionById(problem->sectionId);
  if (problem->focusId) SetFocus(GetDlgItem(Window(), problem->focusId));
  return false;
}

void ClassPage::ClearFields(bool) {
  section_.Reset();
  section_.Enable(false);
  ShowSection(-1);
  SetFieldsDisabled(true);
  SetCurrent(-1);
  SetDirty(false);
}

void ClassPage::EnableFields(bool enable) {
  if (!enable) ShowSection(-1);
  SetFieldsDisabled(!enable);
}

void ClassPage::LoadItem(int index) {
  if (index < 0 || index >= static_cast<int>(working_.size())) return;
  nameList_.Select(index);
  SetCurrent(index);
  SetFieldsDisabled(false);
  if (classesMode_) deleteButton_.Enable(!IsLast(index));
  FillSections(IsLast(index));
  ShowFields(FieldsOfClass(working_[index]));
  ShowSection(0);
  SetDirty(false);
}

void ClassPage::CopyFieldsToCurrent() {
  StoreFields(ReadFields(), working_[CurrentIndex()]);
  stored_ = true;
}

void ClassPage::InsertItem(const std::wstring& name, int index) {
  // A new class starts as the default class, without its patterns.
  DocClass docClass = working_.back();
  docClass.name = name;
  docClass.filter = std::wstring(2, L'\0');
  working_.insert(working_.begin() + index, std::move(docClass));
}

void ClassPage::EraseItem(int index) { working_.erase(working_.begin() + index); }

bool ClassPage::NameAllowed(const std::wstring& name) const {
  return !AppSettings::IsReservedClassName(name);
}

// ---- Commands -------------------------------------------------------------------------------

bool ClassPage::OnCommand(int id, int code) {
  if (Busy()) return true;
  if (OnSectionCommand(id, code)) return true;
  return ListEditorPage::OnCommand(id, code);
}

bool ClassPage::OnSectionCommand(int id, int code) {
  switch (id) {
    case IDC_CLS_SECTION:
      if (code == CBN_SELCHANGE) ShowSection(section_.Selection());
      return code == CBN_SELCHANGE;
    case IDC_CLS_TABSIZE:
    case IDC_CLS_RELINDENT:
    case IDC_CLS_WIDTH:
    case IDC_CLS_COMPRESS:
      if (code == editChanged) MarkDirty();
      return code == editChanged;
    case IDC_CLS_WORDWRAP:
    case IDC_CLS_INDENT:
    case IDC_CLS_CLEARTYPE:
    case IDC_CLS_PROOF:
      if (code == BN_CLICKED) MarkDirty();
      return code == BN_CLICKED;
    case IDC_CLS_FONTFAMILY:
      if (code != CBN_SELCHANGE) return false;
      if (family_.Selection() >= 0) FillStyles();
      MarkDirty();
      return true;
    case IDC_CLS_FONTSTYLE:
    case IDC_CLS_FONTSIZE:
    case IDC_CLS_SYNTAXFILE:
      if (code == CBN_SELCHANGE) MarkDirty();
      return code == CBN_SELCHANGE;
    case IDC_CLS_ALTERFONT:
      if (code != BN_CLICKED) return false;
      width_.Enable(alterFont_.Checked());
      MarkDirty();  // unticked alone, it stores the width 100
      return true;
    case IDC_CLS_HASSYNTAX:
      if (code != BN_CLICKED) return false;
      syntaxFile_.Enable(hasSyntax_.Checked());
      syntaxLabel_.Enable(hasSyntax_.Checked());
      MarkDirty();
      return true;
    case IDC_CLS_FILTERADD:
      if (code == BN_CLICKED) AddFilter();
      return code == BN_CLICKED;
    case IDC_CLS_FILTERDELETE:
      if (code == BN_CLICKED) DeleteFilter();
      return code == BN_CLICKED;
    case IDC_CLS_COLORS:
      if (code == LBN_SELCHANGE) ShowColour();
      return code == LBN_SELCHANGE;
    case IDC_CLS_SETCOLOR:
      if (code == BN_CLICKED) SetColour();
      return code == BN_CLICKED;
    default:
      return false;
  }
}

void ClassPage::AddFilter() {
  std::wstring pattern = filterText_.GetText();
  if (pattern.empty()) return;
  if (filters_.FindExact(pattern) < 0) filters_.Add(pattern);
  MarkDirty();
}

void ClassPage::DeleteFilter() {
  int selection = filters_.Selection();
  if (selection < 0) return;
  filters_.Delete(selection);
  MarkDirty();
}

// ---- Applying -------------------------------------------------------------------------------

bool ClassPage::OnApply() {
  if (!StoreCurrent()) return false;
  if (classesMode_) {
    host_.ClassesChanged(ReplaceClasses(host_.Settings(), working_));
    return true;
  }
  // Only a change made on this page reaches the document: applying an unchanged copy would
  // detach the document from its class, and a change of that class on the Classes page would
  // then pass it by.
  if (readOnly_ || !stored_) return true;
  working_[0].name = L"activedoc";
  host_.ApplyToActive(working_[0]);
  return true;
}
