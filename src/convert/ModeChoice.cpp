#include "convert/ModeChoice.h"

#include "shell/SettingKeys.h"

namespace tabulane {

void Combo1_Change(const MainWindow& window, SettingsStore& settings) {
    settings.SaveSetting(SettingKey::kCombo, window.ComboText());
}

void Combo1_Click(const MainWindow& window, SettingsStore& settings) {
    settings.SaveSetting(SettingKey::kCombo, window.ComboText());
}

}  // namespace tabulane
