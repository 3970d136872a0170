#pragma once

#include <stdexcept>
#include <string>

namespace tabulane {

// The error numbers reports show; the same on every platform.
namespace ErrorNumber {
constexpr int kOutOfMemory = 7;
constexpr int kTypeMismatch = 13;
constexpr int kBadFileName = 52;
constexpr int kFileNotFound = 53;
constexpr int kDeviceIoError = 57;
constexpr int kDiskFull = 61;
constexpr int kPermissionDenied = 70;
constexpr int kPathFileAccess = 75;
constexpr int kPathNotFound = 76;
constexpr int kInvalidPicture = 481;
constexpr int kBufferTooSmall = 20476;
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

}  // namespace tabulane
