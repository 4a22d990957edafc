// The General, Commands and Associations pages of the settings sheet.
#pragma once

#include <memory>

#include "settings/SettingsPage.h"

class SettingsHost;

std::unique_ptr<SettingsPage> MakeGeneralPage(SettingsHost& host);
std::unique_ptr<SettingsPage> MakeCommandsPage(SettingsHost& host);
std::unique_ptr<SettingsPage> MakeAssocPage(SettingsHost& host);
