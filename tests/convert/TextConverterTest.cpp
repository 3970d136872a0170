#include "convert/TextConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "convert/ByteKernels.h"
#include "support/FakeStreams.h"

namespace tabulane {
namespace {

using test::StringReader;
using test::StringWriter;

// Buffer sizes that split breaks, marks, separators and space runs at every possible place.
const std::vector<std::size_t> kBufferSizes = {1, 2, 3, 5, 7, 64, kDefaultBufferSize};

std::string ConvertOnce(const std::string& input, ConversionOptions options, std::size_t bufferSize,
                        std::size_t readChunk) {
    options.bufferSize = bufferSize;
    StringReader reader(input, readChunk);
    StringWriter writer;
    ConvertText(reader, writer, options);
    return writer.written;
}

// Converts with the portable code and again with the kernels of each vector width the processor has; where two
// differ, the result says so (and so differs from any expected text).
std::string Convert(const std::string& input, const ConversionOptions& options, std::size_t bufferSize,
                    std::size_t readChunk = static_cast<std::size_t>(-1)) {
    LimitVectorWidth(0);
    const std::string portable = ConvertOnce(input, options, bufferSize, readChunk);
    std::string differences;
    for (const unsigned width : AvailableVectorWidths()) {
        LimitVectorWidth(width);
        const std::string vector = ConvertOnce(input, options, bufferSize, readChunk);
        if (vector != portable) {
            differences += ", " + std::to_string(width) + "-byte kernels '" + vector + "'";
        }
    }
    LimitVectorWidth(64);
    return differences.empty() ? portable : "portable code gave '" + portable + "'" + differences;
}

ConversionOptions Options(std::string separator, std::string replacement, bool collapse = false) {
    ConversionOptions options;
    options.lineMode = separator != "\r" && separator != "\n" && separator != "\r\n";
    options.separator = std::move(separator);
    options.replacement = std::move(replacement);
    options.collapseSpaces = collapse;
    return options;
}

struct Case {
    const char* name;
    std::string input;
    std::string separator;
    std::string replacement;
    bool collapse;
    std::string expected;
};

// Printed by name: ctest shows the value beside the test's name, and raw bytes (heap addresses) change every run.
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class ConvertTextCases : public testing::TestWithParam<Case> {};

TEST_P(ConvertTextCases, GivesTheSameOutputForEveryBufferSize) {
    const Case& c = GetParam();
    for (const std::size_t size : kBufferSizes) {
        EXPECT_EQ(Convert(c.input, Options(c.separator, c.replacement, c.collapse), size), c.expected)
            << "buffer size " << size;
    }
    // Readers may also return fewer bytes than asked for.
    EXPECT_EQ(Convert(c.input, Options(c.separator, c.replacement, c.collapse), 64, 3), c.expected);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Engine, ConvertTextCases,
    testing::Values(Case{"TabsKeepEmptyFields", "a\tb\t\tc", "\t", ",", false, "a,b,,c\r\n"},
                    Case{"SpacesCollapseAndDropTrailing", "  a   b  ", " ", ",", true, ",a,b\r\n"},
                    Case{"SpacesLineOfOnlySpacesIsEmpty", "   \r\nx", " ", ",", true, "\r\nx\r\n"},
                    Case{"SpacesCommaSpace", "a  b", " ", ", ", true, "a, b\r\n"},
                    Case{"EntersNoFinalBreak", "a\r\nb\r\nc", "\n", ",", false, "a,b,c"},
                    Case{"EntersFinalBreakGivesFinalComma", "a\r\nb\r\n", "\n", ",", false, "a,b,"},
                    Case{"EntersMixedBreaks", "a\rb\nc\r\nd", "\n", ",", false, "a,b,c,d"},
                    Case{"EntersCrCrLfIsOneBreak", "a\r\r\nb", "\n", ",", false, "a,b"},
                    Case{"EntersThreeCrsAndLfAreTwoBreaks", "a\r\r\r\nb", "\n", ",", false, "a,,b"},
                    Case{"EntersLoneCrsAtEnd", "a\r\r", "\n", ", ", false, "a, , "},
                    Case{"EntersCommaSpace", "a\nb", "\n", ", ", false, "a, b"},
                    Case{"SeparatorCrNormalisesOnly", "a\r\nb\rc", "\r", ",", false, "a\nb\nc"},
                    Case{"SeparatorCrLfNormalisesOnly", "a\r\nb\n", "\r\n", ",", false, "a\nb\n"},
                    Case{"EmptyInputEmptyOutput", "", "\t", ",", false, ""},
                    Case{"EmptyInputBlockMode", "", "\n", ",", false, ""},
                    Case{"LastLineGetsBreak", "a\tb", "\t", ",", false, "a,b\r\n"},
                    Case{"LfBecomesCrLf", "a\nb\n", "\t", ",", false, "a\r\nb\r\n"},
                    Case{"LoneCrEndsLine", "a\rb", "\t", ",", false, "a\r\nb\r\n"},
                    Case{"CrCrLfInLineModeIsTwoLines", "a\r\r\nb", "\t", ",", false, "a\r\n\r\nb\r\n"},
                    Case{"SingleBreakIsOneEmptyLine", "\n", "\t", ",", false, "\r\n"},
                    Case{"MultiCharacterSeparatorLeftToRight", "a|||b", "||", ",", false, "a,|b\r\n"},
                    Case{"SemicolonCommaSpace", "x;;y", ";", ", ", false, "x, , y\r\n"},
                    Case{"TwoSpacesWithoutCollapse", "a  b   c", "  ", ",", false, "a,b, c\r\n"},
                    Case{"PartialSeparatorAtLineEnd", "ab|\n|c", "||", ",", false, "ab|\r\n|c\r\n"},
                    Case{"SeparatorWithBreakNeverMatchesInLines", "ax\nb", "x\n", ",", false, "ax\r\nb\r\n"},
                    Case{"CollapseWithTabSeparator", "a  \tb  ", "\t", ",", true, "a ,b\r\n"},
                    Case{"CollapseWithMultiSeparator", "a   ||b", " ||", ";", true, "a;b\r\n"},
                    Case{"NulBytesPassThrough", "a\0\tb\0"s, "\t", ",", false, "a\0,b\0\r\n"s},
                    Case{"Utf8SeparatorAcrossReads",
                         "a\xE2\x86\x92"
                         "b\xE2\x86\x92",
                         "\xE2\x86\x92", ",", false, "a,b,\r\n"},
                    Case{"InvalidBytesPassThrough", "\xFF\xC3\tz", "\t", ",", false, "\xFF\xC3,z\r\n"},
                    Case{"EmptySeparatorReplacesNothing", "a b", "", ",", false, "a b\r\n"}),
    [](const testing::TestParamInfo<Case>& row) { return row.param.name; });

// An independent, whole-text transcription of the rules: the line reader, CollapseSpaces, trailing-space
// removal and replace-all per line, or the block mode's replace-alls in their order.
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) {
        return text;
    }
    std::string result;
    std::size_t i = 0;
    for (std::size_t hit; (hit = text.find(from, i)) != std::string::npos; i = hit + from.size()) {
        result += text.substr(i, hit - i) + to;
    }
    return result + text.substr(i);
}

