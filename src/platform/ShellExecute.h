#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Shell.h"

namespace tabulane {

// Show commands of a shell call.
inline constexpr int kShowWindow = 5;

// One call of the shell's "execute" service, with every argument the caller chose.
struct ShellExecuteCall {
    std::int32_t owner = 0;                 // the window that owns any window the call shows
    std::optional<std::string> operation;   // the verb; none is the default verb
    std::string file;                       // what to open, possibly wrapped in double quotes
    std::optional<std::string> parameters;  // none: the target takes no parameters
    std::string directory;                  // the working folder of what is started
    int showCommand = kShowWindow;
};

// The shell's "execute" service. Its answer is never examined by callers, so it returns nothing.
class ShellExecutor {
public:
    virtual ~ShellExecutor() = default;
    virtual void ShellExecute(const ShellExecuteCall& call) = 0;
};

// The call as this desktop can make it: the target, without the quotes that keep it one item on a command line,
// goes to the desktop's opener. Owner, working folder and show command have no counterpart there.
class OpeningShellExecutor final : public ShellExecutor {
public:
    explicit OpeningShellExecutor(Shell& shell) : m_shell(shell) {}
    void ShellExecute(const ShellExecuteCall& call) override;

private:
    Shell& m_shell;
};

}  // namespace tabulane
