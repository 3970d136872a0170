#pragma once

#include <QCursor>
#include <string>

namespace tabulane {

// A cursor file (.cur) as a pointer, with the hotspot the file gives. Throws PlatformError 481 "Invalid picture"
// for a file that is not a cursor by CheckCursorFile's rule, or whose picture Qt cannot decode.
QCursor ReadCursorFile(const std::string& path);

}  // namespace tabulane
