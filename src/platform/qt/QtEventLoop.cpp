#include "platform/qt/QtEventLoop.h"

#include <QCoreApplication>

namespace tabulane {

void QtEventLoop::YieldToMessageLoop() {
    QCoreApplication::processEvents();
}

}  // namespace tabulane
