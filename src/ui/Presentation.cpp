#include "ui/Presentation.h"

#include <optional>
#include <variant>

#include "platform/PlatformError.h"
#include "shell/Globals.h"
#include "shell/Main.h"

namespace tabulane {
namespace {

constexpr const char* kHelpPagePath = "/tabulane/help/";
// The working folder the help call names; the desktop's opener ignores it.
constexpr const char* kHelpWorkingFolder = "C:\\";

// The skin component's dispatch identifiers, in the order the window calls them.
constexpr int kLoadSkin = 2;
constexpr int kApplyOptions = 1;
constexpr int kSkinOption5 = 5;
constexpr int kSkinOption10 = 10;
constexpr int kApplyToWindow = 3;

// A property read through the skin component: a truth value counts as -1 or 0; text is no number.
std::int32_t AsInteger(const DispatchValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) {
        return *number;
    }
    if (const auto* truth = std::get_if<bool>(&value)) {
        return *truth ? -1 : 0;
    }
    throw PlatformError(ErrorNumber::kTypeMismatch, "Type mismatch");
}

// Wrapped in double quotes, so the shell keeps it one item whatever it holds.
std::string Quoted(const std::string& text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.append(1, '"').append(text).append(1, '"');
    return quoted;
}

bool TakesButtonFace(ControlKind kind) {
    return kind == ControlKind::OptionButton || kind == ControlKind::CheckBox || kind == ControlKind::Frame ||
           kind == ControlKind::Label;
}

}  // namespace

std::string HelpPageAddress() {
    return std::string(kProductSite) + kHelpPagePath;
}

std::string HomePageAddress() {
    return std::string(kProductSite) + "/";
}

void PushButton5_Click(SkinnableWindow& window, ShellExecutor& shell, ErrorReporter& reporter) {
    ErrorTrap trap(reporter, "Form1", "PushButton5_Click");
    trap.Step(100, [&] {
        // The shell's answer is not examined: a browser that fails to open is not reported.
        shell.ShellExecute({.owner = window.WindowHandle(),
                            .operation = std::nullopt,
                            .file = Quoted(HelpPageAddress()),
                            .parameters = std::nullopt,
                            .directory = kHelpWorkingFolder,
                            .showCommand = kShowWindow});
    });
}

void ApplySkin(SkinnableWindow& window, Platform& platform) {
    const std::string path = SkinFilePath(platform.environment.ProgramFolder());
    // Looked up by name, as a file: a folder of that name is no skin.
    if (!platform.files.Exists(path) || IsFolder(platform.files, path)) {
        return;
    }
    window.SetBackColor(kButtonFaceColor);
    for (const WindowControl& control : window.Controls()) {
        if (TakesButtonFace(control.kind)) {
            window.SetControlBackColor(control.name, kButtonFaceColor);
        }
    }
    SkinFramework& skin = platform.skinFramework;
    skin.Invoke(kLoadSkin, {path, std::string()});
    skin.SetProperty(kApplyOptions, AsInteger(skin.GetProperty(kApplyOptions)) | 1);
    skin.SetProperty(kSkinOption5, true);
    skin.SetProperty(kSkinOption10, true);
    skin.Invoke(kApplyToWindow, {window.WindowHandle()});
}

void VisitHomePage(Platform& platform) {
    platform.random.Seed(platform.clock.SecondsSinceMidnight());
    const int draw = static_cast<int>(platform.random.NextFraction() * 100) + 1;
    if (draw == kHomePageDraw) {
        platform.programStarter.StartProgram("explorer " + Quoted(HomePageAddress()), WindowStyle::MinimizedFocus);
    }
}

}  // namespace tabulane
