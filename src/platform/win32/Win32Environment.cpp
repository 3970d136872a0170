#include "platform/win32/Win32Environment.h"

#include <shlobj.h>
#include <windows.h>

#include "platform/NativeEnvironment.h"
#include "platform/TextCodes.h"

namespace tabulane {

std::string Win32Environment::ProgramFolder() const {
    return NativeEnvironment().ProgramFolder();
}

std::string Win32Environment::DesktopFolder() const {
    wchar_t* path = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_Desktop, KF_FLAG_DEFAULT, nullptr, &path);
    const std::string folder = SUCCEEDED(result) && path != nullptr ? Utf8FromWide(path) : std::string();
    ::CoTaskMemFree(path);  // also when the call failed: it may still have allocated
    return folder;
}

}  // namespace tabulane
