#include "convert/ByteKernels.h"

#include <atomic>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TABULANE_X86_KERNELS 1
#endif

namespace tabulane {
namespace {

std::atomic<unsigned> g_vectorWidthLimit{64};

}  // namespace

void LimitVectorWidth(unsigned bytes) {
    g_vectorWidthLimit = bytes;
}

#ifdef TABULANE_X86_KERNELS
namespace {

// Shuffles that keep the marked bytes of half a block (8 bytes), indexed by one bit per byte; 0x80 clears a byte.
struct CompactTable {
    CompactTable() {
        for (unsigned bits = 0; bits < 256; ++bits) {
            unsigned kept = 0;
            for (unsigned i = 0; i < 8; ++i) {
                if (((bits >> i) & 1u) != 0) {
                    rows[bits][kept++] = static_cast<std::uint8_t>(i);
                }
            }
            while (kept < 16) {
                rows[bits][kept++] = 0x80;
            }
        }
    }

    alignas(16) std::uint8_t rows[256][16];
};

const CompactTable& CompactRows() {
    static const CompactTable table;
    return table;
}

}  // namespace

// Each width below is compiled for the processors that have it; ConvertLinesBest picks one at run time.
#if defined(__clang__)
#define TABULANE_TARGET_BEGIN(features) \
    _Pragma(TABULANE_STRINGIFY(clang attribute push(__attribute__((target(features))), apply_to = function)))
#define TABULANE_TARGET_END _Pragma("clang attribute pop")
#else
#define TABULANE_TARGET_BEGIN(features) _Pragma("GCC push_options") _Pragma(TABULANE_STRINGIFY(GCC target(features)))
#define TABULANE_TARGET_END _Pragma("GCC pop_options")
#endif
#define TABULANE_STRINGIFY(text) #text

TABULANE_TARGET_BEGIN("ssse3,popcnt")
namespace ssse3 {
namespace {

using Vector = __m128i;
constexpr unsigned kVectorBytes = 16;

inline Vector Load(const void* p) {
    return _mm_loadu_si128(static_cast<const __m128i*>(p));
}
inline void Store(void* p, Vector v) {
    _mm_storeu_si128(static_cast<__m128i*>(p), v);
}
template <unsigned Size>
inline Vector Splat(unsigned value) {
    return Size == 1 ? _mm_set1_epi8(static_cast<char>(value)) : _mm_set1_epi16(static_cast<short>(value));
}
template <unsigned Size>
inline Vector Equal(Vector a, Vector b) {
    return Size == 1 ? _mm_cmpeq_epi8(a, b) : _mm_cmpeq_epi16(a, b);
}
inline unsigned long long ByteBits(Vector v) {
    return static_cast<unsigned>(_mm_movemask_epi8(v));
}
inline Vector Select(Vector mask, Vector yes, Vector no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}
inline void Compact(char* out, Vector v, unsigned long long keep) {
    const auto& rows = CompactRows().rows;
    const __m128i low = _mm_load_si128(reinterpret_cast<const __m128i*>(rows[keep & 0xFFu]));
    const __m128i high =
        _mm_add_epi8(_mm_load_si128(reinterpret_cast<const __m128i*>(rows[(keep >> 8) & 0xFFu])), _mm_set1_epi8(8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(v, low));
    out += __builtin_popcountll(keep & 0xFFu);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(v, high));
}

#include "convert/LineKernels.inl"

}  // namespace
}  // namespace ssse3
TABULANE_TARGET_END

TABULANE_TARGET_BEGIN("avx2,ssse3,popcnt")
namespace avx2 {
namespace {

using Vector = __m256i;
constexpr unsigned kVectorBytes = 32;

inline Vector Load(const void* p) {
    return _mm256_loadu_si256(static_cast<const __m256i*>(p));
}
inline void Store(void* p, Vector v) {
    _mm256_storeu_si256(static_cast<__m256i*>(p), v);
}
template <unsigned Size>
inline Vector Splat(unsigned value) {
    return Size == 1 ? _mm256_set1_epi8(static_cast<char>(value)) : _mm256_set1_epi16(static_cast<short>(value));
}
template <unsigned Size>
inline Vector Equal(Vector a, Vector b) {
    return Size == 1 ? _mm256_cmpeq_epi8(a, b) : _mm256_cmpeq_epi16(a, b);
}
inline unsigned long long ByteBits(Vector v) {
    return static_cast<unsigned>(_mm256_movemask_epi8(v));
}
inline Vector Select(Vector mask, Vector yes, Vector no) {
    return _mm256_blendv_epi8(no, yes, mask);
}
inline void Compact(char* out, Vector v, unsigned long long keep) {
    ssse3::Compact(out, _mm256_castsi256_si128(v), keep & 0xFFFFu);
    ssse3::Compact(out + __builtin_popcountll(keep & 0xFFFFu), _mm256_extracti128_si256(v, 1), keep >> 16);
}

#include "convert/LineKernels.inl"

}  // namespace
}  // namespace avx2
TABULANE_TARGET_END

// With byte compression in hardware, squeezing out dropped bytes costs one instruction for 64 of them.
TABULANE_TARGET_BEGIN("avx512f,avx512bw,avx512vbmi2,popcnt,bmi2")
namespace avx512 {
namespace {

using Vector = __m512i;
constexpr unsigned kVectorBytes = 64;

inline Vector Load(const void* p) {
    return _mm512_loadu_si512(p);
}
inline void Store(void* p, Vector v) {
    _mm512_storeu_si512(p, v);
}
template <unsigned Size>
inline Vector Splat(unsigned value) {
    return Size == 1 ? _mm512_set1_epi8(static_cast<char>(value)) : _mm512_set1_epi16(static_cast<short>(value));
}
// Comparisons give one bit per byte, also for 16-bit units (both bits of a unit alike).
template <unsigned Size>
inline unsigned long long Equal(Vector a, Vector b) {
    if constexpr (Size == 1) {
        return _mm512_cmpeq_epi8_mask(a, b);
    } else {
        return _mm512_movepi8_mask(_mm512_movm_epi16(_mm512_cmpeq_epi16_mask(a, b)));
    }
}
inline unsigned long long ByteBits(unsigned long long bits) {
    return bits;
}
inline Vector Select(unsigned long long mask, Vector yes, Vector no) {
    return _mm512_mask_blend_epi8(mask, no, yes);
}
inline void Compact(char* out, Vector v, unsigned long long keep) {
    _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keep, v));
}

#include "convert/LineKernels.inl"

// Units of a vector as bits, one per unit.
template <typename Unit>
inline unsigned long long UnitBits(Vector a, Vector b) {
    if constexpr (sizeof(Unit) == 1) {
        return _mm512_cmpeq_epi8_mask(a, b);
    } else {
        return _mm512_cmpeq_epi16_mask(a, b);
    }
}

template <typename Unit>
inline Vector Blend(unsigned long long mask, Vector no, Vector yes) {
    if constexpr (sizeof(Unit) == 1) {
        return _mm512_mask_blend_epi8(mask, no, yes);
    } else {
        return _mm512_mask_blend_epi16(static_cast<__mmask32>(mask), no, yes);
    }
}

template <typename Unit>
inline Vector Squeeze(unsigned long long keep, Vector v) {
    if constexpr (sizeof(Unit) == 1) {
        return _mm512_maskz_compress_epi8(keep, v);
    } else {
        return _mm512_maskz_compress_epi16(static_cast<__mmask32>(keep), v);
    }
}

// Places the units of v, in order, where places has a bit; the other places get fill.
template <typename Unit>
inline Vector Spread(Vector fill, unsigned long long places, Vector v) {
    if constexpr (sizeof(Unit) == 1) {
        return _mm512_mask_expand_epi8(fill, places, v);
    } else {
        return _mm512_mask_expand_epi16(fill, static_cast<__mmask32>(places), v);
    }
}

// For 32 units of which those marked in `before` get a unit put in front of them: the places the units take among
// the 32 + popcount(before) places of the output, one bit each.
inline unsigned long long UnitPlaces(unsigned long long before) {
    const unsigned long long pairs = _pdep_u64(before, 0x5555555555555555ull) | 0xAAAAAAAAAAAAAAAAull;
    return _pext_u64(0xAAAAAAAAAAAAAAAAull, pairs);
}

// ConvertLinesKernel without a branch per break: every LF that lacks its CR gets one through hardware expansion,
// so a vector costs the same however many breaks it holds.
template <typename Unit>
KernelResult<Unit> ConvertLinesSpread(const Unit* p, const Unit* limit, const Unit* end, Unit* out, Unit separator,
                                      Unit replacement, bool collapse) {
    constexpr unsigned kUnits = kVectorBytes / sizeof(Unit);
    constexpr unsigned kHalf = kUnits / 2;
    constexpr unsigned long long kAll = kUnits == 64 ? ~0ull : (1ull << kUnits) - 1;
    const Vector separators = Splat<sizeof(Unit)>(static_cast<unsigned>(separator));
    const Vector replacements = Splat<sizeof(Unit)>(static_cast<unsigned>(replacement));
    const Vector crs = Splat<sizeof(Unit)>('\r');
    const Vector lfs = Splat<sizeof(Unit)>('\n');
    const Vector spaces = Splat<sizeof(Unit)>(' ');
    // 1 when the unit before p is a CR written with the LF at p still to come.
    unsigned long long pairCrBefore = 0;
    while (p < limit && end - p > static_cast<long>(kUnits)) {
        const Vector block = Load(p);
        const unsigned long long isSeparator = UnitBits<Unit>(block, separators);
        const unsigned long long cr = UnitBits<Unit>(block, crs);
        const unsigned long long lf = UnitBits<Unit>(block, lfs);
        Vector converted = Blend<Unit>(isSeparator, block, replacements);
        unsigned long long needCr = lf & ~pairCrBefore;
        unsigned long long keep = kAll;
        // Bytes without a CR, as Unix text is, need no look at the next unit unless spaces are squeezed: a branch
        // that goes the same way for a whole file. (For 16-bit units the branch cost more than it saved.)
        if (sizeof(Unit) > 1 || cr != 0 || collapse) {
            const Vector next = Load(p + 1);
            const unsigned long long nextLf = UnitBits<Unit>(next, lfs);
            const unsigned long long pairCr = cr & nextLf;
            const unsigned long long loneCr = cr & ~nextLf;
            // A CR of its own becomes an LF, and like every LF without its CR it gets one put before it.
            needCr = (lf | loneCr) & ~((pairCr << 1) | pairCrBefore) & kAll;
            converted = Blend<Unit>(loneCr, converted, lfs);
            pairCrBefore = (pairCr >> (kUnits - 1)) & 1;
            if (collapse) {
                const unsigned long long endsRun = UnitBits<Unit>(next, spaces) | UnitBits<Unit>(next, crs) | nextLf;
                keep &= ~(isSeparator & endsRun);
            }
        } else {
            pairCrBefore = 0;
        }
        p += kUnits;
        // No branch depends on where in the vector breaks and space runs fall: that is not predictable, and a wrong
        // guess costs more than doing the work. (Whether squeezed text fits one vector goes the same way for most
        // of a text.)
        unsigned kept = kUnits;
        if (collapse) {
            converted = Squeeze<Unit>(keep, converted);
            needCr = _pext_u64(needCr, keep);
            kept = static_cast<unsigned>(__builtin_popcountll(keep));
        }
        if constexpr (sizeof(Unit) == 1) {
            const unsigned crCount = static_cast<unsigned>(__builtin_popcountll(needCr));
            if (collapse && kept + crCount <= kUnits) {
                // Squeezed text with its CRs in one vector, as text with runs of spaces mostly gives.
                const unsigned long long firstNeed = needCr & 0xFFFFFFFFull;
                const unsigned firstLength = 32 + static_cast<unsigned>(__builtin_popcountll(firstNeed));
                const unsigned long long secondPlaces = UnitPlaces(needCr >> 32);
                const unsigned long long places =
                    UnitPlaces(firstNeed) | (firstLength >= 64 ? 0 : secondPlaces << firstLength);
                Store(out, Spread<Unit>(crs, places, converted));
                out += kept + crCount;
                continue;
            }
            // Each half of the vector, with its CRs put in, fits one vector of output.
            const unsigned firstUnits = kept < kHalf ? kept : kHalf;
            const unsigned long long firstNeed = needCr & ((1ull << kHalf) - 1);
            const unsigned long long secondNeed = needCr >> kHalf;
            Store(out, Spread<Unit>(crs, UnitPlaces(firstNeed), converted));
            out += firstUnits + static_cast<unsigned>(__builtin_popcountll(firstNeed));
            // (The zero-masking form: the plain one trips GCC 12's uninitialised-value warning.)
            const Vector secondHalf = _mm512_maskz_shuffle_i64x2(0xFF, converted, converted, 0xEE);
            Store(out, Spread<Unit>(crs, UnitPlaces(secondNeed), secondHalf));
            out += kept - firstUnits + static_cast<unsigned>(__builtin_popcountll(secondNeed));
        } else {
            // All 32 units with their CRs take up to 64 places: those past the first vector go in a second.
            const unsigned long long places = UnitPlaces(needCr);
            const unsigned long long low = places & kAll;
            const unsigned taken = static_cast<unsigned>(__builtin_popcountll(low));
            const unsigned long long rest = kAll & ~((1ull << taken) - 1);
            Store(out, Spread<Unit>(crs, low, converted));
            Store(out + kUnits, Spread<Unit>(crs, places >> 32, Squeeze<Unit>(rest, converted)));
            out += kept + static_cast<unsigned>(__builtin_popcountll(needCr));
        }
    }
    // A CR whose LF is still to come is taken back: the caller writes CR LF for that LF.
    out -= pairCrBefore;
    return {p, out};
}

}  // namespace
}  // namespace avx512
TABULANE_TARGET_END

