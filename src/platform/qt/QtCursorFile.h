#pragma once

#include <QCursor>
#include <string>

namespace tabulane {

// A cursor file (.cur) as a pointer, with the hotspot the file gives. Throws PlatformError 481 "Invalid picture"
// when the file cannot be read as a picture.
QCursor ReadCursorFile(const std::string& path);

}  // namespace tabulane
