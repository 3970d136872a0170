#include "platform/Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tabulane {
namespace {

// The one reading every layer uses: what the skin check refuses, the folder scan skips and the conversion turns
// into U+FFFD must be the same bytes.
TEST(Utf8, OneRuleForValidityDecodingAndCounting) {
    constexpr char32_t kBad = U'\uFFFD';
    struct Case {
        const char* description;
        std::string text;
        std::u32string decoded;
    };
    const std::vector<Case> cases = {
        {"ASCII", "a;b", U"a;b"},
        {"two, three and four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", U"\u00E9\u20AC\U0001F600"},
        {"the highest code point", "\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
        {"an overlong slash", "\xC0\xAF", {kBad, kBad}},
        {"an overlong three-byte form", "\xE0\x80\xAF", {kBad, kBad, kBad}},
        {"a surrogate", "\xED\xA0\x80", {kBad, kBad, kBad}},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", {kBad, kBad, kBad, kBad}},
        {"a stray continuation byte", "a\x80z", {U'a', kBad, U'z'}},
        {"a sequence cut short at the end", "a\xE2\x82", {U'a', kBad, kBad}},
        {"a sequence cut short by ASCII", "\xE2\x82x", {kBad, kBad, U'x'}},
        {"a lead byte that starts nothing", "\xFF", {kBad}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        EXPECT_EQ(DecodeUtf8(c.text), c.decoded);
        EXPECT_EQ(IsValidUtf8(c.text), c.decoded.find(kBad) == std::u32string::npos);
        EXPECT_EQ(CountCharacters(c.text), c.decoded.size());
    }
}

}  // namespace
}  // namespace tabulane
