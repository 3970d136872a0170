#include "convert/TextConverter.h"

#include "convert/ByteKernels.h"
#include "convert/SeparatorSearch.h"
#include "convert/UnitSink.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace tabulane {
namespace {

constexpr char32_t kCR = U'\r';
constexpr char32_t kLF = U'\n';
constexpr char32_t kSpace = U' ';
// Units converted per direct write into the output, which bounds the room reserved for them.
constexpr std::size_t kChunkUnits = 4096;
// The first block read; see Run.
constexpr std::size_t kFirstBlockSize = std::size_t{64} << 10;
// Room past the output that the vector kernels may overwrite: they store whole vectors, up to two of 64 bytes.
constexpr std::size_t kKernelSlack = 128;

// The conversion of one text, fed in blocks of units of the file's encoding.
template <typename Unit>
class Converter {
public:
    Converter(const ConversionOptions& options, UnitSink<Unit>& sink)
        : m_sink(sink),
          m_separator(ToUnits<Unit>(options.separator)),
          m_replacement(ToUnits<Unit>(options.replacement)),
          m_lineMode(options.lineMode),
          m_collapse(options.collapseSpaces),
          m_replacer(LineSeparator(), m_replacement, sink) {
        const Unit space = static_cast<Unit>(kSpace);
        m_spaceSeparator = m_collapse && m_separator.size() == 1 && m_separator[0] == space;
        // One unit for one: the separator, the breaks and the space runs all go in one pass over the block.
        m_oneForOne = m_lineMode && m_separator.size() == 1 && m_replacement.size() == 1 && !IsBreak(m_separator[0]) &&
                      !IsBreak(m_replacement[0]) && (!m_collapse || m_spaceSeparator);
        m_kernel = sizeof(Unit) <= 2 && HaveByteKernels();
        // After the breaks are normalised to LF only a separator of LF can still match.
        m_breakReplacement = m_separator.size() == 1 && m_separator[0] == static_cast<Unit>(kLF)
                                 ? m_replacement
                                 : std::basic_string<Unit>(1, static_cast<Unit>(kLF));
    }

    void Feed(const Unit* p, const Unit* end) {
        if (m_oneForOne) {
            FeedOneForOne(p, end);
        } else if (m_lineMode) {
            FeedLines(p, end);
        } else {
            FeedBlock(p, end);
        }
    }

    void Finish() {
        if (m_lineMode) {
            if (m_lineOpen) {
                EndLine();
            }
        } else {
            EmitBreaks(m_crRun);
            m_crRun = 0;
        }
    }

private:
    static bool IsBreak(Unit unit) { return unit == static_cast<Unit>(kCR) || unit == static_cast<Unit>(kLF); }

    // A line never holds a break, so a separator containing one can never match in line mode.
    std::basic_string<Unit> LineSeparator() const {
        const bool hasBreak = std::any_of(m_separator.begin(), m_separator.end(), IsBreak);
        return m_lineMode && !hasBreak ? m_separator : std::basic_string<Unit>();
    }

    void FeedOneForOne(const Unit* p, const Unit* end) {
        constexpr std::ptrdiff_t kBlockUnits = 16 / sizeof(Unit);
        const Unit separator = m_separator[0];
        const Unit replacement = m_replacement[0];
        while (p < end) {
            const Unit* chunkEnd = p + std::min<std::ptrdiff_t>(end - p, kChunkUnits);
            Unit* out = m_sink.Reserve(2 * static_cast<std::size_t>(chunkEnd - p) + kKernelSlack);
            while (p < chunkEnd) {
                if constexpr (sizeof(Unit) <= 2) {
                    if (m_kernel && !m_pendingCR && !m_pendingSpace) {
                        const KernelResult<Unit> done =
                            ConvertLines(p, chunkEnd, end, out, separator, replacement, m_collapse);
                        if (done.consumed != p) {
                            p = done.consumed;
                            out = done.written;
                            m_lineOpen = !IsBreak(p[-1]);
                        }
                    }
                }
                // What the kernel left: the rest of a block, and on until no CR or space run waits for its end.
                const Unit* stop = p + std::min(chunkEnd - p, kBlockUnits);
                while (p < stop || ((m_pendingCR || m_pendingSpace) && p < chunkEnd)) {
                    out = ConvertUnit(*p++, out, separator, replacement);
                }
            }
            m_sink.CommitTo(out);
        }
    }

