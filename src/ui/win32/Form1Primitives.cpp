// What the logic reads and sets on the window, by design name, and the list view following the file list.
#include <windows.h>

#include <commctrl.h>

#include "platform/TextCodes.h"
#include "platform/win32/Win32CursorFile.h"
#include "ui/Form1Design.h"
#include "ui/win32/Form1.h"

namespace tabulane::win32 {
namespace {

std::wstring WindowTitle(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

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
