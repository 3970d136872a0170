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

// One block of 16 bytes of the line modes (see ConvertLines).
template <typename Unit>
class LineBlocks {
public:
    static constexpr std::size_t kSize = sizeof(Unit);
    static constexpr std::ptrdiff_t kUnits = 16 / kSize;

    TABULANE_KERNEL LineBlocks(Unit separator, Unit replacement, bool collapse)
        : m_tables(Tables<kSize>()),
          m_separators(Splat<kSize>(static_cast<unsigned>(separator))),
          m_replacements(Splat<kSize>(static_cast<unsigned>(replacement))),
          m_crs(Splat<kSize>('\r')),
          m_lfs(Splat<kSize>('\n')),
          m_spaces(Splat<kSize>(' ')),
          m_collapse(collapse) {}

    // Converts the block at p (the unit after it is read too) and returns the new end of the output.
    TABULANE_KERNEL Unit* Convert(const Unit* p, Unit* out) const {
        constexpr unsigned kHalf = HalfTables<kSize>::kUnits;
        constexpr unsigned kHalfMask = (1u << kHalf) - 1;
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        const __m128i isCr = Equal<kSize>(block, m_crs);
        const __m128i isSeparator = Equal<kSize>(block, m_separators);
        const __m128i nextLf = Equal<kSize>(next, m_lfs);
        __m128i drop = _mm_and_si128(isCr, nextLf);
        if (m_collapse) {
            const __m128i nextEndsRun =
                _mm_or_si128(_mm_or_si128(Equal<kSize>(next, m_spaces), Equal<kSize>(next, m_crs)), nextLf);
            drop = _mm_or_si128(drop, _mm_and_si128(isSeparator, nextEndsRun));
        }
        block = Select(isSeparator, m_replacements, block);
        block = Select(_mm_andnot_si128(nextLf, isCr), m_lfs, block);
        const unsigned dropBits = UnitBits<kSize>(drop);
        const unsigned lfBits = UnitBits<kSize>(Equal<kSize>(block, m_lfs)) & ~dropBits;
        if ((dropBits | lfBits) == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), block);
            return out + kUnits;
        }
        // Each half: drop, then spread out with a CR before each LF that is left.
        for (unsigned half = 0; half < 2; ++half) {
            const unsigned keep = ~(dropBits >> (half * kHalf)) & kHalfMask;
            __m128i shuffle = LoadRow(m_tables.compact[keep]);
            if (half == 1) {
                shuffle = _mm_add_epi8(shuffle, _mm_set1_epi8(8));  // 0x80 stays negative: still a zero
            }
            __m128i kept = _mm_shuffle_epi8(block, shuffle);
            const unsigned keptUnits = static_cast<unsigned>(std::popcount(keep));
            const unsigned marks = UnitBits<kSize>(Equal<kSize>(kept, m_lfs)) & ((1u << keptUnits) - 1);
            if (marks != 0) {
                kept =
                    _mm_or_si128(_mm_shuffle_epi8(kept, LoadRow(m_tables.expand[marks])), LoadRow(m_tables.crs[marks]));
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), kept);
            out += keptUnits + static_cast<unsigned>(std::popcount(marks));
        }
        return out;
    }

private:
    const HalfTables<kSize>& m_tables;
    __m128i m_separators;
    __m128i m_replacements;
    __m128i m_crs;
    __m128i m_lfs;
    __m128i m_spaces;
    bool m_collapse;
};

template <typename Unit>
TABULANE_KERNEL KernelResult<Unit> ConvertLinesSsse3(const Unit* p, const Unit* limit, const Unit* end, Unit* out,
                                                     Unit separator, Unit replacement, bool collapse) {
    const LineBlocks<Unit> blocks(separator, replacement, collapse);
    constexpr std::ptrdiff_t kUnits = LineBlocks<Unit>::kUnits;
    while (limit - p >= kUnits && end - p > kUnits) {
        out = blocks.Convert(p, out);
        p += kUnits;
    }
    return {p, out};
}

#define TABULANE_WIDE_KERNEL __attribute__((target("avx2,ssse3,popcnt")))

template <std::size_t Size>
TABULANE_WIDE_KERNEL inline __m256i Splat256(unsigned value) {
    if constexpr (Size == 1) {
        return _mm256_set1_epi8(static_cast<char>(value));
    } else {
        return _mm256_set1_epi16(static_cast<short>(value));
    }
}

template <std::size_t Size>
TABULANE_WIDE_KERNEL inline __m256i Equal256(__m256i a, __m256i b) {
    if constexpr (Size == 1) {
        return _mm256_cmpeq_epi8(a, b);
    } else {
        return _mm256_cmpeq_epi16(a, b);
    }
}

// Plain text, the common case, 32 bytes at a time; a double block with a break (or a space run to decide) goes
// through the 16-byte code.
template <typename Unit>
TABULANE_WIDE_KERNEL KernelResult<Unit> ConvertLinesAvx2(const Unit* p, const Unit* limit, const Unit* end, Unit* out,
                                                         Unit separator, Unit replacement, bool collapse) {
    const LineBlocks<Unit> blocks(separator, replacement, collapse);
    constexpr std::ptrdiff_t kUnits = 2 * LineBlocks<Unit>::kUnits;
    const __m256i separators = Splat256<sizeof(Unit)>(static_cast<unsigned>(separator));
    const __m256i replacements = Splat256<sizeof(Unit)>(static_cast<unsigned>(replacement));
    const __m256i crs = Splat256<sizeof(Unit)>('\r');
    const __m256i lfs = Splat256<sizeof(Unit)>('\n');
    const __m256i spaces = Splat256<sizeof(Unit)>(' ');
    while (limit - p >= kUnits && end - p > kUnits) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i isSeparator = Equal256<sizeof(Unit)>(block, separators);
        __m256i special = _mm256_or_si256(Equal256<sizeof(Unit)>(block, crs), Equal256<sizeof(Unit)>(block, lfs));
        if (collapse) {
            const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
            const __m256i nextEndsRun = _mm256_or_si256(
                _mm256_or_si256(Equal256<sizeof(Unit)>(next, spaces), Equal256<sizeof(Unit)>(next, crs)),
                Equal256<sizeof(Unit)>(next, lfs));
            special = _mm256_or_si256(special, _mm256_and_si256(isSeparator, nextEndsRun));
        }
        if (_mm256_testz_si256(special, special) != 0) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_blendv_epi8(block, replacements, isSeparator));
            out += kUnits;
        } else {
            out = blocks.Convert(p, out);
            out = blocks.Convert(p + kUnits / 2, out);
        }
        p += kUnits;
    }
    return ConvertLinesSsse3(p, limit, end, out, separator, replacement, collapse);
}

template <typename Unit>
KernelResult<Unit> ConvertLinesBest(const Unit* p, const Unit* limit, const Unit* end, Unit* out, Unit separator,
                                    Unit replacement, bool collapse) {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2 ? ConvertLinesAvx2(p, limit, end, out, separator, replacement, collapse)
                : ConvertLinesSsse3(p, limit, end, out, separator, replacement, collapse);
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
    return ConvertLinesBest(p, limit, end, out, separator, replacement, collapse);
}

KernelResult<char16_t> ConvertLines(const char16_t* p, const char16_t* limit, const char16_t* end, char16_t* out,
                                    char16_t separator, char16_t replacement, bool collapse) {
    return ConvertLinesBest(p, limit, end, out, separator, replacement, collapse);
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
