#include "platform/PlatformError.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>

#include "platform/TextCodes.h"
#endif

namespace tabulane {

PlatformError ErrorFromErrno(int errnoValue, const std::string& path) {
    int number = ErrorNumber::kDeviceIoError;
    std::string description;
    switch (errnoValue) {
        case ENOENT:
            number = ErrorNumber::kFileNotFound;
            description = "File not found";
            break;
        case ENOTDIR:
            number = ErrorNumber::kPathNotFound;
            description = "Path not found";
            break;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            number = ErrorNumber::kPermissionDenied;
            description = "Permission denied";
            break;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
        case EFBIG:
            number = ErrorNumber::kDiskFull;
            description = "Disk full";
            break;
        case ENAMETOOLONG:
        case EBADF:
        case EINVAL:
        case EISDIR:
            number = ErrorNumber::kBadFileName;
            description = "Bad file name or number";
            break;
        case ENOMEM:
            number = ErrorNumber::kOutOfMemory;
            description = "Out of memory";
            break;
        default:
            description = std::string("Device I/O error (") + std::strerror(errnoValue) + ")";
            break;
    }
    if (!path.empty()) {
        description += ": " + path;
    }
    return PlatformError(number, description);
}

#ifdef _WIN32
namespace {

// The system's description of an error code, without the closing line break; "error <code>" when it has none.
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

}  // namespace

PlatformError ErrorFromSystemCode(unsigned long code, const std::string& what) {
    const std::string object = what.empty() ? std::string() : ": " + what;
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
            return PlatformError(ErrorNumber::kFileNotFound, "File not found" + object);
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_DIRECTORY:  // a part of the folder is a file
            return PlatformError(ErrorNumber::kPathNotFound, "Path not found" + object);
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return PlatformError(ErrorNumber::kPermissionDenied, "Permission denied" + object);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return PlatformError(ErrorNumber::kDiskFull, "Disk full" + object);
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return PlatformError(ErrorNumber::kBadFileName, "Bad file name or number" + object);
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return PlatformError(ErrorNumber::kOutOfMemory, "Out of memory" + object);
        default:
            return PlatformError(ErrorNumber::kDeviceIoError,
                                 "Device I/O error (" + SystemErrorText(code) + ")" + object);
    }
}
#endif

}  // namespace tabulane
