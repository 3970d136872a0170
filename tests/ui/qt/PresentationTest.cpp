#include "ui/Presentation.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/qt/QtSkinFramework.h"
#include "ui/qt/Form1Harness.h"

namespace tabulane {
namespace {

using test::Click;
using test::WriteFileBytes;

// The real window with Help, the skin step and the home-page visit plugged in as the program plugs them.
class PresentationTest : public ::testing::Test {
protected:
    Form1& Form() { return *harness.form; }
    Form1Logic& Logic() { return harness.Logic(); }

    StartupResult Start(const std::string& argumentText = {}) { return harness.Start(argumentText); }

    std::string SkinPath() const { return harness.programFolder.File("x/o.cjs"); }

    void PutSkin(const std::string& bytes) {
        std::filesystem::create_directories(harness.programFolder.Path() / "x");
        WriteFileBytes(SkinPath(), bytes);
    }

    test::Form1Harness harness;
};

TEST_F(PresentationTest, WithoutASkinFileNoSkinCallIsMadeAndTheWindowStaysWhite) {
    struct Case {
        const char* what;
        bool makeFolder;
        bool skinIsFolder;
    };
    const Case cases[] = {
        {"no x folder", false, false}, {"an empty x folder", true, false}, {"a folder named o.cjs", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::Form1Harness local;
        if (c.makeFolder) {
            std::filesystem::create_directories(local.programFolder.Path() / "x");
        }
        if (c.skinIsFolder) {
            std::filesystem::create_directories(local.programFolder.Path() / "x" / "o.cjs");
        }
        local.Start();

        EXPECT_TRUE(local.fake.skinFramework.calls.empty());
        EXPECT_TRUE(local.fake.boxes.shown.empty());
        EXPECT_EQ(local.form->palette().color(QPalette::Window), QColor(Qt::white));
        EXPECT_EQ(local.Frame(5)->palette().color(QPalette::Window), QColor(Qt::white));
        EXPECT_EQ(local.Option(1)->palette().color(QPalette::Window), QColor(Qt::white));
    }
}

// What the user sees: sampled from the drawn window before and after the skin step, at a point of each control
// where only its background shows.
TEST_F(PresentationTest, TheSkinTurnsTheWindowFramesAndOptionsToButtonFaceAndLeavesTheRestAlone) {
    struct Sample {
        const char* what;
        QWidget* control;
        QPoint at;  // in the control's own pixels; negative counts from the right or bottom edge
        bool recoloured;
    };
    auto drawn = [](Form1& form, const Sample& sample) {
        const QImage image = form.grab().toImage();
        const QPoint local(sample.at.x() >= 0 ? sample.at.x() : sample.control->width() + sample.at.x(),
                           sample.at.y() >= 0 ? sample.at.y() : sample.control->height() + sample.at.y());
        return image.pixelColor(sample.control->mapTo(&form, local));
    };
    auto samples = [](const test::Form1Harness& h) {
        Form1& form = *h.form;
        QWidget* listArea = h.ListView1()->viewport();
        return std::vector<Sample>{
            {"window", &form, {2, 2}, true},
            {"Frame1 below the mode box", h.Frame(1), {20, -4}, true},
            {"Frame2 below its button", h.Frame(2), {20, -4}, true},
            {"Frame5 right of the second option", h.Frame(5), {-20, -12}, true},
            {"Frame3 below the folder box", h.Frame(3), {20, -4}, true},
            {"Option1", h.Option(1), {-2, 1}, true},
            {"Option2", h.Option(2), {-2, 1}, true},
            {"Help", h.Button(5), {4, 14}, false},
            {"Add File(s)", h.Button(1), {4, 14}, false},
            {"the folder button", h.Button(8), {3, 11}, false},
            {"the list", listArea, {listArea->width() / 2, -10}, false},
            {"the mode box", h.Combo1()->lineEdit(), {-4, 5}, false},
            {"the folder box", h.Text1(), {-8, 11}, false},
            {"the progress bar", h.ProgressBar1(), {8, 4}, false},
        };
    };
    test::Form1Harness plain;
    plain.Start();
    PutSkin("QWidget {}");
    Start();

    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    ASSERT_NE(buttonFace, QColor(Qt::white));
    const std::vector<Sample> before = samples(plain);
    const std::vector<Sample> after = samples(harness);
    for (std::size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(before[i].what);
        const QColor was = drawn(*plain.form, before[i]);
        const QColor now = drawn(Form(), after[i]);
        if (before[i].recoloured) {
            EXPECT_EQ(was, QColor(Qt::white));
            EXPECT_EQ(now, buttonFace);
        } else {
            EXPECT_EQ(now, was);
        }
    }
}

// The real skin component on the real window: a good sheet is applied, a broken file is reported at the load step.
TEST_F(PresentationTest, TheSkinComponentAppliesAStyleSheetAndReportsABrokenOne) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string error;  // empty: the sheet is applied
    };
    const std::string sheet = "/* a { in a comment */ QPushButton { font-family: \"}\"; color: #123456; }";
    const Case cases[] = {
        {"a style sheet", sheet, ""},
        {"an empty file", "", ""},
        {"a brace too many", "QPushButton { color: red; }}", "The skin file is not a style sheet"},
        {"a brace left open", "QPushButton { color: red;", "The skin file is not a style sheet"},
        {"a comment left open", "QPushButton { color: red; } /*", "The skin file is not a style sheet"},
        {"bytes that are not UTF-8",
         "QPushButton { color: r\xE9"
         "d; }",
         "The skin file is not UTF-8 text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::Form1Harness local;
        QtSkinFramework skin;
        test::FakePlatform& f = local.fake;
        Platform platform = f.With(skin);
        Form1 form(platform, [] {});
        std::filesystem::create_directories(local.programFolder.Path() / "x");
        WriteFileBytes(local.programFolder.File("x/o.cjs"), c.bytes);

        EXPECT_FALSE(form.Load({}).commandLineRan);
        form.ShowCentred();

        const auto errors = f.boxes.ErrorTexts();
        if (c.error.empty()) {
            EXPECT_TRUE(errors.empty());
            EXPECT_EQ(form.styleSheet().toStdString(), c.bytes);
        } else {
            ASSERT_EQ(errors.size(), 1U);
            EXPECT_EQ(errors[0].rfind(c.error, 0), 0U) << errors[0];
            EXPECT_NE(errors[0].find("Form1.Form_Load at line 100\r\r"), std::string::npos);
            EXPECT_TRUE(form.styleSheet().isEmpty());
        }
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(test::FindControl<QComboBox>(form, "Combo1")->count(), 8);
    }
}

}  // namespace
}  // namespace tabulane
