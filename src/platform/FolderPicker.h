#pragma once

#include <string>

namespace tabulane {

// The platform's folder-browsing dialog, owned by the main window.
class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    // The chosen folder: a root as "/" (Windows "C:\"), any other folder without a trailing separator;
    // "" when the user cancels.
    virtual std::string BrowseForFolder(const std::string& title, const std::string& startFolder) = 0;
};

}  // namespace tabulane
