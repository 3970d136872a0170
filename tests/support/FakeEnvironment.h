#pragma once

#include <string>

#include "platform/Environment.h"
#include "support/TempDir.h"

namespace tabulane::test {

// The program's folder and the desktop as plain texts; an empty desktop is a platform that reports none.
class FakeEnvironment final : public Environment {
public:
    std::string ProgramFolder() const override { return programFolder; }
    std::string DesktopFolder() const override { return desktopFolder; }

    std::string programFolder = NativePath("/nonexistent/program");
    std::string desktopFolder = NativePath("/home/user/Desktop");
};

}  // namespace tabulane::test