std::string Reference(const std::string& input, const ConversionOptions& o) {
    if (!o.lineMode) {
        std::string text = ReplaceAll(ReplaceAll(input, "\r\n", "\n"), "\r\n", "\n");
        text = ReplaceAll(text, "\r", "\n");
        return ReplaceAll(text, o.separator, o.replacement);
    }
    std::string out;
    std::size_t i = 0;
    while (i < input.size()) {
        std::size_t end = input.find_first_of("\r\n", i);
        std::string line = input.substr(i, end == std::string::npos ? std::string::npos : end - i);
        if (o.collapseSpaces) {
            while (line.find("  ") != std::string::npos) {
                line = ReplaceAll(line, "  ", " ");
            }
            while (!line.empty() && line.back() == ' ') {
                line.pop_back();
            }
        }
        out += ReplaceAll(line, o.separator, o.replacement) + "\r\n";
        if (end == std::string::npos) {
            break;
        }
        i = end + ((input[end] == '\r' && end + 1 < input.size() && input[end + 1] == '\n') ? 2 : 1);
    }
    return out;
}

TEST(ConvertText, MatchesTheWholeTextRulesOnRandomInputs) {
    std::mt19937 random(20261208);
    const std::string alphabet = "ab \t\r\n|;";
    const std::vector<ConversionOptions> modes = {
        Options("\t", ","),   Options(" ", ",", true), Options("\n", ", "),  Options("\r", ","),
        Options("||", ","),   Options("  ", ","),      Options("|;|", ", "), Options(" ", ", ", true),
        Options("\t", ", "),  Options("a", ";", true), Options("aab", ","),  Options("abab", ";"),
        Options("aaa", ", "), Options("a|a", ","),
    };
    for (int round = 0; round < 3000; ++round) {
        std::string input(random() % 40, ' ');
        for (char& c : input) {
            c = alphabet[random() % alphabet.size()];
        }
        const ConversionOptions& mode = modes[static_cast<std::size_t>(round) % modes.size()];
        const std::size_t size = 1 + random() % 9;
        ASSERT_EQ(Convert(input, mode, size), Reference(input, mode))
            << "input '" << input << "' separator '" << mode.separator << "' buffer " << size;
    }
}

