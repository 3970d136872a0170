#pragma once

#include <windows.h>

#include <string>

namespace tabulane {

// A cursor file (.cur or .ani) as a pointer, with the hotspot the file gives, through LoadCursorFromFileW. The
// caller owns the cursor (DestroyCursor). Throws PlatformError 481 "Invalid picture" when the file does not load.
HCURSOR LoadCursorFile(const std::string& path);

}  // namespace tabulane
