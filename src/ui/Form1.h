#pragma once

#include <QCursor>
#include <QWidget>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "platform/MainWindow.h"
#include "platform/Platform.h"
#include "platform/SkinnableWindow.h"
#include "shell/ErrorReport.h"
#include "shell/Startup.h"
#include "ui/TextProgressBar.h"

class QAbstractItemModel;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class QTreeView;

namespace tabulane {

// Handlers that other parts of the program plug into the window; an unset one does nothing.
struct Form1Events {
    std::function<void()> ApplySkin;          // first step of the load step
    std::function<void()> VisitHomePage;      // the occasional home-page visit of the load step
    std::function<void()> PushButton1_Click;  // add files
    std::function<void()> PushButton2_Click;  // start converting
    std::function<void()> PushButton3_Click;  // add all files in a folder
    std::function<void()> PushButton5_Click;  // help
    std::function<void()> PushButton6_Click;  // clear list
    std::function<void()> PushButton7_Click;  // sample files
    std::function<void()> ListView1_DblClick;
    std::function<void(int qtKey)> ListView1_KeyDown;
};

// The main window: a fixed layout whose controls carry the design's names, wired to the logic's handlers.
class Form1 final : public QWidget, public MainWindow, public SkinnableWindow {
public:
    // endProgram is what closing the window does; the program passes one that ends the process at once.
    Form1(Platform& platform, std::function<void()> endProgram);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Set before Load: the load step already calls the skin and home-page hooks.
    void SetEvents(Form1Events events);
    // The load step. With a non-empty argument text the command line runs and the window must not be shown.
    // argumentsFitText: false when an argument could not be written in the argument text (the usage is shown).
    StartupResult Load(const std::string& argumentText, bool argumentsFitText = true);
    // Shows the window centred on its screen, the list holding the focus.
    void ShowCentred();

    // The file list's model. The window starts with an empty one-column model; another model (one column, its
    // header settable through setHeaderData) can replace it. The window does not take ownership of it.
    void SetListModel(QAbstractItemModel* model);
    QAbstractItemModel* ListModel() const;

    ErrorReporter& Reporter() { return m_reporter; }
    Platform& GetPlatform() { return m_platform; }
    const std::string& ApplicationTitle() const { return m_applicationTitle; }

    // MainWindow
    void SetCaption(const std::string& caption) override;
    void LoadCustomCursor(const std::string& path) override;
    void AddListColumn(const std::string& header, int widthTwips) override;
    void AddComboItem(const std::string& caption) override;
    std::string ComboText() const override;
    void SetComboText(const std::string& text) override;
    void SetOption1Selected(bool selected) override;
    void SetOption2Selected(bool selected) override;
    void SetText1Text(const std::string& text) override;
    void SetFrame3Enabled(bool enabled) override;
    bool Option1Selected() const override;
    bool Option2Selected() const override;
    std::string Text1Text() const override;
    MousePointer Pointer() const override { return m_pointer; }
    void SetPointer(MousePointer pointer) override;
    void SetProgressValue(double percent) override;
    void SetProgressText(const std::string& text) override;
    int SelectedListPosition() const override;

    // SkinnableWindow
    std::int32_t WindowHandle() override;
    void SetBackColor(OleColor color) override;
    std::vector<WindowControl> Controls() const override;
    void SetControlBackColor(const std::string& name, OleColor color) override;

    // The controls, named as the design names them (also their object names).
    QPushButton* PushButton5;
    QTreeView* ListView1;
    QPushButton* PushButton1;
    QPushButton* PushButton3;
    QPushButton* PushButton6;
    QPushButton* PushButton7;
    QGroupBox* Frame1;
    QComboBox* Combo1;
    QGroupBox* Frame5;
    QRadioButton* Option1;
    QGroupBox* Frame3;
    QLineEdit* Text1;
    QPushButton* PushButton8;
    QRadioButton* Option2;
    QPushButton* PushButton2;
    QGroupBox* Frame2;
    QPushButton* PushButton4;
    TextProgressBar* ProgressBar1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void ConnectHandlers();
    void WatchPointer();
    void ApplyListColumn();
    void ApplyPointer();
    // Every control of the design, inner ones included, in the design's order.
    std::vector<QWidget*> DesignControls() const;
    // Runs an event handler that has no trap of its own; a failure is reported instead of escaping into Qt, as
    // the handler's first step, unless the handler runs inside a trapped step (PassHandlerFailuresUp).
    void RunHandler(const char* name, const std::function<void()>& handler);
    // Runs a setter of the window whose change signal calls such a handler; the handler's failure is thrown on to
    // the trapped step that called the setter, which reports it under its own location and step.
    void PassHandlerFailuresUp(const std::function<void()>& setter);

    Platform& m_platform;
    std::function<void()> m_endProgram;
    ErrorReporter m_reporter;
    Form1Events m_events;
    std::string m_applicationTitle;
    bool m_commandLineStart = false;  // the load step hands over to the command line, which stores no setting
    bool m_passHandlerFailuresUp = false;
    std::exception_ptr m_handlerFailure;

    QStandardItemModel* m_defaultListModel;
    QString m_columnHeader;
    int m_columnWidth = 0;  // pixels; 0 until the load step adds the column

    MousePointer m_pointer = MousePointer::Default;
    QCursor m_customCursor{Qt::ArrowCursor};  // the arrow until a hand pointer is loaded
};

}  // namespace tabulane
