#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tabulane {

// The colours and borders a skin's style sheet gives the window's parts, read without any toolkit, so a window that
// draws itself (the Win32 one) follows the same file the Qt window hands to Qt.

struct SkinColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const SkinColor&) const = default;
};

// What the sheet says for one selector. A gradient is read as its first and last stop, top to bottom.
struct SkinLook {
    std::optional<SkinColor> background;
    std::optional<SkinColor> backgroundEnd;  // set for a gradient only
    std::optional<SkinColor> text;
    std::optional<SkinColor> border;
    int borderWidth = 0;
    int borderRadius = 0;
    std::optional<SkinColor> selectionBackground;
    std::optional<SkinColor> selectionText;
};

class SkinStyle {
public:
    // Reads the rules of a checked style sheet (see CheckStyleSheet); what it cannot read is left out.
    static SkinStyle Parse(std::string_view sheet);

    // The look of a selector as the sheet writes it ("QPushButton", "QPushButton:hover", "QWidget#Form1"): every
    // rule that names it, later declarations over earlier ones.
    SkinLook LookOf(std::string_view selector) const;
    bool Empty() const { return m_rules.empty(); }

private:
    using Declarations = std::vector<std::pair<std::string, std::string>>;
    std::vector<std::pair<std::vector<std::string>, Declarations>> m_rules;
};

// A colour as a style sheet writes it: #rgb, #rrggbb, rgb(r, g, b) or a few common names.
std::optional<SkinColor> ParseSkinColor(std::string_view text);

}  // namespace tabulane
