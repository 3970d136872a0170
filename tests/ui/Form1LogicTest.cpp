#include "ui/Form1Logic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "support/FakeNativeWindow.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

// The window's rules without any toolkit: what a native window that only keeps state ends up showing.
class Form1LogicTest : public ::testing::Test {
protected:
    Form1LogicTest() { fake.environment.programFolder = programFolder.Path().string(); }

    std::map<std::string, std::string>& Stored() { return fake.settings.values; }

    test::TempDir programFolder;
    test::FakePlatform fake;
    test::FakeNativeWindow native;
    int ends = 0;
    Form1Logic logic{fake.platform, native, [this] { ++ends; }};
};

TEST_F(Form1LogicTest, FillingTheModeBoxSelectsNothingUntilTheStoredModeIsSet) {
    logic.AddComboItem("Tabs To Commas");
    EXPECT_EQ(native.comboSelection, -1);
    EXPECT_EQ(native.ControlText("Combo1"), "");
    struct Case {
        const char* stored;
        int selection;
    };
    for (const Case& c : {Case{"Spaces To Commas", 1}, Case{"Semicolons To Commas", -1}, Case{"", -1}}) {
        SCOPED_TRACE(c.stored);
        test::FakePlatform f;
        test::FakeNativeWindow n;
        f.settings.values = {{"Combo", c.stored}};
        Form1Logic local(f.platform, n, {});
        local.Load({});
        EXPECT_EQ(n.comboItems.size(), 8U);
        EXPECT_EQ(n.comboSelection, c.selection);
        EXPECT_EQ(n.ControlText("Combo1"), c.stored);
        // The only mode ever stored is the one read back.
        for (const auto& [key, value] : f.settings.writes) {
            if (key == "Combo") {
                EXPECT_EQ(value, c.stored);
            }
        }
    }
}

TEST_F(Form1LogicTest, SelectingAnOptionClearsTheOtherAndAStoredStateMayClearBoth) {
    Stored() = {{"Option1", "False"}, {"Option2", "False"}};
    logic.Load({});
    EXPECT_FALSE(native.IsChecked("Option1"));
    EXPECT_FALSE(native.IsChecked("Option2"));
    logic.SetOption2Selected(true);
    EXPECT_FALSE(native.IsChecked("Option1"));
    EXPECT_TRUE(native.IsChecked("Option2"));
    logic.SetOption1Selected(true);
    EXPECT_TRUE(native.IsChecked("Option1"));
    EXPECT_FALSE(native.IsChecked("Option2"));
}

TEST_F(Form1LogicTest, TheProgressValueIsHeldWithinTheBarsRange) {
    const std::pair<double, int> cases[] = {{-5, 0},
                                            {0, 0},
                                            {42.4, 42},
                                            {42.6, 43},
                                            {100, 100},
                                            {250, 100},
                                            {std::numeric_limits<double>::quiet_NaN(), 0},
                                            {std::numeric_limits<double>::infinity(), 100}};
    for (const auto& [percent, shown] : cases) {
        logic.SetProgressValue(percent);
        EXPECT_EQ(native.progressValue, shown) << percent;
    }
}

TEST_F(Form1LogicTest, AChangeTheProgramMakesToTheFolderBoxIsStoredOnlyWhenItChangesSomething) {
    logic.SetText1Text("/out/");
    logic.SetText1Text("/out/");
    EXPECT_EQ(fake.settings.writes, (std::vector<std::pair<std::string, std::string>>{{"Output Folder", "/out/"}}));
}

TEST_F(Form1LogicTest, ADisabledFrameDisablesEverythingInItAndTheMouseOverThemIsTheFramesArrow) {
    logic.Load({});
    logic.SetFrame3Enabled(false);
    for (const char* name : {"Frame3", "Text1", "PushButton8"}) {
        EXPECT_EQ(native.disabled.count(name), 1U) << name;
    }
    EXPECT_EQ(native.disabled.size(), 3U);
    logic.MouseMove("PushButton1");
    EXPECT_EQ(logic.Pointer(), MousePointer::Custom);
    logic.MouseMove("PushButton8");
    EXPECT_EQ(logic.Pointer(), MousePointer::Default);
    EXPECT_EQ(native.shownPointer, MousePointer::Default);

    logic.SetFrame3Enabled(true);
    EXPECT_TRUE(native.disabled.empty());
    logic.MouseMove("PushButton8");
    EXPECT_EQ(native.shownPointer, MousePointer::Custom);
}

