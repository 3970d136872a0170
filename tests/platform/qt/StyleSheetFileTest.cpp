#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringDecoder>
#include <algorithm>
#include <random>
#include <string>

#include "platform/PlatformError.h"
#include "platform/StyleSheetFile.h"

namespace tabulane {
namespace {

bool Accepted(const std::string& text) {
    try {
        CheckStyleSheet(text);
        return true;
    } catch (const PlatformError&) {
        return false;
    }
}

// The Qt-free check against Qt's own decoder, which the window's skin used to check with: random byte strings
// rich in the bytes where UTF-8 goes wrong (leads, continuations, surrogates, the top of the range).
TEST(CheckStyleSheet, AcceptsExactlyTheUtf8QtDecodes) {
    const unsigned char interesting[] = {'a',  '{',  '}',  0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1,
                                         0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF, 0xEF, 0xBB};
    std::mt19937 random(20261209);
    int rejected = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text(random() % 6, '\0');
        for (char& byte : text) {
            byte = static_cast<char>(interesting[random() % sizeof interesting]);
        }
        std::string balanced = text;
        balanced.erase(std::remove(balanced.begin(), balanced.end(), '{'), balanced.end());
        balanced.erase(std::remove(balanced.begin(), balanced.end(), '}'), balanced.end());
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder(QByteArray::fromStdString(balanced));
        EXPECT_EQ(Accepted(balanced), !decoder.hasError()) << QByteArray::fromStdString(balanced).toHex().toStdString();
        rejected += decoder.hasError() ? 1 : 0;
    }
    EXPECT_GT(rejected, 1000);
    EXPECT_LT(rejected, 19000);
}

TEST(CheckStyleSheet, BracesMustBalanceOutsideCommentsAndStrings) {
    EXPECT_TRUE(Accepted("QWidget { color: red; } /* { */ QLabel { qproperty-text: \"}\\\"\"; }"));
    for (const std::string text : {"QWidget {", "}{", "a { /* }", "a { \"}", "/* open"}) {
        EXPECT_FALSE(Accepted(text)) << text;
    }
}

}  // namespace
}  // namespace tabulane
