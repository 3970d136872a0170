#include "platform/RandomSource.h"

#include <bit>

namespace tabulane {

void SeededRandomSource::Seed(double seed) {
    // Every bit of the seed counts, so starts a fraction of a second apart draw differently.
    m_state = std::bit_cast<std::uint64_t>(seed) ^ 0x9E3779B97F4A7C15ULL;
}

double SeededRandomSource::NextFraction() {
    // splitmix64: small, fast and well mixed, which is all an occasional draw needs.
    m_state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1.0p-53;
}

}  // namespace tabulane