    // One unit of a one-for-one line mode; writes at most two units.
    Unit* ConvertUnit(Unit unit, Unit* out, Unit separator, Unit replacement) {
        if (m_pendingCR) {
            m_pendingCR = false;
            if (unit == static_cast<Unit>(kLF)) {
                return out;
            }
        }
        if (IsBreak(unit)) {
            m_pendingCR = unit == static_cast<Unit>(kCR);
            m_pendingSpace = false;
            m_lineOpen = false;
            out[0] = static_cast<Unit>(kCR);
            out[1] = static_cast<Unit>(kLF);
            return out + 2;
        }
        m_lineOpen = true;
        if (unit == separator) {
            if (m_collapse) {
                m_pendingSpace = true;  // written once the run turns out to be followed by text on its line
            } else {
                *out++ = replacement;
            }
            return out;
        }
        if (m_pendingSpace) {
            m_pendingSpace = false;
            *out++ = replacement;
        }
        *out++ = unit;
        return out;
    }

    void FeedLines(const Unit* p, const Unit* end) {
        while (p < end) {
            if (m_pendingCR) {
                m_pendingCR = false;
                if (*p == static_cast<Unit>(kLF)) {
                    ++p;
                    continue;
                }
            }
            const Unit* lineEnd = FindBreak<Unit>(p, end);
            if (lineEnd > p) {
                m_lineOpen = true;
                LineContent(p, lineEnd);
            }
            if (lineEnd == end) {
                return;
            }
            EndLine();
            m_pendingCR = *lineEnd == static_cast<Unit>(kCR);
            p = lineEnd + 1;
        }
    }

    void LineContent(const Unit* p, const Unit* end) {
        if (!m_collapse) {
            m_replacer.Feed(p, end);
            return;
        }
        if (m_spaceSeparator) {
            CollapseIntoReplacement(p, end);
            return;
        }
        // Runs of spaces shrink to one; a run at the end of the line is dropped when the line ends.
        const Unit space = static_cast<Unit>(kSpace);
        while (p < end) {
            if (*p == space) {
                m_pendingSpace = true;
                p = SkipUnit(p, end, space);
                continue;
            }
            const Unit* runEnd = FindUnit(p, end, space);
            if (m_pendingSpace) {
                m_pendingSpace = false;
                m_replacer.Feed(&space, &space + 1);
            }
            m_replacer.Feed(p, runEnd);
            p = runEnd;
        }
    }

