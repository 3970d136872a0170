#include "platform/win32/Win32FilePicker.h"

#include <cderr.h>
#include <commdlg.h>
#include <windows.h>

#include <algorithm>

#include "platform/CommonDialog.h"
#include "platform/PlatformError.h"
#include "platform/TextCodes.h"

namespace tabulane {
namespace {

// Characters of the dialog's own answer buffer: far above the component's MaxFileSize, which CommonDialog applies
// to the answer, so that the component and not this buffer decides what is too many.
constexpr DWORD kAnswerCharacters = 1 << 20;

// The number the dialog component gives a dialog that could not be shown.
constexpr int kDialogFailure = -32768;

// The component's filter ("All Files (*.*)|*.*|") in the dialog's form: the same parts, each ended by a NUL, the
// list by one more.
std::wstring DialogFilter(const std::string& filter) {
    std::wstring wide = WideFromUtf8(filter);
    if (!wide.empty() && wide.back() != L'|') {
        wide.push_back(L'|');
    }
    std::replace(wide.begin(), wide.end(), L'|', L'\0');
    wide.push_back(L'\0');
    return wide;
}

}  // namespace

std::vector<std::string> PathsFromOpenFileBuffer(const std::wstring& buffer) {
    std::vector<std::wstring> parts;
    for (std::size_t start = 0; start < buffer.size() && buffer[start] != L'\0';) {
        const std::size_t end = std::min(buffer.find(L'\0', start), buffer.size());
        parts.push_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    std::vector<std::string> paths;
    if (parts.size() == 1) {
        paths.push_back(Utf8FromWide(parts.front()));
        return paths;
    }
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::wstring& folder = parts.front();
        const bool endsWithSeparator = !folder.empty() && folder.back() == L'\\';  // a drive root: "C:\"
        paths.push_back(Utf8FromWide(folder + (endsWithSeparator ? L"" : L"\\") + parts[i]));
    }
    return paths;
}

std::vector<std::string> Win32FilePicker::PickFiles(const std::string& title, const std::string& filter,
                                                    bool multiSelect) {
    const std::wstring wideTitle = WideFromUtf8(title);
    const std::wstring wideFilter = DialogFilter(filter);
    std::wstring answer(kAnswerCharacters, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_owner.Window();
    dialog.lpstrFilter = wideFilter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = answer.data();
    dialog.nMaxFile = kAnswerCharacters;
    dialog.lpstrTitle = wideTitle.c_str();
    // No start folder: the dialog opens where Windows last left it.
    dialog.Flags = OpenFlag::kReadOnly | OpenFlag::kExplorer | OpenFlag::kLongNames |
                   (multiSelect ? OpenFlag::kAllowMultiSelect : 0);
    if (::GetOpenFileNameW(&dialog)) {
        return PathsFromOpenFileBuffer(answer);
    }
    const DWORD error = ::CommDlgExtendedError();
    if (error == 0) {
        return {};  // cancelled
    }
    if (error == FNERR_BUFFERTOOSMALL) {
        throw PlatformError(ErrorNumber::kBufferTooSmall, "The file name buffer is too small");
    }
    throw PlatformError(kDialogFailure, "The file dialog could not be shown (error " + std::to_string(error) + ")");
}

}  // namespace tabulane
