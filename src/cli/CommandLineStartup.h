#pragma once

#include <string>

#include "platform/Platform.h"
#include "shell/ErrorReport.h"
#include "shell/Startup.h"

namespace tabulane {

// The load step's inputs as the program uses them: the eight modes, and the command-line mode as the runner.
// The runner shares the load step's reporter, so an error box shown by an earlier load step fails the run too.
// argumentsFitText: false when an argument could not be written in the argument text (ArgumentsFitText).
StartupInputs MakeStartupInputs(ErrorReporter& reporter, Platform& platform, const std::string& argumentText,
                                bool argumentsFitText = true);

}  // namespace tabulane
