#include "convert/Modes.h"

namespace tabulane {

bool IsXMode(std::string_view modeText) {
    for (const auto& mode : kConversionModes) {
        if (mode.caption == modeText) {
            return mode.separator == SeparatorKind::X;
        }
    }
    return false;
}

std::optional<ConversionArguments> ChooseArguments(std::string_view modeText, const std::string& x) {
    for (const auto& mode : kConversionModes) {
        if (mode.caption != modeText) {
            continue;
        }
        switch (mode.separator) {
            case SeparatorKind::Tab:
                return ConversionArguments{"\t", mode.commaSpace, false};
            case SeparatorKind::Space:
                return ConversionArguments{" ", mode.commaSpace, true};
            case SeparatorKind::LineFeed:
                return ConversionArguments{"\n", mode.commaSpace, false};
            case SeparatorKind::X:
                if (x.empty()) {
                    return std::nullopt;
                }
                return ConversionArguments{x, mode.commaSpace, x == " "};
        }
    }
    return std::nullopt;
}

}  // namespace tabulane
