#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/FolderPicker.h"

namespace tabulane {

// The folder picker as the platform's directory dialog, opened over its owner window.
class QtFolderPicker final : public FolderPicker {
public:
    explicit QtFolderPicker(QWidget* owner = nullptr) : m_owner(owner) {}

    // The window is built after the platform, so the owner is handed over once it exists.
    void SetOwner(QWidget* owner) { m_owner = owner; }

    std::string BrowseForFolder(const std::string& title, const std::string& startFolder) override;

private:
    QPointer<QWidget> m_owner;
};

// The dialog's answer in the picker's contract: native separators, a root with its separator ("/", "C:\"),
// any other folder without a trailing one, "" for a cancelled dialog.
std::string NormalisePickedFolder(const QString& folder);

}  // namespace tabulane
