#pragma once

#include <QString>

#include "platform/FolderPicker.h"

namespace tabulane {

// The folder picker as the platform's directory dialog, opened over the active window, as the message boxes are.
class QtFolderPicker final : public FolderPicker {
public:
    std::string BrowseForFolder(const std::string& title, const std::string& startFolder) override;
};

// The dialog's answer in the picker's contract: native separators, a root with its separator ("/", "C:\"),
// any other folder without a trailing one, "" for a cancelled dialog.
std::string NormalisePickedFolder(const QString& folder);

}  // namespace tabulane
