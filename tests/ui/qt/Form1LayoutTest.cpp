#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTreeView>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Form1Design.h"
#include "ui/qt/Form1Harness.h"

namespace tabulane {
namespace {

// The Qt class that renders each kind of control of the design.
const char* QtClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
            return "QPushButton";
        case ControlKind::OptionButton:
            return "QRadioButton";
        case ControlKind::CheckBox:
            return "QCheckBox";
        case ControlKind::Frame:
            return "QGroupBox";
        case ControlKind::Label:
            return "QLabel";
        case ControlKind::TextBox:
            return "QLineEdit";
        case ControlKind::ComboBox:
            return "QComboBox";
        case ControlKind::ListView:
            return "QTreeView";
        case ControlKind::ProgressBar:
            return "QProgressBar";
    }
    return "";
}

// What a control shows as its caption once the window is up: the design's caption, the list's tool tip, the mode
// box's stored mode; the folder box has none of its own.
std::optional<std::string> ShownCaption(const ControlDesign& design) {
    switch (design.kind) {
        case ControlKind::ListView:
            return std::string(kListToolTip);
        case ControlKind::ComboBox:
            return std::string("Tabs To Commas");
        case ControlKind::TextBox:
            return std::nullopt;
        default:
            return std::string(design.caption);
    }
}

QRect PixelRect(const TwipsRect& rect) {
    return QRect(Pixels(rect.left), Pixels(rect.top), Pixels(rect.width), Pixels(rect.height));
}

QString CaptionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        return frame->title();
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return combo->currentText();
    }
    if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
        return bar->text();
    }
    return widget->toolTip();
}

class Form1LayoutTest : public ::testing::Test {
protected:
    Form1LayoutTest() { harness.Start(); }

    QWidget* Control(std::string_view name) const {
        return harness.form->findChild<QWidget*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }

    test::Form1Harness harness;
};

TEST_F(Form1LayoutTest, EveryControlOfTheDesignHasItsKindContainerGeometryAndCaption) {
    for (const ControlDesign& row : kForm1Controls) {
        SCOPED_TRACE(row.name);
        QWidget* control = Control(row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->inherits(QtClassOf(row.kind))) << control->metaObject()->className();
        ASSERT_NE(control->parentWidget(), nullptr);
        EXPECT_EQ(control->parentWidget()->objectName().toStdString(), row.parent);
        EXPECT_EQ(control->geometry(), PixelRect(row.rect));
        // Placed where the design puts it in the window, whatever frames hold it.
        EXPECT_EQ(QRect(control->mapTo(harness.form.get(), QPoint(0, 0)), control->size()),
                  PixelRect(RectInWindow(row)));
        if (const auto caption = ShownCaption(row)) {
            EXPECT_EQ(CaptionOf(control).toStdString(), *caption);
        }
        EXPECT_TRUE(control->isVisible());
    }
    EXPECT_TRUE(qobject_cast<QComboBox*>(Control("Combo1"))->isEditable());
    EXPECT_TRUE(qobject_cast<QProgressBar*>(Control("ProgressBar1"))->isTextVisible());
}

TEST_F(Form1LayoutTest, TabOrderFollowsTheDesignsTabIndexAmongControlsThatTakeFocus) {
    std::vector<std::string> expected;
    for (const ControlDesign* row : ControlsInTabOrder()) {
        if (Control(row->name)->focusPolicy() & Qt::TabFocus) {
            expected.emplace_back(row->name);
        }
    }
    ASSERT_EQ(expected.front(), "ListView1");
    ASSERT_EQ(expected.size(), 13U);  // frames and the progress bar are no tab stops

    std::vector<std::string> chain;
    QWidget* widget = Control("ListView1");
    do {
        const std::string name = widget->objectName().toStdString();
        if (std::find(expected.begin(), expected.end(), name) != expected.end() &&
            std::find(chain.begin(), chain.end(), name) == chain.end()) {
            chain.push_back(name);
        }
        widget = widget->nextInFocusChain();
    } while (widget != Control("ListView1"));
    EXPECT_EQ(chain, expected);
    EXPECT_EQ(harness.form->focusWidget(), Control("ListView1"));
}

TEST_F(Form1LayoutTest, TheWindowIsAFixedCentredClientAreaWithoutAMaximiseButton) {
    Form1& form = *harness.form;
    EXPECT_EQ(form.windowTitle().toStdString(), "Tabulane");
    EXPECT_EQ(form.size(), QSize(536, 597));
    EXPECT_EQ(form.minimumSize(), QSize(536, 597));
    EXPECT_EQ(form.maximumSize(), QSize(536, 597));
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(form.isVisible());
    const QPoint screenCentre = form.screen()->geometry().center();
    EXPECT_LE(std::abs(form.frameGeometry().center().x() - screenCentre.x()), 1);
    EXPECT_LE(std::abs(form.frameGeometry().center().y() - screenCentre.y()), 1);
    EXPECT_FALSE(form.windowIcon().isNull());
}

