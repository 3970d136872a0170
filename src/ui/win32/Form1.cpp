#include "ui/win32/Form1.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/PlatformError.h"
#include "platform/TextCodes.h"
#include "platform/win32/Win32CursorFile.h"
#include "platform/win32/Win32DropTarget.h"
#include "ui/Form1Design.h"

namespace tabulane::win32 {

namespace {

constexpr const wchar_t* kWindowClass = L"TabulaneForm1";
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL, which the dialog keys send
constexpr int kToolTipWidth = 420;
// A fixed border: no sizing, no maximise button; the minimise button stays.
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
    WS_CLIPCHILDREN;  // pixels at 96 DPI: the list's long tip wraps instead of crossing the screen

COLORREF ColorRefFromOle(OleColor color) {
    if ((color & 0x80000000U) != 0) {
        return ::GetSysColor(static_cast<int>(color & 0xFFU));
    }
    return color & 0xFFFFFFU;
}

std::wstring WindowTitle(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

COLORREF ColorRef(const SkinColor& color) {
    return RGB(color.red, color.green, color.blue);
}

// The DPI calls of Windows 10, looked up so the program still starts where they are missing.
UINT DpiOfWindow(HWND hwnd) {
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto call = reinterpret_cast<GetDpiForWindowCall>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (call != nullptr) {
        const UINT dpi = call(hwnd);
        if (dpi != 0) {
            return dpi;
        }
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96U;
}

HFONT MakeFont(const FontDesign& design, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(design.points * dpi / 72.0));
    font.lfWeight = design.bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = static_cast<BYTE>(design.charset);
    font.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring face = WideFromUtf8(design.face);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return ::CreateFontIndirectW(&font);
}

void FillVertical(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
    const int height = std::max<int>(1, rect.bottom - rect.top);
    for (int y = 0; y < height; ++y) {
        auto mix = [&](int from, int to) { return from + (to - from) * y / std::max(1, height - 1); };
        const COLORREF color = RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
                                   mix(GetBValue(top), GetBValue(bottom)));
        HBRUSH line = ::CreateSolidBrush(color);
        const RECT row{rect.left, rect.top + y, rect.right, rect.top + y + 1};
        ::FillRect(dc, &row, line);
        ::DeleteObject(line);
    }
}

}  // namespace

// The looks of a skin, as the window draws them.
struct Form1::Skin {
    SkinLook window, frame, option, button, buttonPressed, buttonFocus, buttonDisabled, list, header, field, bar, chunk;
};

Form1::Form1(Platform& platform, std::function<void()> endProgram)
    : m_logic(platform, *this, std::move(endProgram)), m_backColor(kForm1Design.backColor) {
    static const ATOM registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &Form1::WindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hIcon = ::LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
        windowClass.hIconSm = windowClass.hIcon;
        windowClass.lpszClassName = kWindowClass;
        return ::RegisterClassExW(&windowClass);
    }();
    (void)registered;
    const std::wstring caption = WideFromUtf8(kForm1Design.caption);
    m_hwnd = ::CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, caption.c_str(), kWindowStyle, CW_USEDEFAULT,
                               CW_USEDEFAULT, 100, 100, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    m_dpi = static_cast<int>(DpiOfWindow(m_hwnd));
    MakeFonts();
    CreateControls();
    LayOut();
    ConnectEvents();
    RegisterDropTarget();
    m_logic.List().SetObserver(this);
}

Form1::~Form1() {
    m_dropTarget.reset();  // revoked while the list still exists
    m_logic.List().SetObserver(nullptr);
    if (m_toolTip != nullptr) {
        ::DestroyWindow(m_toolTip);
    }
    if (m_hwnd != nullptr) {
        ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hwnd);
    }
    m_controls.clear();
    for (const auto& [color, brush] : m_brushes) {
        ::DeleteObject(brush);
    }
    ::DeleteObject(m_formFont);
    ::DeleteObject(m_buttonFont);
    if (m_customCursor != nullptr) {
        ::DestroyCursor(m_customCursor);
    }
}

