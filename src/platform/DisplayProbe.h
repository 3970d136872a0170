#pragma once

#include <string>

namespace tabulane {

// Whether the display server that DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM name answers now. Qt ends the
// process with an abort when it cannot reach the display it was given, so a stale DISPLAY is caught here first.
// Platforms that need no display server (and those this cannot check) count as reachable.
bool DisplayAnswers(const std::string& x11Display, const std::string& waylandDisplay, const std::string& qpaPlatform);

}  // namespace tabulane
