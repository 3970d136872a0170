#include "ui/Form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTreeView>
#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/CommandLineStartup.h"
#include "convert/ModeChoice.h"
#include "convert/Modes.h"
#include "convert/OutputDestination.h"
#include "platform/PlatformError.h"
#include "shell/CommandLineHelp.h"
#include "ui/DesignFrame.h"
#include "ui/ProgramIcon.h"
#include "ui/TextProgressBar.h"

namespace tabulane {

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidthTwips = 8040;
constexpr int kClientHeightTwips = 8955;
// The runtime's error for a picture file it cannot read.
constexpr int kInvalidPicture = 481;
constexpr int kInvalidPropertyValue = 380;
constexpr int kObjectRequired = 424;

const char* const kListToolTip =
    "Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal "
    "full names.";

int Pixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

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

// The hotspot of a cursor file: the first image's entry holds it where an icon keeps planes and bit count.
QPoint ReadHotspot(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray header = file.read(14);
    if (header.size() < 14 || static_cast<unsigned char>(header[2]) != 2) {
        return {};
    }
    auto word = [&header](int at) {
        return static_cast<int>(static_cast<unsigned char>(header[at]) |
                                (static_cast<unsigned char>(header[at + 1]) << 8));
    };
    return {word(10), word(12)};
}

// A colour as the design writes it: &H00BBGGRR, or &H800000nn for the platform's system colour nn.
QColor ColorFromOle(OleColor color) {
    if ((color & 0x80000000U) == 0) {
        return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                      static_cast<int>((color >> 16) & 0xFF));
    }
    struct SystemColor {
        OleColor index;
        QPalette::ColorRole role;
    };
    static constexpr SystemColor kSystemColors[] = {
        {5, QPalette::Base}, {8, QPalette::Text}, {15, QPalette::Button}, {18, QPalette::ButtonText}};
    for (const SystemColor& system : kSystemColors) {
        if ((color & 0x7FFFFFFFU) == system.index) {
            // The application's palette: the window's own is the design's white.
            return QApplication::palette().color(system.role);
        }
    }
    throw PlatformError(kInvalidPropertyValue, "Invalid property value");
}

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

Form1::Form1(Platform& platform, std::function<void()> endProgram)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_platform(platform),
      m_endProgram(std::move(endProgram)),
      m_reporter(platform.boxes),
      m_defaultListModel(new QStandardItemModel(0, 1, this)) {
    setObjectName(Text("Form1"));
    setWindowTitle(Text("Form1"));
    setWindowIcon(ProgramIcon());
    setFixedSize(Pixels(kClientWidthTwips), Pixels(kClientHeightTwips));
    setFont(DesignFont(12));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Button, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    BuildControls();
    ConnectHandlers();
    WatchPointer();
    ApplyPointer();
}

Form1::~Form1() = default;

