#include "platform/qt/QtFilePicker.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <utility>

#include "platform/SettingsStore.h"

namespace tabulane {

namespace {

const QString kLastFolderKey = QStringLiteral("FileDialog/LastFolder");

QStringList ShowFileDialog(const QString& title, const QString& folder, const QString& filter, bool multiSelect) {
    if (multiSelect) {
        return QFileDialog::getOpenFileNames(QApplication::activeWindow(), title, folder, filter);
    }
    const QString one = QFileDialog::getOpenFileName(QApplication::activeWindow(), title, folder, filter);
    return one.isEmpty() ? QStringList() : QStringList{one};
}

// The folder the dialog was last left in, when it is still there.
QString LastFolder() {
    const QString folder = QSettings(WindowStateFile(), QSettings::IniFormat).value(kLastFolderKey).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

// Best effort: a state file that cannot be written only costs the next dialog its start folder.
void SaveLastFolder(const QString& pickedFile) {
    QSettings state(WindowStateFile(), QSettings::IniFormat);
    state.setValue(kLastFolderKey, QFileInfo(pickedFile).absolutePath());
    state.sync();
}

}  // namespace

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

QString WindowStateFile() {
    QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(stateHome)) {
        stateHome = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return stateHome + QLatin1Char('/') + QString::fromUtf8(kSettingsOrganisation) + QLatin1Char('/') +
           QString::fromUtf8(kSettingsSection) + QStringLiteral(".ini");
}

QtFilePicker::QtFilePicker(OpenDialog openDialog)
    : m_openDialog(openDialog ? std::move(openDialog) : OpenDialog(&ShowFileDialog)) {}

std::vector<std::string> QtFilePicker::PickFiles(const std::string& title, const std::string& filter,
                                                 bool multiSelect) {
    const QStringList picked =
        m_openDialog(QString::fromStdString(title), LastFolder(), ConvertFilterToQt(filter), multiSelect);
    if (!picked.isEmpty()) {
        SaveLastFolder(picked.front());
    }
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(picked.size()));
    for (const QString& path : picked) {
        paths.push_back(QDir::toNativeSeparators(path).toStdString());
    }
    return paths;
}

}  // namespace tabulane
