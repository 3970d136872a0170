#pragma once

#include <string>
#include <vector>

#include "platform/FilePicker.h"
#include "platform/win32/Win32Owner.h"

namespace tabulane {

// The file-open dialog: GetOpenFileNameW in explorer style, owned by the main window, with the component's
// flags (read-only ticked, long names, multi-select when asked) and no start folder, so it opens where Windows
// last left it. The component (CommonDialog) holds the MaxFileSize limit; the dialog's own buffer is larger, and a
// selection that does not fit even that throws PlatformError ErrorNumber::kBufferTooSmall.
class Win32FilePicker final : public FilePicker {
public:
    explicit Win32FilePicker(const Win32Owner& owner) : m_owner(owner) {}

    std::vector<std::string> PickFiles(const std::string& title, const std::string& filter, bool multiSelect) override;

private:
    const Win32Owner& m_owner;
};

// The dialog's answer buffer as full paths: one path, or the folder and then each name (each ended by a NUL, the
// list by one more), joined with one backslash, so a drive root gives "C:\name". Empty text gives no path.
std::vector<std::string> PathsFromOpenFileBuffer(const std::wstring& buffer);

}  // namespace tabulane
