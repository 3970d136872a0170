#pragma once

#include <string>

#include "platform/Environment.h"

namespace tabulane {

// The program folder from GetModuleFileNameW (as the command line finds it) and the shell's desktop folder
// (SHGetKnownFolderPath, FOLDERID_Desktop).
class Win32Environment final : public Environment {
public:
    std::string ProgramFolder() const override;
    // "" when the shell reports no desktop folder.
    std::string DesktopFolder() const override;
};

}  // namespace tabulane
