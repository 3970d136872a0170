#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QRegularExpression>

namespace tabulane {

void QtShell::Open(const std::string& target) {
    QDesktopServices::openUrl(UrlFor(target));
}

QUrl QtShell::UrlFor(const std::string& target) {
    const QString text = QString::fromStdString(target);
    // Two letters or more before the colon: a drive letter ("C:\") is a path, not a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(text).hasMatch()) {
        return QUrl(text);
    }
    return QUrl::fromLocalFile(QDir::fromNativeSeparators(text));
}

}  // namespace tabulane