TEST(ConvertText, MatchesTheWholeTextRulesOnLongRandomTexts) {
    // Long enough for the vector paths, which work on whole vectors of up to 64 bytes, with runs that cross them.
    std::mt19937 random(8122026);
    const std::vector<std::string> pieces = {"a", "bc", " ", "    ", "\r\n", "\n", "\r", "\r\r\n", "\t", "xyz "};
    const std::vector<ConversionOptions> modes = {Options(" ", ",", true), Options("\n", ","), Options(" ", ", ", true),
                                                  Options("\n", ", "), Options("\t", ",")};
    for (int round = 0; round < 400; ++round) {
        std::string input;
        const std::size_t length = random() % 3000;
        const std::size_t plainRun = 1 + random() % 40;  // long stretches of one piece kind make whole blocks
        while (input.size() < length) {
            const std::string& piece = pieces[random() % pieces.size()];
            for (std::size_t k = 0; k < (random() % plainRun) + 1; ++k) {
                input += piece;
            }
        }
        const ConversionOptions& mode = modes[static_cast<std::size_t>(round) % modes.size()];
        for (const std::size_t size : {std::size_t{17}, std::size_t{1000}, kDefaultBufferSize}) {
            ASSERT_EQ(Convert(input, mode, size), Reference(input, mode)) << "round " << round << " buffer " << size;
        }
    }
}

TEST(ConvertText, LongSelfOverlappingSeparatorsAcrossEveryReadSize) {
    // Runs of a with a different last character: every partial match falls back by one, across reads too.
    const std::string separator = std::string(40, 'a') + "b";
    const std::string input = std::string(100, 'a') + separator + std::string(39, 'a') + "\n" + separator +
                              std::string(45, 'a') + "b" + separator.substr(0, 30);
    const ConversionOptions mode = Options(separator, ",");
    for (const std::size_t size : {std::size_t{1}, std::size_t{2}, std::size_t{7}, std::size_t{40}, std::size_t{41},
                                   std::size_t{64}, kDefaultBufferSize}) {
        EXPECT_EQ(Convert(input, mode, size), Reference(input, mode)) << "buffer " << size;
    }
}

TEST(ConvertText, LongLinesAndBlocksAreStreamed) {
    // A line far longer than the buffer: the output is produced in many writes, not held whole.
    std::string line;
    for (int i = 0; i < 20000; ++i) {
        line += "field\t";
    }
    ConversionOptions options = Options("\t", ",");
    options.bufferSize = 4096;
    StringReader reader(line);
    StringWriter writer;
    ConvertText(reader, writer, options);
    EXPECT_EQ(writer.written, ReplaceAll(line, "\t", ",") + "\r\n");
    EXPECT_GT(writer.writeCalls, 10);
}

std::string Utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes;
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::string Utf32(const std::u32string& text, bool bigEndian) {
    std::string bytes;
    for (const char32_t unit : text) {
        std::string le;
        for (int i = 0; i < 4; ++i) {
            le += static_cast<char>((unit >> (8 * i)) & 0xFF);
        }
        bytes += bigEndian ? std::string(le.rbegin(), le.rend()) : le;
    }
    return bytes;
}

