// The vector kernels, written once for every vector width. ByteKernels.cpp includes this file inside a namespace
// per width (and per processor target) that first defines Vector, kVectorBytes and:
//   Load(const void*), Store(void*, Vector), Splat<Size>(unsigned), Equal<Size>(Vector, Vector) (a comparison),
//   ByteBits(comparison) (one bit per byte, as an unsigned long long), Select(comparison, yes, no), and
//   Compact(char* out, Vector, Mask keep), which stores the kept bytes of the vector, in order, at out.
// Only builtins are used here, never library templates: those would be compiled for the wider target too and the
// linker could pick that copy for a processor without it.

using Mask = unsigned long long;

constexpr Mask kAllBytes = kVectorBytes == 64 ? ~Mask{0} : (Mask{1} << kVectorBytes) - 1;

inline Mask Below(unsigned bit) {
    return (Mask{1} << bit) - 1;  // bit < 64: a cut always lies before some byte of the vector
}

inline unsigned Count(Mask bits) {
    return static_cast<unsigned>(__builtin_popcountll(bits));
}

// Stores a converted vector at out, without the bytes keep leaves out, and returns the end of those among the
// first `bytes` bytes.
template <typename Unit>
inline Unit* Put(Unit* out, Vector converted, Mask keep, unsigned bytes) {
    if (keep == kAllBytes) {
        Store(out, converted);
        return out + bytes / sizeof(Unit);
    }
    Compact(reinterpret_cast<char*>(out), converted, keep);
    const Mask counted = bytes == kVectorBytes ? keep : keep & Below(bytes);
    return out + Count(counted) / sizeof(Unit);
}

// See ConvertLines in ByteKernels.h. A whole vector is converted and stored (spaces to drop are squeezed out on
// the way); a break without its pair cuts the output just before it, is settled by hand, and the next vector
// starts there. Plain text and CR LF pairs cost nothing extra.
template <typename Unit>
KernelResult<Unit> ConvertLinesKernel(const Unit* p, const Unit* limit, const Unit* end, Unit* out, Unit separator,
                                      Unit replacement, bool collapse) {
    constexpr unsigned kSize = sizeof(Unit);
    constexpr long kUnits = kVectorBytes / kSize;
    constexpr unsigned kLastUnitBit = kVectorBytes - kSize;
    constexpr Mask kFirstUnit = (Mask{1} << kSize) - 1;
    const Unit cr = static_cast<Unit>('\r');
    const Unit lf = static_cast<Unit>('\n');
    const Vector separators = Splat<kSize>(static_cast<unsigned>(separator));
    const Vector replacements = Splat<kSize>(static_cast<unsigned>(replacement));
    const Vector crs = Splat<kSize>('\r');
    const Vector lfs = Splat<kSize>('\n');
    const Vector spaces = Splat<kSize>(' ');
    // The unit before p was a CR already written, so an LF at p completes its break.
    bool afterCr = false;
    while (p < limit && end - p > kUnits) {
        const Vector block = Load(p);
        const auto isSeparator = Equal<kSize>(block, separators);
        const Mask crBits = ByteBits(Equal<kSize>(block, crs));
        const Mask lfBits = ByteBits(Equal<kSize>(block, lfs));
        const Mask separatorBits = collapse ? ByteBits(isSeparator) : 0;
        Mask events = lfBits & ~((crBits << kSize) | (afterCr ? kFirstUnit : 0));
        Mask keep = kAllBytes;
        if ((crBits | separatorBits) != 0) {
            // The unit after each one decides about a CR (its pair?) and a space (more of the run, or a break?).
            const Vector next = Load(p + 1);
            const Mask nextLf = ByteBits(Equal<kSize>(next, lfs));
            events |= crBits & ~nextLf;
            const Mask nextEndsRun = ByteBits(Equal<kSize>(next, spaces)) | ByteBits(Equal<kSize>(next, crs)) | nextLf;
            keep &= ~(separatorBits & nextEndsRun);
        }
        const Vector converted = Select(isSeparator, replacements, block);
        if (events == 0) {
            out = Put(out, converted, keep, kVectorBytes);
            p += kUnits;
            afterCr = ((crBits >> kLastUnitBit) & 1) != 0;
            continue;
        }
        const unsigned bit = static_cast<unsigned>(__builtin_ctzll(events));
        out = Put(out, converted, keep, bit);
        p += bit / kSize;
        if (((crBits >> bit) & 1) != 0) {
            out[0] = cr;
            out[1] = lf;
            out += 2;
            ++p;
            afterCr = false;
        } else {
            out[0] = cr;  // the LF itself starts the next vector
            ++out;
            afterCr = true;
        }
    }
    // A CR whose LF is still to come is taken back: the caller writes CR LF for that LF.
    out -= afterCr ? 1 : 0;
    return {p, out};
}

// See ReplaceSimpleBreaks in ByteKernels.h.
inline KernelResult<char> ReplaceSimpleBreaksKernel(const char* p, const char* limit, const char* end, char* out,
                                                    char replacement) {
    const Vector crs = Splat<1>('\r');
    const Vector lfs = Splat<1>('\n');
    const Vector replacements = Splat<1>(static_cast<unsigned char>(replacement));
    while (p < limit && end - p > static_cast<long>(kVectorBytes)) {
        const Vector block = Load(p);
        const auto isLf = Equal<1>(block, lfs);
        const Mask crBits = ByteBits(Equal<1>(block, crs));
        const Vector converted = Select(isLf, replacements, block);
        if (crBits == 0) {
            Store(out, converted);
            p += kVectorBytes;
            out += kVectorBytes;
            continue;
        }
        const Mask lone = crBits & ~ByteBits(Equal<1>(Load(p + 1), lfs));
        // The CR of each CR LF pair goes; a CR of its own ends the run here, for the careful path to decide.
        const unsigned stop = lone == 0 ? kVectorBytes : static_cast<unsigned>(__builtin_ctzll(lone));
        out = Put(out, converted, ~crBits & kAllBytes, stop);
        p += stop;
        if (lone != 0) {
            break;
        }
    }
    return {p, out};
}
