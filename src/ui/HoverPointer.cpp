#include "ui/HoverPointer.h"

#include "ui/Form1Design.h"

namespace tabulane {

HoverSurface HoverSurfaceOf(std::string_view controlName) {
    if (controlName == kForm1Design.name) {
        return HoverSurface::Arrow;
    }
    const ControlDesign* control = FindControlDesign(controlName);
    if (control == nullptr) {
        return HoverSurface::Unhandled;
    }
    switch (control->kind) {
        case ControlKind::PushButton:
            return HoverSurface::Hand;
        case ControlKind::Frame:
        case ControlKind::ListView:
        case ControlKind::TextBox:
            return HoverSurface::Arrow;
        case ControlKind::OptionButton:
        case ControlKind::CheckBox:
        case ControlKind::Label:
        case ControlKind::ComboBox:
        case ControlKind::ProgressBar:
            break;
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
