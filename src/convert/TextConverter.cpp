#include "convert/TextConverter.h"

#include "convert/ByteKernels.h"
#include "convert/SeparatorSearch.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tabulane {
namespace {

constexpr char32_t kCR = U'\r';
constexpr char32_t kLF = U'\n';
constexpr char32_t kSpace = U' ';
// Units converted per direct write into the output, which bounds the room reserved for them.
constexpr std::size_t kChunkUnits = 4096;
// Room past the output that the vector kernels may overwrite: they store whole vectors, up to two of 64 bytes.
constexpr std::size_t kKernelSlack = 128;

template <typename Unit>
Unit Swapped(Unit unit) {
    if constexpr (sizeof(Unit) == 2) {
        const auto bits = static_cast<std::uint16_t>(unit);
        return static_cast<Unit>(static_cast<std::uint16_t>((bits << 8) | (bits >> 8)));
    } else if constexpr (sizeof(Unit) == 4) {
        const auto bits = static_cast<std::uint32_t>(unit);
        return static_cast<Unit>((bits << 24) | ((bits & 0xFF00u) << 8) | ((bits >> 8) & 0xFF00u) | (bits >> 24));
    } else {
        return unit;
    }
}

// Decodes UTF-8 into code points; an invalid sequence becomes U+FFFD so it can never match real text.
std::u32string DecodeUtf8(std::string_view text) {
    std::u32string result;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
        }
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!valid) {
            result += U'\uFFFD';
            ++i;
            continue;
        }
        result += cp;
        i += static_cast<std::size_t>(length);
    }
    return result;
}

// The separator or replacement as units of the file's encoding.
template <typename Unit>
std::basic_string<Unit> ToUnits(std::string_view utf8) {
    if constexpr (sizeof(Unit) == 1) {
        return std::basic_string<Unit>(utf8.begin(), utf8.end());
    } else {
        std::basic_string<Unit> units;
        for (const char32_t cp : DecodeUtf8(utf8)) {
            if constexpr (sizeof(Unit) == 2) {
                if (cp >= 0x10000) {
                    units += static_cast<Unit>(0xD800 + ((cp - 0x10000) >> 10));
                    units += static_cast<Unit>(0xDC00 + ((cp - 0x10000) & 0x3FF));
                    continue;
                }
            }
            units += static_cast<Unit>(cp);
        }
        return units;
    }
}

