#include "convert/OutputDestination.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "convert/ModeChoice.h"
#include "support/FakeMainWindow.h"
#include "support/FakePlatform.h"

namespace tabulane {
namespace {

using Writes = std::vector<std::pair<std::string, std::string>>;

class OutputDestinationTest : public ::testing::Test {
protected:
    test::FakePlatform fake;
    test::FakeMainWindow window;
    ErrorReporter reporter{fake.boxes};
};

TEST_F(OutputDestinationTest, EitherOptionClickStoresBothStatesAndEnablesTheFolderControlsWithTheFirst) {
    struct Case {
        const char* what;
        void (*click)(MainWindow&, SettingsStore&);
        bool option1;
        bool option2;
        Writes writes;
        bool frame3Enabled;
    };
    const Case cases[] = {
        {"Option2 selected", Option2_Click, false, true, {{"Option1", "False"}, {"Option2", "True"}}, false},
        {"Option1 selected", Option1_Click, true, false, {{"Option1", "True"}, {"Option2", "False"}}, true},
        {"Option1 clicked again", Option1_Click, true, false, {{"Option1", "True"}, {"Option2", "False"}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake.settings.writes.clear();
        window.frame3Enabled = !c.frame3Enabled;
        window.option1 = c.option1;
        window.option2 = c.option2;
        c.click(window, fake.settings);
        EXPECT_EQ(fake.settings.writes, c.writes);
        EXPECT_EQ(window.frame3Enabled, c.frame3Enabled);
    }
}

TEST_F(OutputDestinationTest, EveryChangeOfTheFolderBoxIsStoredAsItIsEvenHalfTyped) {
    for (const std::string text : {"/", "/d", "/da", "/no/such/folder", ""}) {
        window.text1 = text;
        Text1_Change(window, fake.settings);
        EXPECT_EQ(fake.settings.values["Output Folder"], text);
    }
    EXPECT_EQ(fake.settings.writes.size(), 5U);
}

TEST_F(OutputDestinationTest, APickedFolderGetsExactlyOneTrailingSeparatorAndIsTheNextStart) {
    struct Case {
        std::string picked;
        std::string text1;
    };
    const Case cases[] = {{"/data/out", "/data/out/"}, {"/", "/"}, {"/home/user/My Files", "/home/user/My Files/"}};
    using test::NativePath;
    std::string expectedStart;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picked);
        fake.folderPicker.answers = {NativePath(c.picked)};
        PushButton8_Click(window, fake.platform, reporter);

        ASSERT_FALSE(fake.folderPicker.opened.empty());
        EXPECT_EQ(fake.folderPicker.opened.back().title, "Please select folder:");
        EXPECT_EQ(fake.folderPicker.opened.back().startFolder, expectedStart);
        EXPECT_EQ(fake.settings.values["LastFolderDot"], NativePath(c.picked));
        EXPECT_EQ(window.text1, NativePath(c.text1));
        expectedStart = NativePath(c.picked);
    }
    EXPECT_TRUE(fake.boxes.shown.empty());
}

TEST_F(OutputDestinationTest, CancellingThePickerChangesNothing) {
    fake.settings.values = {{"LastFolderDot", "/data"}, {"Output Folder", "/data/"}};
    window.text1 = "/data/";
    PushButton8_Click(window, fake.platform, reporter);

    ASSERT_EQ(fake.folderPicker.opened.size(), 1U);
    EXPECT_EQ(fake.folderPicker.opened[0].startFolder, "/data");
    EXPECT_TRUE(fake.settings.writes.empty());
    EXPECT_TRUE(window.calls.empty());
    EXPECT_EQ(window.text1, "/data/");
    EXPECT_TRUE(fake.boxes.shown.empty());
}

class ThrowingPicker final : public FolderPicker {
public:
    std::string BrowseForFolder(const std::string&, const std::string&) override {
        throw std::runtime_error("no dialog");
    }
};

TEST_F(OutputDestinationTest, APickerThatFailsIsReportedAndTreatedAsCancelled) {
    ThrowingPicker picker;
    Platform platform = fake.With(picker);
    PushButton8_Click(window, platform, reporter);
    ASSERT_EQ(fake.boxes.ErrorTexts().size(), 1U);
    EXPECT_EQ(
        fake.boxes.ErrorTexts()[0].rfind("no dialog\r\nin Tabulane2021/08/31.Form1.PushButton8_Click at line 102", 0),
        0U);
    EXPECT_TRUE(fake.settings.writes.empty());
    EXPECT_TRUE(window.calls.empty());
}

TEST_F(OutputDestinationTest, AFolderBoxThatRefusesTheTextIsReportedAfterThePickWasStored) {
    fake.folderPicker.answers = {"/data"};
    window.failOn = {"SetText1Text"};
    PushButton8_Click(window, fake.platform, reporter);
    ASSERT_EQ(fake.boxes.ErrorTexts().size(), 1U);
    EXPECT_NE(fake.boxes.ErrorTexts()[0].find("PushButton8_Click at line 106"), std::string::npos);
    EXPECT_EQ(fake.settings.values["LastFolderDot"], "/data");
}

TEST_F(OutputDestinationTest, TheModeBoxStoresItsTextOnEveryEditAndClickEvenTextThatNamesNoMode) {
    window.comboText = "Spaces To Comma-spaces";
    Combo1_Click(window, fake.settings);
    EXPECT_EQ(fake.settings.values["Combo"], "Spaces To Comma-spaces");
    window.comboText = "Spaces To Comma";
    Combo1_Change(window, fake.settings);
    EXPECT_EQ(fake.settings.values["Combo"], "Spaces To Comma");
    EXPECT_EQ(fake.settings.writes.size(), 2U);
}

}  // namespace
}  // namespace tabulane
