#include "shell/Startup.h"

#include "platform/ExitStatus.h"
#include "platform/PlatformError.h"
#include "shell/Globals.h"
#include "shell/Main.h"
#include "shell/SettingKeys.h"

namespace tabulane {
namespace {

std::string WithTrailingSeparator(const std::string& folder) {
    const char separator = SeparatorOf(kNativePathStyle);
    return !folder.empty() && folder.back() == separator ? folder : folder + separator;
}

}  // namespace

StartupResult Form_Load(MainWindow& window, Platform& platform, ErrorReporter& reporter, const StartupInputs& inputs) {
    ErrorTrap trap(reporter, "Form1", "Form_Load");
    StartupResult result;

    trap.Step(100, [&] {
        if (inputs.applySkin) {
            inputs.applySkin();
        }
    });
    trap.Step(102, [&] {
        window.SetCaption(kProductTitle);
        result.applicationTitle = MakeApplicationTitle(kProductTitle);
    });

    bool hasHandCursor = false;
    std::string handCursorPath;
    trap.Step(104, [&] {
        handCursorPath = platform.environment.ProgramFolder() + SeparatorOf(kNativePathStyle) + kHandCursorFile;
        hasHandCursor = PathExists(platform.files, handCursorPath);
    });
    if (hasHandCursor) {
        trap.Step(106, [&] { window.LoadCustomCursor(handCursorPath); });
    }

    // Only a start into the window may visit the home page: a conversion run from a script must never open a
    // browser, not even once in a hundred runs.
    if (inputs.argumentText.empty()) {
        trap.Step(108, [&] {
            if (inputs.visitHomePage) {
                inputs.visitHomePage();
            }
        });
    }

    // The list column is added and sized through one call; a failure of either is reported as the column's step.
    trap.Step(128, [&] { window.AddListColumn(kListColumnHeader, kListColumnWidthTwips); });

    int step = 132;
    for (const std::string& caption : inputs.modeCaptions) {
        trap.Step(step, [&] { window.AddComboItem(caption); });
        step += 2;
    }
    trap.Step(148, [&] { window.SetComboText(platform.settings.GetSetting(SettingKey::kCombo, inputs.defaultMode)); });

    // Any argument text splits into at least one token (a lone space gives two empty ones).
    bool hasTokens = false;
    trap.Step(150, [&] { hasTokens = !inputs.argumentText.empty(); });
    if (hasTokens) {
        result.commandLineRan = true;
        result.exitStatus = kExitFailure;  // stays when the runner fails with a reported error
        trap.Step(152,
                  [&] { result.exitStatus = inputs.runCommandLine(inputs.argumentText, result.applicationTitle); });
        return result;
    }

    trap.Step(270, [&] {
        const std::string desktop = platform.environment.DesktopFolder();
        if (desktop.empty()) {
            // The default cannot be built without a desktop folder; the box keeps its empty text.
            throw PlatformError(ErrorNumber::kInvalidProcedureCall, "Invalid procedure call or argument");
        }
        window.SetText1Text(platform.settings.GetSetting(SettingKey::kOutputFolder, WithTrailingSeparator(desktop)));
    });
    trap.Step(272, [&] {
        window.SetOption1Selected(ParseTruthValue(platform.settings.GetSetting(SettingKey::kOption1, "True")));
    });
    trap.Step(274, [&] {
        window.SetOption2Selected(ParseTruthValue(platform.settings.GetSetting(SettingKey::kOption2, "False")));
    });

    bool option1 = false;
    if (trap.Step(276, [&] { option1 = window.Option1Selected(); })) {
        if (option1) {
            trap.Step(278, [&] { window.SetFrame3Enabled(true); });
        } else {
            trap.Step(280, [&] { window.SetFrame3Enabled(false); });
        }
    }
    return result;
}

}  // namespace tabulane
