#include "shell/Startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/FakeMainWindow.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

const std::vector<std::string> kModes{
    "Tabs To Commas",       "Spaces To Commas",       "Enters To Commas",       "X Character(s) To Commas",
    "Tabs To Comma-spaces", "Spaces To Comma-spaces", "Enters To Comma-spaces", "X Character(s) To Comma-spaces"};

class StartupTest : public ::testing::Test {
protected:
    StartupTest() {
        fake.environment.programFolder = programFolder.Path().string();
        inputs.modeCaptions = kModes;
        inputs.defaultMode = "Tabs To Commas";
        inputs.runCommandLine = [this](const std::string& text, const std::string& title) {
            window.calls.push_back("RunCommandLine");
            ranWith.push_back(text);
            ranTitle = title;
            return commandLineStatus;
        };
        inputs.applySkin = [this] { window.calls.push_back("ApplySkin"); };
        inputs.visitHomePage = [this] { window.calls.push_back("VisitHomePage"); };
    }

    StartupResult Load() { return Form_Load(window, fake.platform, reporter, inputs); }

    void PutHandCursor() { test::WriteFileBytes(programFolder.File("HAND-M.CUR"), "cursor"); }

    test::TempDir programFolder;
    test::FakePlatform fake;
    test::FakeMainWindow window;
    ErrorReporter reporter{fake.boxes};
    StartupInputs inputs;
    std::vector<std::string> ranWith;
    std::string ranTitle;
    int commandLineStatus = 0;
};

TEST_F(StartupTest, CleanStoreStartsWithTheDefaultsAndRunsEveryStepInOrder) {
    PutHandCursor();
    const StartupResult result = Load();

    EXPECT_FALSE(result.commandLineRan);
    EXPECT_EQ(result.applicationTitle, "Tabulane");
    // The mode box is filled before its stored text selects a mode, and the frame follows the options it depends on.
    EXPECT_TRUE(window.CalledInOrder({"ApplySkin", "SetCaption", "LoadCustomCursor", "VisitHomePage", "AddListColumn",
                                      "AddComboItem", "SetComboText", "SetText1Text", "SetOption1Selected",
                                      "SetOption2Selected", "SetFrame3Enabled"}));
    EXPECT_EQ(window.caption, "Tabulane");
    EXPECT_EQ(window.cursorPath, programFolder.File("HAND-M.CUR"));
    ASSERT_EQ(window.columns.size(), 1U);
    EXPECT_EQ(window.columns[0], std::make_pair(std::string("File(s)"), 7000));
    EXPECT_EQ(window.comboItems, kModes);
    EXPECT_EQ(window.comboText, "Tabs To Commas");
    EXPECT_EQ(window.text1, test::NativePath("/home/user/Desktop/"));
    EXPECT_TRUE(window.option1);
    EXPECT_FALSE(window.option2);
    EXPECT_TRUE(window.frame3Enabled);
    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_TRUE(ranWith.empty());
}

TEST_F(StartupTest, WithoutTheHandCursorFileTheStandardPointerStaysAndNothingIsShown) {
    Load();
    EXPECT_TRUE(window.cursorPath.empty());
    EXPECT_TRUE(fake.boxes.shown.empty());
}

