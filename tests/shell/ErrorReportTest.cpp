#include "shell/ErrorReport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "shell/Globals.h"
#include "support/FakeMessageBoxes.h"

namespace tabulane {
namespace {

using test::FakeMessageBoxes;

TEST(ErrorReport, ComposesTheTextByteForByte) {
    const std::string expected = std::string("File not found\r\nin Tabulane2021/08/31.Form1.Form_Load at line 270") +
                                 "\r\rPlease email screenshot of this message to " + kSupportAddress;
    EXPECT_EQ(ComposeErrorText("File not found", "Tabulane2021/08/31.Form1.Form_Load", 270), expected);
}

TEST(ErrorReport, LocationNamesProjectModuleAndOperation) {
    EXPECT_EQ(MakeLocation("Form1", "Form_Load"), "Tabulane2021/08/31.Form1.Form_Load");
    EXPECT_EQ(MakeLocation("AddFolder", "GetSubDirectories2016", "Marlowdin"),
              "Marlowdin2021/08/31.AddFolder.GetSubDirectories2016");
}

TEST(ErrorReport, ShowsAnExclamationBoxWithOkCaptionedApplicationError) {
    FakeMessageBoxes boxes;
    ErrorReporter reporter(boxes);
    EXPECT_EQ(reporter.ReportCount(), 0);

    reporter.Report("Permission denied", "Tabulane2021/08/31.Form1.PushButton2_Click", 104);

    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].caption, "Application Error");
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Exclamation);
    EXPECT_EQ(boxes.shown[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(boxes.shown[0].text,
              ComposeErrorText("Permission denied", "Tabulane2021/08/31.Form1.PushButton2_Click", 104));
    EXPECT_EQ(reporter.ReportCount(), 1);
}

TEST(ErrorTrap, AFailingFirstStepReportsLine100) {
    FakeMessageBoxes boxes;
    ErrorReporter reporter(boxes);
    ErrorTrap trap(reporter, "Form1", "Form_Load");

    EXPECT_FALSE(trap.Step(100, [] { throw PlatformError(ErrorNumber::kFileNotFound, "File not found"); }));

    ASSERT_EQ(boxes.ErrorTexts().size(), 1U);
    EXPECT_EQ(boxes.ErrorTexts()[0], ComposeErrorText("File not found", "Tabulane2021/08/31.Form1.Form_Load", 100));
}

TEST(ErrorTrap, TwoFailuresGiveTwoBoxesAndLaterStepsStillRun) {
    FakeMessageBoxes boxes;
    ErrorReporter reporter(boxes);
    ErrorTrap trap(reporter, "AddRemove", "ConvertToCSVInFile");
    std::vector<int> ran;

    EXPECT_TRUE(trap.Step(100, [&] { ran.push_back(100); }));
    EXPECT_FALSE(trap.Step(102, [&] {
        ran.push_back(102);
        throw std::runtime_error("first");
    }));
    EXPECT_TRUE(trap.Step(104, [&] { ran.push_back(104); }));
    EXPECT_FALSE(trap.Step(106, [&] {
        ran.push_back(106);
        throw PlatformError(ErrorNumber::kPermissionDenied, "second");
    }));
    EXPECT_TRUE(trap.Step(108, [&] { ran.push_back(108); }));

    EXPECT_EQ(ran, (std::vector<int>{100, 102, 104, 106, 108}));
    const std::string location = "Tabulane2021/08/31.AddRemove.ConvertToCSVInFile";
    EXPECT_EQ(boxes.ErrorTexts(), (std::vector<std::string>{ComposeErrorText("first", location, 102),
                                                            ComposeErrorText("second", location, 106)}));
    EXPECT_EQ(reporter.ReportCount(), 2);
}

TEST(ErrorTrap, ReportsEveryKindOfFailureAndLetsNothingEscape) {
    FakeMessageBoxes boxes;
    ErrorReporter reporter(boxes);
    ErrorTrap trap(reporter, "Form1", "PushButton3_Click");

    EXPECT_FALSE(trap.Step(100, [] { throw PlatformError(ErrorNumber::kPathNotFound, "Path not found"); }));
    EXPECT_FALSE(trap.Step(102, [] { throw std::out_of_range("Subscript out of range"); }));
    EXPECT_FALSE(trap.Step(104, [] { throw std::bad_alloc(); }));
    EXPECT_FALSE(trap.Step(106, [] { throw 42; }));

    const auto texts = boxes.ErrorTexts();
    ASSERT_EQ(texts.size(), 4U);
    EXPECT_EQ(texts[0].substr(0, texts[0].find('\r')), "Path not found");
    EXPECT_EQ(texts[1].substr(0, texts[1].find('\r')), "Subscript out of range");
    EXPECT_EQ(texts[2].substr(0, texts[2].find('\r')), "Out of memory");
    EXPECT_NE(texts[3].find("at line 106\r\r"), std::string::npos);
    EXPECT_EQ(reporter.ReportCount(), 4);
}

TEST(ErrorTrap, TrapsOfOneReporterShareItsCount) {
    FakeMessageBoxes boxes;
    ErrorReporter reporter(boxes);
    ErrorTrap outer(reporter, "Form1", "Form_Load");
    ErrorTrap inner(reporter, "AddRemove", "ConvertCSVFSO");

    outer.Step(150, [&] { inner.Step(100, [] { throw std::runtime_error("inner"); }); });
    outer.Step(270, [] { throw std::runtime_error("outer"); });

    EXPECT_EQ(reporter.ReportCount(), 2);
    EXPECT_NE(boxes.ErrorTexts().at(0).find("AddRemove.ConvertCSVFSO at line 100"), std::string::npos);
    EXPECT_NE(boxes.ErrorTexts().at(1).find("Form1.Form_Load at line 270"), std::string::npos);
}

TEST(ApplicationTitle, CutsTheLastWordAtLeastOnceThenWhileLongerThan40) {
    struct Case {
        std::string title;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"Tabulane", "Tabulane"},
        {"Tabulane Converter", "Tabulane"},
        // 30 characters: one word goes although it is short enough already.
        {"Tabulane Text To CSV Converter", "Tabulane Text To CSV"},
        // Exactly 40 after the first cut: stays.
        {std::string(40, 'a') + " tail", std::string(40, 'a')},
        // 41 after the first cut: cut again.
        {std::string(36, 'a') + " bcde tail", std::string(36, 'a')},
        {"Quillfen Tabulane Batch Text To Comma Separated Values File Converter Deluxe Edition",
         "Quillfen Tabulane Batch Text To Comma"},
        // A single long word cannot be cut and is used whole.
        {std::string(60, 'x'), std::string(60, 'x')},
        {std::string(50, 'x') + " y", std::string(50, 'x')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakeApplicationTitle(c.title), c.expected) << c.title;
    }
}

TEST(ApplicationTitle, CountsCharactersNotBytes) {
    // 36 characters (69 bytes) after the first cut: no further cut.
    const std::string ten = "ÄÄÄÄÄÄÄÄÄÄ";
    EXPECT_EQ(MakeApplicationTitle(ten + " " + ten + " " + ten + " ÄÄÄ ÖÖ"), ten + " " + ten + " " + ten + " ÄÄÄ");
}

TEST(ApplicationTitle, TheProductTitleIsUsedWhole) {
    EXPECT_EQ(MakeApplicationTitle(kProductTitle), "Tabulane");
}

}  // namespace
}  // namespace tabulane
