#pragma once

#include <string>

namespace tabulane {

// Facts about the running program and the user's desktop.
class Environment {
public:
    virtual ~Environment() = default;
    // The folder of the running executable, native separators, no trailing separator.
    virtual std::string ProgramFolder() const = 0;
    // The user's desktop folder (where the desktop has no folder, the home folder); "" when the platform reports none.
    virtual std::string DesktopFolder() const = 0;
};

}  // namespace tabulane