TEST_F(Form1LogicTest, EventsAreHandledByNameUnderTheirOwnLocationText) {
    logic.Load({});
    logic.Click("PushButton4");
    ASSERT_EQ(fake.boxes.shown.size(), 1U);
    EXPECT_EQ(fake.boxes.shown[0].text, UsageText2());
    // Events without a handler do nothing.
    logic.Click("Frame1");
    logic.Change("Option1");
    logic.DoubleClick("Text1");
    EXPECT_EQ(fake.boxes.shown.size(), 1U);

    fake.settings.failSaves = true;
    for (const char* control : {"Text1", "Combo1"}) {
        logic.Change(control);
    }
    logic.Click("Option1");
    logic.Click("Combo1");
    logic.Drop("ListView1", {.offersFileList = true, .paths = {programFolder.File("gone.txt")}});
    std::vector<std::string> locations;
    for (const std::string& text : fake.boxes.ErrorTexts()) {
        locations.push_back(text.substr(text.find("in "), text.find("\r\r") - text.find("in ")));
    }
    EXPECT_EQ(locations, (std::vector<std::string>{
                             "in Tabulane2021/08/31.Form1.Text1_Change at line 100",
                             "in Tabulane2021/08/31.Form1.Combo1_Change at line 100",
                             "in Tabulane2021/08/31.Form1.Option1_Click at line 100",
                             "in Tabulane2021/08/31.Form1.Combo1_Click at line 100",
                             "in Tabulane2021/08/31.Form1.DropOnList at line 100",
                         }));
}

TEST_F(Form1LogicTest, TheDeleteKeyRemovesTheSelectedEntryAndOtherKeysDoNot) {
    logic.Load({});
    for (const char* path : {"/a", "/b", "/c"}) {
        logic.List().Append(path);
    }
    native.selectedRow = 2;
    logic.KeyDown("ListView1", 'D');
    logic.KeyDown("ListView1", 8);
    EXPECT_EQ(logic.List().Count(), 3);
    logic.KeyDown("ListView1", 46);
    ASSERT_EQ(logic.List().Count(), 2);
    EXPECT_EQ(logic.List().EntryText(2), "/c");
}

TEST_F(Form1LogicTest, OnlyAFileListMayBeDroppedWithTheEffectTheSourceProposes) {
    EXPECT_EQ(logic.DragOver("ListView1", {.offersFileList = false, .paths = {}}, 1), 0);
    EXPECT_EQ(logic.DragOver("ListView1", {.offersFileList = true, .paths = {"/a"}}, 1), 1);
    EXPECT_EQ(logic.DragOver("ListView1", {.offersFileList = true, .paths = {"/a"}}, 2), 2);
    EXPECT_EQ(logic.DragOver("PushButton2", {.offersFileList = true, .paths = {"/a"}}, 1), 0);
}

TEST_F(Form1LogicTest, ASkinNamesTheDesignsControlsAndAnyOtherNameIsNoObject) {
    std::vector<std::string> names;
    for (const WindowControl& control : logic.Controls()) {
        names.push_back(control.name);
    }
    EXPECT_EQ(names.size(), 18U);
    logic.SetControlBackColor("Frame5", kButtonFaceColor);
    EXPECT_EQ(native.backColors.at("Frame5"), kButtonFaceColor);
    try {
        logic.SetControlBackColor("Frame4", kButtonFaceColor);
        ADD_FAILURE() << "no error for a control the window does not have";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.Number(), 424);
    }
}

TEST_F(Form1LogicTest, ClosingEndsTheProgram) {
    logic.Load({});
    logic.Close();
    EXPECT_EQ(ends, 1);
}

}  // namespace
}  // namespace tabulane
