#include "platform/qt/QtProgramStarter.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tabulane {

void QtProgramStarter::StartProgram(const std::string& commandLine, WindowStyle /*style*/) {
    const std::vector<std::string> items = SplitCommandLine(commandLine);
    if (items.empty()) {
        return;
    }
    QString program = QString::fromStdString(items.front());
#ifndef _WIN32
    // The opener decides how its window shows; it has no minimised start to ask for.
    if (program.compare(QStringLiteral("explorer"), Qt::CaseInsensitive) == 0) {
        program = QStringLiteral("xdg-open");
    }
#endif
    QStringList arguments;
    for (std::size_t i = 1; i < items.size(); ++i) {
        arguments.append(QString::fromStdString(items[i]));
    }
    // Whether it started is not examined: a missing opener is no error of this program.
    QProcess::startDetached(program, arguments);
}

}  // namespace tabulane