namespace {

enum class VectorWidth { Ssse3 = 16, Avx2 = 32, Avx512 = 64 };

bool HaveSsse3() {
    static const bool have = __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("popcnt");
    return have;
}

VectorWidth WidestOfProcessor() {
    static const VectorWidth width = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi2")
                                         ? VectorWidth::Avx512
                                     : __builtin_cpu_supports("avx2") ? VectorWidth::Avx2
                                                                      : VectorWidth::Ssse3;
    return width;
}

VectorWidth WidestVectors() {
    const unsigned limit = g_vectorWidthLimit;
    const auto widest = static_cast<unsigned>(WidestOfProcessor());
    return static_cast<VectorWidth>(widest < limit ? widest : limit >= 64 ? 64 : limit >= 32 ? 32 : 16);
}

template <typename Unit>
KernelResult<Unit> ConvertLinesBest(const Unit* p, const Unit* limit, const Unit* end, Unit* out, Unit separator,
                                    Unit replacement, bool collapse) {
    switch (WidestVectors()) {
        case VectorWidth::Avx512:
            return avx512::ConvertLinesSpread(p, limit, end, out, separator, replacement, collapse);
        case VectorWidth::Avx2:
            return avx2::ConvertLinesKernel(p, limit, end, out, separator, replacement, collapse);
        case VectorWidth::Ssse3:
            break;
    }
    return ssse3::ConvertLinesKernel(p, limit, end, out, separator, replacement, collapse);
}

}  // namespace

