#pragma once

#include <cstddef>
#include <vector>

namespace tabulane {

// Vector kernels for the conversions of byte-wide and 16-bit text, used when the processor has them (on x86: SSSE3
// and POPCNT, AVX2 for 32 bytes at a time, AVX-512 with byte compression for 64). Each one converts a prefix of
// [p, end) in whole vectors, writes its output at out (which needs 128 bytes of room beyond the output, as vectors
// are stored whole), and returns how far it got; the caller converts the rest one unit at a time.
template <typename Unit>
struct KernelResult {
    const Unit* consumed;
    Unit* written;
};
using ByteKernelResult = KernelResult<char>;

bool HaveByteKernels();

// The vector widths in bytes (16, 32, 64) this processor has kernels for, narrowest first.
std::vector<unsigned> AvailableVectorWidths();

// Caps the vector width the kernels use; below 16 HaveByteKernels reports false, so the portable paths run. Lets
// tests compare every path on the one machine.
void LimitVectorWidth(unsigned bytes);

// The line modes with a one-unit separator and a one-unit replacement, in one pass: the separator becomes the
// replacement, a CR directly before an LF is dropped, any other CR becomes an LF, and every LF becomes CR LF.
// With collapse (the separator is then a space) a run of spaces keeps only its last space, as the replacement,
// and loses that one too when a break follows. A block is converted when it starts before limit (so the last one
// may run past it by less than a vector) and the unit after it is there to look at (below end): that unit decides
// about a CR or a space at the block's end. The unit before p must be neither a CR nor a space of a run still
// open; output may be twice the input.
KernelResult<char> ConvertLines(const char* p, const char* limit, const char* end, char* out, char separator,
                                char replacement, bool collapse);
KernelResult<char16_t> ConvertLines(const char16_t* p, const char16_t* limit, const char16_t* end, char16_t* out,
                                    char16_t separator, char16_t replacement, bool collapse);

// The line-break mode with a one-byte replacement, for blocks where every CR is directly followed by an LF inside
// the block: CRs are dropped and LFs become the replacement. Stops at the first block that is not of that kind;
// limit and end as for ConvertLines.
ByteKernelResult ReplaceSimpleBreaks(const char* p, const char* limit, const char* end, char* out, char replacement);

}  // namespace tabulane
