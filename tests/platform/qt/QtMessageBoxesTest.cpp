#include "platform/qt/QtMessageBoxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace tabulane {
namespace {

TEST(IsHeadless, DecidesFromDisplayAndQtPlatform) {
    struct Case {
        DisplayEnvironment environment;
        bool headless;
    };
    const std::vector<Case> cases = {
        {{"", "", ""}, true},
        {{":0", "", ""}, false},
        {{"", "wayland-0", ""}, false},
        {{":0", "wayland-0", "xcb"}, false},
        {{":0", "", "offscreen"}, true},
        {{"", "wayland-0", "offscreen"}, true},
        {{":0", "", "offscreen:fontengine=freetype"}, true},
        {{":0", "", "minimal"}, true},
        {{":0", "", "wayland;xcb"}, false},
        {{":0", "", "xcb;offscreen"}, false},
        {{"", "", "xcb"}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsHeadless(c.environment), c.headless)
            << "DISPLAY=" << c.environment.display << " WAYLAND_DISPLAY=" << c.environment.waylandDisplay
            << " QT_QPA_PLATFORM=" << c.environment.qpaPlatform;
    }
}

TEST(QtMessageBoxes, HeadlessBoxesAreWrittenWithLineBreaksAndAnsweredAtOnce) {
    std::ostringstream errors;
    QtMessageBoxes boxes(errors, true);

    EXPECT_EQ(boxes.ShowMessage("File not found\r\nin X at line 270\r\rPlease email", "Application Error",
                                BoxIcon::Exclamation, BoxButtons::Ok),
              BoxAnswer::Ok);
    EXPECT_EQ(errors.str(), "Application Error\nFile not found\nin X at line 270\n\nPlease email\n");

    errors.str("");
    EXPECT_EQ(boxes.ShowMessage("Clear the list?", "Tabulane", BoxIcon::Question, BoxButtons::YesNo), BoxAnswer::No);
    EXPECT_EQ(errors.str(), "Tabulane\nClear the list?\n");

    errors.str("");
    EXPECT_EQ(boxes.InputBox("Extension:", "Add folder", "txt"), "");
    EXPECT_EQ(errors.str(), "Add folder\nExtension:\n");
}

TEST(QtMessageBoxes, EveryFormOfLineBreakBecomesOneNewLine) {
    std::ostringstream errors;
    WriteHeadlessBox(errors, "", "a\r\nb\rc\nd\r\r\ne\r");
    EXPECT_EQ(errors.str(), "a\nb\nc\nd\n\ne\n\n");
}

TEST(QtMessageBoxes, WithoutARunningApplicationNoWindowIsOpened) {
    // No QApplication exists in this test program, so whatever the environment says, boxes go to the stream.
    std::ostringstream errors;
    QtMessageBoxes boxes(errors);
    EXPECT_EQ(boxes.ShowMessage("Go on?", "Tabulane", BoxIcon::None, BoxButtons::YesNo), BoxAnswer::No);
    EXPECT_EQ(boxes.InputBox("Prompt", "", "preset"), "");
    EXPECT_EQ(errors.str(), "Tabulane\nGo on?\nPrompt\n");
}

}  // namespace
}  // namespace tabulane

namespace tabulane {
namespace {

// A real QApplication on the offscreen platform (never a visible window), with helpers that act on the
// dialog a box call opens.
class OnScreenBoxesTest : public ::testing::Test {
protected:
    // Runs action on the next dialog of type D to appear; polls because exec() shows it after the call began.
    template <typename D>
    void OnNextDialog(std::function<void(D&)> action) {
        QTimer::singleShot(10, [this, action] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<D*>(widget); dialog != nullptr && dialog->isVisible()) {
                    action(*dialog);
                    return;
                }
            }
            OnNextDialog<D>(action);
        });
    }

    int m_argc = 3;
    char m_program[5] = "test";
    char m_option[10] = "-platform";
    char m_platform[10] = "offscreen";
    char* m_argv[4] = {m_program, m_option, m_platform, nullptr};
    QApplication m_application{m_argc, m_argv};
    std::ostringstream m_errors;
    QtMessageBoxes m_boxes{m_errors, false};
};

TEST_F(OnScreenBoxesTest, MessageBoxShowsCaptionIconButtonsAndPlainText) {
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        Qt::TextFormat format = Qt::AutoText;
        QMessageBox::StandardButtons buttons;
    } seen;
    OnNextDialog<QMessageBox>([&](QMessageBox& box) {
        seen = {box.windowTitle(), box.text(), box.icon(), box.textFormat(), box.standardButtons()};
        box.button(QMessageBox::Ok)->click();
    });

    EXPECT_EQ(m_boxes.ShowMessage("<b>not bold</b>\r\nline\r\rend", "Application Error", BoxIcon::Exclamation,
                                  BoxButtons::Ok),
              BoxAnswer::Ok);
    EXPECT_EQ(seen.title, QStringLiteral("Application Error"));
    EXPECT_EQ(seen.text, QStringLiteral("<b>not bold</b>\nline\n\nend"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(m_errors.str(), "");
}

TEST_F(OnScreenBoxesTest, QuestionsAnswerWhatWasClickedAndClosingIsNo) {
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    OnNextDialog<QMessageBox>([&](QMessageBox& box) {
        buttons = box.standardButtons();
        icon = box.icon();
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(m_boxes.ShowMessage("Go on?", "Tabulane", BoxIcon::Question, BoxButtons::YesNo), BoxAnswer::Yes);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(icon, QMessageBox::Question);

    OnNextDialog<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
    EXPECT_EQ(m_boxes.ShowMessage("Go on?", "Tabulane", BoxIcon::None, BoxButtons::YesNo), BoxAnswer::No);

    OnNextDialog<QMessageBox>([](QMessageBox& box) { box.close(); });
    EXPECT_EQ(m_boxes.ShowMessage("Go on?", "Tabulane", BoxIcon::Critical, BoxButtons::YesNo), BoxAnswer::No);
}

TEST_F(OnScreenBoxesTest, AnApplicationOnTheOffscreenPlatformWritesBoxesInstead) {
    std::ostringstream errors;
    QtMessageBoxes boxes(errors);
    EXPECT_EQ(boxes.ShowMessage("Go on?", "Tabulane", BoxIcon::Question, BoxButtons::YesNo), BoxAnswer::No);
    EXPECT_EQ(errors.str(), "Tabulane\nGo on?\n");
}

TEST_F(OnScreenBoxesTest, InputBoxGivesTheAnswerOrEmptyWhenCancelled) {
    QString title;
    QString prompt;
    QString preset;
    OnNextDialog<QInputDialog>([&](QInputDialog& dialog) {
        title = dialog.windowTitle();
        prompt = dialog.labelText();
        preset = dialog.textValue();
        dialog.setTextValue(QStringLiteral("csv ✓"));
        dialog.accept();
    });
    EXPECT_EQ(m_boxes.InputBox("Extension:", "Add folder", "txt"), "csv ✓");
    EXPECT_EQ(title, QStringLiteral("Add folder"));
    EXPECT_EQ(prompt, QStringLiteral("Extension:"));
    EXPECT_EQ(preset, QStringLiteral("txt"));

    OnNextDialog<QInputDialog>([](QInputDialog& dialog) {
        dialog.setTextValue(QStringLiteral("typed, then cancelled"));
        dialog.reject();
    });
    EXPECT_EQ(m_boxes.InputBox("Extension:", "Add folder", "txt"), "");
}

}  // namespace
}  // namespace tabulane
