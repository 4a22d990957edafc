// The Commands page: the Tools commands as a list of named items with their program,
// arguments and save options.
#include "comun/resource.h"
#include "config/AppSettings.h"
#include "settings/SettingsPages.h"
#include "settings/SettingsSheet.h"

namespace {

class CommandsPage final : public ListEditorPage {
 public:
  explicit CommandsPage(SettingsHost& host)
      : ListEditorPage(IDC_CMD_NAMES, IDC_CMD_NEW, IDC_CMD_DELETE), host_(host) {}

  bool OnInit(HWND window) override {
    SetHelpTopic(L"file:fum.htm#commands");
    WhileBusy([&] {
      SetWindow(window);
      AttachControl(nameList_, IDC_CMD_NAMES);
      AttachControl(newButton_, IDC_CMD_NEW);
      AttachControl(deleteButton_, IDC_CMD_DELETE);
      AttachControl(program_, IDC_CMD_PROGRAM);
      AttachControl(browse_, IDC_CMD_BROWSE);
      AttachControl(arguments_, IDC_CMD_ARGUMENTS);
      AttachControl(saveDocument_, IDC_CMD_SAVEDOC);
      AttachControl(saveAll_, IDC_CMD_SAVEALL);
      AttachControl(capture_, IDC_CMD_CAPTURE);
      working_ = host_.Settings().commands;
      for (const ToolCommand& command : working_) nameList_.Add(command.name);
      ClearFields(false);
      SettingsPage::SetModified(false);
    });
    return true;
  }

  bool OnCommand(int id, int code) override {
    if (Busy()) return true;
    switch (id) {
      case IDC_CMD_PROGRAM:
      case IDC_CMD_ARGUMENTS:
        if (code != EN_CHANGE) return false;
        MarkDirty();
        return true;
      case IDC_CMD_SAVEDOC:
      case IDC_CMD_SAVEALL:
      case IDC_CMD_CAPTURE:
        if (code != BN_CLICKED) return false;
        MarkDirty();
        return true;
      case IDC_CMD_BROWSE:
        if (code != BN_CLICKED) return false;
        Browse();
        return true;
      default:
        return ListEditorPage::OnCommand(id, code);
    }
  }

  bool Validate() override { return ValidateTouched(); }

  bool OnApply() override {
    if (!StoreCurrent()) return false;
    host_.Settings().commands = working_;
    host_.CommandsChanged();
    return true;
  }

 protected:
  bool ValidateCurrent() override {
    if (FieldsDisabled() || program_.GetTextLength() > 0) return true;
    if (CurrentIndex() < 0) return false;
    Tell(IDS_NEEDCOMMAND);
    nameList_.Select(CurrentIndex());
    program_.Focus();
    return false;
  }

  void ClearFields(bool enable) override {
    program_.SetText(L"");
    arguments_.SetText(L"");
    for (const ControlWrapper* box : {&saveDocument_, &saveAll_, &capture_}) box->SetChecked(false);
    EnableFields(enable);
    SetCurrent(-1);
    SetDirty(false);
  }

  void LoadItem(int index) override {
    if (index < 0 || index >= static_cast<int>(working_.size())) return;
    const ToolCommand& command = working_[index];
    program_.SetText(command.cmdline);
    arguments_.SetText(command.cmdargs);
    saveDocument_.SetChecked(command.savedoc);
    saveAll_.SetChecked(command.saveall);
    capture_.SetChecked(command.capture);
    EnableFields(true);
    SetCurrent(index);
    SetDirty(false);
  }

  void CopyFieldsToCurrent() override {
    ToolCommand& command = working_[CurrentIndex()];
    command.cmdline = program_.GetText();
    command.cmdargs = arguments_.GetText();
    command.savedoc = saveDocument_.Checked();
    command.saveall = saveAll_.Checked();
    command.capture = capture_.Checked();
  }

  void EnableFields(bool enable) override {
    for (const ControlWrapper* field :
         {&program_, &browse_, &arguments_, &saveDocument_, &saveAll_, &capture_}) {
      field->Enable(enable);
    }
    SetFieldsDisabled(!enable);
  }

  void InsertItem(const std::wstring& name, int index) override {
    ToolCommand command;
    command.name = name;
    working_.insert(working_.begin() + index, std::move(command));
  }

  void EraseItem(int index) override { working_.erase(working_.begin() + index); }

  bool NameAllowed(const std::wstring& name) const override {
    return !AppSettings::IsReservedCommandName(name);
  }

 private:
  void Browse() {
    std::wstring path;
    if (host_.ChooseProgram(Window(), host_.Settings().filter, path)) program_.SetText(path);
  }

  SettingsHost& host_;
  std::vector<ToolCommand> working_;  // the commands being edited, in menu order
  ControlWrapper program_, browse_, arguments_, saveDocument_, saveAll_, capture_;
};

}  // namespace

std::unique_ptr<SettingsPage> MakeCommandsPage(SettingsHost& host) {
  return std::make_unique<CommandsPage>(host);
}
