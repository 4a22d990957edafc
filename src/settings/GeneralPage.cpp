// The General page: default extension and folder, "Directory follows active document",
// reopening the last session's documents and the file type filters of the open and save dialogs.
#include "comun/resource.h"
#include "config/AppSettings.h"
#include "config/FilterList.h"
#include "settings/SettingsPages.h"
#include "settings/SettingsSheet.h"

namespace {

class GeneralPage final : public SettingsPage {
 public:
  explicit GeneralPage(SettingsHost& host) : host_(host) {}

  bool OnInit(HWND window) override {
    SetHelpTopic(L"file:fum.htm#settings");
    SetWindow(window);
    AttachControl(defext_, IDC_GEN_DEFEXT);
    AttachControl(dirFollows_, IDC_GEN_DIRFOLLOWS);
    AttachControl(reopen_, IDC_GEN_REOPEN);
    AttachControl(defdir_, IDC_GEN_DEFDIR);
    AttachControl(names_, IDC_GEN_FILTERNAME);
    AttachControl(pattern_, IDC_GEN_FILTERDEF);
    const AppSettings& settings = host_.Settings();
    defext_.SetText(settings.defext);
    dirFollows_.SetChecked(settings.dirfollowsdoc);
    reopen_.SetChecked(settings.session.reopen);
    defdir_.SetText(settings.defdir);
    filters_ = FilterList::FromStringList(settings.filter);
    ShowFilters(0);
    SetModified(false);
    return true;
  }

  bool OnCommand(int id, int code) override {
    switch (id) {
      case IDC_GEN_DEFEXT:
      case IDC_GEN_DEFDIR:
        if (code == EN_CHANGE) SetModified(true);
        return code == EN_CHANGE;
      case IDC_GEN_SAVEENV:
      case IDC_GEN_DIRFOLLOWS:
      case IDC_GEN_REOPEN:
        if (code == BN_CLICKED) SetModified(true);
        return code == BN_CLICKED;
      case IDC_GEN_FILTERNAME:
        if (code == CBN_SELCHANGE) pattern_.SetText(filters_.PatternOf(names_.Selection()));
        return code == CBN_SELCHANGE;
      case IDC_GEN_FILTERADD:
      case IDC_GEN_FILTERDELETE:
      case IDC_GEN_FILTERUP:
      case IDC_GEN_FILTERMODIFY:
        if (code == BN_CLICKED) OnFilterButton(id);
        return code == BN_CLICKED;
      default:
        return false;
    }
  }

  bool Validate() override { return true; }

  bool OnApply() override {
    AppSettings& settings = host_.Settings();
    settings.defext = defext_.GetText();
    settings.defdir = defdir_.GetText();
    settings.dirfollowsdoc = dirFollows_.Checked();
    settings.session.reopen = reopen_.Checked();
    settings.filter = filters_.ToStringList();
    return true;
  }

 private:
  void OnFilterButton(int id) {
    std::wstring name = names_.GetText();
    int selection = names_.Selection();
    switch (id) {
      case IDC_GEN_FILTERADD:
        if (filters_.Add(name, pattern_.GetText())) Changed(filters_.Find(name));
        break;
      case IDC_GEN_FILTERDELETE:
        if (filters_.Remove(name)) Changed(0);
        break;
      case IDC_GEN_FILTERUP:
        if (filters_.MoveUp(selection)) Changed(selection - 1);
        break;
      case IDC_GEN_FILTERMODIFY:
        if (filters_.Modify(name, pattern_.GetText())) Changed(filters_.Find(name));
        break;
      default:
        break;
    }
  }

  void Changed(int shown) {
    ShowFilters(shown);
    SetModified(true);
  }

  // Fills the names and shows the pattern entry of name index.
  void ShowFilters(int index) {
    names_.Reset();
    for (const std::wstring& name : filters_.Names()) names_.Add(name);
    names_.Select(index);
    pattern_.SetText(filters_.PatternOf(index));
  }

  SettingsHost& host_;
  FilterList filters_;  // the names in the order of the name list
  ControlWrapper defext_, dirFollows_, reopen_, defdir_, pattern_;
  ComboWrapper names_;
};

}  // namespace

std::unique_ptr<SettingsPage> MakeGeneralPage(SettingsHost& host) {
  return std::make_unique<GeneralPage>(host);
}
