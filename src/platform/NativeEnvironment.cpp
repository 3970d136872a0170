#include "platform/NativeEnvironment.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tabulane {

std::string ProgramPath() {
#ifdef _WIN32
    std::wstring path(32768, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return std::filesystem::path(path).string();
#else
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
#endif
}

std::string NativeEnvironment::ProgramFolder() const {
    return std::filesystem::path(ProgramPath()).parent_path().make_preferred().string();
}

}  // namespace tabulane
