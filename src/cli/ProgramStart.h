#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "platform/DisplayProbe.h"
#include "platform/Platform.h"

namespace tabulane {

// Says on the error stream that the window needs a display and how to convert without one; returns the exit
// status kExitFailure. displayNamed: a display was named but does not answer.
int ExplainWindowNeedsDisplay(std::ostream& errors, const DisplayEnvironment& display, bool displayNamed);

// Runs the load step on a window that is never built (building real widgets would only add start-up time to every
// conversion) and so the command line on a non-empty argument text; returns the exit status. applySkin, when
// given, is the load step's appearance step: only its failure can show.
int ConvertOnHiddenWindow(Platform& platform, const std::string& argumentText, bool argumentsFitText,
                          std::function<void()> applySkin = {});

}  // namespace tabulane