    // The space modes: each run of spaces followed by more text becomes one replacement; a run at the end of the
    // line waits in m_pendingSpace and is dropped if the line ends there.
    void CollapseIntoReplacement(const Unit* p, const Unit* end) {
        const Unit space = static_cast<Unit>(kSpace);
        if (m_pendingSpace) {
            p = SkipUnit(p, end, space);
            if (p == end) {
                return;
            }
            m_sink.Append(m_replacement);
            m_pendingSpace = false;
        }
        const Unit* textEnd = end;
        while (textEnd > p && textEnd[-1] == space) {
            --textEnd;
        }
        m_pendingSpace = textEnd < end;

        // [p, textEnd) begins and ends with text. The first space of each run is written as the replacement and
        // the rest of the run is dropped. No branch depends on the text (space-aligned columns make the runs
        // unpredictable), and only one addition per unit feeds the next, which keeps the loop fast.
        const std::size_t length = m_replacement.size();
        const Unit first = m_replacement[0];
        const Unit second = length > 1 ? m_replacement[1] : first;
        std::size_t previousSpace = 0;
        while (p < textEnd) {
            const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(textEnd - p), kChunkUnits);
            Unit* out = m_sink.Reserve(count * (length + 2) + kKernelSlack);
            if (length <= 2) {
                using Bits = std::make_unsigned_t<Unit>;
                for (std::size_t i = 0; i < count; ++i) {
                    const Unit unit = p[i];
                    const std::size_t isSpace = static_cast<std::size_t>(unit == space);
                    const Bits mask = static_cast<Bits>(0) - static_cast<Bits>(isSpace);
                    out[0] = static_cast<Unit>((static_cast<Bits>(unit) & static_cast<Bits>(~mask)) |
                                               (static_cast<Bits>(first) & mask));
                    out[1] = second;
                    out += (1 + (length - 1) * isSpace) * (1 - (isSpace & previousSpace));
                    previousSpace = isSpace;
                }
            } else {
                for (std::size_t i = 0; i < count; ++i) {
                    const Unit unit = p[i];
                    const std::size_t isSpace = static_cast<std::size_t>(unit == space);
                    if (isSpace == 0) {
                        *out++ = unit;
                    } else if (previousSpace == 0) {
                        out = std::copy(m_replacement.begin(), m_replacement.end(), out);
                    }
                    previousSpace = isSpace;
                }
            }
            m_sink.CommitTo(out);
            p += count;
        }
    }

    void EndLine() {
        m_pendingSpace = false;
        m_replacer.EndText();
        m_sink.Put(static_cast<Unit>(kCR));
        m_sink.Put(static_cast<Unit>(kLF));
        m_lineOpen = false;
    }

    // Block mode: CR LF becomes LF twice over (so CR CR LF is one break), every other CR becomes LF, then LF
    // becomes the replacement. A run of k CRs before an LF thus gives max(1, k - 1) breaks and a run before
    // anything else k. All but the last two CRs of a run give a break either way, so at most two wait in
    // m_crRun, also across block boundaries.
    void FeedBlock(const Unit* p, const Unit* end) {
        const Unit cr = static_cast<Unit>(kCR);
        const Unit lf = static_cast<Unit>(kLF);
        const Unit* breakText = m_breakReplacement.data();
        const std::size_t breakLength = m_breakReplacement.size();
        std::size_t crRun = m_crRun;
        while (p < end) {
            const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(end - p), kChunkUnits);
            Unit* out = m_sink.Reserve(count * (breakLength + 1) + 2 * breakLength + kKernelSlack);
            const auto emit = [&] { out = std::copy_n(breakText, breakLength, out); };
            const bool kernel = sizeof(Unit) == 1 && breakLength == 1 && HaveByteKernels();
            std::size_t i = 0;
            for (; i < count; ++i) {
                if constexpr (sizeof(Unit) == 1) {
                    // Whole blocks of plain text and CR LF pairs go through the vector kernel, which may run past
                    // the chunk by less than a vector (it never reads past the block).
                    if (kernel && crRun == 0 && i % 16 == 0) {
                        const ByteKernelResult done = ReplaceSimpleBreaks(p + i, p + count, end, out, breakText[0]);
                        i = static_cast<std::size_t>(done.consumed - p);
                        out = done.written;
                        if (i >= count) {
                            break;
                        }
                    }
                }
                const Unit unit = p[i];
                if (unit != cr && unit != lf) [[likely]] {
                    if (crRun > 0) [[unlikely]] {
                        emit();
                        if (crRun == 2) {
                            emit();
                        }
                        crRun = 0;
                    }
                    *out++ = unit;
                } else if (unit == lf) {
                    emit();
                    crRun = 0;
                } else if (crRun == 2) {
                    emit();
                } else {
                    ++crRun;
                }
            }
            m_sink.CommitTo(out);
            p += i;
        }
        m_crRun = crRun;
    }

    void EmitBreaks(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            m_sink.Append(m_breakReplacement);
        }
    }

    UnitSink<Unit>& m_sink;
    std::basic_string<Unit> m_separator;
    std::basic_string<Unit> m_replacement;
    std::basic_string<Unit> m_breakReplacement;
    bool m_lineMode;
    bool m_collapse;
    bool m_spaceSeparator = false;
    bool m_oneForOne = false;
    bool m_kernel = false;
    Replacer<Unit, UnitSink<Unit>> m_replacer;

    bool m_pendingCR = false;
    bool m_lineOpen = false;
    bool m_pendingSpace = false;
    std::size_t m_crRun = 0;
};

