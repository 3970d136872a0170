#pragma once

#include <string>

#include "platform/ProgramStarter.h"

namespace tabulane {

// Starts a program with CreateProcessW, its first window shown in the given style (the style values are the
// SW_ show commands), and goes on without waiting. The system searches the program as a command line names it
// ("explorer" is found in the Windows folder). Whether it started is not reported.
class Win32ProgramStarter final : public ProgramStarter {
public:
    void StartProgram(const std::string& commandLine, WindowStyle style) override;
};

}  // namespace tabulane