void Form1::BuildControls() {
    PushButton5 = MakePushButton(this, "PushButton5", "Help", 120, 120, 7800, 405);

    ListView1 = new QTreeView(this);
    Place(ListView1, "ListView1", 120, 630, 7800, 2490);
    ListView1->setToolTip(Text(kListToolTip));
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);  // keeps very long lists cheap to lay out
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionsMovable(false);
    ListView1->setModel(m_defaultListModel);

    PushButton1 = MakePushButton(this, "PushButton1", "Add File(s)", 120, 3210, 3840, 405);
    PushButton3 = MakePushButton(this, "PushButton3", "Add All File(s) In Folder", 4080, 3210, 3840, 405);
    PushButton6 = MakePushButton(this, "PushButton6", "Clear List", 120, 3720, 3840, 405);
    PushButton7 = MakePushButton(this, "PushButton7", "Load Sample/Example Files", 4080, 3720, 3840, 405);

    Frame1 = MakeFrame(this, "Frame1", "Convert Options", 120, 4185, 7800, 820);
    Combo1 = new QComboBox(Frame1);
    Place(Combo1, "Combo1", 240, 300, 7320, 345);
    Combo1->setEditable(true);
    // The box keeps exactly the eight modes: typed text is neither completed nor added as an entry.
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);
    Combo1->setMaxVisibleItems(8);

    Frame5 = MakeFrame(this, "Frame5", "Save Option", 120, 5085, 7800, 1815);
    Option1 = new QRadioButton(Text("Save results to this folder:"), Frame5);
    Place(Option1, "Option1", 240, 300, 3615, 255);
    Option1->setChecked(true);
    Frame3 = MakeFrame(Frame5, "Frame3", "", 480, 510, 6840, 810);
    Text1 = new QLineEdit(Frame3);
    Place(Text1, "Text1", 240, 300, 5670, 345);
    PushButton8 = MakePushButton(Frame3, "PushButton8", "...", 6000, 300, 600, 345);
    Option2 = new QRadioButton(Text("Save results in folder of original file"), Frame5);
    Place(Option2, "Option2", 240, 1410, 3615, 255);

    PushButton2 = MakePushButton(this, "PushButton2", "Start Converting", 120, 7020, 7800, 405);
    Frame2 = MakeFrame(this, "Frame2", "Additional Feature", 120, 7455, 7800, 855);
    PushButton4 =
        MakePushButton(Frame2, "PushButton4", "How To Use This Software As Command-Line", 240, 300, 7320, 405);

    ProgressBar1 = new TextProgressBar(this);
    Place(ProgressBar1, "ProgressBar1", 120, 8430, 7800, 405);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(true);
    ProgressBar1->setAlignment(Qt::AlignCenter);
    ProgressBar1->SetText(Text("Progress Bar"));

    // The design's tab order; frames and the progress bar take no focus, so they have no place in it.
    const std::vector<QWidget*> tabOrder{ListView1,   PushButton1, PushButton3, PushButton2, Combo1,
                                         PushButton5, PushButton4, PushButton6, PushButton7, Option2,
                                         Option1,     Text1,       PushButton8};
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
}

void Form1::ConnectHandlers() {
    SettingsStore& settings = m_platform.settings;
    connect(Option1, &QRadioButton::clicked, this,
            [this, &settings] { RunHandler("Option1_Click", [&] { Option1_Click(*this, settings); }); });
    connect(Option2, &QRadioButton::clicked, this,
            [this, &settings] { RunHandler("Option2_Click", [&] { Option2_Click(*this, settings); }); });
    connect(Text1, &QLineEdit::textChanged, this,
            [this, &settings] { RunHandler("Text1_Change", [&] { Text1_Change(*this, settings); }); });
    connect(Combo1, &QComboBox::editTextChanged, this,
            [this, &settings] { RunHandler("Combo1_Change", [&] { Combo1_Change(*this, settings); }); });
    connect(Combo1, &QComboBox::activated, this,
            [this, &settings] { RunHandler("Combo1_Click", [&] { Combo1_Click(*this, settings); }); });
    connect(PushButton8, &QPushButton::clicked, this, [this] { PushButton8_Click(*this, m_platform, m_reporter); });
    connect(PushButton4, &QPushButton::clicked, this,
            [this] { PushButton4_Click(m_reporter, m_platform.boxes, m_applicationTitle, &UsageText2); });

    // Handlers that other parts of the program supply through SetEvents.
    const std::pair<QPushButton*, std::function<void()> Form1Events::*> plugged[] = {
        {PushButton1, &Form1Events::PushButton1_Click}, {PushButton2, &Form1Events::PushButton2_Click},
        {PushButton3, &Form1Events::PushButton3_Click}, {PushButton5, &Form1Events::PushButton5_Click},
        {PushButton6, &Form1Events::PushButton6_Click}, {PushButton7, &Form1Events::PushButton7_Click},
    };
    for (const auto& [button, handler] : plugged) {
        connect(button, &QPushButton::clicked, this, [this, member = handler] {
            if (m_events.*member) {
                (m_events.*member)();
            }
        });
    }
    // Double-clicks come from the list's viewport (see eventFilter): the view's own signal skips the empty part.
}

