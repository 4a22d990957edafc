// The Associations page: the extensions that open with the program, added and removed on the
// page and written to the registry on OK.
#include "comun/resource.h"
#include "config/AppSettings.h"
#include "config/Associations.h"
#include "platform/Platform.h"
#include "settings/RegistryKeyStore.h"
#include "settings/SettingsPages.h"
#include "settings/SettingsSheet.h"
#include "syntax/ConfigFile.h"

namespace {

class AssocPage final : public SettingsPage {
 public:
  explicit AssocPage(SettingsHost& host)
      : host_(host), registry_(HKEY_CLASSES_ROOT), list_(registry_, platform::ModulePath()) {}

  bool OnInit(HWND window) override {
    SetHelpTopic(L"file:fum.htm#assocs");
    SetWindow(window);
    AttachControl(extension_, IDC_ASC_EXTENSION);
    AttachControl(fileType_, IDC_ASC_FILETYPE);
    AttachControl(extensions_, IDC_ASC_LIST);
    AttachControl(add_, IDC_ASC_ADD);
    AttachControl(delete_, IDC_ASC_DELETE);
    list_.Load(SplitStringList(host_.Settings().assocs));
    for (const std::wstring& extension : list_.Listed()) extensions_.Add(extension);
    EnableButtons(false);
    SetModified(false);
    return true;
  }

  bool OnCommand(int id, int code) override {
    if (id == IDC_ASC_EXTENSION && code == EN_CHANGE) {
      ExtensionTyped();
    } else if (id == IDC_ASC_LIST && code == LBN_SELCHANGE) {
      ExtensionChosen();
    } else if (id == IDC_ASC_ADD && code == BN_CLICKED) {
      Add();
    } else if (id == IDC_ASC_DELETE && code == BN_CLICKED) {
      Delete();
    } else {
      return false;
    }
    return true;
  }

  bool Validate() override { return true; }

  bool OnApply() override {
    std::vector<std::wstring> order;
    for (int i = 0, count = extensions_.Count(); i < count; ++i)
      order.push_back(extensions_.ItemText(i));
    host_.Settings().assocs = JoinStringList(list_.Apply(order));
    return true;
  }

 private:
  void EnableButtons(bool enable) const {
    add_.Enable(enable);
    delete_.Enable(enable);
  }

  void ExtensionTyped() {
    std::wstring extension = extension_.GetText();
    bool usable = extension.size() >= 2 && extension[0] == L'.';
    EnableButtons(usable);
    if (usable) fileType_.SetText(list_.DescriptionOf(extension));
  }

  void ExtensionChosen() {
    int selection = extensions_.Selection();
    if (selection < 0) return;
    std::wstring extension = extensions_.ItemText(selection);
    extension_.SetText(extension);
    fileType_.SetText(list_.DescriptionOf(extension));
    EnableButtons(true);
  }

  void Add() {
    std::wstring extension = extension_.GetText();
    if (extension.empty() || extensions_.FindExact(extension) >= 0) return;
    switch (CheckExtension(extension)) {
      case ExtensionCheck::noDot:
        Tell(IDS_EXT_NODOT);
        return;
      case ExtensionCheck::forbiddenCharacter:
        Tell(IDS_EXT_BADCHARS);
        return;
      case ExtensionCheck::ok:
        break;
    }
    list_.Add(extension, fileType_.GetText());
    extensions_.Add(extension);
    SetModified(true);
  }

  void Delete() {
    int index = extensions_.FindExact(extension_.GetText());
    if (index < 0) return;
    list_.Remove(extensions_.ItemText(index));
    extensions_.Delete(index);
    extensions_.Select(0);
    SetModified(true);
  }

  SettingsHost& host_;
  RegistryKeyStore registry_;
  AssocList list_;
  ControlWrapper extension_, fileType_, add_, delete_;
  ListBoxWrapper extensions_;
};

}  // namespace

std::unique_ptr<SettingsPage> MakeAssocPage(SettingsHost& host) {
  return std::make_unique<AssocPage>(host);
}