TEST_F(Form1LayoutTest, FontsAndColoursFollowTheDesign) {
    for (const ControlDesign& row : kForm1Controls) {
        SCOPED_TRACE(row.name);
        QWidget* control = Control(row.name);
        const QFontInfo font(control->font());
        EXPECT_TRUE(font.family() == QStringLiteral("Arial") || font.family() == QStringLiteral("Liberation Sans"))
            << font.family().toStdString();
        EXPECT_TRUE(font.bold());
        // 11.25 pt for push buttons and 9 pt for the rest, at 96 dots per inch.
        EXPECT_EQ(font.pixelSize(), qobject_cast<QPushButton*>(control) != nullptr ? 15 : 12);
        if (qobject_cast<QGroupBox*>(control) != nullptr || qobject_cast<QRadioButton*>(control) != nullptr ||
            qobject_cast<QPushButton*>(control) != nullptr) {
            EXPECT_EQ(control->palette().color(control->backgroundRole()), QColor(Qt::white));
        }
    }
    EXPECT_EQ(harness.form->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(Form1LayoutTest, TheListHasOneFileColumn7000TwipsWide) {
    auto* list = qobject_cast<QTreeView*>(Control("ListView1"));
    ASSERT_EQ(list->model()->columnCount(), 1);
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString().toStdString(), "File(s)");
    EXPECT_EQ(list->header()->sectionSize(0), Pixels(7000));
    EXPECT_EQ(list->model()->rowCount(), 0);
}

// Every caption must fit the room its control gives it at the design's sizes.
TEST_F(Form1LayoutTest, NoCaptionIsClipped) {
    for (const ControlDesign& row : kForm1Controls) {
        QWidget* control = Control(row.name);
        const QFontMetrics metrics(control->font());
        const QString caption = CaptionOf(control);
        QRect room = control->rect();
        QStyle* style = control->style();
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            room = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        } else if (auto* option = qobject_cast<QRadioButton*>(control)) {
            QStyleOptionButton styleOption;
            styleOption.initFrom(option);
            styleOption.text = option->text();
            room = style->subElementRect(QStyle::SE_RadioButtonContents, &styleOption, option);
        } else if (qobject_cast<QGroupBox*>(control) != nullptr) {
            room = control->rect().adjusted(8, 0, -8, 0);  // the title starts inset from the frame's corner
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            room = combo->lineEdit()->rect();
        } else if (qobject_cast<QLineEdit*>(control) != nullptr || qobject_cast<QTreeView*>(control) != nullptr) {
            continue;  // no caption drawn in the control
        }
        SCOPED_TRACE(row.name);
        EXPECT_LE(metrics.horizontalAdvance(caption), room.width()) << caption.toStdString();
        EXPECT_LE(metrics.height(), room.height() + 2) << caption.toStdString();
    }
    auto* combo = qobject_cast<QComboBox*>(Control("Combo1"));
    for (int i = 0; i < combo->count(); ++i) {
        EXPECT_LE(QFontMetrics(combo->font()).horizontalAdvance(combo->itemText(i)), combo->lineEdit()->width());
    }
    auto* list = qobject_cast<QTreeView*>(Control("ListView1"));
    EXPECT_LE(QFontMetrics(list->header()->font()).horizontalAdvance(QStringLiteral("File(s)")),
              list->header()->sectionSize(0));
}

TEST_F(Form1LayoutTest, TheWindowRendersOffscreenToAScreenshot) {
    const QString folder = QStringLiteral(TABULANE_SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/main-window.png");
    QFile::remove(path);
    const QImage image = harness.form->grab().toImage();
    ASSERT_TRUE(image.save(path));

    const QImage saved(path);
    ASSERT_EQ(saved.size(), QSize(536, 597) * harness.form->devicePixelRatio());
    // The background is the design's white, and the controls put more than white on it.
    EXPECT_EQ(saved.pixelColor(2, 2), QColor(Qt::white));
    int nonWhite = 0;
    for (int y = 0; y < saved.height(); y += 3) {
        for (int x = 0; x < saved.width(); x += 3) {
            nonWhite += saved.pixelColor(x, y) != QColor(Qt::white) ? 1 : 0;
        }
    }
    EXPECT_GT(nonWhite, 1000);
}

}  // namespace
}  // namespace tabulane
