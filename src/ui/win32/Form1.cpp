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
#include "ui/win32/Form1Look.h"

namespace tabulane::win32 {

namespace {

constexpr const wchar_t* kWindowClass = L"TabulaneForm1";
// A control's id is 100 plus its tab index in the design, so a robot or a screen reader's script finds a control
// from outside by GetDlgCtrlID; clear of IDOK and IDCANCEL, which the dialog keys send.
constexpr int kFirstControlId = 100;
constexpr int kToolTipWidth = 420;
// A fixed border: no sizing, no maximise button; the minimise button stays.
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
    WS_CLIPCHILDREN;  // pixels at 96 DPI: the list's long tip wraps instead of crossing the screen

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
    // A TrueType face where one exists: at 9 pt a raster stand-in would be picked and drawn without the bold.
    font.lfOutPrecision = OUT_TT_PRECIS;
    const std::wstring face = WideFromUtf8(design.face);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return ::CreateFontIndirectW(&font);
}

}  // namespace

Form1::Form1(Platform& platform, std::function<void()> endProgram)
    : m_logic(platform, *this, std::move(endProgram)), m_backColor(kForm1Design.backColor) {
    static const ATOM registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &Form1::WindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        // The program's icon at the sizes of the title bar and of Alt+Tab, each picked from the icon's own images.
        auto icon = [&](int width, int height) {
            return static_cast<HICON>(::LoadImageW(windowClass.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                   ::GetSystemMetrics(width), ::GetSystemMetrics(height), 0));
        };
        windowClass.hIcon = icon(SM_CXICON, SM_CYICON);
        windowClass.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
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
    for (const ControlDesign* design : ControlsInTabOrder()) {
        const auto parent = design->parent == kForm1Design.name ? m_hwnd : ControlHandle(design->parent);
        CreateArgs args{.parent = parent,
                        .text = design->caption,
                        .rect = PixelRect(design->name),
                        .id = kFirstControlId + design->tabIndex};
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

}  // namespace tabulane::win32
