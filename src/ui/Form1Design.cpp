#include "ui/Form1Design.h"

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

#include "convert/BatchRun.h"
#include "platform/PlatformError.h"
#include "platform/qt/QtOleColor.h"
#include "ui/DesignFrame.h"
#include "ui/ProgramIcon.h"
#include "ui/TextProgressBar.h"

namespace tabulane {

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidthTwips = 8040;
constexpr int kClientHeightTwips = 8955;

const char* const kListToolTip =
    "Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal "
    "full names.";

QString Text(const char* text) {
    return QString::fromUtf8(text);
}

// Arial where installed, else its metric-compatible stand-in, so captions take the width they were laid out for.
// Sizes are in pixels at 96 dots per inch (9 pt = 12 px, 11.25 pt = 15 px), matching the fixed pixel layout.
QFont DesignFont(int pixelSize) {
    static const QString family = QFontDatabase::hasFamily(Text("Arial")) ? Text("Arial") : Text("Liberation Sans");
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

void Place(QWidget* control, const char* name, int left, int top, int width, int height) {
    control->setObjectName(Text(name));
    control->setGeometry(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

QPushButton* MakePushButton(QWidget* parent, const char* name, const char* caption, int left, int top, int width,
                            int height) {
    auto* button = new QPushButton(Text(caption), parent);
    Place(button, name, left, top, width, height);
    button->setFont(DesignFont(15));
    button->setAutoDefault(false);
    return button;
}

QGroupBox* MakeFrame(QWidget* parent, const char* name, const char* caption, int left, int top, int width, int height) {
    auto* frame = new DesignFrame(Text(caption), parent);
    Place(frame, name, left, top, width, height);
    return frame;
}

void DressWindow(QWidget& window) {
    window.setObjectName(Text("Form1"));
    window.setWindowTitle(Text("Form1"));
    window.setWindowIcon(ProgramIcon());
    window.setFixedSize(Pixels(kClientWidthTwips), Pixels(kClientHeightTwips));
    window.setFont(DesignFont(12));
    QPalette white = window.palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Button, Qt::white);
    window.setPalette(white);
    window.setAutoFillBackground(true);
}

QTreeView* MakeList(QWidget* window, QAbstractItemModel* listModel) {
    auto* list = new QTreeView(window);
    Place(list, "ListView1", 120, 630, 7800, 2490);
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

}  // namespace

int Pixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

std::vector<QWidget*> Form1Controls::InDesignOrder() const {
    return {PushButton5, ListView1, PushButton1, PushButton3, PushButton6, PushButton7,
            Frame1,      Combo1,    Frame5,      Option1,     Frame3,      Text1,
            PushButton8, Option2,   PushButton2, Frame2,      PushButton4, ProgressBar1};
}

Form1Controls BuildForm1Design(QWidget& window, QAbstractItemModel* listModel) {
    DressWindow(window);
    QWidget* const w = &window;
    Form1Controls c{};
    c.PushButton5 = MakePushButton(w, "PushButton5", "Help", 120, 120, 7800, 405);
    c.ListView1 = MakeList(w, listModel);
    c.PushButton1 = MakePushButton(w, "PushButton1", "Add File(s)", 120, 3210, 3840, 405);
    c.PushButton3 = MakePushButton(w, "PushButton3", "Add All File(s) In Folder", 4080, 3210, 3840, 405);
    c.PushButton6 = MakePushButton(w, "PushButton6", "Clear List", 120, 3720, 3840, 405);
    c.PushButton7 = MakePushButton(w, "PushButton7", "Load Sample/Example Files", 4080, 3720, 3840, 405);

    c.Frame1 = MakeFrame(w, "Frame1", "Convert Options", 120, 4185, 7800, 820);
    c.Combo1 = new QComboBox(c.Frame1);
    Place(c.Combo1, "Combo1", 240, 300, 7320, 345);
    c.Combo1->setEditable(true);
    // The box keeps exactly the eight modes: typed text is neither completed nor added as an entry.
    c.Combo1->setInsertPolicy(QComboBox::NoInsert);
    c.Combo1->setCompleter(nullptr);
    c.Combo1->setMaxVisibleItems(8);

    c.Frame5 = MakeFrame(w, "Frame5", "Save Option", 120, 5085, 7800, 1815);
    c.Option1 = new QRadioButton(Text("Save results to this folder:"), c.Frame5);
    Place(c.Option1, "Option1", 240, 300, 3615, 255);
    c.Option1->setChecked(true);
    c.Frame3 = MakeFrame(c.Frame5, "Frame3", "", 480, 510, 6840, 810);
    c.Text1 = new QLineEdit(c.Frame3);
    Place(c.Text1, "Text1", 240, 300, 5670, 345);
    c.PushButton8 = MakePushButton(c.Frame3, "PushButton8", "...", 6000, 300, 600, 345);
    c.Option2 = new QRadioButton(Text("Save results in folder of original file"), c.Frame5);
    Place(c.Option2, "Option2", 240, 1410, 3615, 255);

    c.PushButton2 = MakePushButton(w, "PushButton2", "Start Converting", 120, 7020, 7800, 405);
    c.Frame2 = MakeFrame(w, "Frame2", "Additional Feature", 120, 7455, 7800, 855);
    c.PushButton4 =
        MakePushButton(c.Frame2, "PushButton4", "How To Use This Software As Command-Line", 240, 300, 7320, 405);

    c.ProgressBar1 = new TextProgressBar(w);
    Place(c.ProgressBar1, "ProgressBar1", 120, 8430, 7800, 405);
    c.ProgressBar1->setRange(0, 100);
    c.ProgressBar1->setValue(0);
    c.ProgressBar1->setTextVisible(true);
    c.ProgressBar1->setAlignment(Qt::AlignCenter);
    c.ProgressBar1->SetText(Text(kIdleProgressText));

    // The design's tab order; frames and the progress bar take no focus, so they have no place in it.
    const std::vector<QWidget*> tabOrder{c.ListView1,   c.PushButton1, c.PushButton3, c.PushButton2, c.Combo1,
                                         c.PushButton5, c.PushButton4, c.PushButton6, c.PushButton7, c.Option2,
                                         c.Option1,     c.Text1,       c.PushButton8};
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
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
