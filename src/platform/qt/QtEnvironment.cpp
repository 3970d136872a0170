#include "platform/qt/QtEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tabulane {

std::string QtEnvironment::ProgramFolder() const {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
}

std::string QtEnvironment::DesktopFolder() const {
    // Many accounts have no Desktop folder; the home folder stands in rather than naming a folder that is not there
    // (the first start would end in "Folder does not exist."), and nothing is made unasked.
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString folder = !desktop.isEmpty() && QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
    return QDir::toNativeSeparators(folder).toStdString();
}

}  // namespace tabulane
