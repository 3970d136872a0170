#include "platform/qt/QtClock.h"

#include <QTime>

namespace tabulane {

double QtClock::SecondsSinceMidnight() const {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

}  // namespace tabulane
