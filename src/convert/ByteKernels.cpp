#include "convert/ByteKernels.h"

#include <array>
#include <bit>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TABULANE_X86_KERNELS 1
#endif

namespace tabulane {

#ifdef TABULANE_X86_KERNELS
namespace {

// For each pattern of kept bytes among 8, the shuffle that moves them to the front (0x80 clears a byte).
struct CompactTable {
    CompactTable() {
        for (unsigned keep = 0; keep < 256; ++keep) {
            std::size_t next = 0;
            masks[keep].fill(0x80);
            for (unsigned i = 0; i < 8; ++i) {
                if (((keep >> i) & 1u) != 0) {
                    masks[keep][next++] = static_cast<std::uint8_t>(i);
                }
            }
        }
    }
    alignas(16) std::array<std::array<std::uint8_t, 16>, 256> masks;
};

const CompactTable& Table() {
    static const CompactTable table;
    return table;
}

// Stores the kept bytes of a block (bit i of keep: byte i stays) contiguously at out.
__attribute__((target("ssse3,popcnt"))) inline char* StoreKept(char* out, __m128i block, unsigned keep) {
    const auto& masks = Table().masks;
    const __m128i low = _mm_load_si128(reinterpret_cast<const __m128i*>(masks[keep & 0xFFu].data()));
    const __m128i high =
        _mm_add_epi8(_mm_load_si128(reinterpret_cast<const __m128i*>(masks[keep >> 8].data())), _mm_set1_epi8(8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(block, low));
    out += std::popcount(keep & 0xFFu);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(block, high));
    return out + std::popcount(keep >> 8);
}

__attribute__((target("ssse3,popcnt"))) ByteKernelResult CollapseSpaceRunsSsse3(const char* p, const char* end,
                                                                                char* out, char replacement,
                                                                                bool& previousSpace) {
    const __m128i spaces = _mm_set1_epi8(' ');
    const __m128i replacements = _mm_set1_epi8(replacement);
    unsigned before = previousSpace ? 1u : 0u;
    while (end - p >= 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i isSpace = _mm_cmpeq_epi8(block, spaces);
        const auto spaceBits = static_cast<unsigned>(_mm_movemask_epi8(isSpace));
        const unsigned dropped = spaceBits & ((spaceBits << 1) | before);
        block = _mm_or_si128(_mm_andnot_si128(isSpace, block), _mm_and_si128(isSpace, replacements));
        out = StoreKept(out, block, ~dropped & 0xFFFFu);
        before = spaceBits >> 15;
        p += 16;
    }
    previousSpace = before != 0;
    return {p, out};
}

__attribute__((target("ssse3,popcnt"))) ByteKernelResult ReplaceSimpleBreaksSsse3(const char* p, const char* end,
                                                                                  char* out, char replacement) {
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
        block = _mm_or_si128(_mm_andnot_si128(isLf, block), _mm_and_si128(isLf, replacements));
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
    return have;
}

ByteKernelResult CollapseSpaceRuns(const char* p, const char* end, char* out, char replacement, bool& previousSpace) {
    return CollapseSpaceRunsSsse3(p, end, out, replacement, previousSpace);
}

ByteKernelResult ReplaceSimpleBreaks(const char* p, const char* end, char* out, char replacement) {
    return ReplaceSimpleBreaksSsse3(p, end, out, replacement);
}

#else

bool HaveByteKernels() {
    return false;
}

ByteKernelResult CollapseSpaceRuns(const char* p, const char*, char* out, char, bool&) {
    return {p, out};
}

ByteKernelResult ReplaceSimpleBreaks(const char* p, const char*, char* out, char) {
    return {p, out};
}

#endif

}  // namespace tabulane
