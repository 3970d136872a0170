#include "platform/win32/Win32MessageBoxes.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/TextCodes.h"

namespace tabulane {
namespace {

UINT IconFlag(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case BoxIcon::Information:
            return MB_ICONINFORMATION;
        case BoxIcon::Question:
            return MB_ICONQUESTION;
        case BoxIcon::Critical:
            return MB_ICONSTOP;
        case BoxIcon::None:
            break;
    }
    return 0;
}

// An in-memory dialog template (DLGTEMPLATE and its DLGITEMTEMPLATEs), word by word as the dialog manager reads it.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short cx, short cy, const std::wstring& title) {
        AddDword(style);
        AddDword(0);  // extended style
        m_itemCountAt = m_words.size();
        m_words.push_back(0);
        AddRectangle(0, 0, cx, cy);
        m_words.push_back(0);  // no menu
        m_words.push_back(0);  // the standard dialog class
        AddText(title);
        m_words.push_back(8);  // DS_SETFONT: the point size and face of the dialog font
        AddText(L"MS Shell Dlg");
    }

    // A control of a predefined class: 0x0080 button, 0x0081 edit, 0x0082 static.
    void AddItem(WORD classAtom, DWORD style, short x, short y, short cx, short cy, WORD id, const std::wstring& text) {
        if (m_words.size() % 2 != 0) {
            m_words.push_back(0);  // each item starts on a DWORD boundary
        }
        AddDword(style | WS_CHILD | WS_VISIBLE);
        AddDword(0);
        AddRectangle(x, y, cx, cy);
        m_words.push_back(id);
        m_words.push_back(0xFFFF);
        m_words.push_back(classAtom);
        AddText(text);
        m_words.push_back(0);  // no creation data
        ++m_words[m_itemCountAt];
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void AddDword(DWORD value) {
        m_words.push_back(LOWORD(value));
        m_words.push_back(HIWORD(value));
    }
    void AddRectangle(short x, short y, short cx, short cy) {
        for (const short value : {x, y, cx, cy}) {
            m_words.push_back(static_cast<WORD>(value));
        }
    }
    void AddText(const std::wstring& text) {
        m_words.insert(m_words.end(), text.begin(), text.end());
        m_words.push_back(0);
    }

    std::vector<WORD> m_words;  // vector storage is aligned well beyond the DWORD the template needs
    std::size_t m_itemCountAt = 0;
};

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

// The input box's layout in dialog units: the prompt at the top left, OK and Cancel beside it, the answer below.
constexpr short kBoxWidth = 250;
constexpr short kMargin = 7;
constexpr short kButtonWidth = 50;
constexpr short kButtonHeight = 14;
constexpr short kPromptWidth = kBoxWidth - 3 * kMargin - kButtonWidth;
constexpr short kPromptHeight = 48;
constexpr short kEditHeight = 13;
constexpr short kEditTop = kMargin + kPromptHeight + 6;
constexpr short kBoxHeight = kEditTop + kEditHeight + kMargin;

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Grows the prompt, and the box below it, when the prompt needs more lines than the template gives it.
void FitPromptToText(HWND dialog) {
    HWND prompt = ::GetDlgItem(dialog, kInputBoxPromptId);
    RECT promptRect;
    ::GetWindowRect(prompt, &promptRect);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&promptRect), 2);
    RECT needed = {0, 0, promptRect.right - promptRect.left, 0};
    HDC dc = ::GetDC(prompt);
    const HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(prompt, WM_GETFONT, 0, 0)));
    const std::wstring text = WindowText(prompt);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(prompt, dc);
    const int growth = needed.bottom - (promptRect.bottom - promptRect.top);
    if (growth <= 0) {
        return;
    }
    ::SetWindowPos(prompt, nullptr, 0, 0, promptRect.right - promptRect.left, needed.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND edit = ::GetDlgItem(dialog, kInputBoxEditId);
    RECT editRect;
    ::GetWindowRect(edit, &editRect);
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&editRect), 2);
    ::SetWindowPos(edit, nullptr, editRect.left, editRect.top + growth, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT boxRect;
    ::GetWindowRect(dialog, &boxRect);
    ::SetWindowPos(dialog, nullptr, boxRect.left, boxRect.top - growth / 2, boxRect.right - boxRect.left,
                   boxRect.bottom - boxRect.top + growth, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK InputBoxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            FitPromptToText(dialog);
            // The answer starts selected, so typing replaces the preset.
            HWND edit = ::GetDlgItem(dialog, kInputBoxEditId);
            ::SendMessageW(edit, EM_SETSEL, 0, -1);
            ::SetFocus(edit);
            return FALSE;  // the focus is set
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                auto* answer = reinterpret_cast<std::wstring*>(::GetWindowLongPtrW(dialog, DWLP_USER));
                *answer = WindowText(::GetDlgItem(dialog, kInputBoxEditId));
                ::EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {  // Cancel, Escape and the close box
                ::EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

BoxAnswer Win32MessageBoxes::ShowMessage(const std::string& text, const std::string& caption, BoxIcon icon,
                                         BoxButtons buttons) {
    HWND owner = m_owner.Window();
    UINT style = IconFlag(icon) | (buttons == BoxButtons::YesNo ? MB_YESNO : MB_OK);
    if (owner == nullptr) {
        // Without the window (a command-line run) the box is the program's only window: in front, and modal to
        // the whole thread.
        style |= MB_TASKMODAL | MB_SETFOREGROUND;
    }
    const int answer = ::MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), style);
    if (answer == 0) {
        throw ErrorFromSystemCode(::GetLastError(), "message box \"" + caption + "\"");
    }
    if (buttons == BoxButtons::Ok) {
        return BoxAnswer::Ok;
    }
    return answer == IDYES ? BoxAnswer::Yes : BoxAnswer::No;
}

std::string Win32MessageBoxes::InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& preset) {
    DialogTemplate box(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER | DS_SETFOREGROUND,
                       kBoxWidth, kBoxHeight, WideFromUtf8(title));
    // The prompt is text, not a label: an "&" in it is shown, not taken for a shortcut.
    box.AddItem(kStaticClass, SS_LEFT | SS_NOPREFIX, kMargin, kMargin, kPromptWidth, kPromptHeight, kInputBoxPromptId,
                WideFromUtf8(prompt));
    box.AddItem(kEditClass, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kMargin, kEditTop, kBoxWidth - 2 * kMargin,
                kEditHeight, kInputBoxEditId, WideFromUtf8(preset));
    const short buttonsLeft = kBoxWidth - kMargin - kButtonWidth;
    box.AddItem(kButtonClass, BS_DEFPUSHBUTTON | WS_TABSTOP, buttonsLeft, kMargin, kButtonWidth, kButtonHeight, IDOK,
                L"OK");
    box.AddItem(kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, buttonsLeft, kMargin + kButtonHeight + 4, kButtonWidth,
                kButtonHeight, IDCANCEL, L"Cancel");
    std::wstring answer;
    const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), box.Get(), m_owner.Window(),
                                                     InputBoxProcedure, reinterpret_cast<LPARAM>(&answer));
    if (result == -1 || result == 0) {
        throw ErrorFromSystemCode(::GetLastError(), "input box \"" + title + "\"");
    }
    return result == IDOK ? Utf8FromWide(answer) : std::string();
}

}  // namespace tabulane
