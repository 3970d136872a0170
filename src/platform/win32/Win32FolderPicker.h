#pragma once

#include <string>

#include "platform/FolderPicker.h"
#include "platform/win32/Win32Owner.h"

namespace tabulane {

// The shell's folder browser (SHBrowseForFolderW), owned by the main window, over the whole namespace from the
// desktop down, confirming file-system folders only, opened with the start folder selected. Gives the chosen
// folder as SHGetPathFromIDListW spells it (a root "C:\", any other folder without a trailing backslash), or ""
// when cancelled.
class Win32FolderPicker final : public FolderPicker {
public:
    explicit Win32FolderPicker(const Win32Owner& owner) : m_owner(owner) {}

    std::string BrowseForFolder(const std::string& title, const std::string& startFolder) override;

private:
    const Win32Owner& m_owner;
};

}  // namespace tabulane
