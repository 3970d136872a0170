#pragma once

#include <windows.h>

#include <string>

#include "platform/PlatformError.h"

namespace tabulane {

// The system's description of a Win32 error code, without the closing line break; "error <code>" when it has none.
std::string SystemErrorText(DWORD code);

// A failed system call as reports show it: access denied as 70 "Permission denied", a shortage of memory as 7
// "Out of memory", anything else as 57 with the system's own words; what names the object of the call.
PlatformError Win32Error(DWORD code, const std::string& what);

}  // namespace tabulane
