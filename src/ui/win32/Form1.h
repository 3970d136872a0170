#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filelist/FileList.h"
#include "platform/Platform.h"
#include "platform/SkinStyle.h"
#include "shell/Startup.h"
#include "ui/Form1Logic.h"
#include "ui/NativeWindow.h"
#include "ui/win32/Wnd.h"

namespace tabulane {
class DropTargetRegistration;
}

namespace tabulane::win32 {

// The main window on Windows: the design's controls as native controls, laid out at the window's DPI, each user event
// handed to the window's logic by the control's design name. Every caption, row and text lives in the controls
// themselves, so it reads from outside with the standard messages, as screen readers and test robots read it.
class Form1 final : public NativeWindow, private FileListObserver {
public:
    // endProgram is what closing the window does; the program passes one that ends the process at once.
    Form1(Platform& platform, std::function<void()> endProgram);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The load step. With a non-empty argument text the command line runs and the window must not be shown.
    StartupResult Load(const std::string& argumentText, bool argumentsFitText = true) {
        return m_logic.Load(argumentText, argumentsFitText);
    }
    // Shows the window centred on its screen, the list holding the focus.
    void ShowCentred();

    Form1Logic& Logic() { return m_logic; }
    HWND Handle() const { return m_hwnd; }
    // The control of the design's name, or null.
    HWND ControlHandle(std::string_view name) const;
    int Dpi() const { return m_dpi; }
    // The pointer the window shows now.
    MousePointer ShownPointer() const { return m_pointer; }
    // The window of a handle, when it is one of ours.
    static Form1* FromHandle(HWND hwnd);

    // Gives the window the colours and borders of a skin's style sheet.
    void ApplySkinStyle(const SkinStyle& style);

    // NativeWindow
    std::string ControlText(std::string_view control) const override;
    void SetControlText(std::string_view control, const std::string& text) override;
    bool IsChecked(std::string_view control) const override;
    void SetChecked(std::string_view control, bool checked) override;
    void SetEnabled(std::string_view control, bool enabled) override;
    void AddComboItem(std::string_view control, const std::string& text) override;
    int ComboSelection(std::string_view control) const override;
    void SetComboSelection(std::string_view control, int index) override;
    void SetListColumn(const std::string& header, int widthTwips) override;
    int SelectedListRow() const override;
    void SetProgressValue(int value) override;
    void LoadPointerImage(const std::string& path) override;
    void ShowPointer(MousePointer pointer) override;
    std::int32_t WindowHandle() override;
    void SetBackColor(std::string_view control, OleColor color) override;

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
    void ConnectEvents();
    void RegisterDropTarget();
    bool SetCursorForPointer(HWND over, LPARAM hit);
    void RefreshCursor();
    HBRUSH Brush(COLORREF color);
    bool ColorStatic(std::string_view name, HDC dc, HBRUSH& brush);
    bool ColorField(HDC dc, HBRUSH& brush);
    void DrawButton(DRAWITEMSTRUCT& item);
    bool DrawSkinnedList(NMLVCUSTOMDRAW& draw, LRESULT& result);

    // FileListObserver: the list view follows the file list.
    void EntriesAboutToBeAppended(int first, int last) override;
    void EntriesAppended() override;
    void EntryAboutToBeRemoved(int position) override;
    void EntryRemoved() override;
    void AboutToClear() override {}
    void Cleared() override;

    Form1Logic m_logic;
    HWND m_hwnd = nullptr;
    HWND m_toolTip = nullptr;
    int m_dpi = 96;
    HFONT m_formFont = nullptr;
    HFONT m_buttonFont = nullptr;
    int m_columnTwips = 0;
    std::map<std::string, std::unique_ptr<Wnd>, std::less<>> m_controls;
    std::vector<Button*> m_buttons;
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
    std::unique_ptr<DropTargetRegistration> m_dropTarget;
};

}  // namespace tabulane::win32
