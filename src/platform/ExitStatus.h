#pragma once

namespace tabulane {

// The program's exit statuses, whichever program (the front one or the window one) ends the run.
inline constexpr int kExitSuccess = 0;
// An "Application Error" was reported, or the program could not do what it was started for (no display for the
// window, no window program to start).
inline constexpr int kExitFailure = 1;
// The usage text was shown: the arguments did not make a command line.
inline constexpr int kExitUsage = 2;

}  // namespace tabulane
