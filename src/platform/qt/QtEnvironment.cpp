#include "platform/qt/QtEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace tabulane {

std::string QtEnvironment::ProgramFolder() const {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
}

std::string QtEnvironment::DesktopFolder() const {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QDir::toNativeSeparators(desktop).toStdString();
}

}  // namespace tabulane
