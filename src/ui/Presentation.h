#pragma once

#include <string>

#include "platform/Platform.h"
#include "platform/SkinnableWindow.h"
#include "platform/StyleSheetFile.h"
#include "shell/ErrorReport.h"

namespace tabulane {

// The draw from 1 to 100 that opens the home page at start.
inline constexpr int kHomePageDraw = 7;

std::string HelpPageAddress();
std::string HomePageAddress();

// Help: opens the online help page through the shell, under the trap "Form1.PushButton5_Click".
void PushButton5_Click(SkinnableWindow& window, ShellExecutor& shell, ErrorReporter& reporter);

// The load step's appearance set-up: with the skin file beside the program, the window, its frames and its option
// buttons take the button-face colour and the skin component loads the file and applies it to the window. Without
// the file nothing happens. Failures go up to the load step's trap.
void ApplySkin(SkinnableWindow& window, Platform& platform);

// The load step's occasional visit: on one start in a hundred the home page opens, minimised, without waiting.
void VisitHomePage(Platform& platform);

}  // namespace tabulane
