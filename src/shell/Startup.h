#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/MainWindow.h"
#include "platform/Platform.h"
#include "shell/ErrorReport.h"

namespace tabulane {

// The file of the custom hand pointer, looked up in the program's folder.
inline constexpr const char* kHandCursorFile = "HAND-M.CUR";
inline constexpr const char* kListColumnHeader = "File(s)";
inline constexpr int kListColumnWidthTwips = 7000;

// What the load step needs from the layers above the shell. The shell links neither the conversion nor the
// command line, so the caller passes the mode captions and the command-line runner in.
struct StartupInputs {
    std::vector<std::string> modeCaptions;  // in the order the mode box lists them
    std::string defaultMode;                // selected when no "Combo" is stored
    std::string argumentText;               // everything after the program name, as one text
    // Runs the command-line mode on a non-empty argument text; returns the process's exit status.
    std::function<int(const std::string& argumentText, const std::string& applicationTitle)> runCommandLine;
    std::function<void()> applySkin;      // optional appearance step
    std::function<void()> visitHomePage;  // optional occasional home-page step; never run with an argument text
};

struct StartupResult {
    std::string applicationTitle;  // caption of boxes that have none of their own; empty if its step failed
    bool commandLineRan = false;   // true: the window must not be shown; end with exitStatus
    int exitStatus = 0;
};

// The window's load step. Each step runs under the trap "Form1.Form_Load", so a failing step is reported and
// the next one runs. With a non-empty argument text the command line runs and the output options are left alone.
StartupResult Form_Load(MainWindow& window, Platform& platform, ErrorReporter& reporter, const StartupInputs& inputs);

}  // namespace tabulane