bool HaveByteKernels() {
    return HaveSsse3() && g_vectorWidthLimit >= 16;
}

std::vector<unsigned> AvailableVectorWidths() {
    if (!HaveSsse3()) {
        return {};
    }
    std::vector<unsigned> widths;
    for (unsigned width = 16; width <= static_cast<unsigned>(WidestOfProcessor()); width *= 2) {
        widths.push_back(width);
    }
    return widths;
}

KernelResult<char> ConvertLines(const char* p, const char* limit, const char* end, char* out, char separator,
                                char replacement, bool collapse) {
    return ConvertLinesBest(p, limit, end, out, separator, replacement, collapse);
}

KernelResult<char16_t> ConvertLines(const char16_t* p, const char16_t* limit, const char16_t* end, char16_t* out,
                                    char16_t separator, char16_t replacement, bool collapse) {
    return ConvertLinesBest(p, limit, end, out, separator, replacement, collapse);
}

ByteKernelResult ReplaceSimpleBreaks(const char* p, const char* limit, const char* end, char* out, char replacement) {
    switch (WidestVectors()) {
        case VectorWidth::Avx512:
            return avx512::ReplaceSimpleBreaksKernel(p, limit, end, out, replacement);
        case VectorWidth::Avx2:
            return avx2::ReplaceSimpleBreaksKernel(p, limit, end, out, replacement);
        case VectorWidth::Ssse3:
            break;
    }
    return ssse3::ReplaceSimpleBreaksKernel(p, limit, end, out, replacement);
}

#else

bool HaveByteKernels() {
    return false;
}

std::vector<unsigned> AvailableVectorWidths() {
    return {};
}

KernelResult<char> ConvertLines(const char* p, const char*, const char*, char* out, char, char, bool) {
    return {p, out};
}

KernelResult<char16_t> ConvertLines(const char16_t* p, const char16_t*, const char16_t*, char16_t* out, char16_t,
                                    char16_t, bool) {
    return {p, out};
}

ByteKernelResult ReplaceSimpleBreaks(const char* p, const char*, const char*, char* out, char) {
    return {p, out};
}

#endif

}  // namespace tabulane
