// The module the command-line program loads when it must show a box on the screen: the only part of it that
// needs Qt.
#include <QApplication>
#include <QStyleFactory>
#include <type_traits>

#include "platform/ScreenBoxesModule.h"
#include "platform/qt/QtMessageBoxes.h"

extern "C" __attribute__((visibility("default"))) tabulane::MessageBoxes* TabulaneScreenBoxes(int* argc, char** argv) {
    // Both live until the process ends and are never torn down: the program may end from anywhere after a box.
    static QApplication* application = nullptr;
    static tabulane::QtMessageBoxes* boxes = nullptr;
    if (application == nullptr) {
        application = new QApplication(*argc, argv);
        // The boxes look as the window's do.
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        boxes = new tabulane::QtMessageBoxes();
    }
    return boxes;
}

// The entry point has the type the program expects.
static_assert(std::is_same_v<decltype(&TabulaneScreenBoxes), tabulane::ScreenBoxesEntry>);
