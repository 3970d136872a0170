// The scenarios' driver over the real Win32 window: controls found by their design names, input as the system
// delivers it (mouse and key messages to the window under the point, characters to the focused edit field), drops
// through the list's own OLE drop target with the file-drop format (CF_HDROP).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <memory>

#include "platform/TextCodes.h"
#include "support/TempDir.h"
#include "ui/WindowDriver.h"
#include "ui/win32/Form1.h"

namespace tabulane::test {
namespace {

// Lets every message already sent or posted to the window reach it, as the message loop would.
void Pump() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

std::string TextOf(HWND hwnd) {
    const auto length = ::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = ::SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return Utf8FromWide(text);
}

LPARAM PointParameter(POINT point) {
    return MAKELPARAM(point.x, point.y);
}

// Data offering only the file-drop format, as Explorer's drag of files offers it. A COM object is released
// through its interface, never deleted through it, so its base has no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class FileDropData final : public IDataObject {
public:
    explicit FileDropData(const std::vector<std::string>& paths) {
        std::wstring names;
        for (const std::string& path : paths) {
            names += WideFromUtf8(path);
            names += L'\0';
        }
        names += L'\0';
        m_size = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
        m_bytes.resize(m_size);
        DROPFILES header{};
        header.pFiles = sizeof(DROPFILES);
        header.fWide = TRUE;
        std::memcpy(m_bytes.data(), &header, sizeof(header));
        std::memcpy(m_bytes.data() + sizeof(header), names.data(), names.size() * sizeof(wchar_t));
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (id == IID_IUnknown || id == IID_IDataObject) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }  // lives on the driver's stack

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) {
            return DV_E_FORMATETC;
        }
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, m_size);
        std::memcpy(::GlobalLock(memory), m_bytes.data(), m_size);
        ::GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) != 0 ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::vector<char> m_bytes;
    std::size_t m_size = 0;
    ULONG m_references = 1;
};
#pragma GCC diagnostic pop

class Win32WindowDriver final : public WindowDriver {
public:
    Win32WindowDriver() {
        INITCOMMONCONTROLSEX controls{
            sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        ::OleInitialize(nullptr);
        m_fake.environment.programFolder = m_programFolder.Path().string();
        m_form = std::make_unique<win32::Form1>(m_fake.platform, [this] { ++m_endProgramCalls; });
    }
    ~Win32WindowDriver() override {
        m_form.reset();
        ::OleUninitialize();
    }

    FakePlatform& Fake() override { return m_fake; }
    std::string ProgramFolder() const override { return m_programFolder.Path().string(); }

    StartupResult Start(const std::string& argumentText) override {
        const StartupResult result = m_form->Load(argumentText);
        if (!result.commandLineRan) {
            m_form->ShowCentred();
        }
        Pump();
        return result;
    }
    bool Visible() override { return ::IsWindowVisible(m_form->Handle()) != FALSE; }
    void Close() override {
        ::SendMessageW(m_form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        Pump();
    }
    int EndProgramCalls() override { return m_endProgramCalls; }

    void Click(const std::string& control) override {
        HWND hwnd = Find(control);
        if (hwnd == nullptr) {
            return;
        }
        EXPECT_TRUE(::IsWindowEnabled(hwnd)) << control << " is not enabled";
        ClickAt(hwnd, Middle(hwnd));
    }

    void TypeInto(const std::string& control, const std::string& text) override {
        HWND edit = EditOf(control);
        ::SetFocus(edit);
        Key(edit, VK_END);
        for (const wchar_t character : WideFromUtf8(text)) {
            ::SendMessageW(edit, WM_CHAR, character, 1);
        }
        Pump();
    }

    void ClearText(const std::string& control) override {
        HWND edit = EditOf(control);
        ::SetFocus(edit);
        // Ctrl+A as an edit field takes it: everything selected, then Delete.
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        Key(edit, VK_DELETE);
        Pump();
    }

    void PressKey(const std::string& control, int virtualKey) override {
        HWND hwnd = control == "Combo1" ? EditOf(control) : Find(control);
        ::SetFocus(hwnd);
        Key(hwnd, static_cast<WPARAM>(virtualKey));
        Pump();
    }

    void ClickListRow(int row) override {
        HWND list = Find("ListView1");
        ClickAt(list, RowPoint(row));
    }

    void DoubleClickList(int row) override {
        HWND list = Find("ListView1");
        const POINT at = RowPoint(row);
        // What the system delivers for a double-click: press, release, double-click, release. The list follows a
        // press on a row until its release comes, so the release is queued first.
        ::PostMessageW(list, WM_LBUTTONUP, 0, PointParameter(at));
        ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, PointParameter(at));
        Pump();
        ::PostMessageW(list, WM_LBUTTONUP, 0, PointParameter(at));
        ::SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, PointParameter(at));
        Pump();
    }