Form1* Form1::FromHandle(HWND hwnd) {
    wchar_t name[64] = {};
    if (hwnd == nullptr || ::GetClassNameW(hwnd, name, 64) == 0 || std::wstring_view(name) != kWindowClass) {
        return nullptr;
    }
    return reinterpret_cast<Form1*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

std::string_view Form1::ControlName(HWND hwnd) const {
    for (const auto& [name, control] : m_controls) {
        if (control->Handle() == hwnd) {
            return name;
        }
    }
    return {};
}

Wnd& Form1::Control(std::string_view name) const {
    return *m_controls.find(name)->second;
}

HWND Form1::ControlHandle(std::string_view name) const {
    const auto found = m_controls.find(name);
    return found != m_controls.end() ? found->second->Handle() : nullptr;
}

void Form1::MakeFonts() {
    ::DeleteObject(m_formFont);
    ::DeleteObject(m_buttonFont);
    m_formFont = MakeFont(kForm1Design.font, m_dpi);
    m_buttonFont = MakeFont(kPushButtonFont, m_dpi);
}

RECT Form1::PixelRect(std::string_view name) const {
    // Placed through the whole window's twips, so every control sits where the design puts it at any DPI, whatever
    // its containers' pixels rounded to.
    const ControlDesign& design = *FindControlDesign(name);
    const TwipsRect inWindow = RectInWindow(design);
    int left = TwipsToPixels(inWindow.left, m_dpi);
    int top = TwipsToPixels(inWindow.top, m_dpi);
    if (const ControlDesign* parent = FindControlDesign(design.parent)) {
        const TwipsRect parentInWindow = RectInWindow(*parent);
        left -= TwipsToPixels(parentInWindow.left, m_dpi);
        top -= TwipsToPixels(parentInWindow.top, m_dpi);
    }
    return {left, top, left + TwipsToPixels(design.rect.width, m_dpi), top + TwipsToPixels(design.rect.height, m_dpi)};
}

void Form1::CreateControls() {
    // Made in tab order: the keyboard walks the controls in the order they were made, frames in before their
    // contents, and every frame comes just before the controls it holds.
    int id = kFirstControlId;
    for (const ControlDesign* design : ControlsInTabOrder()) {
        const auto parent = design->parent == kForm1Design.name ? m_hwnd : ControlHandle(design->parent);
        CreateArgs args{.parent = parent, .text = design->caption, .rect = PixelRect(design->name), .id = id++};
        std::unique_ptr<Wnd> control;
        switch (design->kind) {
            case ControlKind::PushButton: {
                auto button = std::make_unique<Button>(args);
                m_buttons.push_back(button.get());
                control = std::move(button);
                break;
            }
            case ControlKind::OptionButton: {
                // The option buttons of a frame are one group: a click checks one and clears the others, as the
                // system's own buttons do. The first of a frame in the tab order opens the group.
                const bool first = std::none_of(m_controls.begin(), m_controls.end(), [&](const auto& made) {
                    const ControlDesign* other = FindControlDesign(made.first);
                    return other->kind == ControlKind::OptionButton && other->parent == design->parent;
                });
                args.style |= first ? WS_GROUP : 0;
                auto option = std::make_unique<RadioButton>(args);
                option->SetChecked(design->name == kSelectedInDesign);
                control = std::move(option);
                break;
            }
            case ControlKind::Frame:
                // A frame closes the group of the option buttons before it.
                args.style |= WS_GROUP;
                control = std::make_unique<GroupBox>(args);
                break;
            case ControlKind::TextBox: {
                auto edit = std::make_unique<Edit>(args);
                m_text1 = edit.get();
                control = std::move(edit);
                break;
            }
            case ControlKind::ComboBox: {
                // The height given is the open box's, its list showing every mode.
                args.rect.bottom += TwipsToPixels(design->rect.height, m_dpi) * 9;
                auto combo = std::make_unique<DropDown>(args);
                m_combo1 = combo.get();
                control = std::move(combo);
                break;
            }
            case ControlKind::ListView: {
                auto list = std::make_unique<ListView>(args);
                m_listView1 = list.get();
                control = std::move(list);
                break;
            }
            case ControlKind::ProgressBar: {
                auto bar = std::make_unique<ProgressBar>(args);
                bar->SetRange(kProgressMinimum, kProgressMaximum);
                bar->SetPosition(kProgressMinimum);
                m_progressBar1 = bar.get();
                control = std::move(bar);
                break;
            }
            case ControlKind::CheckBox:
            case ControlKind::Label:
                continue;  // the design has none
        }
        m_controls.emplace(std::string(design->name), std::move(control));
    }

    m_toolTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    std::wstring tip = WideFromUtf8(kListToolTip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(m_listView1->Handle());
    tool.lpszText = tip.data();
    ::SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Form1::LayOut() {
    // The frame the system draws around the client area, measured rather than computed: it follows the DPI the
    // system draws the frame at, which after a move between monitors is already the new one.
    const int width = TwipsToPixels(kForm1Design.clientWidth, m_dpi);
    const int height = TwipsToPixels(kForm1Design.clientHeight, m_dpi);
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT frame{};
        RECT client{};
        ::GetWindowRect(m_hwnd, &frame);
        ::GetClientRect(m_hwnd, &client);
        if (client.right == width && client.bottom == height) {
            break;
        }
        ::SetWindowPos(m_hwnd, nullptr, 0, 0, frame.right - frame.left - client.right + width,
                       frame.bottom - frame.top - client.bottom + height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const ControlDesign& design : kForm1Controls) {
        Wnd& control = Control(design.name);
        RECT rect = PixelRect(design.name);
        if (design.kind == ControlKind::ComboBox) {
            rect.bottom += TwipsToPixels(design.rect.height, m_dpi) * 9;
        }
        control.MoveTo(rect);
        control.SetFont(design.kind == ControlKind::PushButton ? m_buttonFont : m_formFont);
    }
    m_combo1->SetClosedHeight(TwipsToPixels(FindControlDesign("Combo1")->rect.height, m_dpi));
    if (m_columnTwips > 0) {
        m_listView1->SetColumnWidth(TwipsToPixels(m_columnTwips, m_dpi));
    }
    ::SendMessageW(m_toolTip, TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(kToolTipWidth * 15, m_dpi));
}

// Every user event goes to the logic by the control's design name; what the program itself changes reports nothing.
void Form1::ConnectEvents() {
    for (const ControlDesign& design : kForm1Controls) {
        Wnd& control = Control(design.name);
        const std::string name(design.name);
        control.onMouseMove = [this, name] { m_logic.MouseMove(name); };
        if (auto* button = dynamic_cast<Button*>(&control)) {
            button->onClick = [this, name] { m_logic.Click(name); };
            button->onDraw = [this](DRAWITEMSTRUCT& item) { DrawButton(item); };
        } else if (auto* option = dynamic_cast<RadioButton*>(&control)) {
            option->onClick = [this, name] { m_logic.Click(name); };
            option->onColor = [this, name](HDC dc, HBRUSH& brush) { return ColorStatic(name, dc, brush); };
        } else if (auto* frame = dynamic_cast<GroupBox*>(&control)) {
            frame->onColor = [this, name](HDC dc, HBRUSH& brush) { return ColorStatic(name, dc, brush); };
            frame->onEraseBackground = [this, name](HDC dc, const RECT& rect) {
                HBRUSH brush = nullptr;
                ColorStatic(name, dc, brush);
                ::FillRect(dc, &rect, brush);
            };
        } else if (auto* edit = dynamic_cast<Edit*>(&control)) {
            edit->onTextChanged = [this, name] { m_logic.Change(name); };
            edit->onColor = [this](HDC dc, HBRUSH& brush) { return ColorField(dc, brush); };
        } else if (auto* combo = dynamic_cast<DropDown*>(&control)) {
            combo->onTextEdited = [this, name] { m_logic.Change(name); };
            combo->onPicked = [this, name] { m_logic.Click(name); };
            combo->onColor = [this](HDC dc, HBRUSH& brush) { return ColorField(dc, brush); };
        }
    }
    m_listView1->onDoubleClick = [this] { m_logic.DoubleClick("ListView1"); };
    m_listView1->onKeyDown = [this](int keyCode) { m_logic.KeyDown("ListView1", keyCode); };
    m_listView1->onCustomDraw = [this](NMLVCUSTOMDRAW& draw, LRESULT& result) { return DrawSkinnedList(draw, result); };
    // The list's header belongs to the list: a move over it is a move over the list.
    ::SetWindowSubclass(
        m_listView1->Header(),
        [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) -> LRESULT {
            if (message == WM_MOUSEMOVE) {
                reinterpret_cast<Form1*>(data)->m_logic.MouseMove("ListView1");
            }
            return ::DefSubclassProc(hwnd, message, wParam, lParam);
        },
        1, reinterpret_cast<DWORD_PTR>(this));
}

void Form1::RegisterDropTarget() {
    // Files dragged from Explorer onto the list. Without OLE (a thread that never initialised it) the list simply
    // takes no drops: the pointer shows that a drop is refused.
    try {
        m_dropTarget = std::make_unique<DropTargetRegistration>(
            m_listView1->Handle(),
            [this](bool offersFileList, int& effect) {
                effect = m_logic.DragOver("ListView1", DragData{.offersFileList = offersFileList, .paths = {}}, effect);
            },
            [this](std::vector<std::string> paths) {
                // A folder may come as "dir\": the walk adds its own separator. A drive root keeps its "C:\".
                for (std::string& path : paths) {
                    while (path.size() > 1 && path.back() == '\\' && !path.ends_with(":\\")) {
                        path.pop_back();
                    }
                }
                m_logic.Drop("ListView1", DragData{.offersFileList = true, .paths = std::move(paths)});
            });
    } catch (const PlatformError&) {
        m_dropTarget.reset();
    }
}

void Form1::ShowCentred() {
    // The whole window, frame included, in the middle of the work area of the screen it starts on.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT frame{};
    ::GetWindowRect(m_hwnd, &frame);
    const RECT& area = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + std::max<int>(0, (area.bottom - area.top - height) / 2);
    ::SetWindowPos(m_hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::ShowWindow(m_hwnd, SW_SHOW);
    ::UpdateWindow(m_hwnd);
    ::SetFocus(m_listView1->Handle());
}

LRESULT CALLBACK Form1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* form = static_cast<Form1*>(create->lpCreateParams);
        form->m_hwnd = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form1*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return form->HandleMessage(message, wParam, lParam);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (Wnd::ReflectToChild(message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client{};
            ::GetClientRect(m_hwnd, &client);
            const COLORREF color = m_skin && m_skin->window.background ? ColorRef(*m_skin->window.background)
                                                                       : ColorRefFromOle(m_backColor);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, Brush(color));
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return reinterpret_cast<LRESULT>(Brush(ColorRefFromOle(m_backColor)));
        case WM_SETCURSOR:
            if (SetCursorForPointer(reinterpret_cast<HWND>(wParam), lParam)) {
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE:
            m_logic.MouseMove(kForm1Design.name);
            return 0;
        case WM_COMMAND:
            // Enter and Escape reach the window as IDOK and IDCANCEL through the dialog keys; they mean nothing here.
            return 0;
        case WM_ACTIVATE:
            // The keyboard focus comes back to the control that had it when the user returns to the window.
            if (LOWORD(wParam) == WA_INACTIVE) {
                m_lastFocus = ::GetFocus();
            } else if (m_lastFocus != nullptr && ::IsChild(m_hwnd, m_lastFocus)) {
                ::SetFocus(m_lastFocus);
                return 0;
            }
            break;
        case WM_DPICHANGED: {
            m_dpi = HIWORD(wParam);
            MakeFonts();
            LayOut();
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(m_hwnd, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            ::InvalidateRect(m_hwnd, nullptr, TRUE);
            return 0;
        }
        case WM_CLOSE:
            // The program ends at once, a run in progress too; every setting was stored when it changed.
            m_logic.Close();
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(m_hwnd, message, wParam, lParam);
}

bool Form1::SetCursorForPointer(HWND over, LPARAM hit) {
    if (LOWORD(hit) != HTCLIENT || (over != m_hwnd && !::IsChild(m_hwnd, over))) {
        return false;
    }
    if (m_pointer == MousePointer::Hourglass) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return true;
    }
    if (m_pointer == MousePointer::Custom) {
        // Without a loaded hand the custom pointer shows as the arrow.
        ::SetCursor(m_customCursor != nullptr ? m_customCursor : ::LoadCursorW(nullptr, IDC_ARROW));
        return true;
    }
    return false;  // each control's own: the arrow, the text fields' I-beam
}

void Form1::RefreshCursor() {
    // The pointer shows at once where the mouse rests, not only at its next move.
    POINT at{};
    if (::GetCursorPos(&at) == FALSE) {
        return;
    }
    HWND over = ::WindowFromPoint(at);
    if (over != nullptr && (over == m_hwnd || ::IsChild(m_hwnd, over))) {
        const auto hit = ::SendMessageW(over, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
        ::SendMessageW(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over), MAKELPARAM(hit, WM_MOUSEMOVE));
    }
}

std::string Form1::ControlText(std::string_view control) const {
    if (control == kForm1Design.name) {
        return Utf8FromWide(WindowTitle(m_hwnd));
    }
    return Control(control).Text();
}

void Form1::SetControlText(std::string_view control, const std::string& text) {
    if (control == kForm1Design.name) {
        ::SetWindowTextW(m_hwnd, WideFromUtf8(text).c_str());
    } else if (&Control(control) == m_text1) {
        m_text1->SetTextQuietly(text);
    } else if (&Control(control) == m_progressBar1) {
        m_progressBar1->SetLineText(text);
    } else {
        Control(control).SetText(text);
    }
}

bool Form1::IsChecked(std::string_view control) const {
    return static_cast<RadioButton&>(Control(control)).IsChecked();
}

void Form1::SetChecked(std::string_view control, bool checked) {
    static_cast<RadioButton&>(Control(control)).SetChecked(checked);
}

void Form1::SetEnabled(std::string_view control, bool enabled) {
    if (control == kForm1Design.name) {
        ::EnableWindow(m_hwnd, enabled ? TRUE : FALSE);
    } else {
        Control(control).SetEnabled(enabled);
    }
}

void Form1::AddComboItem(std::string_view control, const std::string& text) {
    static_cast<DropDown&>(Control(control)).AddItem(text);
}

int Form1::ComboSelection(std::string_view control) const {
    return static_cast<DropDown&>(Control(control)).Selection();
}

void Form1::SetComboSelection(std::string_view control, int index) {
    static_cast<DropDown&>(Control(control)).SetSelection(index);
}

void Form1::SetListColumn(const std::string& header, int widthTwips) {
    m_columnTwips = widthTwips;
    m_listView1->SetColumn(header, TwipsToPixels(widthTwips, m_dpi));
}

int Form1::SelectedListRow() const {
    return m_listView1->SelectedIndex() + 1;
}

void Form1::SetProgressValue(int value) {
    m_progressBar1->SetPosition(value);
}

void Form1::LoadPointerImage(const std::string& path) {
    HCURSOR cursor = LoadCursorFile(path);
    if (m_customCursor != nullptr) {
        ::DestroyCursor(m_customCursor);
    }
    m_customCursor = cursor;
    RefreshCursor();
}

void Form1::ShowPointer(MousePointer pointer) {
    m_pointer = pointer;
    RefreshCursor();
}

std::int32_t Form1::WindowHandle() {
    // Window handles are 32-bit values on 64-bit Windows too, so other programs can be handed them.
    return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(m_hwnd));
}

void Form1::SetBackColor(std::string_view control, OleColor color) {
    if (control == kForm1Design.name) {
        m_backColor = color;
        ::InvalidateRect(m_hwnd, nullptr, TRUE);
        return;
    }
    m_controlBackColors.insert_or_assign(std::string(control), color);
    ::InvalidateRect(Control(control).Handle(), nullptr, TRUE);
}

HBRUSH Form1::Brush(COLORREF color) {
    auto found = m_brushes.find(color);
    if (found == m_brushes.end()) {
        found = m_brushes.emplace(color, ::CreateSolidBrush(color)).first;
    }
    return found->second;
}

bool Form1::ColorStatic(std::string_view name, HDC dc, HBRUSH& brush) {
    const auto own = m_controlBackColors.find(name);
    COLORREF background = ColorRefFromOle(own != m_controlBackColors.end() ? own->second : kDesignBackColor);
    COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    if (m_skin) {
        const SkinLook& look = FindControlDesign(name)->kind == ControlKind::Frame ? m_skin->frame : m_skin->option;
        background = look.background ? ColorRef(*look.background) : background;
        text = look.text ? ColorRef(*look.text) : text;
    }
    ::SetBkColor(dc, background);
    ::SetTextColor(dc, text);
    brush = Brush(background);
    return true;
}

bool Form1::ColorField(HDC dc, HBRUSH& brush) {
    if (!m_skin || !m_skin->field.background) {
        return false;
    }
    const COLORREF background = ColorRef(*m_skin->field.background);
    ::SetBkColor(dc, background);
    if (m_skin->field.text) {
        ::SetTextColor(dc, ColorRef(*m_skin->field.text));
    }
    brush = Brush(background);
    return true;
}

void Form1::ApplySkinStyle(const SkinStyle& style) {
    auto skin = std::make_unique<Skin>();
    skin->window = style.LookOf("QWidget#Form1");
    skin->frame = style.LookOf("QGroupBox");
    skin->option = style.LookOf("QRadioButton");
    skin->button = style.LookOf("QPushButton");
    skin->buttonPressed = style.LookOf("QPushButton:pressed");
    skin->buttonFocus = style.LookOf("QPushButton:focus");
    skin->buttonDisabled = style.LookOf("QPushButton:disabled");
    skin->list = style.LookOf("QTreeView");
    skin->header = style.LookOf("QHeaderView::section");
    skin->field = style.LookOf("QLineEdit");
    skin->bar = style.LookOf("QProgressBar");
    skin->chunk = style.LookOf("QProgressBar::chunk");
    m_skin = std::move(skin);

    for (Button* button : m_buttons) {
        ::InvalidateRect(button->Handle(), nullptr, TRUE);
    }
    const HWND list = m_listView1->Handle();
    if (m_skin->list.background) {
        ::SendMessageW(list, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorRef(*m_skin->list.background)));
        ::SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ColorRef(*m_skin->list.background)));
    }
    if (m_skin->list.text) {
        ::SendMessageW(list, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorRef(*m_skin->list.text)));
    }
    const HWND bar = m_progressBar1->Handle();
    if (m_skin->chunk.background) {
        ::SendMessageW(bar, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(ColorRef(*m_skin->chunk.background)));
    }
    if (m_skin->bar.background) {
        ::SendMessageW(bar, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorRef(*m_skin->bar.background)));
    }
    if (m_skin->bar.text) {
        m_progressBar1->SetTextColor(ColorRef(*m_skin->bar.text));
    }
    ::RedrawWindow(m_hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
}

