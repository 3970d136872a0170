#pragma once

#include <string_view>

#include "platform/MainWindow.h"

namespace tabulane {

// What a mouse move over a part of the main window does to its pointer.
enum class HoverSurface {
    Hand,       // the push buttons
    Arrow,      // the window's background, the frames, the file list and the folder box
    Unhandled,  // the option buttons, the mode box and the progress bar: the pointer stays as it was
};

// The surface of a control of the main window, named as the design names it (the window by its own name), read
// from the control's kind in the design; a name the design does not hold has no handler.
HoverSurface HoverSurfaceOf(std::string_view controlName);

// The window's pointer after the mouse moved over a surface: the hand over a push button, the arrow over the rest
// that has a handler; the hourglass of a busy window stays until its work ends.
MousePointer PointerAfterHover(MousePointer current, HoverSurface surface);

}  // namespace tabulane
