#include "ui/qt/DesignBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <cmath>
#include <map>

#include "platform/PlatformError.h"
#include "platform/qt/QtOleColor.h"
#include "ui/Form1Design.h"
#include "ui/qt/DesignFrame.h"
#include "ui/qt/ProgramIcon.h"
#include "ui/qt/TextProgressBar.h"

namespace tabulane {

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Arial where installed, else its metric-compatible stand-in, so captions take the width they were laid out for.
// Sizes are in pixels at 96 dots per inch (9 pt = 12 px, 11.25 pt = 15 px), matching the fixed pixel layout.
QFont MakeFont(const FontDesign& design) {
    static const QString family =
        QFontDatabase::hasFamily(Text(design.face)) ? Text(design.face) : Text("Liberation Sans");
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(design.points * 96.0 / 72.0)));
    font.setBold(design.bold);
    return font;
}

void DressWindow(QWidget& window) {
    window.setObjectName(Text(kForm1Design.name));
    window.setWindowTitle(Text(kForm1Design.caption));
    window.setWindowIcon(ProgramIcon());
    window.setFixedSize(Pixels(kForm1Design.clientWidth), Pixels(kForm1Design.clientHeight));
    window.setFont(MakeFont(kForm1Design.font));
    QPalette white = window.palette();
    white.setColor(QPalette::Window, ColorFromOle(kForm1Design.backColor));
    white.setColor(QPalette::Button, ColorFromOle(kDesignBackColor));
    window.setPalette(white);
    window.setAutoFillBackground(true);
}

QTreeView* MakeList(QWidget* parent, QAbstractItemModel* listModel) {
    auto* list = new QTreeView(parent);
    list->setToolTip(Text(kListToolTip));
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);  // keeps very long lists cheap to lay out
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    list->setModel(listModel);
    // Drops are handled by the window (the list's own drop handling would try to move rows).
    list->setAcceptDrops(true);
    list->viewport()->setAcceptDrops(true);
    return list;
}

QComboBox* MakeCombo(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    // The box keeps exactly the eight modes: typed text is neither completed nor added as an entry.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->setMaxVisibleItems(8);
    return combo;
}

TextProgressBar* MakeProgressBar(QWidget* parent, const QString& text) {
    auto* bar = new TextProgressBar(parent);
    bar->setRange(kProgressMinimum, kProgressMaximum);
    bar->setValue(kProgressMinimum);
    bar->setTextVisible(true);
    bar->setAlignment(Qt::AlignCenter);
    bar->SetText(text);
    return bar;
}

QWidget* MakeControl(const ControlDesign& design, QWidget* parent, QAbstractItemModel* listModel) {
    const QString caption = Text(design.caption);
    switch (design.kind) {
        case ControlKind::PushButton: {
            auto* button = new QPushButton(caption, parent);
            button->setFont(MakeFont(design.font));
            button->setAutoDefault(false);
            return button;
        }
        case ControlKind::OptionButton: {
            auto* option = new QRadioButton(caption, parent);
            option->setChecked(design.name == kSelectedInDesign);
            return option;
        }
        case ControlKind::Frame:
            return new DesignFrame(caption, parent);
        case ControlKind::TextBox:
            return new QLineEdit(caption, parent);
        case ControlKind::ComboBox:
            return MakeCombo(parent);
        case ControlKind::ListView:
            return MakeList(parent, listModel);
        case ControlKind::ProgressBar:
            return MakeProgressBar(parent, caption);
        case ControlKind::CheckBox:
            return new QCheckBox(caption, parent);
        case ControlKind::Label:
            return new QLabel(caption, parent);
    }
    return nullptr;
}

template <typename Control>
Control* Take(const std::map<std::string_view, QWidget*>& built, std::string_view name) {
    return static_cast<Control*>(built.at(name));
}

}  // namespace

int Pixels(int twips) {
    return TwipsToPixels(twips, 96);
}

std::vector<QWidget*> Form1Controls::InDesignOrder() const {
    return {PushButton5, ListView1, PushButton1, PushButton3, PushButton6, PushButton7,
            Frame1,      Combo1,    Frame5,      Option1,     Frame3,      Text1,
            PushButton8, Option2,   PushButton2, Frame2,      PushButton4, ProgressBar1};
}

