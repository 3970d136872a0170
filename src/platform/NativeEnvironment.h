#pragma once

#include "platform/Environment.h"

namespace tabulane {

// The running executable's folder as the system reports it, without Qt. It names no desktop folder: only the
// window offers one, and the command line never asks.
class NativeEnvironment final : public Environment {
public:
    std::string ProgramFolder() const override;
    std::string DesktopFolder() const override { return {}; }
};

// The running executable's own path, links resolved (on Linux /proc/self/exe); "" when the system does not tell.
std::string ProgramPath();

}  // namespace tabulane
