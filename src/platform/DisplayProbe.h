#pragma once

#include <string>
#include <string_view>

namespace tabulane {

// What the environment says about the screen: the values of DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM
// ("" when unset).
struct DisplayEnvironment {
    std::string display;
    std::string waylandDisplay;
    std::string qpaPlatform;
};

// True when no box can be shown on a screen: Qt was told to draw offscreen, or (where windows need a
// display server) neither an X11 nor a Wayland display is named.
bool IsHeadless(const DisplayEnvironment& environment);

// The current process's environment.
DisplayEnvironment ReadDisplayEnvironment();

// Whether QT_QPA_PLATFORM names a platform that draws nowhere ("offscreen", "minimal"); a list such as
// "offscreen;xcb" or options such as "offscreen:fontengine=freetype" count by their first entry.
bool IsOffscreenPlatform(std::string_view qpaPlatform);

// Whether the display server that DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM name answers now. Qt ends the
// process with an abort when it cannot reach the display it was given, so a stale DISPLAY is caught here first.
// Platforms that need no display server (and those this cannot check) count as reachable.
bool DisplayAnswers(const std::string& x11Display, const std::string& waylandDisplay, const std::string& qpaPlatform);

}  // namespace tabulane