TEST(ConvertText, Utf16MatchesTheWholeTextRulesOnLongRandomTexts) {
    // The 16-bit kernel against the same rules: ASCII text widened unit by unit converts unit by unit.
    const auto widen = [](const std::string& text) { return Utf16(std::u16string(text.begin(), text.end()), false); };
    std::mt19937 random(9122026);
    const std::vector<std::string> pieces = {"a", "bc", " ", "    ", "\r\n", "\n", "\r", "\r\r\n", "\t", "xyz "};
    const std::vector<ConversionOptions> modes = {Options("\t", ","), Options(" ", ",", true), Options(";", ",")};
    for (int round = 0; round < 150; ++round) {
        std::string input;
        const std::size_t length = random() % 2000;
        while (input.size() < length) {
            input += pieces[random() % pieces.size()];
        }
        ConversionOptions mode = modes[static_cast<std::size_t>(round) % modes.size()];
        mode.encoding = TextEncoding::Utf16LE;
        const std::string mark = ByteOrderMark(mode.encoding);
        for (const std::size_t size : {std::size_t{9}, std::size_t{1001}, kDefaultBufferSize}) {
            ASSERT_EQ(Convert(mark + widen(input), mode, size), mark + widen(Reference(input, mode)))
                << "round " << round << " buffer " << size;
        }
    }
}

TEST(ConvertText, TextsLongerThanTheFirstBlockConvertWholeAcrossTheMoveToLargerBlocks) {
    std::mt19937 random(9122027);
    const std::vector<std::string> pieces = {"a", "bc", " ", "   ", "\r\n", "\n", "\r", "\t", "xyz"};
    std::string text;
    while (text.size() < 300000) {
        text += pieces[random() % pieces.size()];
    }
    const auto widen = [](const std::string& bytes) {
        return Utf16(std::u16string(bytes.begin(), bytes.end()), false);
    };
    for (const ConversionOptions& base : {Options("\t", ","), Options(" ", ", ", true), Options("\n", ",")}) {
        for (const bool utf16 : {false, true}) {
            ConversionOptions mode = base;
            mode.encoding = utf16 ? TextEncoding::Utf16LE : TextEncoding::None;
            const std::string mark = ByteOrderMark(mode.encoding);
            const std::string input = mark + (utf16 ? widen(text) : text);
            const std::string expected = mark + (utf16 ? widen(Reference(text, mode)) : Reference(text, mode));
            // An odd first read leaves half a 16-bit unit waiting when the blocks grow.
            for (const std::size_t first : {std::size_t{3}, std::size_t{1} << 20}) {
                StringReader reader(input);
                reader.FirstReadAtMost(first);
                StringWriter writer;
                ConvertText(reader, writer, mode);
                // Where they part, not both texts: a diff of two long texts would take the failure message down.
                const auto [got, want] =
                    std::mismatch(writer.written.begin(), writer.written.end(), expected.begin(), expected.end());
                ASSERT_TRUE(got == writer.written.end() && want == expected.end())
                    << "differs from byte " << (got - writer.written.begin()) << "; separator '" << mode.separator
                    << "' utf16 " << utf16 << " first read " << first;
            }
        }
    }
}

struct MarkCase {
    const char* name;
    TextEncoding encoding;
    std::string input;     // after the mark
    std::string expected;  // after the mark
    std::string separator;
};

void PrintTo(const MarkCase& c, std::ostream* out) {
    *out << c.name;
}

class MarkedFiles : public testing::TestWithParam<MarkCase> {};

