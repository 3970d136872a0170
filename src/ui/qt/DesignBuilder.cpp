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

}  // namespace

int Pixels(int twips) {
    return TwipsToPixels(twips, 96);
}

QWidget* Form1Controls::Find(std::string_view name) const {
    if (name == kForm1Design.name) {
        return window;
    }
    for (std::size_t at = 0; at < kForm1Controls.size(); ++at) {
        if (kForm1Controls[at].name == name) {
            return inDesignOrder.at(at);
        }
    }
    return nullptr;
}

Form1Controls BuildForm1Design(QWidget& window, QAbstractItemModel* listModel) {
    DressWindow(window);
    Form1Controls c;
    c.window = &window;
    for (const ControlDesign& design : kForm1Controls) {
        QWidget* control = MakeControl(design, c.Find(design.parent), listModel);
        control->setObjectName(Text(design.name));
        control->setGeometry(Pixels(design.rect.left), Pixels(design.rect.top), Pixels(design.rect.width),
                             Pixels(design.rect.height));
        c.inDesignOrder.push_back(control);
    }
    c.ListView1 = c.Get<QTreeView>("ListView1");
    c.Combo1 = c.Get<QComboBox>("Combo1");
    c.Text1 = c.Get<QLineEdit>("Text1");
    c.ProgressBar1 = c.Get<TextProgressBar>("ProgressBar1");

    // The design's tab order, less the frames and the progress bar, which take no focus.
    QWidget* previous = nullptr;
    for (const ControlDesign* design : ControlsInTabOrder()) {
        if (!TakesFocus(design->kind)) {
            continue;
        }
        QWidget* control = c.Find(design->name);
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
    return c;
}

void SetDesignControlBackColor(QWidget& control, OleColor color) {
    QPalette colored = control.palette();
    colored.setColor(control.backgroundRole(), ColorFromOle(color));
    control.setPalette(colored);
    // A frame paints its own box and must leave the strip above its line to what reaches into it; the window
    // fills its background already.
    if (qobject_cast<QGroupBox*>(&control) == nullptr && !control.isWindow()) {
        control.setAutoFillBackground(true);
    }
}

}  // namespace tabulane
