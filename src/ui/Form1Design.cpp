#include "ui/Form1Design.h"

#include <algorithm>
#include <cmath>

namespace tabulane {

const ControlDesign* FindControlDesign(std::string_view name) {
    for (const ControlDesign& control : kForm1Controls) {
        if (control.name == name) {
            return &control;
        }
    }
    return nullptr;
}

std::vector<const ControlDesign*> ControlsInTabOrder() {
    std::vector<const ControlDesign*> ordered;
    for (const ControlDesign& control : kForm1Controls) {
        ordered.push_back(&control);
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const ControlDesign* a, const ControlDesign* b) { return a->tabIndex < b->tabIndex; });
    return ordered;
}

bool TakesFocus(ControlKind kind) {
    return kind != ControlKind::Frame && kind != ControlKind::Label && kind != ControlKind::ProgressBar;
}

int TwipsToPixels(int twips, int dotsPerInch) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dotsPerInch / 1440.0));
}

TwipsRect RectInWindow(const ControlDesign& control) {
    TwipsRect rect = control.rect;
    for (const ControlDesign* parent = FindControlDesign(control.parent); parent != nullptr;
         parent = FindControlDesign(parent->parent)) {
        rect.left += parent->rect.left;
        rect.top += parent->rect.top;
    }
    return rect;
}

}  // namespace tabulane
