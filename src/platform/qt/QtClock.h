#pragma once

#include "platform/Clock.h"

namespace tabulane {

// The local time of day as Qt reads it, to the millisecond.
class QtClock final : public Clock {
public:
    double SecondsSinceMidnight() const override;
};

}  // namespace tabulane