Form1Controls BuildForm1Design(QWidget& window, QAbstractItemModel* listModel) {
    DressWindow(window);
    std::map<std::string_view, QWidget*> built{{kForm1Design.name, &window}};
    for (const ControlDesign& design : kForm1Controls) {
        QWidget* control = MakeControl(design, built.at(design.parent), listModel);
        control->setObjectName(Text(design.name));
        control->setGeometry(Pixels(design.rect.left), Pixels(design.rect.top), Pixels(design.rect.width),
                             Pixels(design.rect.height));
        built.emplace(design.name, control);
    }
    Form1Controls c{};
    c.PushButton5 = Take<QPushButton>(built, "PushButton5");
    c.ListView1 = Take<QTreeView>(built, "ListView1");
    c.PushButton1 = Take<QPushButton>(built, "PushButton1");
    c.PushButton3 = Take<QPushButton>(built, "PushButton3");
    c.PushButton6 = Take<QPushButton>(built, "PushButton6");
    c.PushButton7 = Take<QPushButton>(built, "PushButton7");
    c.Frame1 = Take<QGroupBox>(built, "Frame1");
    c.Combo1 = Take<QComboBox>(built, "Combo1");
    c.Frame5 = Take<QGroupBox>(built, "Frame5");
    c.Option1 = Take<QRadioButton>(built, "Option1");
    c.Frame3 = Take<QGroupBox>(built, "Frame3");
    c.Text1 = Take<QLineEdit>(built, "Text1");
    c.PushButton8 = Take<QPushButton>(built, "PushButton8");
    c.Option2 = Take<QRadioButton>(built, "Option2");
    c.PushButton2 = Take<QPushButton>(built, "PushButton2");
    c.Frame2 = Take<QGroupBox>(built, "Frame2");
    c.PushButton4 = Take<QPushButton>(built, "PushButton4");
    c.ProgressBar1 = Take<TextProgressBar>(built, "ProgressBar1");

    // The design's tab order, less the frames and the progress bar, which take no focus.
    QWidget* previous = nullptr;
    for (const ControlDesign* design : ControlsInTabOrder()) {
        if (!TakesFocus(design->kind)) {
            continue;
        }
        QWidget* control = built.at(design->name);
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
    return c;
}

namespace {

ControlKind KindOf(const QWidget* control) {
    if (qobject_cast<const QPushButton*>(control) != nullptr) {
        return ControlKind::PushButton;
    }
    if (qobject_cast<const QRadioButton*>(control) != nullptr) {
        return ControlKind::OptionButton;
    }
    if (qobject_cast<const QCheckBox*>(control) != nullptr) {
        return ControlKind::CheckBox;
    }
    if (qobject_cast<const QGroupBox*>(control) != nullptr) {
        return ControlKind::Frame;
    }
    if (qobject_cast<const QLabel*>(control) != nullptr) {
        return ControlKind::Label;
    }
    if (qobject_cast<const QLineEdit*>(control) != nullptr) {
        return ControlKind::TextBox;
    }
    if (qobject_cast<const QComboBox*>(control) != nullptr) {
        return ControlKind::ComboBox;
    }
    if (qobject_cast<const QProgressBar*>(control) != nullptr) {
        return ControlKind::ProgressBar;
    }
    return ControlKind::ListView;
}

}  // namespace

std::vector<WindowControl> DescribeControls(const Form1Controls& controls) {
    std::vector<WindowControl> described;
    for (const QWidget* control : controls.InDesignOrder()) {
        described.push_back({control->objectName().toStdString(), KindOf(control)});
    }
    return described;
}

void SetDesignControlBackColor(const Form1Controls& controls, const std::string& name, OleColor color) {
    constexpr int kObjectRequired = 424;
    const QString wanted = QString::fromStdString(name);
    for (QWidget* control : controls.InDesignOrder()) {
        if (control->objectName() == wanted) {
            QPalette colored = control->palette();
            colored.setColor(control->backgroundRole(), ColorFromOle(color));
            control->setPalette(colored);
            // A frame paints its own box and must leave the strip above its line to what reaches into it.
            if (qobject_cast<QGroupBox*>(control) == nullptr) {
                control->setAutoFillBackground(true);
            }
            return;
        }
    }
    throw PlatformError(kObjectRequired, "Object required");
}

}  // namespace tabulane
