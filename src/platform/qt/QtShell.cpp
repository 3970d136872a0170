#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QString>
#include <QUrl>

namespace tabulane {

void QtShell::Open(const std::string& target) {
    const QString text = QString::fromStdString(target);
    // A drive letter parses as a one-letter scheme, so only a longer scheme makes an address.
    const QUrl address(text);
    const bool isAddress = !QDir::isAbsolutePath(text) && address.scheme().size() > 1;
    QDesktopServices::openUrl(isAddress ? address : QUrl::fromLocalFile(text));
}

}  // namespace tabulane
