// Start-up, the command line from the window program, closing: the same scenarios for every window.
#include "cli/CommandLine.h"
#include "ui/scenarios/Scenario.h"

namespace tabulane::test {
namespace {

using StartupScenario = Scenario;

TEST_F(StartupScenario, ACleanStoreStartsWithTheFirstModeTheDesktopFolderAndTheFolderControlsEnabled) {
    window.Start();
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.Text("Form1"), "Tabulane");
    EXPECT_EQ(window.Text("Combo1"), "Tabs To Commas");
    EXPECT_EQ(window.ComboItems(),
              (std::vector<std::string>{"Tabs To Commas", "Spaces To Commas", "Enters To Commas",
                                        "X Character(s) To Commas", "Tabs To Comma-spaces", "Spaces To Comma-spaces",
                                        "Enters To Comma-spaces", "X Character(s) To Comma-spaces"}));
    EXPECT_EQ(window.Text("Text1"), DesktopWithSeparator());
    EXPECT_TRUE(window.IsChecked("Option1"));
    EXPECT_FALSE(window.IsChecked("Option2"));
    EXPECT_TRUE(window.IsEnabled("Text1"));
    EXPECT_TRUE(window.IsEnabled("PushButton8"));
    EXPECT_EQ(window.ListHeader(), "File(s)");
    EXPECT_TRUE(window.ListRows().empty());
    EXPECT_EQ(window.ProgressValue(), 0);
    EXPECT_EQ(window.Text("ProgressBar1"), "Progress Bar");
    EXPECT_EQ(window.Pointer(), MousePointer::Default);
    EXPECT_TRUE(fake.boxes.shown.empty());
    // Setting the folder box at start-up is a change of it, stored as such; no other choice is invented.
    EXPECT_EQ(Stored()["Output Folder"], DesktopWithSeparator());
    EXPECT_EQ(Stored().count("Option1"), 0U);
}

TEST_F(StartupScenario, ResultsBesideTheInputFilesStartWithTheFolderBoxAndBrowseButtonDisabled) {
    Stored() = {{"Option1", "False"}, {"Option2", "True"}};
    window.Start();
    EXPECT_FALSE(window.IsChecked("Option1"));
    EXPECT_TRUE(window.IsChecked("Option2"));
    EXPECT_FALSE(window.IsEnabled("Text1"));
    EXPECT_FALSE(window.IsEnabled("PushButton8"));
}

TEST_F(StartupScenario, BothOptionsStoredAsFalseStartWithNeitherSelected) {
    Stored() = {{"Option1", "False"}, {"Option2", "False"}};
    window.Start();
    EXPECT_FALSE(window.IsChecked("Option1"));
    EXPECT_FALSE(window.IsChecked("Option2"));
    EXPECT_FALSE(window.IsEnabled("Text1"));
}

TEST_F(StartupScenario, TheStoredModeIsSelectedAndFillingTheBoxDoesNotOverwriteIt) {
    Stored() = {{"Combo", "Enters To Comma-spaces"}};
    window.Start();
    EXPECT_EQ(window.ComboSelection(), 6);
    EXPECT_EQ(window.Text("Combo1"), "Enters To Comma-spaces");
    for (const auto& [key, value] : fake.settings.writes) {
        if (key == "Combo") {
            EXPECT_EQ(value, "Enters To Comma-spaces");
        }
    }
}

TEST_F(StartupScenario, AStoredModeTextThatNamesNoModeIsShownAsText) {
    Stored() = {{"Combo", "Semicolons To Commas"}};
    window.Start();
    EXPECT_EQ(window.Text("Combo1"), "Semicolons To Commas");
    EXPECT_EQ(window.ComboSelection(), -1);
    EXPECT_EQ(window.ComboItems().size(), 8U);
    EXPECT_EQ(Stored()["Combo"], "Semicolons To Commas");
}

TEST_F(StartupScenario, AFailingLoadStepShowsOneErrorBoxAndTheWindowStillComesUp) {
    WriteFileBytes(window.ProgramFolder() + kSeparator + "HAND-M.CUR", "not a picture");
    const StartupResult result = window.Start();
    EXPECT_FALSE(result.commandLineRan);
    const auto errors = fake.boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0].rfind("Invalid picture\r\nin Tabulane2021/08/31.Form1.Form_Load at line 106", 0), 0U);
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.Text("Form1"), "Tabulane");
    EXPECT_EQ(window.Text("Text1"), DesktopWithSeparator());
    EXPECT_TRUE(window.IsEnabled("Text1"));
}

