#include "cli/ProgramStart.h"

#include <ostream>
#include <utility>

#include "cli/CommandLineStartup.h"
#include "cli/HiddenWindow.h"

namespace tabulane {

StartChoice ChooseStart(bool hasArguments, bool headless, const std::function<bool()>& displayAnswers) {
    if (hasArguments) {
        return {headless ? StartKind::ConvertHeadless : StartKind::ConvertWithBoxes};
    }
    if (headless) {
        return {StartKind::ExplainNoDisplay};
    }
    // A display that is named but does not answer (a stale DISPLAY) counts as none.
    if (!displayAnswers()) {
        return {StartKind::ExplainNoDisplay, true};
    }
    return {StartKind::ShowWindow};
}

int ExplainWindowNeedsDisplay(std::ostream& errors, const DisplayEnvironment& display, bool displayNamed) {
    if (displayNamed) {
        errors << "Tabulane: the window needs a display, and the one named (DISPLAY=" << display.display
               << ", WAYLAND_DISPLAY=" << display.waylandDisplay
               << ") does not answer; convert without a window with: tabulane <Input File> <Output File> "
                  "<Character> <-c|-cs>\n";
    } else {
        errors << "Tabulane: the window needs a display, and none is available (no DISPLAY or WAYLAND_DISPLAY, "
                  "or QT_QPA_PLATFORM=offscreen).\n"
                  "Without a display, convert one file on the command line:\n"
                  "  tabulane <Input File> <Output File> <Character> <-c|-cs>\n"
                  "for example: tabulane in.txt out.csv TABS -c\n";
    }
    errors.flush();
    return 1;
}

int ConvertOnHiddenWindow(Platform& platform, const std::string& argumentText, bool argumentsFitText,
                          std::function<void()> applySkin) {
    HiddenWindow window;
    ErrorReporter reporter(platform.boxes);
    StartupInputs inputs = MakeStartupInputs(reporter, platform, argumentText, argumentsFitText);
    inputs.applySkin = std::move(applySkin);
    return Form_Load(window, platform, reporter, inputs).exitStatus;
}

}  // namespace tabulane
