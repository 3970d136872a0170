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
#include <string>
#include <utility>
#include <vector>

#include "cli/CommandLine.h"
#include "ui/Form1Harness.h"

namespace tabulane {
namespace {

using test::Click;
using test::MoveMouseOver;

class Form1BehaviourTest : public ::testing::Test {
protected:
    Form1& Form() { return *harness.form; }
    std::map<std::string, std::string>& Stored() { return harness.fake.settings.values; }

    test::Form1Harness harness;
};

TEST_F(Form1BehaviourTest, ACleanStoreStartsWithTheFirstModeTheDesktopFolderAndTheFolderControlsEnabled) {
    harness.Start();
    EXPECT_TRUE(Form().isVisible());
    EXPECT_EQ(Form().Combo1->currentText().toStdString(), "Tabs To Commas");
    EXPECT_EQ(Form().Combo1->count(), 8);
    EXPECT_EQ(Form().Combo1->itemText(7).toStdString(), "X Character(s) To Comma-spaces");
    EXPECT_EQ(Form().Text1->text().toStdString(), "/home/user/Desktop/");
    EXPECT_TRUE(Form().Option1->isChecked());
    EXPECT_FALSE(Form().Option2->isChecked());
    EXPECT_TRUE(Form().Text1->isEnabled());
    EXPECT_TRUE(Form().PushButton8->isEnabled());
    EXPECT_EQ(Form().ProgressBar1->value(), 0);
    EXPECT_EQ(Form().Pointer(), MousePointer::Default);
    EXPECT_TRUE(harness.fake.boxes.shown.empty());
    // Setting the folder box at start-up is a change of it, stored as such; no other choice is invented.
    EXPECT_EQ(Stored()["Output Folder"], "/home/user/Desktop/");
    EXPECT_EQ(Stored().count("Option1"), 0U);
}

TEST_F(Form1BehaviourTest, ResultsBesideTheInputFilesStartWithTheFolderBoxAndBrowseButtonDisabled) {
    Stored() = {{"Option1", "False"}, {"Option2", "True"}};
    harness.Start();
    EXPECT_FALSE(Form().Option1->isChecked());
    EXPECT_TRUE(Form().Option2->isChecked());
    EXPECT_FALSE(Form().Frame3->isEnabled());
    EXPECT_FALSE(Form().Text1->isEnabled());
    EXPECT_FALSE(Form().PushButton8->isEnabled());
}

TEST_F(Form1BehaviourTest, TheStoredModeIsSelectedAndFillingTheBoxDoesNotOverwriteIt) {
    Stored() = {{"Combo", "Enters To Comma-spaces"}};
    harness.Start();
    EXPECT_EQ(Form().Combo1->currentIndex(), 6);
    for (const auto& [key, value] : harness.fake.settings.writes) {
        if (key == "Combo") {
            EXPECT_EQ(value, "Enters To Comma-spaces");
        }
    }
}

TEST_F(Form1BehaviourTest, AStoredModeTextThatNamesNoModeIsShownAsText) {
    Stored() = {{"Combo", "Semicolons To Commas"}};
    harness.Start();
    EXPECT_EQ(Form().Combo1->currentText().toStdString(), "Semicolons To Commas");
    EXPECT_EQ(Form().Combo1->currentIndex(), -1);
    EXPECT_EQ(Form().Combo1->count(), 8);
    EXPECT_EQ(Stored()["Combo"], "Semicolons To Commas");
}

TEST_F(Form1BehaviourTest, EveryOptionClickIsStoredAtOnce) {
    harness.Start();
    Click(Form().Option2);
    EXPECT_EQ(Stored()["Option1"], "False");
    EXPECT_EQ(Stored()["Option2"], "True");
    EXPECT_FALSE(Form().Text1->isEnabled());
    EXPECT_FALSE(Form().PushButton8->isEnabled());

    Click(Form().Option1);
    EXPECT_EQ(Stored()["Option1"], "True");
    EXPECT_EQ(Stored()["Option2"], "False");
    EXPECT_TRUE(Form().Text1->isEnabled());
    EXPECT_TRUE(Form().PushButton8->isEnabled());
}

TEST_F(Form1BehaviourTest, EveryKeystrokeInTheFolderBoxIsStoredAtOnce) {
    harness.Start();
    Form().Text1->clear();
    const QString typed = QStringLiteral("/tmp/x");
    for (int i = 0; i < typed.size(); ++i) {
        test::Type(Form().Text1, typed.mid(i, 1));
        EXPECT_EQ(Stored()["Output Folder"], typed.left(i + 1).toStdString());
    }
    test::PressKey(Form().Text1, Qt::Key_Backspace);
    EXPECT_EQ(Stored()["Output Folder"], "/tmp/");
}

TEST_F(Form1BehaviourTest, EveryPickAndEditOfTheModeBoxIsStoredAtOnce) {
    harness.Start();
    test::PressKey(Form().Combo1, Qt::Key_Down);
    EXPECT_EQ(Form().Combo1->currentText().toStdString(), "Spaces To Commas");
    EXPECT_EQ(Stored()["Combo"], "Spaces To Commas");

    Form().Combo1->lineEdit()->clear();
    test::Type(Form().Combo1->lineEdit(), QStringLiteral("X"));
    EXPECT_EQ(Stored()["Combo"], "X");
    // Typed text is neither completed to a mode nor added to the list.
    test::PressKey(Form().Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(Form().Combo1->currentText().toStdString(), "X");
    EXPECT_EQ(Form().Combo1->count(), 8);
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
        Click(Form().PushButton8);
        EXPECT_EQ(Form().Text1->text().toStdString(), c.shown);
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
    Click(Form().PushButton8);
    EXPECT_EQ(harness.fake.folderPicker.opened.size(), 1U);
    EXPECT_EQ(Form().Text1->text().toStdString(), "/data/");
    EXPECT_TRUE(harness.fake.settings.writes.empty());
}

TEST_F(Form1BehaviourTest, TheCommandLineHelpButtonShowsTheSecondUsageText) {
    harness.Start();
    Click(Form().PushButton4);
    ASSERT_EQ(harness.fake.boxes.shown.size(), 1U);
    EXPECT_EQ(harness.fake.boxes.shown[0].text, UsageText2());
    EXPECT_EQ(harness.fake.boxes.shown[0].caption, "Tabulane");
    EXPECT_EQ(harness.fake.boxes.shown[0].icon, BoxIcon::None);
}

TEST_F(Form1BehaviourTest, ButtonsOfLaterFeaturesCallTheirPluggedHandlers) {
    std::vector<std::string> called;
    Form1Events events;
    events.PushButton1_Click = [&] { called.push_back("PushButton1"); };
    events.PushButton2_Click = [&] { called.push_back("PushButton2"); };
    events.PushButton6_Click = [&] { called.push_back("PushButton6"); };
    Form().SetEvents(events);
    harness.Start();
    Click(Form().PushButton2);
    Click(Form().PushButton1);
    Click(Form().PushButton3);  // nothing plugged in: nothing happens
    Click(Form().PushButton6);
    EXPECT_EQ(called, (std::vector<std::string>{"PushButton2", "PushButton1", "PushButton6"}));
}

TEST_F(Form1BehaviourTest, ThePointerFollowsTheHoverTable) {
    harness.Start();
    struct Step {
        QWidget* over;
        MousePointer expected;
    };
    const Step steps[] = {
        {Form().PushButton1, MousePointer::Custom},
        {Form().Combo1, MousePointer::Custom},  // no handler: the hand stays across the gap
        {Form().Combo1->lineEdit(), MousePointer::Custom},
        {Form().Frame1, MousePointer::Default},
        {Form().PushButton4, MousePointer::Custom},  // inside a frame, whose own handler must not undo it
        {Form().Option1, MousePointer::Custom},
        {Form().ProgressBar1, MousePointer::Custom},
        {Form().Text1, MousePointer::Default},
        {Form().PushButton8, MousePointer::Custom},
        {Form().ListView1->viewport(), MousePointer::Default},
        {Form().PushButton5, MousePointer::Custom},
        {&Form(), MousePointer::Default},
        {Form().PushButton7, MousePointer::Custom},
        {Form().Frame5, MousePointer::Default},
        {Form().PushButton2, MousePointer::Custom},
        {Form().Frame2, MousePointer::Default},
        {Form().PushButton6, MousePointer::Custom},
        {Form().Frame3, MousePointer::Default},
        {Form().PushButton3, MousePointer::Custom},
        {Form().ListView1->header()->viewport(), MousePointer::Default},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.over->objectName().toStdString());
        MoveMouseOver(step.over);
        EXPECT_EQ(Form().Pointer(), step.expected);
    }
}

TEST_F(Form1BehaviourTest, OverTheDisabledFolderControlsThePointerIsTheirFramesArrow) {
    Stored() = {{"Option1", "False"}, {"Option2", "True"}};
    harness.Start();
    MoveMouseOver(Form().PushButton1);
    MoveMouseOver(Form().PushButton8);
    EXPECT_EQ(Form().Pointer(), MousePointer::Default);
    Click(Form().Option1);
    MoveMouseOver(Form().PushButton8);
    EXPECT_EQ(Form().Pointer(), MousePointer::Custom);
}

TEST_F(Form1BehaviourTest, HoverNeverReplacesTheHourglass) {
    harness.Start();
    Form().SetPointer(MousePointer::Hourglass);
    for (QWidget* over : std::initializer_list<QWidget*>{
             Form().PushButton1, Form().PushButton2, Form().PushButton3, Form().PushButton4, Form().PushButton5,
             Form().PushButton6, Form().PushButton7, Form().PushButton8, Form().Frame1, Form().Frame2, Form().Frame3,
             Form().Frame5, Form().ListView1->viewport(), Form().Text1, &Form()}) {
        SCOPED_TRACE(over->objectName().toStdString());
        MoveMouseOver(over);
        EXPECT_EQ(Form().Pointer(), MousePointer::Hourglass);
    }
    EXPECT_EQ(Form().cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(Form().Text1->cursor().shape(), Qt::WaitCursor);

    // When the work ends the arrow stays, even over a button, until the mouse moves again.
    Form().SetPointer(MousePointer::Default);
    EXPECT_EQ(Form().cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(Form().Text1->cursor().shape(), Qt::IBeamCursor);
    MoveMouseOver(Form().PushButton1);
    EXPECT_EQ(Form().Pointer(), MousePointer::Custom);
}

TEST_F(Form1BehaviourTest, TheHandIsTheCursorFileBesideTheProgramOrElseTheArrow) {
    {
        test::Form1Harness withoutFile;
        withoutFile.Start();
        MoveMouseOver(withoutFile.form->PushButton1);
        EXPECT_EQ(withoutFile.form->Pointer(), MousePointer::Custom);
        EXPECT_EQ(withoutFile.form->cursor().shape(), Qt::ArrowCursor);
        EXPECT_TRUE(withoutFile.fake.boxes.shown.empty());
    }
    std::filesystem::copy_file(TABULANE_BINARY_DIR "/HAND-M.CUR", harness.programFolder.File("HAND-M.CUR"));
    harness.Start();
    EXPECT_TRUE(harness.fake.boxes.shown.empty());
    MoveMouseOver(Form().PushButton1);
    const QCursor hand = Form().cursor();
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    EXPECT_EQ(hand.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(hand.hotSpot(), QPoint(6, 0));
    EXPECT_EQ(Form().Combo1->lineEdit()->cursor().shape(), Qt::BitmapCursor);  // the hand shows over every control
    MoveMouseOver(Form().Text1);
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
    EXPECT_EQ(Form().Text1->text().toStdString(), "/home/user/Desktop/");
    EXPECT_TRUE(Form().Frame3->isEnabled());
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
    EXPECT_TRUE(Form().Text1->text().isEmpty());
    EXPECT_TRUE(Form().Option1->isChecked());
    EXPECT_TRUE(Form().Frame3->isEnabled());
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
    EXPECT_EQ(Form().Text1->text().toStdString(), "/home/user/Desktop/");

    // From the event loop, a handler without a trap reports its own first step, never line 0.
    harness.fake.boxes.shown.clear();
    Click(Form().Option2);
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
    EXPECT_EQ(Form().ProgressBar1->text().toStdString(), "Progress Bar");
    Form().SetProgressText("Processing: 100%p done.txt");
    Form().SetProgressValue(42.6);
    EXPECT_EQ(Form().ProgressBar1->text().toStdString(), "Processing: 100%p done.txt");
    EXPECT_EQ(Form().ProgressBar1->value(), 43);
    Form().SetProgressValue(250);
    EXPECT_EQ(Form().ProgressBar1->value(), 100);
}

TEST_F(Form1BehaviourTest, TheListReportsItsSelectedEntryByPosition) {
    harness.Start();
    EXPECT_EQ(Form().SelectedListPosition(), 0);
    auto* model = Form().ListModel();
    model->insertRows(0, 3);
    Form().ListView1->setCurrentIndex(model->index(2, 0));
    EXPECT_EQ(Form().SelectedListPosition(), 3);
}

}  // namespace
}  // namespace tabulane
