#pragma once

#include <functional>
#include <string>

#include "platform/MessageBoxes.h"
#include "shell/ErrorReport.h"

namespace tabulane {

// The command-line help button: shows the usage text in a plain box captioned with the application title.
// The text comes from the command-line layer, which the shell does not link; it is built inside the trap.
void PushButton4_Click(ErrorReporter& reporter, MessageBoxes& boxes, const std::string& applicationTitle,
                       const std::function<std::string()>& usageText);

}  // namespace tabulane
