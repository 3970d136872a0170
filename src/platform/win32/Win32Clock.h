#pragma once

#include "platform/Clock.h"

namespace tabulane {

// The local time of day from GetLocalTime, to the millisecond.
class Win32Clock final : public Clock {
public:
    double SecondsSinceMidnight() const override;
};

}  // namespace tabulane
