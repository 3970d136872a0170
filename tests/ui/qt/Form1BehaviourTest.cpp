#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "cli/CommandLine.h"
#include "ui/qt/Form1Harness.h"

namespace tabulane {
namespace {

using test::Click;
using test::MoveMouseOver;

class Form1BehaviourTest : public ::testing::Test {
protected:
    Form1& Form() { return *harness.form; }
    Form1Logic& Logic() { return harness.Logic(); }
    std::map<std::string, std::string>& Stored() { return harness.fake.settings.values; }

    test::Form1Harness harness;
};

TEST_F(Form1BehaviourTest, ACleanStoreStartsWithTheFirstModeTheDesktopFolderAndTheFolderControlsEnabled) {
    harness.Start();
    EXPECT_TRUE(Form().isVisible());
    EXPECT_EQ(harness.Combo1()->currentText().toStdString(), "Tabs To Commas");
    EXPECT_EQ(harness.Combo1()->count(), 8);
    EXPECT_EQ(harness.Combo1()->itemText(7).toStdString(), "X Character(s) To Comma-spaces");
    EXPECT_EQ(harness.Text1()->text().toStdString(), "/home/user/Desktop/");
    EXPECT_TRUE(harness.Option(1)->isChecked());
    EXPECT_FALSE(harness.Option(2)->isChecked());
    EXPECT_TRUE(harness.Text1()->isEnabled());
    EXPECT_TRUE(harness.Button(8)->isEnabled());
    EXPECT_EQ(harness.ProgressBar1()->value(), 0);
    EXPECT_EQ(Logic().Pointer(), MousePointer::Default);
    EXPECT_TRUE(harness.fake.boxes.shown.empty());
    // Setting the folder box at start-up is a change of it, stored as such; no other choice is invented.
    EXPECT_EQ(Stored()["Output Folder"], "/home/user/Desktop/");
    EXPECT_EQ(Stored().count("Option1"), 0U);
}

TEST_F(Form1BehaviourTest, ResultsBesideTheInputFilesStartWithTheFolderBoxAndBrowseButtonDisabled) {
    Stored() = {{"Option1", "False"}, {"Option2", "True"}};
    harness.Start();
    EXPECT_FALSE(harness.Option(1)->isChecked());
    EXPECT_TRUE(harness.Option(2)->isChecked());
    EXPECT_FALSE(harness.Frame(3)->isEnabled());
    EXPECT_FALSE(harness.Text1()->isEnabled());
    EXPECT_FALSE(harness.Button(8)->isEnabled());
}

TEST_F(Form1BehaviourTest, TheStoredModeIsSelectedAndFillingTheBoxDoesNotOverwriteIt) {
    Stored() = {{"Combo", "Enters To Comma-spaces"}};
    harness.Start();
    EXPECT_EQ(harness.Combo1()->currentIndex(), 6);
    for (const auto& [key, value] : harness.fake.settings.writes) {
        if (key == "Combo") {
            EXPECT_EQ(value, "Enters To Comma-spaces");
        }
    }
}

TEST_F(Form1BehaviourTest, AStoredModeTextThatNamesNoModeIsShownAsText) {
    Stored() = {{"Combo", "Semicolons To Commas"}};
    harness.Start();
    EXPECT_EQ(harness.Combo1()->currentText().toStdString(), "Semicolons To Commas");
    EXPECT_EQ(harness.Combo1()->currentIndex(), -1);
    EXPECT_EQ(harness.Combo1()->count(), 8);
    EXPECT_EQ(Stored()["Combo"], "Semicolons To Commas");
}

TEST_F(Form1BehaviourTest, EveryOptionClickIsStoredAtOnce) {
    harness.Start();
    Click(harness.Option(2));
    EXPECT_EQ(Stored()["Option1"], "False");
    EXPECT_EQ(Stored()["Option2"], "True");
    EXPECT_FALSE(harness.Text1()->isEnabled());
    EXPECT_FALSE(harness.Button(8)->isEnabled());

    Click(harness.Option(1));
    EXPECT_EQ(Stored()["Option1"], "True");
    EXPECT_EQ(Stored()["Option2"], "False");
    EXPECT_TRUE(harness.Text1()->isEnabled());
    EXPECT_TRUE(harness.Button(8)->isEnabled());
}

TEST_F(Form1BehaviourTest, EveryKeystrokeInTheFolderBoxIsStoredAtOnce) {
    harness.Start();
    harness.Text1()->clear();
    const QString typed = QStringLiteral("/tmp/x");
    for (int i = 0; i < typed.size(); ++i) {
        test::Type(harness.Text1(), typed.mid(i, 1));
        EXPECT_EQ(Stored()["Output Folder"], typed.left(i + 1).toStdString());
    }
    test::PressKey(harness.Text1(), Qt::Key_Backspace);
    EXPECT_EQ(Stored()["Output Folder"], "/tmp/");
}

TEST_F(Form1BehaviourTest, EveryPickAndEditOfTheModeBoxIsStoredAtOnce) {
    harness.Start();
    test::PressKey(harness.Combo1(), Qt::Key_Down);
    EXPECT_EQ(harness.Combo1()->currentText().toStdString(), "Spaces To Commas");
    EXPECT_EQ(Stored()["Combo"], "Spaces To Commas");

    harness.Combo1()->lineEdit()->clear();
    test::Type(harness.Combo1()->lineEdit(), QStringLiteral("X"));
    EXPECT_EQ(Stored()["Combo"], "X");
    // Typed text is neither completed to a mode nor added to the list.
    test::PressKey(harness.Combo1()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(harness.Combo1()->currentText().toStdString(), "X");
    EXPECT_EQ(harness.Combo1()->count(), 8);
}

TEST_F(Form1BehaviourTest, TheBrowseButtonPutsThePickedFolderInTheBoxWithOneTrailingSeparator) {
    struct Case {
        std::string picked;
        std::string shown;
    };
    harness.Start();
    for (const Case& c : {Case{"/data/out", "/data/out/"}, Case{"/", "/"}}) {
        SCOPED_TRACE(c.picked);
        harness.fake.folderPicker.answers = {c.picked};
        Click(harness.Button(8));
        EXPECT_EQ(harness.Text1()->text().toStdString(), c.shown);
        EXPECT_EQ(Stored()["Output Folder"], c.shown);
        EXPECT_EQ(Stored()["LastFolderDot"], c.picked);
    }
    ASSERT_EQ(harness.fake.folderPicker.opened.size(), 2U);
    EXPECT_EQ(harness.fake.folderPicker.opened[1].startFolder, "/data/out");
    EXPECT_EQ(harness.fake.folderPicker.opened[1].title, "Please select folder:");
}

TEST_F(Form1BehaviourTest, CancellingThePickerLeavesTheBoxAndTheStoreUnchanged) {
    Stored() = {{"LastFolderDot", "/data"}, {"Output Folder", "/data/"}};
    harness.Start();
    harness.fake.settings.writes.clear();
    Click(harness.Button(8));
    EXPECT_EQ(harness.fake.folderPicker.opened.size(), 1U);
    EXPECT_EQ(harness.Text1()->text().toStdString(), "/data/");
    EXPECT_TRUE(harness.fake.settings.writes.empty());
}

TEST_F(Form1BehaviourTest, TheCommandLineHelpButtonShowsTheSecondUsageText) {
    harness.Start();
    Click(harness.Button(4));
    ASSERT_EQ(harness.fake.boxes.shown.size(), 1U);
    EXPECT_EQ(harness.fake.boxes.shown[0].text, UsageText2());
    EXPECT_EQ(harness.fake.boxes.shown[0].caption, "Tabulane");
    EXPECT_EQ(harness.fake.boxes.shown[0].icon, BoxIcon::None);
}

TEST_F(Form1BehaviourTest, ThePointerFollowsTheHoverTable) {
    harness.Start();
    struct Step {
        QWidget* over;
        MousePointer expected;
    };
    const Step steps[] = {
        {harness.Button(1), MousePointer::Custom},
        {harness.Combo1(), MousePointer::Custom},  // no handler: the hand stays across the gap
        {harness.Combo1()->lineEdit(), MousePointer::Custom},
        {harness.Frame(1), MousePointer::Default},
        {harness.Button(4), MousePointer::Custom},  // inside a frame, whose own handler must not undo it
        {harness.Option(1), MousePointer::Custom},
        {harness.ProgressBar1(), MousePointer::Custom},
        {harness.Text1(), MousePointer::Default},
        {harness.Button(8), MousePointer::Custom},
        {harness.ListView1()->viewport(), MousePointer::Default},
        {harness.Button(5), MousePointer::Custom},
        {&Form(), MousePointer::Default},
        {harness.Button(7), MousePointer::Custom},
        {harness.Frame(5), MousePointer::Default},
        {harness.Button(2), MousePointer::Custom},
        {harness.Frame(2), MousePointer::Default},
        {harness.Button(6), MousePointer::Custom},
        {harness.Frame(3), MousePointer::Default},
        {harness.Button(3), MousePointer::Custom},
        {harness.ListView1()->header()->viewport(), MousePointer::Default},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.over->objectName().toStdString());
        MoveMouseOver(step.over);
        EXPECT_EQ(Logic().Pointer(), step.expected);
    }
}

TEST_F(Form1BehaviourTest, OverTheDisabledFolderControlsThePointerIsTheirFramesArrow) {
    Stored() = {{"Option1", "False"}, {"Option2", "True"}};
    harness.Start();
    MoveMouseOver(harness.Button(1));
    MoveMouseOver(harness.Button(8));
    EXPECT_EQ(Logic().Pointer(), MousePointer::Default);
    Click(harness.Option(1));
    MoveMouseOver(harness.Button(8));
    EXPECT_EQ(Logic().Pointer(), MousePointer::Custom);
}

TEST_F(Form1BehaviourTest, HoverNeverReplacesTheHourglass) {
    harness.Start();
    Logic().SetPointer(MousePointer::Hourglass);
    for (QWidget* over : std::initializer_list<QWidget*>{
             harness.Button(1), harness.Button(2), harness.Button(3), harness.Button(4), harness.Button(5),
             harness.Button(6), harness.Button(7), harness.Button(8), harness.Frame(1), harness.Frame(2),
             harness.Frame(3), harness.Frame(5), harness.ListView1()->viewport(), harness.Text1(), &Form()}) {
        SCOPED_TRACE(over->objectName().toStdString());
        MoveMouseOver(over);
        EXPECT_EQ(Logic().Pointer(), MousePointer::Hourglass);
    }
    EXPECT_EQ(Form().cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(harness.Text1()->cursor().shape(), Qt::WaitCursor);

    // When the work ends the arrow stays, even over a button, until the mouse moves again.
    Logic().SetPointer(MousePointer::Default);
    EXPECT_EQ(Form().cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(harness.Text1()->cursor().shape(), Qt::IBeamCursor);
    MoveMouseOver(harness.Button(1));
    EXPECT_EQ(Logic().Pointer(), MousePointer::Custom);
}

TEST_F(Form1BehaviourTest, TheHandIsTheCursorFileBesideTheProgramOrElseTheArrow) {
    {
        test::Form1Harness withoutFile;
        withoutFile.Start();
        MoveMouseOver(withoutFile.Button(1));
        EXPECT_EQ(withoutFile.Logic().Pointer(), MousePointer::Custom);
        EXPECT_EQ(withoutFile.form->cursor().shape(), Qt::ArrowCursor);
        EXPECT_TRUE(withoutFile.fake.boxes.shown.empty());
    }
    std::filesystem::copy_file(TABULANE_BINARY_DIR "/HAND-M.CUR", harness.programFolder.File("HAND-M.CUR"));
    harness.Start();
    EXPECT_TRUE(harness.fake.boxes.shown.empty());
    MoveMouseOver(harness.Button(1));
    const QCursor hand = Form().cursor();
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    EXPECT_EQ(hand.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(hand.hotSpot(), QPoint(6, 0));
    EXPECT_EQ(harness.Combo1()->lineEdit()->cursor().shape(), Qt::BitmapCursor);  // the hand shows over every control
    MoveMouseOver(harness.Text1());
    EXPECT_EQ(Form().cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Form1BehaviourTest, AFailingLoadStepShowsOneErrorBoxAndTheWindowStillComesUp) {
    test::WriteFileBytes(harness.programFolder.File("HAND-M.CUR"), "not a picture");
    const StartupResult result = harness.Start();
    EXPECT_FALSE(result.commandLineRan);
    const auto errors = harness.fake.boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0].rfind("Invalid picture\r\nin Tabulane2021/08/31.Form1.Form_Load at line 106", 0), 0U);
    EXPECT_TRUE(Form().isVisible());
    EXPECT_EQ(Form().windowTitle().toStdString(), "Tabulane");
    EXPECT_EQ(harness.Text1()->text().toStdString(), "/home/user/Desktop/");
    EXPECT_TRUE(harness.Frame(3)->isEnabled());
}

TEST_F(Form1BehaviourTest, StartedWithArgumentsTheWindowIsNeverShownAndTheOutputOptionsAreLeftAlone) {
    const std::string input = harness.programFolder.File("in.txt");
    const std::string output = harness.programFolder.File("out.csv");
    test::WriteFileBytes(input, "a\tb\r\n");
    Stored() = {{"Option1", "False"}, {"Option2", "True"}, {"Output Folder", "/stored/"}};

    const StartupResult result = harness.Start(input + " " + output + " TABS -c");

    EXPECT_TRUE(result.commandLineRan);
    EXPECT_EQ(result.exitStatus, kExitSuccess);
    EXPECT_FALSE(Form().isVisible());
    EXPECT_TRUE(harness.fake.boxes.shown.empty());
    EXPECT_EQ(test::ReadFileBytes(output), "a,b\r\n");
    // Steps from 270 on never ran: the design state is untouched and nothing was stored.
    EXPECT_TRUE(harness.Text1()->text().isEmpty());
    EXPECT_TRUE(harness.Option(1)->isChecked());
    EXPECT_TRUE(harness.Frame(3)->isEnabled());
    // The command line stores no setting, "Combo" included, with a display as without one.
    EXPECT_TRUE(harness.fake.settings.writes.empty());
}

TEST_F(Form1BehaviourTest, AFailingStoreIsReportedWhereTheFailingStepRan) {
    harness.fake.settings.failSaves = true;
    harness.Start();
    // The folder box's change handler has no trap: its failure belongs to the load step that set the box.
    const auto loadErrors = harness.fake.boxes.ErrorTexts();
    ASSERT_EQ(loadErrors.size(), 2U);
    EXPECT_NE(loadErrors[0].find("in Tabulane2021/08/31.Form1.Form_Load at line 148"), std::string::npos);
    EXPECT_NE(loadErrors[1].find("Permission denied: settings\r\nin Tabulane2021/08/31.Form1.Form_Load at line 270"),
              std::string::npos)
        << loadErrors[1];
    EXPECT_EQ(harness.Text1()->text().toStdString(), "/home/user/Desktop/");

    // From the event loop, a handler without a trap reports its own first step, never line 0.
    harness.fake.boxes.shown.clear();
    Click(harness.Option(2));
    const auto clickErrors = harness.fake.boxes.ErrorTexts();
    ASSERT_EQ(clickErrors.size(), 1U);
    EXPECT_NE(clickErrors[0].find("in Tabulane2021/08/31.Form1.Option2_Click at line 100"), std::string::npos)
        << clickErrors[0];
}

TEST_F(Form1BehaviourTest, WrongArgumentsShowTheUsageAndEndWithoutTheWindow) {
    const StartupResult result = harness.Start("in.txt");
    EXPECT_TRUE(result.commandLineRan);
    EXPECT_EQ(result.exitStatus, kExitUsage);
    EXPECT_FALSE(Form().isVisible());
    ASSERT_EQ(harness.fake.boxes.shown.size(), 1U);
    EXPECT_EQ(harness.fake.boxes.shown[0].text, UsageText1());
    EXPECT_EQ(harness.fake.boxes.shown[0].caption, "Tabulane");
}

TEST_F(Form1BehaviourTest, ClosingTheWindowEndsTheProgramWithoutStoringAnything) {
    harness.Start();
    harness.fake.settings.writes.clear();
    Form().close();
    EXPECT_EQ(harness.endProgramCalls, 1);
    EXPECT_TRUE(harness.fake.settings.writes.empty());
}

TEST_F(Form1BehaviourTest, TheProgressBarShowsItsTextAsGivenAndKeepsItsValueInRange) {
    harness.Start();
    EXPECT_EQ(harness.ProgressBar1()->text().toStdString(), "Progress Bar");
    Logic().SetProgressText("Processing: 100%p done.txt");
    Logic().SetProgressValue(42.6);
    EXPECT_EQ(harness.ProgressBar1()->text().toStdString(), "Processing: 100%p done.txt");
    EXPECT_EQ(harness.ProgressBar1()->value(), 43);
    Logic().SetProgressValue(250);
    EXPECT_EQ(harness.ProgressBar1()->value(), 100);
}

TEST_F(Form1BehaviourTest, TheListReportsItsSelectedEntryByPosition) {
    harness.Start();
    EXPECT_EQ(Logic().SelectedListPosition(), 0);
    auto* model = harness.ListView1()->model();
    for (const char* path : {"/a", "/b", "/c"}) {
        Logic().List().Append(path);
    }
    harness.ListView1()->setCurrentIndex(model->index(2, 0));
    EXPECT_EQ(Logic().SelectedListPosition(), 3);
}

}  // namespace
}  // namespace tabulane