void Form1::DrawButton(DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT rect = item.rcItem;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const std::string_view name = ControlName(item.hwndItem);
    COLORREF text = disabled ? ::GetSysColor(COLOR_GRAYTEXT) : ColorRefFromOle(kButtonTextColor);
    if (m_skin) {
        SkinLook look = m_skin->button;
        auto over = [&look](const SkinLook& state) {
            if (state.background) {
                look.background = state.background;
                look.backgroundEnd = state.backgroundEnd;
            }
            look.text = state.text ? state.text : look.text;
            look.border = state.border ? state.border : look.border;
        };
        if (disabled) {
            over(m_skin->buttonDisabled);
        } else if (pressed) {
            over(m_skin->buttonPressed);
        } else if (focused) {
            over(m_skin->buttonFocus);
        }
        // The corners outside the rounded face show the background the button stands on.
        HBRUSH behind = nullptr;
        const std::string_view parent = ControlName(::GetParent(item.hwndItem));
        if (parent.empty()) {
            behind =
                Brush(m_skin->window.background ? ColorRef(*m_skin->window.background) : ColorRefFromOle(m_backColor));
        } else {
            ColorStatic(parent, dc, behind);
        }
        ::FillRect(dc, &rect, behind);
        const int radius = TwipsToPixels(look.borderRadius * 2 * 15, m_dpi);
        HRGN face = ::CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1, radius, radius);
        ::SelectClipRgn(dc, face);
        const COLORREF top = look.background ? ColorRef(*look.background) : ::GetSysColor(COLOR_BTNFACE);
        FillVertical(dc, rect, top, look.backgroundEnd ? ColorRef(*look.backgroundEnd) : top);
        ::SelectClipRgn(dc, nullptr);
        if (look.border) {
            ::FrameRgn(dc, face, Brush(ColorRef(*look.border)), 1, 1);
        }
        ::DeleteObject(face);
        text = look.text ? ColorRef(*look.text) : text;
    } else {
        // The design's plain button: its own background (white unless set otherwise) inside a raised edge.
        const auto own = m_controlBackColors.find(name);
        ::FillRect(dc, &rect,
                   Brush(ColorRefFromOle(own != m_controlBackColors.end() ? own->second : kDesignBackColor)));
        RECT edge = rect;
        ::DrawEdge(dc, &edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        if (focused) {
            RECT focus = rect;
            ::InflateRect(&focus, -3, -3);
            ::DrawFocusRect(dc, &focus);
        }
    }

    // Drawn by the window, not the control, so every button shows the design's font whatever frame holds it.
    const std::wstring caption = WideFromUtf8(Wnd::FromHandle(item.hwndItem)->Text());
    RECT textRect = rect;
    if (pressed) {
        ::OffsetRect(&textRect, 1, 1);
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, text);
    HGDIOBJ oldFont = ::SelectObject(dc, m_buttonFont);
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
}

