// The user's choices (output options, folder box, browse button, mode box) and the command-line help button.
#include <filesystem>

#include "cli/CommandLine.h"
#include "ui/scenarios/Scenario.h"

namespace tabulane::test {
namespace {

using ChoiceScenario = Scenario;

TEST_F(ChoiceScenario, EveryOptionClickIsStoredAtOnceAndTheFolderControlsFollowIt) {
    window.Start();
    window.Click("Option2");
    EXPECT_FALSE(window.IsChecked("Option1"));
    EXPECT_EQ(Stored()["Option1"], "False");
    EXPECT_EQ(Stored()["Option2"], "True");
    EXPECT_FALSE(window.IsEnabled("Text1"));
    EXPECT_FALSE(window.IsEnabled("PushButton8"));

    window.Click("Option1");
    EXPECT_FALSE(window.IsChecked("Option2"));
    EXPECT_EQ(Stored()["Option1"], "True");
    EXPECT_EQ(Stored()["Option2"], "False");
    EXPECT_TRUE(window.IsEnabled("Text1"));
    EXPECT_TRUE(window.IsEnabled("PushButton8"));
}

TEST_F(ChoiceScenario, EveryKeystrokeInTheFolderBoxIsStoredAtOnce) {
    window.Start();
    window.ClearText("Text1");
    EXPECT_EQ(Stored()["Output Folder"], "");
    const std::string typed = "out" + std::string(1, kSeparator) + "x";
    for (std::size_t i = 0; i < typed.size(); ++i) {
        window.TypeInto("Text1", typed.substr(i, 1));
        EXPECT_EQ(Stored()["Output Folder"], typed.substr(0, i + 1));
    }
    window.PressKey("Text1", WindowDriver::kBackspace);
    EXPECT_EQ(window.Text("Text1"), typed.substr(0, typed.size() - 1));
    EXPECT_EQ(Stored()["Output Folder"], typed.substr(0, typed.size() - 1));
}

TEST_F(ChoiceScenario, EveryPickAndEditOfTheModeBoxIsStoredAtOnce) {
    window.Start();
    window.PressKey("Combo1", WindowDriver::kDown);
    EXPECT_EQ(window.Text("Combo1"), "Spaces To Commas");
    EXPECT_EQ(Stored()["Combo"], "Spaces To Commas");

    window.ClearText("Combo1");
    window.TypeInto("Combo1", "X");
    EXPECT_EQ(Stored()["Combo"], "X");
    // Typed text is neither completed to a mode nor added to the list.
    window.PressKey("Combo1", WindowDriver::kReturn);
    EXPECT_EQ(window.Text("Combo1"), "X");
    EXPECT_EQ(window.ComboItems().size(), 8U);
}

TEST_F(ChoiceScenario, TheBrowseButtonPutsThePickedFolderInTheBoxWithOneTrailingSeparator) {
    struct Case {
        std::string picked;
        std::string shown;
    };
    const std::string data = NativePath("/data/out");
    const std::string root = NativePath("/");
    window.Start();
    for (const Case& c : {Case{data, data + kSeparator}, Case{root, root}}) {
        SCOPED_TRACE(c.picked);
        fake.folderPicker.answers = {c.picked};
        window.Click("PushButton8");
        EXPECT_EQ(window.Text("Text1"), c.shown);
        EXPECT_EQ(Stored()["Output Folder"], c.shown);
        EXPECT_EQ(Stored()["LastFolderDot"], c.picked);
    }
    ASSERT_EQ(fake.folderPicker.opened.size(), 2U);
    EXPECT_EQ(fake.folderPicker.opened[1].startFolder, data);
    EXPECT_EQ(fake.folderPicker.opened[1].title, "Please select folder:");
}

TEST_F(ChoiceScenario, CancellingThePickerLeavesTheBoxAndTheStoreUnchanged) {
    const std::string data = NativePath("/data");
    Stored() = {{"LastFolderDot", data}, {"Output Folder", data + kSeparator}};
    window.Start();
    fake.settings.writes.clear();
    window.Click("PushButton8");
    EXPECT_EQ(fake.folderPicker.opened.size(), 1U);
    EXPECT_EQ(window.Text("Text1"), data + kSeparator);
    EXPECT_TRUE(fake.settings.writes.empty());
}

TEST_F(ChoiceScenario, TheCommandLineHelpButtonShowsTheSecondUsageText) {
    window.Start();
    window.Click("PushButton4");
    ASSERT_EQ(fake.boxes.shown.size(), 1U);
    EXPECT_EQ(fake.boxes.shown[0].text, UsageText2());
    EXPECT_EQ(fake.boxes.shown[0].caption, "Tabulane");
    EXPECT_EQ(fake.boxes.shown[0].icon, BoxIcon::None);
}

TEST_F(ChoiceScenario, HelpAsksTheShellForTheQuotedHelpPageAndAFailingShellIsReportedAtItsStep) {
    window.Start();
    window.Click("PushButton5");
    const auto& calls = fake.shellExecutor.calls;
    ASSERT_EQ(calls.size(), 1U);
    EXPECT_NE(calls[0].owner, 0);
    EXPECT_FALSE(calls[0].operation.has_value());
    EXPECT_EQ(calls[0].file, "\"https://www.tabulane.com/tabulane/help/\"");
    EXPECT_FALSE(calls[0].parameters.has_value());
    EXPECT_EQ(calls[0].directory, "C:\\");
    EXPECT_EQ(calls[0].showCommand, 5);
    EXPECT_TRUE(fake.boxes.shown.empty());

    fake.shellExecutor.fail = true;
    window.Click("PushButton5");
    const auto errors = fake.boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0].rfind("File not found\r\nin Tabulane2021/08/31.Form1.PushButton5_Click at line 100\r\r", 0),
              0U);
    EXPECT_TRUE(window.Visible());
}