TEST_F(StartupScenario, AFailingStoreIsReportedWhereTheFailingStepRan) {
    fake.settings.failSaves = true;
    window.Start();
    // The folder box's change handler has no trap: its failure belongs to the load step that set the box.
    const auto loadErrors = fake.boxes.ErrorTexts();
    ASSERT_EQ(loadErrors.size(), 2U);
    EXPECT_NE(loadErrors[0].find("in Tabulane2021/08/31.Form1.Form_Load at line 148"), std::string::npos);
    EXPECT_NE(loadErrors[1].find("Permission denied: settings\r\nin Tabulane2021/08/31.Form1.Form_Load at line 270"),
              std::string::npos)
        << loadErrors[1];
    EXPECT_EQ(window.Text("Text1"), DesktopWithSeparator());

    // From the event loop, a handler without a trap reports its own first step, never line 0.
    fake.boxes.shown.clear();
    window.Click("Option2");
    const auto clickErrors = fake.boxes.ErrorTexts();
    ASSERT_EQ(clickErrors.size(), 1U);
    EXPECT_NE(clickErrors[0].find("in Tabulane2021/08/31.Form1.Option2_Click at line 100"), std::string::npos)
        << clickErrors[0];
}

TEST_F(StartupScenario, StartedWithArgumentsTheWindowIsNeverShownAndTheOutputOptionsAreLeftAlone) {
    TempDir dir;
    const std::string input = dir.File("in.txt");
    const std::string output = dir.File("out.csv");
    WriteFileBytes(input, "a\tb\r\n");
    Stored() = {{"Option1", "False"}, {"Option2", "True"}, {"Output Folder", "/stored/"}};

    const StartupResult result = window.Start(input + " " + output + " TABS -c");

    EXPECT_TRUE(result.commandLineRan);
    EXPECT_EQ(result.exitStatus, kExitSuccess);
    EXPECT_FALSE(window.Visible());
    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_EQ(ReadFileBytes(output), "a,b\r\n");
    // Steps from 270 on never ran: the design state is untouched and nothing was stored.
    EXPECT_EQ(window.Text("Text1"), "");
    EXPECT_TRUE(window.IsChecked("Option1"));
    EXPECT_TRUE(window.IsEnabled("Text1"));
    // The command line stores no setting, "Combo" included.
    EXPECT_TRUE(fake.settings.writes.empty());
}

TEST_F(StartupScenario, WrongArgumentsShowTheUsageAndEndWithoutTheWindow) {
    const StartupResult result = window.Start("in.txt");
    EXPECT_TRUE(result.commandLineRan);
    EXPECT_EQ(result.exitStatus, kExitUsage);
    EXPECT_FALSE(window.Visible());
    ASSERT_EQ(fake.boxes.shown.size(), 1U);
    EXPECT_EQ(fake.boxes.shown[0].text, UsageText1());
    EXPECT_EQ(fake.boxes.shown[0].caption, "Tabulane");
}

TEST_F(StartupScenario, ClosingTheWindowEndsTheProgramWithoutStoringAnything) {
    window.Start();
    fake.settings.writes.clear();
    window.Close();
    EXPECT_EQ(window.EndProgramCalls(), 1);
    EXPECT_TRUE(fake.settings.writes.empty());
}

}  // namespace
}  // namespace tabulane::test
