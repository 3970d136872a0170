#pragma once

#include <QCursor>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "filelist/DragDrop.h"
#include "platform/MainWindow.h"
#include "platform/Platform.h"
#include "platform/SkinnableWindow.h"
#include "shell/ErrorReport.h"
#include "shell/Startup.h"
#include "ui/qt/DesignBuilder.h"

class QAbstractItemModel;

namespace tabulane {

class Form1;

// Handlers that other parts of the program plug into the window, each given the window it runs in; an unset one
// does nothing. The window runs each under the shell's error trap.
struct Form1Events {
    std::function<void(Form1&)> ApplySkin;          // first step of the load step
    std::function<void(Form1&)> VisitHomePage;      // the occasional home-page visit of the load step
    std::function<void(Form1&)> PushButton1_Click;  // add files
    std::function<void(Form1&)> PushButton2_Click;  // start converting
    std::function<void(Form1&)> PushButton3_Click;  // add all files in a folder
    std::function<void(Form1&)> PushButton5_Click;  // help
    std::function<void(Form1&)> PushButton6_Click;  // clear list
    std::function<void(Form1&)> PushButton7_Click;  // sample files
    std::function<void(Form1&)> ListView1_DblClick;
    std::function<void(Form1&, int qtKey)> ListView1_KeyDown;
    std::function<void(const DragData& data, int& effect)> DragOverList;  // effect: 0 none, 1 copy, 2 move, 4 link
    std::function<void(Form1&, const DragData& data)> DropOnList;
};

// The main window: a fixed layout whose controls carry the design's names, wired to the logic's handlers.
class Form1 final : public QWidget, public MainWindow, public SkinnableWindow {
public:
    // listModel: what the file list shows (one column, its header settable through setHeaderData), owned by the
    // caller; null for an empty list. endProgram is what closing the window does; the program passes one that ends
    // the process at once.
    Form1(Platform& platform, Form1Events events, QAbstractItemModel* listModel, std::function<void()> endProgram);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The load step. With a non-empty argument text the command line runs and the window must not be shown.
    // argumentsFitText: false when an argument could not be written in the argument text (the usage is shown).
    StartupResult Load(const std::string& argumentText, bool argumentsFitText = true);
    // Shows the window centred on its screen, the list holding the focus.
    void ShowCentred();

    // What the plugged handlers work with.
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectHandlers();
    void ApplyPointer();
    // Runs a handler from the event loop under the shell's trap, named as the location text names it.
    void Handle(const char* name, const std::function<void()>& handler);
    // Runs a plugged handler, when one is set, under the shell's trap.
    template <typename... Args>
    void Plugged(const char* name, const std::function<void(Form1&, Args...)>& handler, Args... args);

    Platform& m_platform;
    const Form1Events m_events;
    std::function<void()> m_endProgram;
    ErrorReporter m_reporter;
    std::string m_applicationTitle;
    bool m_commandLineStart = false;  // the load step hands over to the command line, which stores no setting
    Form1Controls m_controls;
    MousePointer m_pointer = MousePointer::Default;
    QCursor m_customCursor{Qt::ArrowCursor};  // the arrow until a hand pointer is loaded
};

}  // namespace tabulane