TEST_P(MarkedFiles, KeepTheirEncodingAndMark) {
    const MarkCase& c = GetParam();
    const std::string mark = ByteOrderMark(c.encoding);
    ASSERT_EQ(
        EncodingFromMark(reinterpret_cast<const unsigned char*>((mark + c.input).data()), (mark + c.input).size()),
        c.encoding);
    ConversionOptions options = Options(c.separator, ",");
    options.encoding = c.encoding;
    for (const std::size_t size : kBufferSizes) {
        EXPECT_EQ(Convert(mark + c.input, options, size), mark + c.expected) << "buffer size " << size;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Engine, MarkedFiles,
    testing::Values(
        MarkCase{"Utf16LE", TextEncoding::Utf16LE, Utf16(u"a\tb\r\nc", false), Utf16(u"a,b\r\nc\r\n", false), "\t"},
        MarkCase{"Utf16BE", TextEncoding::Utf16BE, Utf16(u"a\tb\nc", true), Utf16(u"a,b\r\nc\r\n", true), "\t"},
        MarkCase{"Utf32LE", TextEncoding::Utf32LE, Utf32(U"a\tb\rc", false), Utf32(U"a,b\r\nc\r\n", false), "\t"},
        MarkCase{"Utf32BE", TextEncoding::Utf32BE, Utf32(U"a\tb", true), Utf32(U"a,b\r\n", true), "\t"},
        MarkCase{"Utf8", TextEncoding::Utf8, "\xC3\xA9\tb", "\xC3\xA9,b\r\n", "\t"},
        MarkCase{"Utf16EntersBlockMode", TextEncoding::Utf16LE, Utf16(u"a\r\r\nb\r", false), Utf16(u"a,b,", false),
                 "\n"},
        MarkCase{"Utf16SeparatorTranscoded", TextEncoding::Utf16LE, Utf16(u"x\u00e9y\U0001F600z", false),
                 Utf16(u"x,y\U0001F600z\r\n", false), "\xC3\xA9"},
        MarkCase{"Utf16AstralSeparator", TextEncoding::Utf16LE, Utf16(u"x\U0001F600y", false), Utf16(u"x,y\r\n", false),
                 "\xF0\x9F\x98\x80"},
        MarkCase{"Utf32SeparatorTranscoded", TextEncoding::Utf32BE, Utf32(U"1\u20ac2", true), Utf32(U"1,2\r\n", true),
                 "\xE2\x82\xAC"},
        MarkCase{"MarkAloneStaysMarkAlone", TextEncoding::Utf16LE, "", "", "\t"},
        MarkCase{"Utf8InvalidBytesAfterMarkPassThrough", TextEncoding::Utf8, "\xFF\xFE\tz", "\xFF\xFE,z\r\n", "\t"},
        MarkCase{"OddLengthUtf16KeepsTheStrayByte", TextEncoding::Utf16LE, Utf16(u"a\tb", false) + "\x41",
                 Utf16(u"a,b\r\n", false) + "\x41", "\t"},
        MarkCase{"UnpairedSurrogatePassesThrough", TextEncoding::Utf16LE,
                 Utf16(std::u16string(1, char16_t(0xD800)) + u"\tq", false),
                 Utf16(std::u16string(1, char16_t(0xD800)) + u",q\r\n", false), "\t"}),
    [](const testing::TestParamInfo<MarkCase>& row) { return row.param.name; });

TEST(EncodingFromMark, TestsTheMarksInOrderAndNeedsTheirLength) {
    struct Row {
        std::string bytes;
        TextEncoding expected;
    };
    const std::vector<Row> rows = {
        {std::string("\xFF\xFE\x00\x00", 4), TextEncoding::Utf32LE},
        {std::string("\x00\x00\xFE\xFF", 4), TextEncoding::Utf32BE},
        {"\xEF\xBB\xBF", TextEncoding::Utf8},
        {"\xFF\xFE", TextEncoding::Utf16LE},
        {std::string("\xFF\xFE\x00", 3), TextEncoding::Utf16LE},
        {"\xFE\xFF", TextEncoding::Utf16BE},
        {"\xEF\xBB", TextEncoding::None},
        {"\xFF", TextEncoding::None},
        {std::string("\x00\x00\xFE", 3), TextEncoding::None},
        {"", TextEncoding::None},
        {"abcd", TextEncoding::None},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(EncodingFromMark(reinterpret_cast<const unsigned char*>(row.bytes.data()), row.bytes.size()),
                  row.expected);
    }
}

TEST(ConvertText, AReadFailureReachesTheCallerWithTheTextBeforeItConverted) {
    ConversionOptions options = Options("\t", ",");
    StringReader reader("a\tb\nc\td\n", 2, 5);
    StringWriter writer;
    try {
        ConvertText(reader, writer, options);
        ADD_FAILURE() << "a failing read must not end as a finished conversion";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.Number(), 57);
    }
    // Whatever reached the writer is the start of the right output, never a guess at the unread rest.
    const std::string full = "a,b\r\nc,d\r\n";
    EXPECT_EQ(full.compare(0, writer.written.size(), writer.written), 0) << writer.written;
}

TEST(ConvertText, AWriteFailureEndsTheConversionWithoutFurtherWrites) {
    ConversionOptions options = Options("\t", ",");
    options.bufferSize = 8;
    StringReader reader(std::string(1000, 'x') + "\n");
    StringWriter writer(nullptr, 16);
    EXPECT_THROW(ConvertText(reader, writer, options), PlatformError);
    EXPECT_EQ(writer.failedWrites, 1);
    EXPECT_EQ(writer.written, std::string(writer.written.size(), 'x'));
}

}  // namespace
}  // namespace tabulane
