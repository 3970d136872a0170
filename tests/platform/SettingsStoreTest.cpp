#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/SettingsStore.h"

namespace tabulane {
namespace {

TEST(ParseTruthValue, ReadsWordsInAnyCaseAndNumbers) {
    struct Case {
        std::string text;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"True", true}, {"false", false}, {"TRUE", true}, {"fAlSe", false},   {"1", true},
        {"0", false},   {"-1", true},     {" 1 ", true},  {" False ", false}, {"0.0", false},
        {"2", true},    {"+0", false},    {".5", true},   {"1e3", true},      {"0e5", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseTruthValue(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(ParseTruthValue, AnyOtherTextIsATypeMismatch) {
    for (const std::string text : {"yes", "", " ", "Truee", "1x", "nan", "inf", "0x1", "1e", ".", "-", "1.2.3"}) {
        try {
            ParseTruthValue(text);
            ADD_FAILURE() << '"' << text << "\" was accepted";
        } catch (const PlatformError& error) {
            EXPECT_EQ(error.Number(), ErrorNumber::kTypeMismatch) << text;
            EXPECT_EQ(error.Description(), "Type mismatch");
        }
    }
}

TEST(ParseTruthValue, ReadsBackWhatTruthTextWrites) {
    EXPECT_EQ(TruthText(true), "True");
    EXPECT_EQ(TruthText(false), "False");
    EXPECT_TRUE(ParseTruthValue(TruthText(true)));
    EXPECT_FALSE(ParseTruthValue(TruthText(false)));
}

}  // namespace
}  // namespace tabulane
