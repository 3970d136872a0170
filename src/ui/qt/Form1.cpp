#include "ui/qt/Form1.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTreeView>
#include <algorithm>
#include <cmath>
#include <utility>

#include "cli/CommandLine.h"
#include "cli/CommandLineStartup.h"
#include "convert/ModeChoice.h"
#include "convert/OutputDestination.h"
#include "platform/qt/QtCursorFile.h"
#include "platform/qt/QtOleColor.h"
#include "shell/CommandLineHelp.h"
#include "ui/qt/ListDrag.h"
#include "ui/qt/PointerWatch.h"
#include "ui/qt/TextProgressBar.h"

namespace tabulane {

namespace {

// Selects or clears one of a pair of option buttons. Clearing bypasses the group's exclusivity, as a stored
// state may clear both; selecting clears the other through the group.
void SetOptionSelected(QRadioButton* option, bool selected) {
    if (selected || !option->isChecked()) {
        option->setChecked(selected);
        return;
    }
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
}

}  // namespace

Form1::Form1(Platform& platform, Form1Events events, QAbstractItemModel* listModel, std::function<void()> endProgram)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_platform(platform),
      m_events(std::move(events)),
      m_endProgram(std::move(endProgram)),
      m_reporter(platform.boxes),
      m_controls(BuildForm1Design(*this, listModel != nullptr ? listModel : new QStandardItemModel(0, 1, this))) {
    ConnectHandlers();
    // Drags, double-clicks and keys of the list.
    m_controls.ListView1->viewport()->installEventFilter(this);
    m_controls.ListView1->installEventFilter(this);
    new PointerWatch(*this, m_controls, *this);
    ApplyPointer();
}

Form1::~Form1() = default;

void Form1::Handle(const char* name, const std::function<void()>& handler) {
    RunEventHandler(m_reporter, "Form1", name, handler);
}

template <typename... Args>
void Form1::Plugged(const char* name, const std::function<void(Form1&, Args...)>& handler, Args... args) {
    if (handler) {
        Handle(name, [&] { handler(*this, args...); });
    }
}

// The handlers of the small events carry no trap of their own. Only the user's own changes reach them here: a
// change the program makes (SetText1Text, SetComboText) calls the handler itself, inside the trapped step that
// made it, so a failure is reported there.
void Form1::ConnectHandlers() {
    const Form1Controls& c = m_controls;
    SettingsStore& settings = m_platform.settings;
    connect(c.Option1, &QRadioButton::clicked, this,
            [this, &settings] { Handle("Option1_Click", [&] { Option1_Click(*this, settings); }); });
    connect(c.Option2, &QRadioButton::clicked, this,
            [this, &settings] { Handle("Option2_Click", [&] { Option2_Click(*this, settings); }); });
    connect(c.Text1, &QLineEdit::textEdited, this,
            [this, &settings] { Handle("Text1_Change", [&] { Text1_Change(*this, settings); }); });
    connect(c.Combo1, &QComboBox::editTextChanged, this,
            [this, &settings] { Handle("Combo1_Change", [&] { Combo1_Change(*this, settings); }); });
    connect(c.Combo1, &QComboBox::activated, this,
            [this, &settings] { Handle("Combo1_Click", [&] { Combo1_Click(*this, settings); }); });
    connect(c.PushButton8, &QPushButton::clicked, this, [this] { PushButton8_Click(*this, m_platform, m_reporter); });
    connect(c.PushButton4, &QPushButton::clicked, this,
            [this] { PushButton4_Click(m_reporter, m_platform.boxes, m_applicationTitle, &UsageText2); });

    const std::pair<QPushButton*, std::function<void(Form1&)> Form1Events::*> plugged[] = {
        {c.PushButton1, &Form1Events::PushButton1_Click}, {c.PushButton2, &Form1Events::PushButton2_Click},
        {c.PushButton3, &Form1Events::PushButton3_Click}, {c.PushButton5, &Form1Events::PushButton5_Click},
        {c.PushButton6, &Form1Events::PushButton6_Click}, {c.PushButton7, &Form1Events::PushButton7_Click},
    };
    for (const auto& [button, handler] : plugged) {
        const QByteArray name = button->objectName().toUtf8() + "_Click";
        connect(button, &QPushButton::clicked, this,
                [this, name, member = handler] { Plugged(name.constData(), m_events.*member); });
    }
    // Double-clicks come from the list's viewport (see eventFilter): the view's own signal skips the empty part.
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    QTreeView* list = m_controls.ListView1;
    if (watched == list->viewport() &&
        HandleListDrag(*event, m_events, *this,
                       [this](const char* name, const std::function<void()>& handler) { Handle(name, handler); })) {
        return true;
    }
    if (type == QEvent::MouseButtonDblClick && watched == list->viewport() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // Anywhere in the list, items or empty part: the selected entry is removed, not the one under the pointer.
        Plugged("ListView1_DblClick", m_events.ListView1_DblClick);
    } else if (type == QEvent::KeyPress && watched == list) {
        Plugged("ListView1_KeyDown", m_events.ListView1_KeyDown, static_cast<QKeyEvent*>(event)->key());
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event) {
    // Every setting was stored when it changed, so closing saves nothing.
    event->accept();
    if (m_endProgram) {
        m_endProgram();
    }
}

StartupResult Form1::Load(const std::string& argumentText, bool argumentsFitText) {
    m_commandLineStart = !argumentText.empty();
    StartupInputs inputs = MakeStartupInputs(m_reporter, m_platform, argumentText, argumentsFitText);
    // The load step's own trap takes their failures, at their steps.
    if (m_events.ApplySkin) {
        inputs.applySkin = [this] { m_events.ApplySkin(*this); };
    }
    if (m_events.VisitHomePage) {
        inputs.visitHomePage = [this] { m_events.VisitHomePage(*this); };
    }
    const StartupResult result = Form_Load(*this, m_platform, m_reporter, inputs);
    m_applicationTitle = result.applicationTitle;
    return result;
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

void Form1::SetCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void Form1::LoadCustomCursor(const std::string& path) {
    m_customCursor = ReadCursorFile(path);
    ApplyPointer();
}

void Form1::AddListColumn(const std::string& header, int widthTwips) {
    QTreeView* list = m_controls.ListView1;
    list->model()->setHeaderData(0, Qt::Horizontal, QString::fromStdString(header));
    list->header()->resizeSection(0, Pixels(widthTwips));
}

void Form1::AddComboItem(const std::string& caption) {
    QComboBox* combo = m_controls.Combo1;
    // Adding to an empty box would select the entry and store it as the chosen mode before the stored one is read.
    const QSignalBlocker blocker(combo);
    const QString text = combo->currentText();
    combo->addItem(QString::fromStdString(caption));
    if (combo->currentText() != text) {
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    }
}

std::string Form1::ComboText() const {
    return m_controls.Combo1->currentText().toStdString();
}

void Form1::SetComboText(const std::string& text) {
    QComboBox* combo = m_controls.Combo1;
    const QString wanted = QString::fromStdString(text);
    {
        // One change, not the passing states of selecting the entry and setting the text.
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(combo->findText(wanted, Qt::MatchExactly | Qt::MatchCaseSensitive));
        combo->setEditText(wanted);
    }
    if (!m_commandLineStart) {
        Combo1_Change(*this, m_platform.settings);
    }
}

void Form1::SetOption1Selected(bool selected) {
    SetOptionSelected(m_controls.Option1, selected);
}

void Form1::SetOption2Selected(bool selected) {
    SetOptionSelected(m_controls.Option2, selected);
}

void Form1::SetText1Text(const std::string& text) {
    QLineEdit* box = m_controls.Text1;
    const QString before = box->text();
    box->setText(QString::fromStdString(text));
    // A change the program makes is stored as a keystroke is; setting the text it already has is no change.
    if (box->text() != before) {
        Text1_Change(*this, m_platform.settings);
    }
}

void Form1::SetFrame3Enabled(bool enabled) {
    m_controls.Frame3->setEnabled(enabled);
}

bool Form1::Option1Selected() const {
    return m_controls.Option1->isChecked();
}

bool Form1::Option2Selected() const {
    return m_controls.Option2->isChecked();
}

std::string Form1::Text1Text() const {
    return m_controls.Text1->text().toStdString();
}

void Form1::SetPointer(MousePointer pointer) {
    if (pointer == m_pointer) {
        return;
    }
    m_pointer = pointer;
    ApplyPointer();
}

void Form1::ApplyPointer() {
    // The text fields keep their I-beam under the default pointer; the hourglass and the hand show everywhere.
    QCursor cursor(Qt::ArrowCursor);
    QCursor textCursor(Qt::IBeamCursor);
    if (m_pointer == MousePointer::Hourglass) {
        cursor = textCursor = QCursor(Qt::WaitCursor);
    } else if (m_pointer == MousePointer::Custom) {
        cursor = textCursor = m_customCursor;
    }
    setCursor(cursor);
    m_controls.Text1->setCursor(textCursor);
    if (m_controls.Combo1->lineEdit() != nullptr) {
        m_controls.Combo1->lineEdit()->setCursor(textCursor);
    }
}

void Form1::SetProgressValue(double percent) {
    // The bar's range is 0 to 100; anything else (or no number at all) is held at its nearest end.
    const double inRange = std::isnan(percent) ? 0.0 : std::clamp(percent, 0.0, 100.0);
    m_controls.ProgressBar1->setValue(static_cast<int>(std::lround(inRange)));
}

void Form1::SetProgressText(const std::string& text) {
    m_controls.ProgressBar1->SetText(QString::fromStdString(text));
}

int Form1::SelectedListPosition() const {
    const QModelIndexList rows = m_controls.ListView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.front().row() + 1;
}

std::int32_t Form1::WindowHandle() {
    // The handle of a 32-bit window system; every platform Qt runs on hands out handles that fit.
    return static_cast<std::int32_t>(winId());
}

void Form1::SetBackColor(OleColor color) {
    QPalette colored = palette();
    colored.setColor(QPalette::Window, ColorFromOle(color));
    setPalette(colored);
}

std::vector<WindowControl> Form1::Controls() const {
    return DescribeControls(m_controls);
}

void Form1::SetControlBackColor(const std::string& name, OleColor color) {
    SetDesignControlBackColor(m_controls, name, color);
}

}  // namespace tabulane
