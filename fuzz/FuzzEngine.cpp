// The conversion engine on random inputs, modes, separators, marks and read sizes: the streamed output must equal
// a whole-text model of the rules, and the heap must stay bounded by the buffer size, not the input's length.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sanitizer/allocator_interface.h>

#include "convert/AddRemove.h"
#include "convert/ByteKernels.h"
#include "convert/TextConverter.h"

namespace {

// Live heap bytes and their peak, counted through the sanitizer's allocation hooks.
std::atomic<std::size_t> g_live{0};
std::atomic<std::size_t> g_peak{0};

void OnAllocate(const volatile void*, std::size_t size) {
    const std::size_t live = g_live += size;
    std::size_t peak = g_peak.load();
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
}

void OnFree(const volatile void* pointer) {
    g_live -= __sanitizer_get_allocated_size(const_cast<const void*>(pointer));
}

const int g_hooksInstalled = __sanitizer_install_malloc_and_free_hooks(OnAllocate, OnFree);

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Takes bytes from the fuzz data; zeros once it runs out.
class Data {
public:
    Data(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t Byte() { return m_position < m_size ? m_data[m_position++] : 0; }
    bool Empty() const { return m_position >= m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// Code points the text is made of: few, so separators and line breaks meet often.
constexpr char32_t kAlphabet[] = {U'a', U'b', U' ',      U'\t',     U'\r',         U'\n',
                                  U';', U'|', U'\u00E9', U'\u263A', U'\U0001F600', U'x'};

std::u32string ReplaceAll(const std::u32string& text, const std::u32string& from, const std::u32string& to) {
    if (from.empty()) {
        return text;
    }
    std::u32string result;
    std::size_t i = 0;
    for (std::size_t hit; (hit = text.find(from, i)) != std::u32string::npos; i = hit + from.size()) {
        result += text.substr(i, hit - i) + to;
    }
    return result + text.substr(i);
}

// The rules on the whole text at once: the line reader, collapsing and replace-all per line, or the block mode's
// replace-alls in their order.
std::u32string Model(const std::u32string& input, const std::u32string& separator, const std::u32string& replacement,
                     bool lineMode, bool collapse) {
    if (!lineMode) {
        std::u32string text = ReplaceAll(ReplaceAll(input, U"\r\n", U"\n"), U"\r\n", U"\n");
        return ReplaceAll(ReplaceAll(text, U"\r", U"\n"), separator, replacement);
    }
    std::u32string out;
    std::size_t i = 0;
    while (i < input.size()) {
        const std::size_t end = input.find_first_of(U"\r\n", i);
        std::u32string line = input.substr(i, end == std::u32string::npos ? std::u32string::npos : end - i);
        if (collapse) {
            while (line.find(U"  ") != std::u32string::npos) {
                line = ReplaceAll(line, U"  ", U" ");
            }
            while (!line.empty() && line.back() == U' ') {
                line.pop_back();
            }
        }
        out += ReplaceAll(line, separator, replacement) + U"\r\n";
        if (end == std::u32string::npos) {
            break;
        }
        i = end + ((input[end] == U'\r' && end + 1 < input.size() && input[end + 1] == U'\n') ? 2 : 1);
    }
    return out;
}

std::string Utf8(const std::u32string& text) {
    std::string out;
    for (const char32_t cp : text) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

void PutUnit(std::string& out, std::uint32_t unit, int bytes, bool bigEndian) {
    for (int k = 0; k < bytes; ++k) {
        const int shift = bigEndian ? 8 * (bytes - 1 - k) : 8 * k;
        out += static_cast<char>((unit >> shift) & 0xFF);
    }
}

// The text as the file's bytes in the encoding, mark first. Without a mark the text goes as UTF-8 bytes, which
// the engine passes through unchanged.
std::string Encode(const std::u32string& text, tabulane::TextEncoding encoding) {
    using tabulane::TextEncoding;
    std::string out = tabulane::ByteOrderMark(encoding);
    switch (encoding) {
        case TextEncoding::None:
        case TextEncoding::Utf8:
            return out + Utf8(text);
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE:
            for (const char32_t cp : text) {
                const bool big = encoding == TextEncoding::Utf16BE;
                if (cp >= 0x10000) {
                    PutUnit(out, 0xD800 + ((cp - 0x10000) >> 10), 2, big);
                    PutUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF), 2, big);
                } else {
                    PutUnit(out, cp, 2, big);
                }
            }
            return out;
        case TextEncoding::Utf32LE:
        case TextEncoding::Utf32BE:
            for (const char32_t cp : text) {
                PutUnit(out, cp, 4, encoding == TextEncoding::Utf32BE);
            }
            return out;
    }
    return out;
}

// Serves the input in reads whose sizes come from the fuzz data; the pattern repeats `repeats` times, so a long
// input needs no memory of its own.
class PatternReader final : public tabulane::ByteReader {
public:
    PatternReader(std::string head, std::string pattern, std::size_t repeats, std::string sizes)
        : m_head(std::move(head)), m_pattern(std::move(pattern)), m_repeats(repeats), m_sizes(std::move(sizes)) {}

    std::size_t Read(char* buffer, std::size_t size) override {
        std::size_t limit = size;
        if (!m_sizes.empty()) {
            limit = std::min<std::size_t>(size, static_cast<unsigned char>(m_sizes[m_reads++ % m_sizes.size()]) + 1);
        }
        // Copied a run at a time: byte by byte, the reader's own compares (traced for coverage) cost more than the
        // conversion it feeds.
        std::size_t done = 0;
        while (done < limit) {
            if (m_headAt < m_head.size()) {
                const std::size_t count = std::min(limit - done, m_head.size() - m_headAt);
                std::memcpy(buffer + done, m_head.data() + m_headAt, count);
                m_headAt += count;
                done += count;
            } else if (!m_pattern.empty() && m_repeat < m_repeats) {
                const std::size_t count = std::min(limit - done, m_pattern.size() - m_at);
                std::memcpy(buffer + done, m_pattern.data() + m_at, count);
                m_at += count;
                done += count;
                if (m_at == m_pattern.size()) {
                    m_at = 0;
                    ++m_repeat;
                }
            } else {
                break;
            }
        }
        return done;
    }

private:
    std::string m_head;
    std::string m_pattern;
    std::size_t m_repeats;
    std::string m_sizes;
    std::size_t m_reads = 0;
    std::size_t m_headAt = 0;
    std::size_t m_at = 0;
    std::size_t m_repeat = 0;
};

class StringWriter final : public tabulane::ByteWriter {
public:
    explicit StringWriter(bool keep) : m_keep(keep) {}
    void Write(const char* data, std::size_t size) override {
        if (m_keep) {
            written.append(data, size);
        }
        length += size;
    }
    void Commit() override {}
    std::string written;
    std::size_t length = 0;

private:
    bool m_keep;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using tabulane::TextEncoding;
    Data data(bytes, size);
    const std::uint8_t flags = data.Byte();
    constexpr TextEncoding kEncodings[] = {TextEncoding::None,    TextEncoding::Utf8,    TextEncoding::Utf16LE,
                                           TextEncoding::Utf16BE, TextEncoding::Utf32LE, TextEncoding::Utf32BE};
    const TextEncoding encoding = kEncodings[(flags & 7) % 6];
    const bool commaSpace = (flags & 8) != 0;
    const bool longRun = (flags & 0xF0) == 0xF0;  // one input in sixteen checks memory on a long text
    // At least 64 bytes, so that the vector kernels get whole vectors to work on; reads still end anywhere (the
    // read sizes below). Long runs read 256 bytes to 1 KiB: small blocks keep the text that outgrows the heap bound
    // short, and so the run fast. The same byte picks the kernels' width (none: the portable code), so every kernel
    // meets the model.
    const std::uint8_t sizeByte = data.Byte();
    const std::size_t bufferSize = std::size_t{1} << (longRun ? 8 + sizeByte % 3 : 6 + sizeByte % 7);
    constexpr unsigned kWidths[] = {64, 32, 16, 0};
    tabulane::LimitVectorWidth(kWidths[(sizeByte >> 4) & 3]);

    // The separator: a line break (block mode) or a few code points of the alphabet.
    std::u32string separator;
    const std::uint8_t separatorKind = data.Byte();
    if (separatorKind % 5 == 0) {
        constexpr const char32_t* kBreaks[] = {U"\r", U"\n", U"\r\n"};
        separator = kBreaks[(separatorKind / 5) % 3];
    } else {
        const std::size_t length = 1 + (separatorKind >> 6);
        for (std::size_t i = 0; i < length; ++i) {
            separator += kAlphabet[data.Byte() % std::size(kAlphabet)];
        }
    }
    const bool lineMode = separator != U"\r" && separator != U"\n" && separator != U"\r\n";
    const bool collapse = lineMode && separator == U" ";
    const std::u32string replacement = commaSpace ? U", " : U",";

    std::string sizes;
    for (std::uint8_t n = data.Byte() % 8; n > 0; --n) {
        sizes += static_cast<char>(data.Byte());
    }
    std::u32string text;
    while (!data.Empty() && text.size() < 4096) {
        text += kAlphabet[data.Byte() % std::size(kAlphabet)];
    }

    tabulane::ConversionOptions options;
    options.separator = Utf8(separator);
    options.replacement = Utf8(replacement);
    options.lineMode = lineMode;
    options.collapseSpaces = collapse;
    options.bufferSize = bufferSize;

    if (!longRun) {
        const std::string file = Encode(text, encoding);
        tabulane::MarkedInput input(std::make_unique<PatternReader>(file, "", 0, sizes));
        // No code point of the alphabet begins with bytes of a mark, so the mark read is the one written.
        options.encoding = input.Encoding();
        Check(options.encoding == encoding);
        StringWriter output(true);
        tabulane::ConvertText(input, output, options);
        Check(output.written == Encode(Model(text, separator, replacement, lineMode, collapse), encoding));
        return 0;
    }

    // A long text made of the pattern repeated: the heap during the conversion must not grow with it. What it may
    // take grows with the block: the block read, and the output's room, up to four units out for each unit in, held
    // twice over while that room grows (about 13 blocks in all), with a few kilobytes for the converter itself. The
    // text is twice the bound, so a conversion holding a line or its output whole breaks it.
    const std::size_t heapBound = 16 * bufferSize + (std::size_t{8} << 10);
    const std::string mark = tabulane::ByteOrderMark(encoding);
    std::string pattern = Encode(text, encoding).substr(mark.size());
    if (pattern.empty()) {
        return 0;
    }
    // The same text, served in runs of some kilobytes rather than of a few bytes.
    for (const std::string once = pattern; pattern.size() < 4096;) {
        pattern += once;
    }
    const std::size_t repeats = 2 * heapBound / pattern.size() + 1;
    tabulane::MarkedInput input(std::make_unique<PatternReader>(mark, pattern, repeats, ""));
    options.encoding = input.Encoding();
    StringWriter output(false);
    const std::size_t before = g_live.load();
    g_peak.store(before);
    tabulane::ConvertText(input, output, options);
    const std::size_t grown = g_peak.load() - before;
    Check(g_hooksInstalled != 0 && grown <= heapBound);
    Check(output.length > 0);
    return 0;
}
