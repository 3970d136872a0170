#include "ui/win32/Wnd.h"

#include <commctrl.h>

#include <vector>

#include "platform/TextCodes.h"

namespace tabulane {
namespace {

constexpr const wchar_t* kObjectProperty = L"TabulaneWnd";
constexpr UINT_PTR kSubclassId = 1;

std::string WindowText(HWND hwnd) {
    const int length = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return Utf8FromWide(text);
}

}  // namespace

Wnd::~Wnd() {
    if (m_hwnd != nullptr) {
        ::RemoveWindowSubclass(m_hwnd, &Wnd::SubclassProc, kSubclassId);
        ::RemovePropW(m_hwnd, kObjectProperty);
    }
}

void Wnd::Create(const wchar_t* className, const CreateArgs& args) {
    const std::wstring text = WideFromUtf8(args.text);
    m_hwnd = ::CreateWindowExW(
        args.exStyle, className, text.c_str(), args.style | WS_CHILD | WS_VISIBLE, args.rect.left, args.rect.top,
        args.rect.right - args.rect.left, args.rect.bottom - args.rect.top, args.parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)), ::GetModuleHandleW(nullptr), nullptr);
    if (m_hwnd == nullptr) {
        return;
    }
    ::SetPropW(m_hwnd, kObjectProperty, this);
    ::SetWindowSubclass(m_hwnd, &Wnd::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

Wnd* Wnd::FromHandle(HWND hwnd) {
    return hwnd != nullptr ? static_cast<Wnd*>(::GetPropW(hwnd, kObjectProperty)) : nullptr;
}

LRESULT CALLBACK Wnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Wnd*>(data);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &Wnd::SubclassProc, kSubclassId);
        ::RemovePropW(hwnd, kObjectProperty);
        self->m_hwnd = nullptr;
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    if (message == WM_MOUSEMOVE && self->onMouseMove) {
        self->onMouseMove();
    }
    return self->WndProc(message, wParam, lParam);
}

LRESULT Wnd::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT Wnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(m_hwnd, message, wParam, lParam);
}

