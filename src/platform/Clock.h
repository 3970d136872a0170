#pragma once

namespace tabulane {

// The local time of day.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since midnight, local time, with the fraction the platform measures.
    virtual double SecondsSinceMidnight() const = 0;
};

}  // namespace tabulane
