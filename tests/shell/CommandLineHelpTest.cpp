#include "shell/CommandLineHelp.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/FakeMessageBoxes.h"

namespace tabulane {
namespace {

TEST(CommandLineHelp, ShowsTheUsageInAPlainBoxCaptionedWithTheApplicationTitle) {
    test::FakeMessageBoxes boxes;
    ErrorReporter reporter(boxes);
    PushButton4_Click(reporter, boxes, "Tabulane", [] { return std::string("Usage:\r\n\r\n..."); });
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].text, "Usage:\r\n\r\n...");
    EXPECT_EQ(boxes.shown[0].caption, "Tabulane");
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::None);
    EXPECT_EQ(boxes.shown[0].buttons, BoxButtons::Ok);
}

TEST(CommandLineHelp, AFailureIsReportedUnderTheButtonsOwnLocation) {
    test::FakeMessageBoxes boxes;
    ErrorReporter reporter(boxes);
    PushButton4_Click(reporter, boxes, "Tabulane", []() -> std::string { throw std::runtime_error("no text"); });
    ASSERT_EQ(boxes.ErrorTexts().size(), 1U);
    EXPECT_EQ(boxes.ErrorTexts()[0].rfind("no text\r\nin Tabulane2021/08/31.Form1.PushButton4_Click at line 100", 0),
              0U);
}

}  // namespace
}  // namespace tabulane
