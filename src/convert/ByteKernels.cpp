#include "convert/ByteKernels.h"

#include <array>
#include <atomic>
#include <bit>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TABULANE_X86_KERNELS 1
#endif

namespace tabulane {
namespace {

std::atomic<bool> g_vectorKernelsEnabled{true};

}  // namespace

void SetVectorKernelsEnabled(bool enabled) {
    g_vectorKernelsEnabled = enabled;
}

#ifdef TABULANE_X86_KERNELS
namespace {

#define TABULANE_KERNEL __attribute__((target("ssse3,popcnt")))

// Shuffles for half a block (8 bytes) of units of Size bytes, indexed by one bit per unit.
template <std::size_t Size>
struct HalfTables {
    static constexpr unsigned kUnits = 8 / Size;
    using Row = std::array<std::uint8_t, 16>;

    HalfTables() {
        for (unsigned bits = 0; bits < (1u << kUnits); ++bits) {
            compact[bits].fill(0x80);
            expand[bits].fill(0x80);
            crs[bits].fill(0);
            unsigned kept = 0;
            unsigned spread = 0;
            for (unsigned i = 0; i < kUnits; ++i) {
                const bool marked = ((bits >> i) & 1u) != 0;
                if (marked) {
                    crs[bits][spread * Size] = '\r';  // the unit CR, little-endian as x86 holds it
                    ++spread;
                }
                for (unsigned b = 0; b < Size; ++b) {
                    if (marked) {
                        compact[bits][kept * Size + b] = static_cast<std::uint8_t>(i * Size + b);
                    }
                    expand[bits][spread * Size + b] = static_cast<std::uint8_t>(i * Size + b);
                }
                kept += marked ? 1 : 0;
                ++spread;
            }
        }
    }

    // compact[keep]: the units whose bit is set, moved to the front (0x80 clears a byte).
    alignas(16) std::array<Row, 1u << kUnits> compact;
    // expand[mark] | crs[mark]: the units spread out with a CR before each one whose bit is set.
    alignas(16) std::array<Row, 1u << kUnits> expand;
    alignas(16) std::array<Row, 1u << kUnits> crs;
};

template <std::size_t Size>
const HalfTables<Size>& Tables() {
    static const HalfTables<Size> tables;
    return tables;
}

template <std::size_t Size>
TABULANE_KERNEL inline __m128i Splat(unsigned value) {
    if constexpr (Size == 1) {
        return _mm_set1_epi8(static_cast<char>(value));
    } else {
        return _mm_set1_epi16(static_cast<short>(value));
    }
}

template <std::size_t Size>
TABULANE_KERNEL inline __m128i Equal(__m128i a, __m128i b) {
    if constexpr (Size == 1) {
        return _mm_cmpeq_epi8(a, b);
    } else {
        return _mm_cmpeq_epi16(a, b);
    }
}

// One bit per unit of a comparison result.
template <std::size_t Size>
TABULANE_KERNEL inline unsigned UnitBits(__m128i mask) {
    if constexpr (Size == 1) {
        return static_cast<unsigned>(_mm_movemask_epi8(mask));
    } else {
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(mask, _mm_setzero_si128())));
    }
}

TABULANE_KERNEL inline __m128i Select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

TABULANE_KERNEL inline __m128i LoadRow(const std::array<std::uint8_t, 16>& row) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(row.data()));
}

// Stores the kept bytes of a block (bit i of keep: byte i stays) contiguously at out.
TABULANE_KERNEL inline char* StoreKept(char* out, __m128i block, unsigned keep) {
    const auto& compact = Tables<1>().compact;
    const __m128i low = LoadRow(compact[keep & 0xFFu]);
    const __m128i high = _mm_add_epi8(LoadRow(compact[keep >> 8]), _mm_set1_epi8(8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(block, low));
    out += std::popcount(keep & 0xFFu);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(block, high));
    return out + std::popcount(keep >> 8);
}

