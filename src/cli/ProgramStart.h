#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "platform/DisplayProbe.h"
#include "platform/Platform.h"

namespace tabulane {

// How a start goes, decided once for every entry program (the front program and the window program on Linux, the
// one program on Windows).
enum class StartKind {
    ExplainNoDisplay,  // no arguments and no display that answers: say how to convert without one (exit status 1)
    ShowWindow,        // no arguments and a display: the window
    ConvertHeadless,   // arguments and no display named: convert, boxes on the error stream
    ConvertWithBoxes,  // arguments and a display named: convert, boxes on the screen when it answers
};

struct StartChoice {
    StartKind kind;
    bool displayNamed = false;  // for ExplainNoDisplay: a display was named but does not answer
};

// headless: no display is named (IsHeadless). displayAnswers is asked only for a start without arguments: a
// conversion does not wait for the display server before it has a box to show.
StartChoice ChooseStart(bool hasArguments, bool headless, const std::function<bool()>& displayAnswers);

// Says on the error stream that the window needs a display and how to convert without one; returns the exit
// status 1. displayNamed: a display was named but does not answer.
int ExplainWindowNeedsDisplay(std::ostream& errors, const DisplayEnvironment& display, bool displayNamed);

// Runs the load step on a window that is never built (building real widgets would only add start-up time to every
// conversion) and so the command line on a non-empty argument text; returns the exit status. applySkin, when
// given, is the load step's appearance step: only its failure can show.
int ConvertOnHiddenWindow(Platform& platform, const std::string& argumentText, bool argumentsFitText,
                          std::function<void()> applySkin = {});

}  // namespace tabulane