// Leaves new elements uninitialised: the buffers are always written before they are read, and zeroing a
// megabyte for every small file of a batch would cost more than converting it.
template <typename T>
struct UninitializedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitializedAllocator<U>;
    };
    UninitializedAllocator() = default;
    template <typename U>
    explicit UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}

    template <typename U>
    void construct(U* place) noexcept {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Args>
    void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

template <typename T>
using Buffer = std::vector<T, UninitializedAllocator<T>>;

// Collects converted units and writes them in large blocks, in the file's byte order. Writing happens on this
// thread: the block is still in this core's cache, and handing it to a writer thread cost more than it overlapped.
template <typename Unit>
class UnitSink {
public:
    UnitSink(ByteWriter& writer, std::size_t capacity, bool swap)
        : m_writer(writer), m_buffer(std::max<std::size_t>(capacity, 1)), m_swap(swap) {}

    void Append(const Unit* data, std::size_t count) {
        while (count > m_buffer.size() - m_size) {
            const std::size_t room = m_buffer.size() - m_size;
            std::memcpy(m_buffer.data() + m_size, data, room * sizeof(Unit));
            m_size += room;
            data += room;
            count -= room;
            Flush();
        }
        std::memcpy(m_buffer.data() + m_size, data, count * sizeof(Unit));
        m_size += count;
    }

    void Append(const std::basic_string<Unit>& units) { Append(units.data(), units.size()); }

    void Put(Unit unit) {
        if (m_size == m_buffer.size()) {
            Flush();
        }
        m_buffer[m_size++] = unit;
    }

    // Room for at least `count` units, written directly; CommitTo then marks how far they were filled.
    Unit* Reserve(std::size_t count) {
        if (count > m_buffer.size() - m_size) {
            Flush();
            if (count > m_buffer.size()) {
                m_buffer.resize(count);
            }
        }
        return m_buffer.data() + m_size;
    }

    void CommitTo(const Unit* end) { m_size = static_cast<std::size_t>(end - m_buffer.data()); }

    // Writes what is collected.
    void Finish() { Flush(); }

private:
    void Flush() {
        if (m_size == 0) {
            return;
        }
        if (m_swap) {
            for (std::size_t i = 0; i < m_size; ++i) {
                m_buffer[i] = Swapped(m_buffer[i]);
            }
        }
        const std::size_t size = m_size;
        m_size = 0;
        m_writer.Write(reinterpret_cast<const char*>(m_buffer.data()), size * sizeof(Unit));
    }

    ByteWriter& m_writer;
    Buffer<Unit> m_buffer;
    std::size_t m_size = 0;
    bool m_swap;
};

// The first CR or LF in [p, end), or end.
template <typename Unit>
const Unit* FindBreak(const Unit* p, const Unit* end) {
    if constexpr (sizeof(Unit) == 1) {
#if defined(__SSE2__)
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        while (end - p >= 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
            if (mask != 0) {
                return p + std::countr_zero(static_cast<unsigned>(mask));
            }
            p += 16;
        }
#endif
    }
    while (p < end && *p != static_cast<Unit>(kCR) && *p != static_cast<Unit>(kLF)) {
        ++p;
    }
    return p;
}

// The first unit in [p, end) that differs from unit, or end.
template <typename Unit>
const Unit* SkipUnit(const Unit* p, const Unit* end, Unit unit) {
    while (p < end && *p == unit) {
        ++p;
    }
    return p;
}

// Replaces every occurrence of the separator, left to right, without overlap, in text that arrives in pieces.
template <typename Unit>
class Replacer {
public:
    Replacer(std::basic_string<Unit> separator, std::basic_string<Unit> replacement, UnitSink<Unit>& sink)
        : m_separator(separator), m_replacement(std::move(replacement)), m_sink(sink), m_search(std::move(separator)) {}

    void Feed(const Unit* p, const Unit* end) {
        if (m_separator.empty()) {
            m_sink.Append(p, static_cast<std::size_t>(end - p));
        } else if (m_separator.size() == 1) {
            FeedSingle(p, end);
        } else {
            m_search.Feed(p, end, Text(), [this] { m_sink.Append(m_replacement); });
        }
    }

    // The end of a line: a partial match held back can no longer become a match.
    void EndText() { m_search.End(Text()); }

private:
    auto Text() {
        return [this](const Unit* units, std::size_t count) { m_sink.Append(units, count); };
    }

    void FeedSingle(const Unit* p, const Unit* end) {
        const Unit separator = m_separator[0];
        while (p < end) {
            const Unit* hit = FindUnit(p, end, separator);
            m_sink.Append(p, static_cast<std::size_t>(hit - p));
            if (hit == end) {
                return;
            }
            m_sink.Append(m_replacement);
            p = hit + 1;
        }
    }

    std::basic_string<Unit> m_separator;
    std::basic_string<Unit> m_replacement;
    UnitSink<Unit>& m_sink;
    SeparatorSearch<Unit> m_search;
};

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
            for (std::size_t i = 0; i < count; ++i) {
                if constexpr (sizeof(Unit) == 1) {
                    // Whole blocks of plain text and CR LF pairs go through the vector kernel.
                    if (kernel && crRun == 0 && i % 16 == 0) {
                        const ByteKernelResult done = ReplaceSimpleBreaks(p + i, p + count, out, breakText[0]);
                        i = static_cast<std::size_t>(done.consumed - p);
                        out = done.written;
                        if (i == count) {
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
            p += count;
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
    Replacer<Unit> m_replacer;

    bool m_pendingCR = false;
    bool m_lineOpen = false;
    bool m_pendingSpace = false;
    std::size_t m_crRun = 0;
};

bool IsBigEndianEncoding(TextEncoding encoding) {
    return encoding == TextEncoding::Utf16BE || encoding == TextEncoding::Utf32BE;
}

template <typename Unit>
void Run(ByteReader& input, ByteWriter& output, const ConversionOptions& options) {
    const std::string mark = ByteOrderMark(options.encoding);
    const bool swap = IsBigEndianEncoding(options.encoding) != (std::endian::native == std::endian::big);
    const std::size_t readSize = std::max<std::size_t>(options.bufferSize, 1);

    output.Write(mark.data(), mark.size());
    UnitSink<Unit> sink(output, std::max<std::size_t>(readSize / sizeof(Unit), 1), swap);
    Converter<Unit> converter(options, sink);

    // Whole units are converted; a unit split between two reads waits at the front of the buffer.
    Buffer<Unit> buffer(readSize / sizeof(Unit) + 2);
    char* bytes = reinterpret_cast<char*>(buffer.data());
    const std::size_t capacity = buffer.size() * sizeof(Unit);
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

std::string ByteOrderMark(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::None:
            return {};
        case TextEncoding::Utf32LE:
            return std::string("\xFF\xFE\x00\x00", 4);
        case TextEncoding::Utf32BE:
            return std::string("\x00\x00\xFE\xFF", 4);
        case TextEncoding::Utf8:
            return "\xEF\xBB\xBF";
        case TextEncoding::Utf16LE:
            return "\xFF\xFE";
        case TextEncoding::Utf16BE:
            return "\xFE\xFF";
    }
    return {};
}

TextEncoding EncodingFromMark(const unsigned char* bytes, std::size_t length) {
    const auto starts = [&](std::initializer_list<unsigned char> mark) {
        return length >= mark.size() && std::equal(mark.begin(), mark.end(), bytes);
    };
    if (starts({0xFF, 0xFE, 0x00, 0x00})) {
        return TextEncoding::Utf32LE;
    }
    if (starts({0x00, 0x00, 0xFE, 0xFF})) {
        return TextEncoding::Utf32BE;
    }
    if (starts({0xEF, 0xBB, 0xBF})) {
        return TextEncoding::Utf8;
    }
    if (starts({0xFF, 0xFE})) {
        return TextEncoding::Utf16LE;
    }
    if (starts({0xFE, 0xFF})) {
        return TextEncoding::Utf16BE;
    }
    return TextEncoding::None;
}

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