bool Wnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND: {
            Wnd* child = FromHandle(reinterpret_cast<HWND>(lParam));
            if (child != nullptr && child->OnCommand(HIWORD(wParam))) {
                result = 0;
                return true;
            }
            return false;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            Wnd* child = FromHandle(header->hwndFrom);
            return child != nullptr && child->OnNotify(*header, result);
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            Wnd* child = FromHandle(item->hwndItem);
            if (child != nullptr && child->OnDrawItem(*item)) {
                result = TRUE;
                return true;
            }
            return false;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX: {
            const auto from = reinterpret_cast<HWND>(lParam);
            Wnd* child = FromHandle(from);
            // A drop-down box passes on the colour questions of its own edit field and list.
            if (child == nullptr) {
                child = FromHandle(::GetParent(from));
            }
            HBRUSH brush = nullptr;
            if (child != nullptr && child->OnControlColor(reinterpret_cast<HDC>(wParam), brush)) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}

void Wnd::SetText(std::string_view text) {
    ::SetWindowTextW(m_hwnd, WideFromUtf8(text).c_str());
}

std::string Wnd::Text() const {
    return WindowText(m_hwnd);
}

void Wnd::SetFont(HFONT font) {
    ::SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Wnd::SetEnabled(bool enabled) {
    ::EnableWindow(m_hwnd, enabled ? TRUE : FALSE);
}

bool Wnd::IsEnabled() const {
    return ::IsWindowEnabled(m_hwnd) != FALSE;
}

void Wnd::MoveTo(const RECT& rect) {
    ::MoveWindow(m_hwnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

// Push button

Button::Button(const CreateArgs& args) {
    CreateArgs button = args;
    button.style |= BS_OWNERDRAW | WS_TABSTOP;
    Create(WC_BUTTONW, button);
}

bool Button::OnCommand(WORD code) {
    if (code == BN_CLICKED && onClick) {
        onClick();
        return true;
    }
    return false;
}

bool Button::OnDrawItem(DRAWITEMSTRUCT& item) {
    if (!onDraw) {
        return false;
    }
    onDraw(item);
    return true;
}

// Option button

RadioButton::RadioButton(const CreateArgs& args) {
    CreateArgs radio = args;
    radio.style |= BS_AUTORADIOBUTTON | WS_TABSTOP;
    Create(WC_BUTTONW, radio);
}

bool RadioButton::IsChecked() const {
    return ::SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void RadioButton::SetChecked(bool checked) {
    ::SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool RadioButton::OnCommand(WORD code) {
    if (code == BN_CLICKED && onClick) {
        onClick();
        return true;
    }
    return false;
}

bool RadioButton::OnControlColor(HDC dc, HBRUSH& brush) {
    return onColor && onColor(dc, brush);
}

// Frame

GroupBox::GroupBox(const CreateArgs& args) {
    CreateArgs frame = args;
    frame.style |= BS_GROUPBOX | WS_CLIPCHILDREN;
    // The keyboard's tab walk enters the frame and visits the controls it holds.
    frame.exStyle |= WS_EX_CONTROLPARENT;
    Create(WC_BUTTONW, frame);
}

LRESULT GroupBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToChild(message, wParam, lParam, result)) {
        return result;
    }
    if (message == WM_ERASEBKGND && onEraseBackground) {
        RECT client{};
        ::GetClientRect(Handle(), &client);
        onEraseBackground(reinterpret_cast<HDC>(wParam), client);
        return TRUE;
    }
    // The group box's own class would answer these itself and lose them: they go to the window around it.
    if (message == WM_COMMAND || message == WM_NOTIFY || message == WM_DRAWITEM ||
        (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)) {
        return ::SendMessageW(::GetParent(Handle()), message, wParam, lParam);
    }
    return Default(message, wParam, lParam);
}

bool GroupBox::OnControlColor(HDC dc, HBRUSH& brush) {
    return onColor && onColor(dc, brush);
}

// Text box

Edit::Edit(const CreateArgs& args) {
    CreateArgs edit = args;
    edit.style |= ES_AUTOHSCROLL | WS_TABSTOP;
    edit.exStyle |= WS_EX_CLIENTEDGE;
    Create(WC_EDITW, edit);
}

void Edit::SetTextQuietly(std::string_view text) {
    m_quiet = true;
    SetText(text);
    m_quiet = false;
}

bool Edit::OnCommand(WORD code) {
    if (code == EN_CHANGE && !m_quiet && onTextChanged) {
        onTextChanged();
        return true;
    }
    return false;
}

bool Edit::OnControlColor(HDC dc, HBRUSH& brush) {
    return onColor && onColor(dc, brush);
}

// Drop-down box

DropDown::DropDown(const CreateArgs& args) {
    CreateArgs box = args;
    box.style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
    Create(WC_COMBOBOXW, box);
}

void DropDown::AddItem(std::string_view text) {
    ::SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(text).c_str()));
}

int DropDown::ItemCount() const {
    return static_cast<int>(::SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
}

std::string DropDown::ItemText(int index) const {
    const LRESULT length = ::SendMessageW(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        ::SendMessageW(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return Utf8FromWide(text);
}

int DropDown::Selection() const {
    return static_cast<int>(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void DropDown::SetSelection(int index) {
    ::SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DropDown::SetClosedHeight(int pixels) {
    // The item height of -1 is the selection field's; the box adds its frame around it, which is measured, as it
    // differs between versions of the control.
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT shown{};
        ::GetWindowRect(Handle(), &shown);
        const LRESULT field = ::SendMessageW(Handle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
        const int height = static_cast<int>(shown.bottom - shown.top);
        if (field == CB_ERR || height == pixels || field + pixels - height < 1) {
            return;
        }
        ::SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + pixels - height);
    }
}

bool DropDown::OnCommand(WORD code) {
    if (code == CBN_EDITCHANGE && onTextEdited) {
        onTextEdited();
        return true;
    }
    if (code == CBN_SELCHANGE) {
        // The box tells of a pick before its field shows it; the handler must read the picked text.
        const auto index = static_cast<int>(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
        if (index >= 0) {
            SetText(ItemText(index));
        }
        if (onPicked) {
            onPicked();
        }
        return true;
    }
    return false;
}

bool DropDown::OnControlColor(HDC dc, HBRUSH& brush) {
    return onColor && onColor(dc, brush);
}

// List view

ListView::ListView(const CreateArgs& args) {
    CreateArgs list = args;
    list.style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP;
    list.exStyle |= WS_EX_CLIENTEDGE;
    Create(WC_LISTVIEWW, list);
    ::SendMessageW(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                   LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
}

void ListView::SetColumn(std::string_view header, int widthPixels) {
    std::wstring text = WideFromUtf8(header);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text.data();
    column.cx = widthPixels;
    const auto count = static_cast<int>(::SendMessageW(Header(), HDM_GETITEMCOUNT, 0, 0));
    ::SendMessageW(Handle(), count > 0 ? LVM_SETCOLUMNW : LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

void ListView::SetColumnWidth(int widthPixels) {
    ::SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, 0, widthPixels);
}

int ListView::Count() const {
    return static_cast<int>(::SendMessageW(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

void ListView::InsertAt(int index, std::string_view text) {
    std::wstring wide = WideFromUtf8(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = wide.data();
    ::SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void ListView::RemoveAt(int index) {
    ::SendMessageW(Handle(), LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void ListView::Clear() {
    ::SendMessageW(Handle(), LVM_DELETEALLITEMS, 0, 0);
}

std::string ListView::ItemText(int index) const {
    // The control copies at most the buffer's size less one; a longer text asks for a larger buffer.
    for (std::size_t size = 512;; size *= 2) {
        std::wstring text(size, L'\0');
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(size);
        const auto copied = static_cast<std::size_t>(
            ::SendMessageW(Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
        if (copied + 1 < size || size >= (1U << 20)) {
            text.resize(copied);
            return Utf8FromWide(text);
        }
    }
}

int ListView::SelectedIndex() const {
    return static_cast<int>(
        ::SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

HWND ListView::Header() const {
    return reinterpret_cast<HWND>(::SendMessageW(Handle(), LVM_GETHEADER, 0, 0));
}

bool ListView::OverItem(LPARAM point) const {
    LVHITTESTINFO hit{};
    hit.pt = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    return ::SendMessageW(Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) >= 0;
}

LRESULT ListView::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A click on the empty part of the list would clear the selection; the double-click that follows must still
    // remove the entry the user selected, so the empty part only takes the focus.
    if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) && !OverItem(lParam)) {
        ::SetFocus(Handle());
        if (message == WM_LBUTTONDBLCLK && onDoubleClick) {
            onDoubleClick();
        }
        return 0;
    }
    if (message == WM_LBUTTONDBLCLK) {
        const LRESULT result = Default(message, wParam, lParam);
        if (onDoubleClick) {
            onDoubleClick();
        }
        return result;
    }
    return Default(message, wParam, lParam);
}

bool ListView::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.code == LVN_KEYDOWN && onKeyDown) {
        onKeyDown(reinterpret_cast<NMLVKEYDOWN&>(header).wVKey);
        result = 0;
        return true;
    }
    if (header.code == NM_CUSTOMDRAW && onCustomDraw) {
        return onCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header), result);
    }
    return false;
}

// Progress bar

ProgressBar::ProgressBar(const CreateArgs& args) {
    CreateArgs bar = args;
    bar.style |= PBS_SMOOTH;
    Create(PROGRESS_CLASSW, bar);
}

void ProgressBar::SetRange(int minimum, int maximum) {
    ::SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
}

void ProgressBar::SetPosition(int position) {
    ::SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int ProgressBar::Position() const {
    return static_cast<int>(::SendMessageW(Handle(), PBM_GETPOS, 0, 0));
}

void ProgressBar::SetLineText(std::string_view text) {
    SetText(text);
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT ProgressBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return TRUE;  // the paint covers every pixel
        default:
            return Default(message, wParam, lParam);
    }
}

void ProgressBar::Paint() {
    PAINTSTRUCT paint{};
    HDC screen = ::BeginPaint(Handle(), &paint);
    RECT client{};
    ::GetClientRect(Handle(), &client);
    // The bar is drawn by its class into a bitmap, the text on top, and the whole shown at once: no flicker.
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
    Default(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0)));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_textColor);
    std::wstring text = WideFromUtf8(Text());
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ::SelectObject(dc, oldFont);
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::EndPaint(Handle(), &paint);
}

}  // namespace tabulane