TEST_F(StartupTest, RestoresStoredChoices) {
    struct Case {
        const char* what;
        std::map<std::string, std::string> stored;
        std::string comboText;
        std::string text1;
        bool option1;
        bool option2;
        bool frame3Enabled;
    };
    const Case cases[] = {
        {"results beside the input files disable the folder controls",
         {{"Option1", "False"}, {"Option2", "True"}},
         "Tabs To Commas",
         test::NativePath("/home/user/Desktop/"),
         false,
         true,
         false},
        {"a stored mode and folder come back as stored",
         {{"Combo", "Enters To Comma-spaces"}, {"Output Folder", "/data/out"}},
         "Enters To Comma-spaces",
         "/data/out",
         true,
         false,
         true},
        {"a stored mode text that names no mode is shown as it is",
         {{"Combo", "tabs to commas"}},
         "tabs to commas",
         test::NativePath("/home/user/Desktop/"),
         true,
         false,
         true},
        {"truth values in any case or as numbers",
         {{"Option1", "0"}, {"Option2", "TRUE"}},
         "Tabs To Commas",
         test::NativePath("/home/user/Desktop/"),
         false,
         true,
         false},
        {"both options stored as False leave both cleared",
         {{"Option1", "False"}, {"Option2", "False"}},
         "Tabs To Commas",
         test::NativePath("/home/user/Desktop/"),
         false,
         false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::FakePlatform local;
        local.settings.values = c.stored;
        test::FakeMainWindow localWindow;
        ErrorReporter localReporter(local.boxes);
        Form_Load(localWindow, local.platform, localReporter, inputs);
        EXPECT_EQ(localWindow.comboText, c.comboText);
        EXPECT_EQ(localWindow.text1, c.text1);
        EXPECT_EQ(localWindow.option1, c.option1);
        EXPECT_EQ(localWindow.option2, c.option2);
        EXPECT_EQ(localWindow.frame3Enabled, c.frame3Enabled);
        EXPECT_TRUE(local.boxes.shown.empty());
    }
}

TEST_F(StartupTest, ADesktopAtTheRootGetsNoSecondSeparator) {
    fake.environment.desktopFolder = test::NativePath("/");
    Load();
    EXPECT_EQ(window.text1, test::NativePath("/"));
}

TEST_F(StartupTest, WithArgumentsTheCommandLineRunsAndTheOutputOptionsAreNeverTouched) {
    fake.settings.values = {{"Option1", "False"}, {"Option2", "True"}, {"Output Folder", "/stored/"}};
    inputs.argumentText = "in.txt out.csv TABS -c";
    commandLineStatus = 2;

    const StartupResult result = Load();

    EXPECT_TRUE(result.commandLineRan);
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(ranWith, std::vector<std::string>{"in.txt out.csv TABS -c"});
    EXPECT_EQ(ranTitle, "Tabulane");
    // The skin step still runs first and the mode box is filled and selected before the hand-over; nothing after it
    // runs, so the output options keep their design state.
    EXPECT_TRUE(window.CalledInOrder(
        {"ApplySkin", "SetCaption", "AddListColumn", "AddComboItem", "SetComboText", "RunCommandLine"}));
    EXPECT_EQ(window.calls.back(), "RunCommandLine");
    EXPECT_TRUE(window.text1.empty());
    EXPECT_TRUE(window.option1);
    EXPECT_FALSE(window.option2);
    EXPECT_TRUE(window.frame3Enabled);
    // A conversion run from a script never visits the home page.
    EXPECT_EQ(std::count(window.calls.begin(), window.calls.end(), "VisitHomePage"), 0);
}

TEST_F(StartupTest, ALoneSpaceIsAnArgumentTextToo) {
    inputs.argumentText = " ";
    EXPECT_TRUE(Load().commandLineRan);
    EXPECT_EQ(ranWith, std::vector<std::string>{" "});
}

TEST_F(StartupTest, ACommandLineThatFailsIsReportedAtItsStepAndStillEndsTheProgram) {
    inputs.argumentText = "in.txt";
    inputs.runCommandLine = [](const std::string&, const std::string&) -> int {
        throw std::runtime_error("parser broke");
    };
    const StartupResult result = Load();
    EXPECT_TRUE(result.commandLineRan);
    EXPECT_EQ(result.exitStatus, 1);
    ASSERT_EQ(fake.boxes.ErrorTexts().size(), 1U);
    EXPECT_NE(fake.boxes.ErrorTexts()[0].find("parser broke\r\nin Tabulane2021/08/31.Form1.Form_Load at line 152"),
              std::string::npos);
    EXPECT_TRUE(window.text1.empty());
}

// A failing step shows one box naming its number, and the load step goes on to the end.
TEST_F(StartupTest, AFailingStepIsReportedOnceAndTheRestStillRuns) {
    struct Case {
        std::string failingCall;
        int step;
    };
    const Case cases[] = {{"SetCaption", 102},         {"LoadCustomCursor", 106}, {"AddListColumn", 128},
                          {"SetComboText", 148},       {"SetText1Text", 270},     {"SetOption1Selected", 272},
                          {"SetOption2Selected", 274}, {"SetFrame3Enabled", 278}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failingCall);
        test::FakePlatform local;
        local.environment.programFolder = programFolder.Path().string();
        PutHandCursor();
        test::FakeMainWindow localWindow;
        localWindow.failOn = {c.failingCall};
        ErrorReporter localReporter(local.boxes);

        const StartupResult result = Form_Load(localWindow, local.platform, localReporter, inputs);

        EXPECT_FALSE(result.commandLineRan);
        const auto errors = local.boxes.ErrorTexts();
        ASSERT_EQ(errors.size(), 1U);
        EXPECT_NE(errors[0].find("in Tabulane2021/08/31.Form1.Form_Load at line " + std::to_string(c.step) + "\r\r"),
                  std::string::npos);
        EXPECT_EQ(local.boxes.shown[0].icon, BoxIcon::Exclamation);
        // The last step still ran (unless it is the one that failed).
        EXPECT_EQ(localWindow.calls.back(), "SetFrame3Enabled");
        EXPECT_EQ(localWindow.comboItems.size(), 8U);
    }
}

TEST_F(StartupTest, EveryModeThatCannotBeAddedIsReportedWithItsOwnStep) {
    window.failOn = {"AddComboItem"};
    Load();
    const auto errors = fake.boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 8U);
    for (int i = 0; i < 8; ++i) {
        EXPECT_NE(errors[static_cast<std::size_t>(i)].find("at line " + std::to_string(132 + 2 * i)),
                  std::string::npos);
    }
    EXPECT_TRUE(window.frame3Enabled);
}

TEST_F(StartupTest, WithoutADesktopFolderTheDefaultCannotBeBuiltAndTheFolderBoxStaysEmpty) {
    fake.environment.desktopFolder.clear();
    Load();
    const auto errors = fake.boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_NE(errors[0].find("at line 270"), std::string::npos);
    EXPECT_TRUE(window.text1.empty());
    EXPECT_TRUE(window.frame3Enabled);
}

TEST_F(StartupTest, AStoredOptionThatIsNoTruthValueIsReportedAndTheDesignStateStays) {
    fake.settings.values = {{"Option1", "yes"}};
    Load();
    const auto errors = fake.boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0].rfind("Type mismatch\r\nin Tabulane2021/08/31.Form1.Form_Load at line 272", 0), 0U);
    EXPECT_TRUE(window.option1);
    EXPECT_TRUE(window.frame3Enabled);
}

}  // namespace
}  // namespace tabulane