// Hover handling: the window's pointer shows over every control. Over a push button it becomes the hand, over
// the background, a frame, the list or the folder box the arrow; never while it is the hourglass. Option
// buttons, the mode box and the progress bar have no handler: the pointer stays as it was over them.
void Form1::WatchPointer() {
    std::vector<QWidget*> watched{this,
                                  Frame1,
                                  Frame2,
                                  Frame3,
                                  Frame5,
                                  ListView1,
                                  ListView1->viewport(),
                                  ListView1->header(),
                                  ListView1->header()->viewport(),
                                  Text1};
    for (QPushButton* button :
         {PushButton1, PushButton2, PushButton3, PushButton4, PushButton5, PushButton6, PushButton7, PushButton8}) {
        watched.push_back(button);
    }
    for (QWidget* widget : watched) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    // A move over a control must not reach the frame or the window around it, whose handler would set the arrow:
    // neither after a control's own handler nor over a control that has none.
    std::vector<QWidget*> stopping{Option1, Option2, Combo1, ProgressBar1};
    if (Combo1->lineEdit() != nullptr) {
        stopping.push_back(Combo1->lineEdit());
    }
    for (QWidget* widget : watched) {
        if (widget != this && qobject_cast<QGroupBox*>(widget) == nullptr) {
            stopping.push_back(widget);
        }
    }
    for (QWidget* widget : stopping) {
        widget->setAttribute(Qt::WA_NoMousePropagation);
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // Mouse moves only: entering a control also enters the frames around it, which must not reset the pointer.
    if (type == QEvent::MouseMove) {
        // A disabled control takes no mouse input: the move belongs to the first enabled frame or window around it.
        auto* over = qobject_cast<QWidget*>(watched);
        while (over != nullptr && !over->isEnabled()) {
            over = over->parentWidget();
        }
        if (over != nullptr && m_pointer != MousePointer::Hourglass) {
            SetPointer(qobject_cast<QPushButton*>(over) != nullptr ? MousePointer::Custom : MousePointer::Default);
        }
    } else if (type == QEvent::MouseButtonDblClick && watched == ListView1->viewport() &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && m_events.ListView1_DblClick) {
        // Anywhere in the list, items or empty part: the selected entry is removed, not the one under the pointer.
        m_events.ListView1_DblClick();
    } else if (type == QEvent::KeyPress && watched == ListView1 && m_events.ListView1_KeyDown) {
        m_events.ListView1_KeyDown(static_cast<QKeyEvent*>(event)->key());
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event) {
    // Form_Unload: every setting was stored when it changed, so nothing is saved here.
    event->accept();
    if (m_endProgram) {
        m_endProgram();
    }
}

void Form1::SetEvents(Form1Events events) {
    m_events = std::move(events);
}

StartupResult Form1::Load(const std::string& argumentText, bool argumentsFitText) {
    m_commandLineStart = !argumentText.empty();
    StartupInputs inputs = MakeStartupInputs(m_reporter, m_platform, argumentText, argumentsFitText);
    inputs.applySkin = m_events.ApplySkin;
    inputs.visitHomePage = m_events.VisitHomePage;
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
    ListView1->setFocus();
}

void Form1::SetListModel(QAbstractItemModel* model) {
    ListView1->setModel(model != nullptr ? model : m_defaultListModel);
    ApplyListColumn();
}

QAbstractItemModel* Form1::ListModel() const {
    return ListView1->model();
}

void Form1::RunHandler(const char* name, const std::function<void()>& handler) {
    // These handlers are single statements (the option clicks a few of one kind): a failure is their first step.
    constexpr int kHandlerStep = 100;
    try {
        handler();
    } catch (...) {
        if (m_passHandlerFailuresUp) {
            if (!m_handlerFailure) {
                m_handlerFailure = std::current_exception();
            }
            return;
        }
        ErrorTrap trap(m_reporter, "Form1", name);
        trap.Step(kHandlerStep, [] { throw; });
    }
}

void Form1::PassHandlerFailuresUp(const std::function<void()>& setter) {
    const bool outer = m_passHandlerFailuresUp;
    m_passHandlerFailuresUp = true;
    try {
        setter();
    } catch (...) {
        m_passHandlerFailuresUp = outer;
        throw;
    }
    m_passHandlerFailuresUp = outer;
    if (!outer && m_handlerFailure) {
        std::rethrow_exception(std::exchange(m_handlerFailure, nullptr));
    }
}

void Form1::SetCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void Form1::LoadCustomCursor(const std::string& path) {
    const QString file = QString::fromStdString(path);
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        throw PlatformError(kInvalidPicture, "Invalid picture");
    }
    const QPoint hotspot = ReadHotspot(file);
    m_customCursor = QCursor(QPixmap::fromImage(image), hotspot.x(), hotspot.y());
    ApplyPointer();
}

void Form1::AddListColumn(const std::string& header, int widthTwips) {
    m_columnHeader = QString::fromStdString(header);
    m_columnWidth = Pixels(widthTwips);
    ApplyListColumn();
}

void Form1::ApplyListColumn() {
    if (m_columnWidth == 0) {
        return;
    }
    QAbstractItemModel* model = ListView1->model();
    model->setHeaderData(0, Qt::Horizontal, m_columnHeader);
    ListView1->header()->resizeSection(0, m_columnWidth);
}

void Form1::AddComboItem(const std::string& caption) {
    // Adding to an empty box would select the entry and store it as the chosen mode before the stored one is read.
    const QSignalBlocker blocker(Combo1);
    const QString text = Combo1->currentText();
    Combo1->addItem(QString::fromStdString(caption));
    if (Combo1->currentText() != text) {
        Combo1->setCurrentIndex(-1);
        Combo1->setEditText(text);
    }
}

std::string Form1::ComboText() const {
    return Combo1->currentText().toStdString();
}

void Form1::SetComboText(const std::string& text) {
    const QString wanted = QString::fromStdString(text);
    {
        // One change, not the passing states of selecting the entry and setting the text.
        const QSignalBlocker blocker(Combo1);
        Combo1->setCurrentIndex(Combo1->findText(wanted, Qt::MatchExactly | Qt::MatchCaseSensitive));
        Combo1->setEditText(wanted);
    }
    if (!m_commandLineStart) {
        Combo1_Change(*this, m_platform.settings);
    }
}

void Form1::SetOption1Selected(bool selected) {
    SetOptionSelected(Option1, selected);
}

void Form1::SetOption2Selected(bool selected) {
    SetOptionSelected(Option2, selected);
}

void Form1::SetText1Text(const std::string& text) {
    PassHandlerFailuresUp([&] { Text1->setText(QString::fromStdString(text)); });
}

void Form1::SetFrame3Enabled(bool enabled) {
    Frame3->setEnabled(enabled);
}

bool Form1::Option1Selected() const {
    return Option1->isChecked();
}

bool Form1::Option2Selected() const {
    return Option2->isChecked();
}

std::string Form1::Text1Text() const {
    return Text1->text().toStdString();
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
    Text1->setCursor(textCursor);
    if (Combo1->lineEdit() != nullptr) {
        Combo1->lineEdit()->setCursor(textCursor);
    }
}

void Form1::SetProgressValue(double percent) {
    // The bar's range is 0 to 100; anything else (or no number at all) is held at its nearest end.
    const double inRange = std::isnan(percent) ? 0.0 : std::clamp(percent, 0.0, 100.0);
    ProgressBar1->setValue(static_cast<int>(std::lround(inRange)));
}

void Form1::SetProgressText(const std::string& text) {
    ProgressBar1->SetText(QString::fromStdString(text));
}

int Form1::SelectedListPosition() const {
    const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.front().row() + 1;
}

}  // namespace tabulane

namespace tabulane {

std::int32_t Form1::WindowHandle() {
    // The handle of a 32-bit window system; every platform Qt runs on hands out handles that fit.
    return static_cast<std::int32_t>(winId());
}

void Form1::SetBackColor(OleColor color) {
    QPalette colored = palette();
    colored.setColor(QPalette::Window, ColorFromOle(color));
    setPalette(colored);
}

std::vector<QWidget*> Form1::DesignControls() const {
    return {PushButton5, ListView1, PushButton1, PushButton3, PushButton6, PushButton7,
            Frame1,      Combo1,    Frame5,      Option1,     Frame3,      Text1,
            PushButton8, Option2,   PushButton2, Frame2,      PushButton4, ProgressBar1};
}

std::vector<WindowControl> Form1::Controls() const {
    std::vector<WindowControl> controls;
    for (const QWidget* control : DesignControls()) {
        controls.push_back({control->objectName().toStdString(), KindOf(control)});
    }
    return controls;
}

void Form1::SetControlBackColor(const std::string& name, OleColor color) {
    const QString wanted = QString::fromStdString(name);
    for (QWidget* control : DesignControls()) {
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