    void MoveMouseOver(const std::string& control) override {
        HWND hwnd = control == "Combo1" ? EditOf(control) : Find(control);
        // A disabled control takes no mouse input: the system gives the move to the first enabled window around it.
        while (hwnd != m_form->Handle() && ::IsWindowEnabled(hwnd) == FALSE) {
            hwnd = ::GetParent(hwnd);
        }
        ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, PointParameter(Middle(hwnd)));
        Pump();
    }

    void Drop(const std::vector<std::string>& paths) override {
        HWND list = Find("ListView1");
        // The list's registered target, as OLE finds it under the pointer during a drag.
        auto* target = static_cast<IDropTarget*>(::GetPropW(list, L"OleDropTargetInterface"));
        ASSERT_NE(target, nullptr) << "the list is no drop target";
        FileDropData data(paths);
        POINT screen = Middle(list);
        ::ClientToScreen(list, &screen);
        const POINTL at{screen.x, screen.y};
        DWORD effect = DROPEFFECT_COPY;
        target->DragEnter(&data, MK_LBUTTON, at, &effect);
        effect = DROPEFFECT_COPY;
        target->DragOver(MK_LBUTTON, at, &effect);
        if (effect == DROPEFFECT_NONE) {
            target->DragLeave();  // the pointer shows no-drop and the release drops nothing
            return;
        }
        effect = DROPEFFECT_COPY;
        target->Drop(&data, 0, at, &effect);
        Pump();
    }

    std::vector<std::string> ListRows() override {
        HWND list = Find("ListView1");
        std::vector<std::string> rows;
        const auto count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) {
            std::wstring text(4096, L'\0');
            LVITEMW item{};
            item.pszText = text.data();
            item.cchTextMax = static_cast<int>(text.size());
            const auto copied =
                ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            text.resize(static_cast<std::size_t>(copied));
            rows.push_back(Utf8FromWide(text));
        }
        return rows;
    }
    std::string ListHeader() override {
        const auto header = reinterpret_cast<HWND>(::SendMessageW(Find("ListView1"), LVM_GETHEADER, 0, 0));
        wchar_t text[256] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 256;
        if (::SendMessageW(header, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) == FALSE) {
            return {};
        }
        return Utf8FromWide(text);
    }

    std::string Text(const std::string& control) override { return TextOf(Find(control)); }
    std::vector<std::string> ComboItems() override {
        HWND combo = Find("Combo1");
        std::vector<std::string> items;
        const auto count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int index = 0; index < count; ++index) {
            std::wstring text(
                static_cast<std::size_t>(::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0)) + 1,
                L'\0');
            const auto copied =
                ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<std::size_t>(copied));
            items.push_back(Utf8FromWide(text));
        }
        return items;
    }
    int ComboSelection() override { return static_cast<int>(::SendMessageW(Find("Combo1"), CB_GETCURSEL, 0, 0)); }
    bool IsChecked(const std::string& control) override {
        return ::SendMessageW(Find(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    bool IsEnabled(const std::string& control) override {
        // A control is usable when it and every frame around it are enabled.
        for (HWND hwnd = Find(control); hwnd != nullptr && hwnd != m_form->Handle(); hwnd = ::GetParent(hwnd)) {
            if (::IsWindowEnabled(hwnd) == FALSE) {
                return false;
            }
        }
        return true;
    }
    int ProgressValue() override { return static_cast<int>(::SendMessageW(Find("ProgressBar1"), PBM_GETPOS, 0, 0)); }
    MousePointer Pointer() override { return m_form->ShownPointer(); }

private:
    HWND Find(const std::string& control) {
        if (control == "Form1") {
            return m_form->Handle();
        }
        HWND hwnd = m_form->ControlHandle(control);
        if (hwnd == nullptr) {
            ADD_FAILURE() << "the window has no control " << control;
        }
        return hwnd;
    }
    // Where a control takes its typing: the mode box through its edit field.
    HWND EditOf(const std::string& control) {
        HWND hwnd = Find(control);
        if (control == "Combo1") {
            COMBOBOXINFO info{};
            info.cbSize = sizeof(info);
            ::GetComboBoxInfo(hwnd, &info);
            hwnd = info.hwndItem;
        }
        EXPECT_TRUE(IsEnabled(control)) << control << " is not enabled";
        return hwnd;
    }
    static POINT Middle(HWND hwnd) {
        RECT client{};
        ::GetClientRect(hwnd, &client);
        return {client.right / 2, client.bottom / 2};
    }
    // A key as the keyboard delivers it: through the queue, where translation adds the character a key types
    // (Backspace, Return).
    static void Key(HWND hwnd, WPARAM key) {
        const UINT scan = ::MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
        ::PostMessageW(hwnd, WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16)));
        ::PostMessageW(hwnd, WM_KEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | (3U << 30)));
        Pump();
    }
    static void ClickAt(HWND hwnd, POINT at) {
        // A control that follows the press until the release (a button, the list) finds the release queued.
        ::PostMessageW(hwnd, WM_LBUTTONUP, 0, PointParameter(at));
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, PointParameter(at));
        Pump();
    }
    // The middle of a row, or a point of the empty part below the rows.
    POINT RowPoint(int row) {
        HWND list = Find("ListView1");
        if (row <= 0) {
            RECT client{};
            ::GetClientRect(list, &client);
            const POINT below{client.right / 2, client.bottom - 5};
            LVHITTESTINFO hit{};
            hit.pt = below;
            EXPECT_LT(::SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 0)
                << "the list has no empty part left";
            return below;
        }
        RECT rect{};
        rect.left = LVIR_BOUNDS;
        ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row - 1), reinterpret_cast<LPARAM>(&rect));
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    TempDir m_programFolder;
    FakePlatform m_fake;
    int m_endProgramCalls = 0;
    std::unique_ptr<win32::Form1> m_form;
};

}  // namespace

std::unique_ptr<WindowDriver> MakeWindowDriver() {
    return std::make_unique<Win32WindowDriver>();
}

}  // namespace tabulane::test