template <typename Unit>
void Run(ByteReader& input, ByteWriter& output, const ConversionOptions& options) {
    const std::string mark = ByteOrderMark(options.encoding);
    const bool swap = IsBigEndianEncoding(options.encoding) != (std::endian::native == std::endian::big);
    const std::size_t fullSize = std::max<std::size_t>(options.bufferSize, 1);
    // Reading starts with a small block and moves up to full-size ones once a read fills it: a small file never
    // touches, and so never pays for, the memory of the large blocks.
    std::size_t readSize = std::min(fullSize, kFirstBlockSize);

    output.Write(mark.data(), mark.size());
    UnitSink<Unit> sink(output, std::max<std::size_t>(readSize / sizeof(Unit), 1), swap);
    Converter<Unit> converter(options, sink);

    // Whole units are converted; a unit split between two reads waits at the front of the buffer.
    Buffer<Unit> buffer(readSize / sizeof(Unit) + 2);
    char* bytes = reinterpret_cast<char*>(buffer.data());
    std::size_t capacity = buffer.size() * sizeof(Unit);
    std::size_t pending = 0;
    std::size_t markLeft = mark.size();
    for (;;) {
        const std::size_t room = std::min(readSize, capacity - pending);
        const std::size_t got = input.Read(bytes + pending, room);
        if (got == 0) {
            break;
        }
        std::size_t filled = pending + got;
        if (markLeft > 0) {
            const std::size_t skip = std::min(markLeft, filled);
            std::memmove(bytes, bytes + skip, filled - skip);
            filled -= skip;
            markLeft -= skip;
        }
        const std::size_t units = filled / sizeof(Unit);
        if (swap) {
            for (std::size_t i = 0; i < units; ++i) {
                buffer[i] = Swapped(buffer[i]);
            }
        }
        converter.Feed(buffer.data(), buffer.data() + units);
        pending = filled - units * sizeof(Unit);
        std::memmove(bytes, bytes + units * sizeof(Unit), pending);
        if (got == room && readSize < fullSize) {
            readSize = fullSize;
            Buffer<Unit> larger(readSize / sizeof(Unit) + 2);
            std::memcpy(larger.data(), bytes, pending);
            buffer = std::move(larger);
            bytes = reinterpret_cast<char*>(buffer.data());
            capacity = buffer.size() * sizeof(Unit);
            sink.Grow(std::max<std::size_t>(readSize / sizeof(Unit), 1));
        }
        if (options.betweenBlocks) {
            options.betweenBlocks();
        }
    }
    converter.Finish();
    sink.Finish();
    // Bytes that make no whole unit (an odd-length UTF-16 file) are kept as they were.
    output.Write(bytes, pending);
}

}  // namespace

void ConvertText(ByteReader& input, ByteWriter& output, const ConversionOptions& options) {
    switch (options.encoding) {
        case TextEncoding::None:
        case TextEncoding::Utf8:
            Run<char>(input, output, options);
            break;
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE:
            Run<char16_t>(input, output, options);
            break;
        case TextEncoding::Utf32LE:
        case TextEncoding::Utf32BE:
            Run<char32_t>(input, output, options);
            break;
    }
}

}  // namespace tabulane
