// How the window draws itself: the design's and the skin's colours, the push buttons and the skinned list.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "platform/TextCodes.h"
#include "ui/Form1Design.h"
#include "ui/win32/Form1.h"
#include "ui/win32/Form1Look.h"

namespace tabulane::win32 {
namespace {

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

}  // namespace tabulane::win32
