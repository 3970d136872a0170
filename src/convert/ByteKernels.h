#pragma once

#include <cstddef>

namespace tabulane {

// Vector kernels for the byte-wide conversions, used when the processor has them (SSSE3 and POPCNT on x86).
// Each one converts a prefix of [p, end) in whole blocks of 16 bytes, writes its output at out (which needs
// 16 bytes of room beyond the output, as blocks are stored whole), and returns how far it got;
// the caller converts the rest one byte at a time.
struct ByteKernelResult {
    const char* consumed;
    char* written;
};

bool HaveByteKernels();

// The space modes with a one-byte replacement: the first space of each run becomes the replacement and the rest
// of the run is dropped. previousSpace carries whether the byte before p was a space.
ByteKernelResult CollapseSpaceRuns(const char* p, const char* end, char* out, char replacement, bool& previousSpace);

// The line-break mode with a one-byte replacement, for blocks where every CR is directly followed by an LF inside
// the block: CRs are dropped and LFs become the replacement. Stops at the first block that is not of that kind.
ByteKernelResult ReplaceSimpleBreaks(const char* p, const char* end, char* out, char replacement);

}  // namespace tabulane