bool Form1::DrawSkinnedList(NMLVCUSTOMDRAW& draw, LRESULT& result) {
    if (!m_skin || !m_skin->list.selectionBackground) {
        return false;
    }
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYITEMDRAW;
        return true;
    }
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        const auto index = static_cast<int>(draw.nmcd.dwItemSpec);
        if (index == m_listView1->SelectedIndex()) {
            // The selected row in the skin's colours; the control would paint its own over them otherwise.
            draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
            draw.clrTextBk = ColorRef(*m_skin->list.selectionBackground);
            draw.clrText = m_skin->list.selectionText ? ColorRef(*m_skin->list.selectionText) : RGB(255, 255, 255);
        }
        result = CDRF_NEWFONT;
        return true;
    }
    return false;
}

void Form1::EntriesAboutToBeAppended(int first, int last) {
    m_appendFirst = first;
    m_appendLast = last;
}

void Form1::EntriesAppended() {
    for (int position = m_appendFirst; position <= m_appendLast; ++position) {
        m_listView1->InsertAt(position - 1, m_logic.List().EntryView(position));
    }
}

void Form1::EntryAboutToBeRemoved(int position) {
    m_removing = position;
}

void Form1::EntryRemoved() {
    m_listView1->RemoveAt(m_removing - 1);
}

void Form1::Cleared() {
    m_listView1->Clear();
}

}  // namespace tabulane::win32
