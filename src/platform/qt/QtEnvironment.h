#pragma once

#include "platform/Environment.h"

namespace tabulane {

// The running executable's folder and the user's desktop as Qt reports them, with native separators. The desktop
// is the home folder when the desktop folder Qt names does not exist.
class QtEnvironment final : public Environment {
public:
    std::string ProgramFolder() const override;
    std::string DesktopFolder() const override;
};

}  // namespace tabulane
