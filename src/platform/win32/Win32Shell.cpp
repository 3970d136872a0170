#include "platform/win32/Win32Shell.h"

#include <shellapi.h>
#include <windows.h>
// The generic name would rename our own member; the wide call is made by its own name.
#undef ShellExecute

#include <cstdint>
#include <optional>

#include "platform/TextCodes.h"

namespace tabulane {
namespace {

// Absent arguments are null pointers, as the shell wants them; present ones wide text.
class OptionalWide {
public:
    explicit OptionalWide(const std::optional<std::string>& text)
        : m_present(text.has_value()), m_text(text ? WideFromUtf8(*text) : std::wstring()) {}
    const wchar_t* Get() const { return m_present ? m_text.c_str() : nullptr; }

private:
    bool m_present;
    std::wstring m_text;
};

}  // namespace

void Win32Shell::Open(const std::string& target) {
    ::ShellExecuteW(m_owner.Window(), nullptr, WideFromUtf8(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32ShellExecutor::ShellExecute(const ShellExecuteCall& call) {
    // A window handle passed as a 32-bit number: the system keeps handles within 32 bits and sign-extends them.
    HWND owner = call.owner != 0 ? reinterpret_cast<HWND>(static_cast<std::intptr_t>(call.owner)) : m_owner.Window();
    const OptionalWide operation(call.operation);
    const OptionalWide parameters(call.parameters);
    const OptionalWide directory(call.directory.empty() ? std::nullopt : std::optional(call.directory));
    ::ShellExecuteW(owner, operation.Get(), WideFromUtf8(call.file).c_str(), parameters.Get(), directory.Get(),
                    call.showCommand);
}

}  // namespace tabulane
