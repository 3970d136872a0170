#pragma once

#include <cstdint>

namespace tabulane {

// Random fractions for occasional behaviour, seeded by the caller.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void Seed(double seed) = 0;
    // A fraction in [0, 1).
    virtual double NextFraction() = 0;
};

// Random fractions from a seeded standard engine: the same seed gives the same fractions.
class SeededRandomSource final : public RandomSource {
public:
    void Seed(double seed) override;
    double NextFraction() override;

private:
    std::uint64_t m_state = 0x9E3779B97F4A7C15ULL;
};

}  // namespace tabulane