template <typename Unit>
TABULANE_KERNEL KernelResult<Unit> ConvertLinesSsse3(const Unit* p, const Unit* limit, const Unit* end, Unit* out,
                                                     Unit separator, Unit replacement, bool collapse) {
    constexpr std::size_t kSize = sizeof(Unit);
    constexpr std::ptrdiff_t kBlock = 16 / kSize;
    constexpr unsigned kHalf = HalfTables<kSize>::kUnits;
    constexpr unsigned kHalfMask = (1u << kHalf) - 1;
    const HalfTables<kSize>& tables = Tables<kSize>();
    const __m128i separators = Splat<kSize>(static_cast<unsigned>(separator));
    const __m128i replacements = Splat<kSize>(static_cast<unsigned>(replacement));
    const __m128i crs = Splat<kSize>('\r');
    const __m128i lfs = Splat<kSize>('\n');
    const __m128i spaces = Splat<kSize>(' ');
    while (limit - p >= kBlock && end - p > kBlock) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        const __m128i isCr = Equal<kSize>(block, crs);
        const __m128i isSeparator = Equal<kSize>(block, separators);
        const __m128i nextLf = Equal<kSize>(next, lfs);
        __m128i drop = _mm_and_si128(isCr, nextLf);
        if (collapse) {
            const __m128i nextEndsRun =
                _mm_or_si128(_mm_or_si128(Equal<kSize>(next, spaces), Equal<kSize>(next, crs)), nextLf);
            drop = _mm_or_si128(drop, _mm_and_si128(isSeparator, nextEndsRun));
        }
        block = Select(isSeparator, replacements, block);
        block = Select(_mm_andnot_si128(nextLf, isCr), lfs, block);
        const unsigned dropBits = UnitBits<kSize>(drop);
        const unsigned lfBits = UnitBits<kSize>(Equal<kSize>(block, lfs)) & ~dropBits;
        if ((dropBits | lfBits) == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), block);
            out += kBlock;
        } else {
            // Each half: drop, then spread out with a CR before each LF that is left.
            for (unsigned half = 0; half < 2; ++half) {
                const unsigned keep = ~(dropBits >> (half * kHalf)) & kHalfMask;
                __m128i shuffle = LoadRow(tables.compact[keep]);
                if (half == 1) {
                    shuffle = _mm_add_epi8(shuffle, _mm_set1_epi8(8));  // 0x80 stays negative: still a zero
                }
                __m128i kept = _mm_shuffle_epi8(block, shuffle);
                const unsigned keptUnits = static_cast<unsigned>(std::popcount(keep));
                const unsigned marks = UnitBits<kSize>(Equal<kSize>(kept, lfs)) & ((1u << keptUnits) - 1);
                if (marks != 0) {
                    kept =
                        _mm_or_si128(_mm_shuffle_epi8(kept, LoadRow(tables.expand[marks])), LoadRow(tables.crs[marks]));
                }
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out), kept);
                out += keptUnits + static_cast<unsigned>(std::popcount(marks));
            }
        }
        p += kBlock;
    }
    return {p, out};
}

TABULANE_KERNEL ByteKernelResult ReplaceSimpleBreaksSsse3(const char* p, const char* end, char* out, char replacement) {
    const __m128i crs = _mm_set1_epi8('\r');
    const __m128i lfs = _mm_set1_epi8('\n');
    const __m128i replacements = _mm_set1_epi8(replacement);
    while (end - p >= 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i isLf = _mm_cmpeq_epi8(block, lfs);
        const auto crBits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, crs)));
        const auto lfBits = static_cast<unsigned>(_mm_movemask_epi8(isLf));
        // Every CR must be followed by an LF (for the last byte: the next block's first); anything else takes the
        // careful path.
        unsigned followers = lfBits;
        if (end - p > 16 && p[16] == '\n') {
            followers |= 1u << 16;
        }
        if (((crBits << 1) & ~followers) != 0) {
            break;
        }
        block = Select(isLf, replacements, block);
        if (crBits == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), block);
            out += 16;
        } else {
            out = StoreKept(out, block, ~crBits & 0xFFFFu);
        }
        p += 16;
    }
    return {p, out};
}

}  // namespace

bool HaveByteKernels() {
    static const bool have = __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("popcnt");
    return have && g_vectorKernelsEnabled;
}

KernelResult<char> ConvertLines(const char* p, const char* limit, const char* end, char* out, char separator,
                                char replacement, bool collapse) {
    return ConvertLinesSsse3(p, limit, end, out, separator, replacement, collapse);
}

KernelResult<char16_t> ConvertLines(const char16_t* p, const char16_t* limit, const char16_t* end, char16_t* out,
                                    char16_t separator, char16_t replacement, bool collapse) {
    return ConvertLinesSsse3(p, limit, end, out, separator, replacement, collapse);
}

ByteKernelResult ReplaceSimpleBreaks(const char* p, const char* end, char* out, char replacement) {
    return ReplaceSimpleBreaksSsse3(p, end, out, replacement);
}

#else

bool HaveByteKernels() {
    return false;
}

KernelResult<char> ConvertLines(const char* p, const char*, const char*, char* out, char, char, bool) {
    return {p, out};
}

KernelResult<char16_t> ConvertLines(const char16_t* p, const char16_t*, const char16_t*, char16_t* out, char16_t,
                                    char16_t, bool) {
    return {p, out};
}

ByteKernelResult ReplaceSimpleBreaks(const char* p, const char*, char* out, char) {
    return {p, out};
}

#endif

}  // namespace tabulane
