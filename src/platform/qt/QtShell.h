#pragma once

#include "platform/Shell.h"

namespace tabulane {

// Opens web addresses and local paths with the desktop's opener (QDesktopServices).
class QtShell final : public Shell {
public:
    void Open(const std::string& target) override;
};

}  // namespace tabulane
