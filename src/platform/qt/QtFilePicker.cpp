#include "platform/qt/QtFilePicker.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>
#include <QStringList>

namespace tabulane {

QString ConvertFilterToQt(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList qtFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // The description usually repeats its patterns in parentheses; Qt reads patterns from a trailing
        // parenthesis, so those are dropped and the real patterns put there.
        static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        QString description = parts[i];
        description.remove(trailingPatterns);
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            patterns << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
        }
        if (patterns.isEmpty()) {
            continue;
        }
        qtFilters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return qtFilters.join(QStringLiteral(";;"));
}

std::vector<std::string> QtFilePicker::PickFiles(const std::string& title, const std::string& filter,
                                                 bool multiSelect) {
    const QString qtTitle = QString::fromStdString(title);
    const QString qtFilter = ConvertFilterToQt(filter);
    QStringList picked;
    // No start folder: the dialog opens in the folder it was last left in.
    if (multiSelect) {
        picked = QFileDialog::getOpenFileNames(QApplication::activeWindow(), qtTitle, QString(), qtFilter);
    } else {
        const QString one = QFileDialog::getOpenFileName(QApplication::activeWindow(), qtTitle, QString(), qtFilter);
        if (!one.isEmpty()) {
            picked << one;
        }
    }
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(picked.size()));
    for (const QString& path : picked) {
        paths.push_back(QDir::toNativeSeparators(path).toStdString());
    }
    return paths;
}

}  // namespace tabulane
