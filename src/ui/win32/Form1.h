#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filelist/DragDrop.h"
#include "filelist/FileList.h"
#include "platform/MainWindow.h"
#include "platform/Platform.h"
#include "platform/SkinStyle.h"
#include "platform/SkinnableWindow.h"
#include "shell/ErrorReport.h"
#include "shell/Startup.h"
#include "ui/win32/Wnd.h"

namespace tabulane::win32 {

class Form1;

// Handlers that other parts of the program plug into the window, each given the window it runs in; an unset one
// does nothing. The window runs each under the shell's error trap.
struct Form1Events {
    std::function<void(Form1&)> ApplySkin;
    std::function<void(Form1&)> VisitHomePage;
    std::function<void(Form1&)> PushButton1_Click;
    std::function<void(Form1&)> PushButton2_Click;
    std::function<void(Form1&)> PushButton3_Click;
    std::function<void(Form1&)> PushButton5_Click;
    std::function<void(Form1&)> PushButton6_Click;
    std::function<void(Form1&)> PushButton7_Click;
    std::function<void(Form1&)> ListView1_DblClick;
    std::function<void(Form1&, int keyCode)> ListView1_KeyDown;  // Windows' virtual-key codes
    std::function<void(const DragData& data, int& effect)> DragOverList;
    std::function<void(Form1&, const DragData& data)> DropOnList;
};

// The main window on Windows: the design's controls as native controls, laid out at the window's DPI, wired to the
// logic's handlers. Every caption, row and text lives in the controls themselves, so it reads from outside.
class Form1 final : public MainWindow, public SkinnableWindow, private FileListObserver {
public:
    // list: what ListView1 shows, owned by the caller; null for a list that stays empty. endProgram is what closing
    // the window does; the program passes one that ends the process at once.
    Form1(Platform& platform, Form1Events events, FileList* list, std::function<void()> endProgram);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The load step. With a non-empty argument text the command line runs and the window must not be shown.
    StartupResult Load(const std::string& argumentText, bool argumentsFitText = true);
    // Shows the window centred on its screen, the list holding the focus.
    void ShowCentred();

    HWND Handle() const { return m_hwnd; }
    // The control of the design's name, or null.
    HWND ControlHandle(std::string_view name) const;
    int Dpi() const { return m_dpi; }
    // The window of a handle, when it is one of ours.
    static Form1* FromHandle(HWND hwnd);

    ErrorReporter& Reporter() { return m_reporter; }
    Platform& GetPlatform() { return m_platform; }
    const std::string& ApplicationTitle() const { return m_applicationTitle; }

    // Gives the window the colours and borders of a skin's style sheet.
    void ApplySkinStyle(const SkinStyle& style);

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

private:
    struct Skin;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void LayOut();
    void MakeFonts();
    RECT PixelRect(std::string_view name) const;
    // The design's name of one of the controls; empty for the window itself or a window of none.
    std::string_view ControlName(HWND hwnd) const;
    // The control of a name the design holds.
    Wnd& Control(std::string_view name) const;
    void ConnectHandlers();
    void Handle(const char* name, const std::function<void()>& handler);
    template <typename... Args>
    void Plugged(const char* name, const std::function<void(Form1&, Args...)>& handler, Args... args);
    void Hover(std::string_view name);
    bool SetCursorForPointer(HWND over, LPARAM hit);
    void RefreshCursor();
    HBRUSH Brush(COLORREF color);
    bool ColorStatic(std::string_view name, HDC dc, HBRUSH& brush);
    bool ColorField(HDC dc, HBRUSH& brush);
    void DrawSkinnedButton(DRAWITEMSTRUCT& item);
    bool DrawSkinnedList(NMLVCUSTOMDRAW& draw, LRESULT& result);

    // FileListObserver: the list view follows the file list.
    void EntriesAboutToBeAppended(int first, int last) override;
    void EntriesAppended() override;
    void EntryAboutToBeRemoved(int position) override;
    void EntryRemoved() override;
    void AboutToClear() override {}
    void Cleared() override;

    Platform& m_platform;
    const Form1Events m_events;
    FileList* m_list;
    std::function<void()> m_endProgram;
    ErrorReporter m_reporter;
    std::string m_applicationTitle;
    bool m_commandLineStart = false;

    HWND m_hwnd = nullptr;
    HWND m_toolTip = nullptr;
    int m_dpi = 96;
    HFONT m_formFont = nullptr;
    HFONT m_buttonFont = nullptr;
    int m_columnTwips = 0;
    std::map<std::string, std::unique_ptr<Wnd>, std::less<>> m_controls;
    std::vector<Button*> m_buttons;
    GroupBox* m_frame3 = nullptr;
    RadioButton* m_option1 = nullptr;
    RadioButton* m_option2 = nullptr;
    Edit* m_text1 = nullptr;
    DropDown* m_combo1 = nullptr;
    ListView* m_listView1 = nullptr;
    ProgressBar* m_progressBar1 = nullptr;

    MousePointer m_pointer = MousePointer::Default;
    HCURSOR m_customCursor = nullptr;
    OleColor m_backColor;
    std::map<std::string, OleColor, std::less<>> m_controlBackColors;
    std::map<COLORREF, HBRUSH> m_brushes;
    std::unique_ptr<Skin> m_skin;
    HWND m_lastFocus = nullptr;
    int m_appendFirst = 0;
    int m_appendLast = 0;
    int m_removing = 0;
};

}  // namespace tabulane::win32
