#pragma once

#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/ProgramStarter.h"
#include "platform/RandomSource.h"

namespace tabulane::test {

// Records the programs it was asked to start; starts nothing.
class FakeProgramStarter final : public ProgramStarter {
public:
    struct Started {
        std::string commandLine;
        WindowStyle style;
    };
    void StartProgram(const std::string& commandLine, WindowStyle style) override {
        started.push_back({commandLine, style});
    }
    std::vector<Started> started;
};

// Draws the fraction it is told to and records its seeds.
class FakeRandomSource final : public RandomSource {
public:
    void Seed(double seed) override { seeds.push_back(seed); }
    double NextFraction() override { return fraction; }
    std::vector<double> seeds;
    double fraction = 0.5;
};

class FakeClock final : public Clock {
public:
    double SecondsSinceMidnight() const override { return seconds; }
    double seconds = 43200.25;
};

}  // namespace tabulane::test
