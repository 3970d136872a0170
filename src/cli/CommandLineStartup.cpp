#include "cli/CommandLineStartup.h"

#include "cli/CommandLine.h"
#include "convert/Modes.h"

namespace tabulane {

StartupInputs MakeStartupInputs(ErrorReporter& reporter, Platform& platform, const std::string& argumentText,
                                bool argumentsFitText) {
    StartupInputs inputs;
    for (const ConversionMode& mode : kConversionModes) {
        inputs.modeCaptions.emplace_back(mode.caption);
    }
    inputs.defaultMode = std::string(kDefaultMode);
    inputs.argumentText = argumentText;
    inputs.runCommandLine = [&reporter, &platform, argumentsFitText](const std::string& text,
                                                                     const std::string& title) {
        ConversionServices services{.reporter = reporter, .files = platform.files};
        return RunCommandLine(text, services, platform.boxes, title, argumentsFitText);
    };
    return inputs;
}

}  // namespace tabulane
