#pragma once

#include <stdexcept>
#include <string>

namespace tabulane {

// The error numbers reports show; the same on every platform.
namespace ErrorNumber {
constexpr int kInvalidProcedureCall = 5;  // "Invalid procedure call or argument"
constexpr int kOutOfMemory = 7;
constexpr int kTypeMismatch = 13;
constexpr int kBadFileName = 52;
constexpr int kFileNotFound = 53;
constexpr int kDeviceIoError = 57;
constexpr int kFileAlreadyExists = 58;
constexpr int kDiskFull = 61;
constexpr int kPermissionDenied = 70;
constexpr int kPathFileAccess = 75;
constexpr int kPathNotFound = 76;
constexpr int kInvalidPropertyValue = 380;
constexpr int kObjectRequired = 424;
constexpr int kNotSupported = 438;  // "Object doesn't support this property or method"
constexpr int kArgumentNotOptional = 449;
constexpr int kInvalidPicture = 481;
constexpr int kBufferTooSmall = 20476;
constexpr int kIndexOutOfBounds = 35600;
}  // namespace ErrorNumber

// The one error type that platform calls throw; only the error trap catches it.
class PlatformError : public std::runtime_error {
public:
    PlatformError(int number, const std::string& description) : std::runtime_error(description), m_number(number) {}

    int Number() const { return m_number; }
    std::string Description() const { return what(); }

private:
    int m_number;
};

// Maps an errno value to our error number and description; the path, when given, is named in the text.
PlatformError ErrorFromErrno(int errnoValue, const std::string& path = {});

#ifdef _WIN32
// Maps a Win32 error code (GetLastError, an LSTATUS) the same way; what names the object of the failed call.
PlatformError ErrorFromSystemCode(unsigned long code, const std::string& what = {});
#endif

}  // namespace tabulane
