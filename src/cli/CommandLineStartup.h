#pragma once

#include <string>

#include "platform/Platform.h"
#include "shell/ErrorReport.h"
#include "shell/Startup.h"

namespace tabulane {

// The load step's inputs as the program uses them: the eight modes, and the command-line mode as the runner.
// An error box shown by an earlier load step makes the run's exit status a failure too.
// argumentsFitText: false when an argument could not be written in the argument text (ArgumentsFitText).
StartupInputs MakeStartupInputs(ErrorReporter& reporter, Platform& platform, const std::string& argumentText,
                                bool argumentsFitText = true);

}  // namespace tabulane
