#pragma once

#include <string>
#include <string_view>

namespace tabulane {

// Where a cursor's pointer is, in pixels from the image's top left corner.
struct CursorHotspot {
    int x = 0;
    int y = 0;
};

// The one rule for what counts as a cursor file (.cur), without any toolkit, so the window and the command line
// judge HAND-M.CUR alike: the icon-resource header of type 2 with at least one image, and every image inside the
// file, each either PNG or a bitmap (header of 40 bytes or more, one plane, 1, 4, 8, 16, 24 or 32 bits per pixel,
// uncompressed, colour and mask rows all present). Returns the first image's hotspot.
// Throws PlatformError 481 "Invalid picture" for anything else.
CursorHotspot CheckCursorBytes(std::string_view bytes);

// Reads the file at path (UTF-8) and checks it as CheckCursorBytes does; a file that cannot be read is error 481
// as well, since it does not load as a pointer either.
CursorHotspot CheckCursorFile(const std::string& path);

}  // namespace tabulane
