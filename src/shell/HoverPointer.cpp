#include "shell/HoverPointer.h"

#include <array>

namespace tabulane {

HoverSurface HoverSurfaceOf(std::string_view controlName) {
    static constexpr std::array<std::string_view, 8> kButtons{"PushButton1", "PushButton2", "PushButton3",
                                                              "PushButton4", "PushButton5", "PushButton6",
                                                              "PushButton7", "PushButton8"};
    static constexpr std::array<std::string_view, 7> kArrowSurfaces{"Form1",  "Frame1",    "Frame2", "Frame3",
                                                                    "Frame5", "ListView1", "Text1"};
    for (std::string_view button : kButtons) {
        if (controlName == button) {
            return HoverSurface::Hand;
        }
    }
    for (std::string_view surface : kArrowSurfaces) {
        if (controlName == surface) {
            return HoverSurface::Arrow;
        }
    }
    return HoverSurface::Unhandled;
}

MousePointer PointerAfterHover(MousePointer current, HoverSurface surface) {
    if (current == MousePointer::Hourglass) {
        return current;
    }
    switch (surface) {
        case HoverSurface::Hand:
            return MousePointer::Custom;
        case HoverSurface::Arrow:
            return MousePointer::Default;
        case HoverSurface::Unhandled:
            break;
    }
    return current;
}

}  // namespace tabulane
