#pragma once

#include <string>

#include "platform/Shell.h"
#include "platform/ShellExecute.h"
#include "platform/win32/Win32Owner.h"

namespace tabulane {

// The shell's opener: ShellExecuteW with the default verb, owned by the main window, shown normally. Whether
// anything opened is not reported.
class Win32Shell final : public Shell {
public:
    explicit Win32Shell(const Win32Owner& owner) : m_owner(owner) {}
    void Open(const std::string& target) override;

private:
    const Win32Owner& m_owner;
};

// ShellExecuteW with every argument of the call: the owner (the call's, or the main window when the call names
// none), the verb, the file text as given (quotes included), the parameters, the working folder and the show
// command. Its answer is not examined.
class Win32ShellExecutor final : public ShellExecutor {
public:
    explicit Win32ShellExecutor(const Win32Owner& owner) : m_owner(owner) {}
    void ShellExecute(const ShellExecuteCall& call) override;

private:
    const Win32Owner& m_owner;
};

}  // namespace tabulane
