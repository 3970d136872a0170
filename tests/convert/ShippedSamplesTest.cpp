#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "convert/AddRemove.h"
#include "convert/Modes.h"
#include "platform/FileSystem.h"
#include "support/FakeMessageBoxes.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempDir;
using Entries = std::vector<std::string>;

// The files shipped in samples/: each converts in every mode without a failure, and the one made for a mode gives
// the table it holds, checked against a plain line-by-line model of the mode.
TEST(ShippedSamples, ConvertInEveryMode) {
    const fs::path samples = TABULANE_SAMPLES_DIR;
    struct Sample {
        const char* name;
        SeparatorKind madeFor;
    };
    const std::vector<Sample> shipped = {
        {"orders-tab-separated.txt", SeparatorKind::Tab},
        {"stock-report-space-aligned.txt", SeparatorKind::Space},
        {"city-names-one-per-line.txt", SeparatorKind::LineFeed},
        {"contacts-semicolon-separated.txt", SeparatorKind::X},
        {"greetings-utf16-tab-separated.txt", SeparatorKind::Tab},
    };
    Entries present;
    for (const auto& entry : fs::directory_iterator(samples)) {
        present.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(present.size(), shipped.size()) << "a sample without a check";

    // The model: lines split at LF (a CR before it dropped), space runs collapsed for the space modes.
    const auto model = [](std::string text, SeparatorKind kind, const std::string& replacement) {
        std::string out;
        std::size_t begin = 0;
        while (begin < text.size()) {
            std::size_t end = text.find('\n', begin);
            std::string line = text.substr(begin, end - begin);
            begin = end == std::string::npos ? text.size() : end + 1;
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            const std::string separator = kind == SeparatorKind::Tab ? "\t" : kind == SeparatorKind::Space ? " " : ";";
            std::string replaced;
            for (std::size_t i = 0; i < line.size(); ++i) {
                if (line.compare(i, separator.size(), separator) != 0) {
                    replaced += line[i];
                    continue;
                }
                replaced += replacement;
                while (kind == SeparatorKind::Space && i + 1 < line.size() && line[i + 1] == ' ') {
                    ++i;
                }
            }
            out += kind == SeparatorKind::LineFeed ? line + replacement : replaced + "\r\n";
        }
        return out;
    };

    TempDir out;
    test::FakeMessageBoxes boxes;
    ErrorReporter reporter(boxes);
    NativeFileSystem files;
    ConversionServices services{reporter, files};
    for (const Sample& sample : shipped) {
        const std::string input = (samples / sample.name).string();
        const std::string bytes = ReadFileBytes(input);
        ASSERT_FALSE(bytes.empty()) << sample.name;
        const bool utf16 = bytes.compare(0, 2, "\xff\xfe") == 0;
        for (const ConversionMode& mode : kConversionModes) {
            const auto arguments = ChooseArguments(mode.caption, ";");
            ASSERT_TRUE(arguments.has_value());
            const std::string output = out.File(std::string(sample.name) + "." + std::string(mode.caption) + ".csv");
            ConvertToCSVInFile(services, input, arguments->separator, arguments->commaSpace, output,
                               arguments->collapseSpaces);
            ASSERT_TRUE(fs::exists(output)) << sample.name << " in " << mode.caption;
            if (mode.separator != sample.madeFor) {
                continue;
            }
            const std::string replacement = mode.commaSpace ? ", " : ",";
            if (utf16) {
                // Tabs are the only code units 09 00: the output is the input with each replaced, and CR LF kept.
                std::string expected = bytes;
                std::string wide;
                for (const char c : replacement) {
                    wide += c, wide += '\0';
                }
                for (std::size_t at = 2; (at = expected.find(std::string("\t\0", 2), at)) != std::string::npos;) {
                    expected.replace(at, 2, wide);
                    at += wide.size();
                }
                EXPECT_EQ(ReadFileBytes(output), expected) << sample.name << " in " << mode.caption;
            } else {
                EXPECT_EQ(ReadFileBytes(output), model(bytes, sample.madeFor, replacement))
                    << sample.name << " in " << mode.caption;
            }
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace tabulane
