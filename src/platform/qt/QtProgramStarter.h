#pragma once

#include "platform/ProgramStarter.h"

namespace tabulane {

// Starts a program detached from this one, with its arguments as separate items: no shell parses the command line.
// "explorer", the desktop's file and web opener, is xdg-open outside Windows.
class QtProgramStarter final : public ProgramStarter {
public:
    void StartProgram(const std::string& commandLine, WindowStyle style) override;
};

}  // namespace tabulane
