#include "ui/qt/Form1.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTreeView>
#include <stdexcept>

#include "platform/qt/QtCursorFile.h"
#include "platform/qt/QtOleColor.h"
#include "ui/Form1Design.h"
#include "ui/qt/ListDrag.h"
#include "ui/qt/PointerWatch.h"
#include "ui/qt/TextProgressBar.h"

namespace tabulane {

namespace {

// The Windows virtual-key code of a Qt key, which the logic speaks; 0 for a key it has no use for.
int VirtualKeyOf(int qtKey) {
    constexpr int kVirtualKeyDelete = 46;
    if (qtKey == Qt::Key_Delete) {
        return kVirtualKeyDelete;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return qtKey;  // the same codes as the letters' and digits' virtual keys
    }
    return 0;
}

}  // namespace

Form1::Form1(Platform& platform, std::function<void()> endProgram)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_logic(platform, *this, std::move(endProgram)),
      m_listModel(m_logic.List()),
      m_controls(BuildForm1Design(*this, &m_listModel)) {
    ConnectEvents();
    m_pointerWatch = new PointerWatch(*this, m_controls, m_logic);
    ShowPointer(m_logic.Pointer());
}

Form1::~Form1() {
    // The controls go before the logic and the list model they would call while being destroyed, and no event of
    // their destruction reaches a filter that takes them for what they were.
    delete m_pointerWatch;
    m_controls.ListView1->viewport()->removeEventFilter(this);
    m_controls.ListView1->removeEventFilter(this);
    const QObjectList children = this->children();
    qDeleteAll(children);
}

void Form1::ConnectEvents() {
    for (const ControlDesign& design : kForm1Controls) {
        const std::string_view name = design.name;
        if (auto* button = qobject_cast<QAbstractButton*>(m_controls.Find(name))) {
            connect(button, &QAbstractButton::clicked, this, [this, name] { m_logic.Click(name); });
        }
    }
    connect(m_controls.Text1, &QLineEdit::textEdited, this, [this] { m_logic.Change("Text1"); });
    connect(m_controls.Combo1, &QComboBox::editTextChanged, this, [this] { m_logic.Change("Combo1"); });
    connect(m_controls.Combo1, &QComboBox::activated, this, [this] { m_logic.Click("Combo1"); });
    // Drags, double-clicks and keys of the list. Double-clicks come from the list's viewport: the view's own signal
    // skips the empty part.
    m_controls.ListView1->viewport()->installEventFilter(this);
    m_controls.ListView1->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    QTreeView* list = m_controls.ListView1;
    if (watched == list->viewport() && HandleListDrag(*event, "ListView1", m_logic)) {
        return true;
    }
    const QEvent::Type type = event->type();
    const bool mouseButton =
        type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
    if (mouseButton && watched == list->viewport() && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const bool onEmptyPart = !list->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint()).isValid();
        if (type == QEvent::MouseButtonDblClick) {
            m_logic.DoubleClick("ListView1");
        }
        // The view would clear the selection on a click below the rows, and a double-click there must still remove
        // the selected entry.
        return onEmptyPart;
    }
    if (type == QEvent::KeyPress && watched == list) {
        m_logic.KeyDown("ListView1", VirtualKeyOf(static_cast<QKeyEvent*>(event)->key()));
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    m_logic.Close();
}

void Form1::ShowCentred() {
    QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        // The whole window, frame included where the platform tells its size before showing, is centred.
        winId();
        QRect frame = frameGeometry();
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    show();
    m_controls.ListView1->setFocus();
}

QWidget& Form1::Control(std::string_view name) const {
    QWidget* control = m_controls.Find(name);
    if (control == nullptr) {
        throw std::invalid_argument("the window has no control " + std::string(name));
    }
    return *control;
}

std::string Form1::ControlText(std::string_view control) const {
    const QWidget& widget = Control(control);
    if (&widget == this) {
        return windowTitle().toStdString();
    }
    if (const auto* box = qobject_cast<const QLineEdit*>(&widget)) {
        return box->text().toStdString();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
        return combo->currentText().toStdString();
    }
    if (const auto* bar = dynamic_cast<const TextProgressBar*>(&widget)) {
        return bar->text().toStdString();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        return button->text().toStdString();
    }
    if (const auto* frame = qobject_cast<const QGroupBox*>(&widget)) {
        return frame->title().toStdString();
    }
    return {};
}

void Form1::SetControlText(std::string_view control, const std::string& text) {
    QWidget& widget = Control(control);
    const QString value = QString::fromStdString(text);
    const QSignalBlocker blocker(widget);
    if (&widget == this) {
        setWindowTitle(value);
    } else if (auto* box = qobject_cast<QLineEdit*>(&widget)) {
        box->setText(value);
    } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
        combo->setEditText(value);
    } else if (auto* bar = dynamic_cast<TextProgressBar*>(&widget)) {
        bar->SetText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        button->setText(value);
    } else if (auto* frame = qobject_cast<QGroupBox*>(&widget)) {
        frame->setTitle(value);
    }
}

