#include "convert/OutputDestination.h"

#include <string>

#include "shell/Main.h"
#include "shell/SettingKeys.h"

namespace tabulane {
namespace {

void SaveOutputOptions(MainWindow& window, SettingsStore& settings) {
    settings.SaveSetting(SettingKey::kOption1, TruthText(window.Option1Selected()));
    settings.SaveSetting(SettingKey::kOption2, TruthText(window.Option2Selected()));
    window.SetFrame3Enabled(window.Option1Selected());
}

}  // namespace

void Option1_Click(MainWindow& window, SettingsStore& settings) {
    SaveOutputOptions(window, settings);
}

void Option2_Click(MainWindow& window, SettingsStore& settings) {
    SaveOutputOptions(window, settings);
}

void Text1_Change(const OutputControls& window, SettingsStore& settings) {
    settings.SaveSetting(SettingKey::kOutputFolder, window.Text1Text());
}

void PushButton8_Click(MainWindow& window, Platform& platform, ErrorReporter& reporter) {
    ErrorTrap trap(reporter, "Form1", "PushButton8_Click");
    std::string startFolder;
    std::string folder;
    trap.Step(100, [&] { startFolder = platform.settings.GetSetting(SettingKey::kLastFolderDot, ""); });
    trap.Step(102, [&] { folder = platform.folderPicker.BrowseForFolder(kSelectFolderTitle, startFolder); });
    if (folder.empty()) {
        return;
    }
    trap.Step(104, [&] { platform.settings.SaveSetting(SettingKey::kLastFolderDot, folder); });
    // A root comes back with its separator ("/", "C:\"); any other folder gets one.
    const char separator = SeparatorOf(kNativePathStyle);
    if (folder.back() != separator) {
        trap.Step(106, [&] { window.SetText1Text(folder + separator); });
    } else {
        trap.Step(108, [&] { window.SetText1Text(folder); });
    }
}

}  // namespace tabulane
