#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "convert/BatchRun.h"
#include "filelist/DragDrop.h"
#include "filelist/FileList.h"
#include "platform/MainWindow.h"
#include "platform/Platform.h"
#include "platform/SkinnableWindow.h"
#include "shell/ErrorReport.h"
#include "shell/Startup.h"
#include "ui/NativeWindow.h"

namespace tabulane {

// The main window's logic, the same for every native window: the file list, the load step, every handler wired once
// by its event name, the error trap's location texts, and the rules of the window's setters.
// A native window (see ui/NativeWindow.h for what it must do) owns one, builds its controls from the design, shows
// List() in its list view and hands each user event to the members under "Native events". The logic never calls
// the native window before Load.
class Form1Logic final : public MainWindow, public SkinnableWindow {
public:
    // endProgram is what closing the window does; the program passes one that ends the process at once.
    Form1Logic(Platform& platform, NativeWindow& window, std::function<void()> endProgram);
    Form1Logic(const Form1Logic&) = delete;
    Form1Logic& operator=(const Form1Logic&) = delete;

    // The load step. With a non-empty argument text the command line runs and the window must not be shown.
    // argumentsFitText: false when an argument could not be written in the argument text (the usage is shown).
    StartupResult Load(const std::string& argumentText, bool argumentsFitText = true);

    // Native events, by the control's design name. Each runs its handler under the window's trap, named
    // "<control>_<event>" as the error box names it; an event without a handler does nothing.
    void Click(std::string_view control);                 // a button or an option button; the mode box's list pick
    void Change(std::string_view control);                // the user's own edit of the folder box or the mode box
    void DoubleClick(std::string_view control);           // anywhere on the list, rows or empty part
    void KeyDown(std::string_view control, int keyCode);  // Windows virtual-key codes (Delete = 46)
    // A drag over the control: the effect to show (0 refuses) for the effect the source proposes.
    int DragOver(std::string_view control, const DragData& data, int proposedEffect);
    void Drop(std::string_view control, const DragData& data);
    // The mouse moved over the control (the window by its own name); over a disabled control the move is its
    // container's, as a disabled control takes no mouse input.
    void MouseMove(std::string_view control);
    // The user closed the window: the program ends at once; every setting was stored when it changed.
    void Close();

    // What the handlers work with.
    FileList& List() { return m_list; }
    BatchRun& Batch() { return m_batchRun; }
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
    // Throws PlatformError 424 "Object required" for a name the design does not hold.
    void SetControlBackColor(const std::string& name, OleColor color) override;

private:
    // What a handler gets from its event.
    struct EventArgs {
        int keyCode = 0;
        const DragData* data = nullptr;
        int* effect = nullptr;
    };
    using Handler = std::function<void(const EventArgs&)>;

    void WireHandlers();
    void Fire(std::string_view control, std::string_view event, const EventArgs& args);
    void SetOptionSelected(std::string_view option, std::string_view other, bool selected);
    void SetEnabledWithin(std::string_view container, bool enabled);

    Platform& m_platform;
    NativeWindow& m_window;
    std::function<void()> m_endProgram;
    ErrorReporter m_reporter;
    FileList m_list;
    BatchRun m_batchRun;
    std::map<std::string, Handler, std::less<>> m_handlers;  // by event name, e.g. "PushButton2_Click"
    std::string m_applicationTitle;
    bool m_commandLineStart = false;  // the load step hands over to the command line, which stores no setting
    std::vector<std::string> m_comboItems;
    std::set<std::string, std::less<>> m_disabled;
    MousePointer m_pointer = MousePointer::Default;
};

}  // namespace tabulane
