#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <string_view>

namespace tabulane {

// Thin wrappers of the Win32 controls the window is made of. Text is UTF-8 at their interface and UTF-16 inside.
// Each control is subclassed, so its own messages reach its object; the notifications a control sends its parent
// (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR*) are reflected back to the control that sent them.

struct CreateArgs {
    HWND parent = nullptr;
    std::string_view text;
    RECT rect{};  // in pixels, relative to the parent's client area
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
};

class Wnd {
public:
    Wnd() = default;
    virtual ~Wnd();
    Wnd(const Wnd&) = delete;
    Wnd& operator=(const Wnd&) = delete;

    HWND Handle() const { return m_hwnd; }
    void SetText(std::string_view text);
    std::string Text() const;
    void SetFont(HFONT font);
    void SetEnabled(bool enabled);
    bool IsEnabled() const;
    void MoveTo(const RECT& rect);

    // The object of a window this code created, or null.
    static Wnd* FromHandle(HWND hwnd);
    // Hands a parent's notification to the control that sent it. True when that control answered it.
    static bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Called on every mouse move over the control itself.
    std::function<void()> onMouseMove;

protected:
    void Create(const wchar_t* className, const CreateArgs& args);
    // Takes the messages of the control; the default passes them to the class's own procedure.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // Reflected notifications; false leaves the message to the parent's default handling.
    virtual bool OnCommand(WORD /*code*/) { return false; }
    virtual bool OnNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    virtual bool OnDrawItem(DRAWITEMSTRUCT& /*item*/) { return false; }
    virtual bool OnControlColor(HDC /*dc*/, HBRUSH& /*brush*/) { return false; }

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);

    HWND m_hwnd = nullptr;
};

// A push button drawn by its owner (onDraw), so its caption shows in the owner's font and colours.
class Button final : public Wnd {
public:
    explicit Button(const CreateArgs& args);
    std::function<void()> onClick;
    std::function<void(DRAWITEMSTRUCT&)> onDraw;

private:
    bool OnCommand(WORD code) override;
    bool OnDrawItem(DRAWITEMSTRUCT& item) override;
};

// An option button. A click checks it and clears the others of its group, as the system's own do; setting the check
// from the program touches this button alone.
class RadioButton final : public Wnd {
public:
    explicit RadioButton(const CreateArgs& args);
    bool IsChecked() const;
    void SetChecked(bool checked);
    std::function<void()> onClick;
    std::function<bool(HDC, HBRUSH&)> onColor;

private:
    bool OnCommand(WORD code) override;
    bool OnControlColor(HDC dc, HBRUSH& brush) override;
};

// A frame: a group box that holds controls of its own and passes their notifications on to them.
class GroupBox final : public Wnd {
public:
    explicit GroupBox(const CreateArgs& args);
    std::function<bool(HDC, HBRUSH&)> onColor;
    // Paints the frame's background before the system draws its line and caption.
    std::function<void(HDC, const RECT&)> onEraseBackground;

private:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnControlColor(HDC dc, HBRUSH& brush) override;
};

// A single-line text box.
class Edit final : public Wnd {
public:
    explicit Edit(const CreateArgs& args);
    // Called for every change the user makes; a change made through SetText is not reported.
    std::function<void()> onTextChanged;
    void SetTextQuietly(std::string_view text);
    std::function<bool(HDC, HBRUSH&)> onColor;

private:
    bool OnCommand(WORD code) override;
    bool OnControlColor(HDC dc, HBRUSH& brush) override;
    bool m_quiet = false;
};

// An editable drop-down box (CBS_DROPDOWN): its text may be none of its entries.
class DropDown final : public Wnd {
public:
    explicit DropDown(const CreateArgs& args);
    void AddItem(std::string_view text);
    int ItemCount() const;
    std::string ItemText(int index) const;
    // The selected entry from 0, -1 for none; selecting one shows its text, selecting none clears the text.
    int Selection() const;
    void SetSelection(int index);
    // Sets the height of the closed box, its frame included.
    void SetClosedHeight(int pixels);
    std::function<void()> onTextEdited;  // the user typed
    std::function<void()> onPicked;      // the user picked an entry from the list; the text already shows it
    std::function<bool(HDC, HBRUSH&)> onColor;

private:
    bool OnCommand(WORD code) override;
    bool OnControlColor(HDC dc, HBRUSH& brush) override;
};

// A list view in report view with one column and full-row, single selection.
class ListView final : public Wnd {
public:
    explicit ListView(const CreateArgs& args);
    // The one column: made on the first call, renamed and resized on later ones.
    void SetColumn(std::string_view header, int widthPixels);
    void SetColumnWidth(int widthPixels);
    int Count() const;
    void InsertAt(int index, std::string_view text);
    void RemoveAt(int index);
    void Clear();
    std::string ItemText(int index) const;
    int SelectedIndex() const;  // -1 when none is selected
    HWND Header() const;
    // A double-click anywhere on the list, items or empty part.
    std::function<void()> onDoubleClick;
    std::function<void(int keyCode)> onKeyDown;
    std::function<bool(NMLVCUSTOMDRAW&, LRESULT&)> onCustomDraw;

private:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OverItem(LPARAM point) const;
};

// A progress bar with a line of text drawn on it; the text is also the bar's window text, so it reads from outside.
class ProgressBar final : public Wnd {
public:
    explicit ProgressBar(const CreateArgs& args);
    void SetRange(int minimum, int maximum);
    void SetPosition(int position);
    int Position() const;
    void SetLineText(std::string_view text);
    void SetTextColor(COLORREF color) { m_textColor = color; }

private:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint();
    COLORREF m_textColor = RGB(0, 0, 0);
};

}  // namespace tabulane
