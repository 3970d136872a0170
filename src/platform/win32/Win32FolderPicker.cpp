#include "platform/win32/Win32FolderPicker.h"

#include <shlobj.h>
#include <windows.h>

#include "platform/TextCodes.h"

namespace tabulane {
namespace {

// The shell's dialogs need COM in a single-threaded apartment. The window's thread usually has one already
// (OLE for drag and drop); otherwise it lasts for the one dialog.
class ComApartment {
public:
    ComApartment()
        : m_joined(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (m_joined) {
            ::CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool m_joined;
};

// Selects the start folder (the callback data) as soon as the dialog has opened. An empty or vanished folder
// selects nothing, and the dialog stays where it opened.
int CALLBACK BrowseCallbackProc(HWND dialog, UINT message, LPARAM /*parameter*/, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        const auto* startFolder = reinterpret_cast<const wchar_t*>(data);
        if (*startFolder != L'\0') {
            ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
        }
    }
    return 0;
}

}  // namespace

std::string Win32FolderPicker::BrowseForFolder(const std::string& title, const std::string& startFolder) {
    const ComApartment apartment;
    const std::wstring wideTitle = WideFromUtf8(title);
    const std::wstring wideStart = WideFromUtf8(startFolder);
    BROWSEINFOW info = {};
    info.hwndOwner = m_owner.Window();
    info.pidlRoot = nullptr;  // the whole namespace, from the desktop down
    info.pszDisplayName = nullptr;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallbackProc;
    info.lParam = reinterpret_cast<LPARAM>(wideStart.c_str());
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
    if (chosen == nullptr) {
        return {};
    }
    wchar_t path[MAX_PATH] = {};
    // An item without a file-system path leaves the buffer empty, and so the answer.
    ::SHGetPathFromIDListW(chosen, path);
    ::CoTaskMemFree(chosen);
    return Utf8FromWide(path);
}

}  // namespace tabulane
