#pragma once

#include "platform/MainWindow.h"
#include "platform/SettingsStore.h"

namespace tabulane {

// The mode box stores its text on every edit and every pick from its list, even text that names no mode;
// nothing else happens until a run reads the box again.
void Combo1_Change(const MainWindow& window, SettingsStore& settings);
void Combo1_Click(const MainWindow& window, SettingsStore& settings);

}  // namespace tabulane
