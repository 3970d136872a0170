#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace tabulane::test {

// Records what the program asked the desktop to open; opens nothing.
class FakeShell final : public Shell {
public:
    void Open(const std::string& target) override { opened.push_back(target); }
    std::vector<std::string> opened;
};

}  // namespace tabulane::test
