// The General, Commands and Associations pages, shown with their controls until they edit
// their settings.
#include "config/SettingsPages.h"

namespace {

class PlainPage final : public SettingsPage {
 public:
  bool OnInit(HWND window) override {
    SetWindow(window);
    return true;
  }
  bool OnApply() override { return true; }
  bool Validate() override { return true; }
};

}  // namespace

std::unique_ptr<SettingsPage> MakeGeneralPage(SettingsHost&) { return std::make_unique<PlainPage>(); }
std::unique_ptr<SettingsPage> MakeCommandsPage(SettingsHost&) { return std::make_unique<PlainPage>(); }
std::unique_ptr<SettingsPage> MakeAssocPage(SettingsHost&) { return std::make_unique<PlainPage>(); }