bool Form1::IsChecked(std::string_view control) const {
    const auto* option = qobject_cast<const QAbstractButton*>(&Control(control));
    return option != nullptr && option->isChecked();
}

void Form1::SetChecked(std::string_view control, bool checked) {
    auto* option = qobject_cast<QAbstractButton*>(&Control(control));
    if (option == nullptr) {
        return;
    }
    // The group's exclusivity, which the user's clicks keep, would refuse clearing the checked one and clear the
    // other on checking: the logic decides about the other one itself.
    const QSignalBlocker blocker(option);
    option->setAutoExclusive(false);
    option->setChecked(checked);
    option->setAutoExclusive(true);
}

void Form1::SetEnabled(std::string_view control, bool enabled) {
    Control(control).setEnabled(enabled);
}

void Form1::AddComboItem(std::string_view control, const std::string& text) {
    auto* combo = qobject_cast<QComboBox*>(&Control(control));
    const QSignalBlocker blocker(combo);
    combo->addItem(QString::fromStdString(text));
}

int Form1::ComboSelection(std::string_view control) const {
    return qobject_cast<const QComboBox*>(&Control(control))->currentIndex();
}

void Form1::SetComboSelection(std::string_view control, int index) {
    auto* combo = qobject_cast<QComboBox*>(&Control(control));
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(index);
}

void Form1::SetListColumn(const std::string& header, int widthTwips) {
    QTreeView* list = m_controls.ListView1;
    list->model()->setHeaderData(0, Qt::Horizontal, QString::fromStdString(header));
    list->header()->resizeSection(0, Pixels(widthTwips));
}

int Form1::SelectedListRow() const {
    const QModelIndexList rows = m_controls.ListView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.front().row() + 1;
}

void Form1::SetProgressValue(int value) {
    m_controls.ProgressBar1->setValue(value);
}

void Form1::LoadPointerImage(const std::string& path) {
    m_customCursor = ReadCursorFile(path);
}

void Form1::ShowPointer(MousePointer pointer) {
    // The text fields keep their I-beam under the default pointer; the hourglass and the hand show everywhere.
    QCursor cursor(Qt::ArrowCursor);
    QCursor textCursor(Qt::IBeamCursor);
    if (pointer == MousePointer::Hourglass) {
        cursor = textCursor = QCursor(Qt::WaitCursor);
    } else if (pointer == MousePointer::Custom) {
        cursor = textCursor = m_customCursor;
    }
    setCursor(cursor);
    m_controls.Text1->setCursor(textCursor);
    if (m_controls.Combo1->lineEdit() != nullptr) {
        m_controls.Combo1->lineEdit()->setCursor(textCursor);
    }
}

std::int32_t Form1::WindowHandle() {
    // The handle of a 32-bit window system; every platform Qt runs on hands out handles that fit.
    return static_cast<std::int32_t>(winId());
}

void Form1::SetBackColor(std::string_view control, OleColor color) {
    SetDesignControlBackColor(Control(control), color);
}

}  // namespace tabulane
