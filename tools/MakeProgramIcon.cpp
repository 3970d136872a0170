// Writes the program's icon for the desktop's icon theme: <folder>/<n>x<n>/apps/tabulane.png for every size the
// window uses, drawn by the same code that gives the window its icon.
// Usage: make_program_icon <folder>
#include <QDir>
#include <QImage>
#include <QString>
#include <iostream>

#include "ui/qt/ProgramIcon.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_program_icon <folder>\n";
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (const int size : tabulane::kProgramIconSizes) {
        const QString folder = root + QStringLiteral("/%1x%1/apps").arg(size);
        if (!QDir().mkpath(folder) || !tabulane::DrawProgramIcon(size).save(folder + QStringLiteral("/tabulane.png"))) {
            std::cerr << "make_program_icon: cannot write the icon in " << folder.toStdString() << "\n";
            return 1;
        }
    }
    return 0;
}
