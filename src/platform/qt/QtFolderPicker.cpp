#include "platform/qt/QtFolderPicker.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace tabulane {

std::string NormalisePickedFolder(const QString& folder) {
    if (folder.isEmpty()) {
        return {};
    }
    // cleanPath drops a trailing separator but keeps the one of a root ("/", "C:/").
    return QDir::toNativeSeparators(QDir::cleanPath(folder)).toStdString();
}

std::string QtFolderPicker::BrowseForFolder(const std::string& title, const std::string& startFolder) {
    const QString chosen = QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), QString::fromStdString(title),
        QDir::fromNativeSeparators(QString::fromStdString(startFolder)), QFileDialog::ShowDirsOnly);
    return NormalisePickedFolder(chosen);
}

}  // namespace tabulane
