#include "platform/win32/Win32CursorFile.h"

#include "platform/PlatformError.h"
#include "platform/TextCodes.h"

namespace tabulane {

HCURSOR LoadCursorFile(const std::string& path) {
    HCURSOR cursor = ::LoadCursorFromFileW(WideFromUtf8(path).c_str());
    if (cursor == nullptr) {
        throw PlatformError(ErrorNumber::kInvalidPicture, "Invalid picture");
    }
    return cursor;
}

}  // namespace tabulane
