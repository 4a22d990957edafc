// The settings sheet as the main window opens it: the pages reach the documents, the Tools menu
// and the file dialog through the frame.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "config/AppSettings.h"
#include "filedialog/FileDialog.h"
#include "frame/FrameSupport.h"
#include "frame/MainFrame.h"
#include "frame/ToolCommands.h"
#include "settings/SettingsSheet.h"

namespace {

class FrameSettingsHost final : public SettingsHost {
 public:
  explicit FrameSettingsHost(MainFrame& frame) : frame_(frame) {}

  AppSettings& Settings() override { return frame_.Settings(); }

  bool ActiveClass(DocClass& docClass) override {
    OpenDocument* document = frame_.ActiveDocument();
    if (!document) return false;
    docClass = document->view->docClass;
    return true;
  }

  void ApplyToActive(const DocClass& docClass) override {
    OpenDocument* document = frame_.ActiveDocument();
    if (!document) return;
    WaitCursor wait;
    ApplyClassSettings(*document->view, Settings(), docClass);
  }

  void ClassesChanged(const std::vector<std::wstring>& names) override {
    if (names.empty()) return;
    WaitCursor wait;
    AppSettings& settings = Settings();
    for (const auto& document : frame_.documents) {
      const std::wstring& name = document->view->docClass.name;
      if (std::find(names.begin(), names.end(), name) == names.end()) continue;
      const DocClass* docClass =
          name == settings.defaultClass.name ? &settings.defaultClass : settings.FindClass(name);
      if (docClass) ApplyClassSettings(*document->view, settings, *docClass);
    }
  }

  void CommandsChanged() override { RebuildToolsMenu(frame_); }

  bool ChooseProgram(HWND owner, const std::wstring& filter, std::wstring& path) override {
    std::vector<wchar_t> file(261, L'\0');
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.hInstance = frame_.instance;
    request.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.Flags = OFN_PATHMUSTEXIST;
    if (!OpenFileDialog(request)) return false;
    path = file.data();
    return true;
  }

 private:
  MainFrame& frame_;
};

}  // namespace

void MainFrame::ShowSettings() {
  FrameSettingsHost host(*this);
  ShowSettingsSheet(mainWindow, host);
}
