#include "platform/PlatformError.h"

#include <cerrno>
#include <cstring>

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

}  // namespace tabulane
