#include "platform/win32/Win32Error.h"

#include "platform/TextCodes.h"

namespace tabulane {

std::string SystemErrorText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide = length > 0 ? std::wstring(text, length) : std::wstring();
    ::LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ')) {
        wide.pop_back();
    }
    return wide.empty() ? "error " + std::to_string(code) : Utf8FromWide(wide);
}

PlatformError Win32Error(DWORD code, const std::string& what) {
    switch (code) {
        case ERROR_ACCESS_DENIED:
            return PlatformError(ErrorNumber::kPermissionDenied, "Permission denied: " + what);
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return PlatformError(ErrorNumber::kOutOfMemory, "Out of memory: " + what);
        default:
            return PlatformError(ErrorNumber::kDeviceIoError,
                                 "Device I/O error (" + SystemErrorText(code) + "): " + what);
    }
}

}  // namespace tabulane
