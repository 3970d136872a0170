#pragma once

#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/Shell.h"
#include "platform/ShellExecute.h"

namespace tabulane::test {

// Records what the desktop's opener was asked to open; opens nothing.
class FakeShell final : public Shell {
public:
    void Open(const std::string& target) override { opened.push_back(target); }
    std::vector<std::string> opened;
};

// Records every shell call with all its arguments; runs nothing. With fail set, each call throws after it is
// recorded, as a shell that cannot be reached would.
class FakeShellExecutor final : public ShellExecutor {
public:
    void ShellExecute(const ShellExecuteCall& call) override {
        calls.push_back(call);
        if (fail) {
            throw PlatformError(ErrorNumber::kFileNotFound, "File not found");
        }
    }
    std::vector<ShellExecuteCall> calls;
    bool fail = false;
};

}  // namespace tabulane::test