TEST_F(ChoiceScenario, ASkinFileIsLoadedAndAppliedThroughTheFiveCallsInOrder) {
    const std::string skin = window.ProgramFolder() + kSeparator + "x" + kSeparator + "o.cjs";
    std::filesystem::create_directories(PathFromText(window.ProgramFolder()) / "x");
    WriteFileBytes(skin, "QPushButton { color: red; }");
    fake.skinFramework.properties[1] = std::int32_t{4};
    window.Start();

    const auto& calls = fake.skinFramework.calls;
    ASSERT_EQ(calls.size(), 6U);
    EXPECT_EQ(calls[0], "Invoke 2 (\"" + skin + "\", \"\")");
    EXPECT_EQ(calls[1], "Get 1");
    EXPECT_EQ(calls[2], "Set 1 = 5");
    EXPECT_EQ(calls[3], "Set 5 = true");
    EXPECT_EQ(calls[4], "Set 10 = true");
    EXPECT_EQ(calls[5].rfind("Invoke 3 (", 0), 0U);
    EXPECT_NE(calls[5], "Invoke 3 (0)");  // the window's own handle
    EXPECT_TRUE(fake.boxes.shown.empty());
    EXPECT_EQ(window.Text("Form1"), "Tabulane");
}

TEST_F(ChoiceScenario, ASkinTheComponentRefusesIsOneLoadErrorAndTheWindowStillComesUp) {
    std::filesystem::create_directories(PathFromText(window.ProgramFolder()) / "x");
    WriteFileBytes(window.ProgramFolder() + kSeparator + "x" + kSeparator + "o.cjs", "QPushButton { color: red; }");
    fake.skinFramework.failOn = {2};
    window.Start();
    const auto errors = fake.boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0].rfind("The skin cannot be loaded\r\nin Tabulane2021/08/31.Form1.Form_Load at line 100\r\r", 0),
              0U);
    EXPECT_EQ(fake.skinFramework.calls.size(), 1U);  // nothing after the failed load
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.Text("Combo1"), "Tabs To Commas");
}

TEST_F(ChoiceScenario, TheHomePageOpensOnlyWhenTheDrawIsSevenAndOnlyForTheWindow) {
    struct Case {
        const char* what;
        double fraction;
        bool commandLine;
        bool opens;
    };
    const Case cases[] = {
        {"the lowest fraction that draws 7", 0.06, false, true},
        {"the highest fraction that draws 7", 0.0699999, false, true},
        {"a draw of 8", 0.07, false, false},
        {"a draw of 6", 0.0599999, false, false},
        {"a draw of 1", 0.0, false, false},
        {"a draw of 100", 0.9999999, false, false},
        {"a 7 for a conversion run from the command line", 0.06, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<WindowDriver> local = MakeWindowDriver();
        FakePlatform& f = local->Fake();
        f.random.fraction = c.fraction;
        f.clock.seconds = 3723.5;
        TempDir dir;
        WriteFileBytes(dir.File("in.txt"), "a\tb\n");
        local->Start(c.commandLine ? dir.File("in.txt") + " " + dir.File("out.csv") + " TABS -c" : "");

        const auto& started = f.programStarter.started;
        if (c.opens) {
            ASSERT_EQ(started.size(), 1U);
            EXPECT_EQ(started[0].commandLine, "explorer \"https://www.tabulane.com/\"");
            EXPECT_EQ(started[0].style, WindowStyle::MinimizedFocus);
            EXPECT_EQ(f.random.seeds, std::vector<double>{3723.5});
        } else {
            EXPECT_TRUE(started.empty());
        }
        if (c.commandLine) {
            EXPECT_TRUE(f.random.seeds.empty());  // not even drawn
        }
        EXPECT_TRUE(f.shell.opened.empty());
    }
}

}  // namespace
}  // namespace tabulane::test
