#pragma once

#include <string>
#include <vector>

namespace tabulane {

// How the started program's window first shows.
enum class WindowStyle { Hidden = 0, NormalFocus = 1, MinimizedFocus = 2, MaximizedFocus = 3 };

// Starts another program and goes on without waiting for it.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // commandLine is the program's name and its arguments, separated by spaces; an argument holding spaces is
    // wrapped in double quotes. Whether the program could be started is not reported.
    virtual void StartProgram(const std::string& commandLine, WindowStyle style) = 0;
};

// The command line as the started program receives it: split at spaces and tabs outside double quotes, the quotes
// removed. No shell sees it, so nothing in it is expanded or run.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace tabulane
