#include "platform/StyleSheetFile.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/PlatformError.h"
#include "platform/Utf8.h"

namespace tabulane {
namespace {

// A style sheet is a few kilobytes; a file far beyond that is not one, and is not read into memory whole.
constexpr std::size_t kMaxStyleSheetBytes = 4 * 1024 * 1024;

}  // namespace

void CheckStyleSheet(std::string_view text) {
    if (!IsValidUtf8(text)) {
        throw PlatformError(ErrorNumber::kInvalidProcedureCall, "The skin file is not UTF-8 text");
    }
    // Every character that matters here is ASCII, and no byte of a longer UTF-8 character is: the bytes can be
    // walked as they are.
    int depth = 0;
    char quote = 0;
    bool inComment = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (inComment) {
            if (c == '*' && next == '/') {
                inComment = false;
                ++i;
            }
        } else if (quote != 0) {
            if (c == '\\') {
                ++i;  // an escaped character never ends the string
            } else if (c == quote) {
                quote = 0;
            }
        } else if (c == '/' && next == '*') {
            inComment = true;
            ++i;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth < 0) {
            break;
        }
    }
    if (depth != 0 || inComment || quote != 0) {
        throw PlatformError(ErrorNumber::kInvalidProcedureCall,
                            "The skin file is not a style sheet: its braces do not balance");
    }
}

std::string SkinFilePath(const std::string& programFolder) {
    return (std::filesystem::path(programFolder) / kSkinFolder / kSkinFile).string();
}

std::string ReadStyleSheetFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        throw PlatformError(ErrorNumber::kFileNotFound, "File not found");
    }
    std::ifstream file;
    if (!std::filesystem::is_directory(status)) {
        file.open(path, std::ios::binary);
    }
    if (!file.is_open()) {
        throw PlatformError(ErrorNumber::kPermissionDenied, "Permission denied");
    }
    std::string text(kMaxStyleSheetBytes + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad()) {
        throw PlatformError(ErrorNumber::kDeviceIoError, "Device I/O error");
    }
    text.resize(static_cast<std::size_t>(file.gcount()));
    if (text.size() > kMaxStyleSheetBytes) {
        throw PlatformError(ErrorNumber::kInvalidProcedureCall, "The skin file is too large to be a style sheet");
    }
    CheckStyleSheet(text);
    return text;
}

}  // namespace tabulane
