#include "platform/qt/QtOleColor.h"

#include <QApplication>
#include <QPalette>

#include "platform/PlatformError.h"

namespace tabulane {

namespace {

constexpr OleColor kSystemColorFlag = 0x80000000U;

}  // namespace

QColor ColorFromOle(OleColor color) {
    if ((color & kSystemColorFlag) == 0) {
        return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                      static_cast<int>((color >> 16) & 0xFF));
    }
    struct SystemColor {
        OleColor index;
        QPalette::ColorRole role;
    };
    static constexpr SystemColor kSystemColors[] = {
        {5, QPalette::Base}, {8, QPalette::Text}, {15, QPalette::Button}, {18, QPalette::ButtonText}};
    for (const SystemColor& system : kSystemColors) {
        if ((color & ~kSystemColorFlag) == system.index) {
            // The application's palette: a window's own may be the design's white.
            return QApplication::palette().color(system.role);
        }
    }
    throw PlatformError(ErrorNumber::kInvalidPropertyValue, "Invalid property value");
}

}  // namespace tabulane
