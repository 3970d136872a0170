#include "platform/SkinStyle.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace tabulane {
namespace {

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return lower;
}

// The sheet without its comments; quoted strings are kept as they are.
std::string WithoutComments(std::string_view sheet) {
    std::string text;
    text.reserve(sheet.size());
    char quote = 0;
    for (std::size_t i = 0; i < sheet.size(); ++i) {
        const char c = sheet[i];
        if (quote != 0) {
            text += c;
            if (c == '\\' && i + 1 < sheet.size()) {
                text += sheet[++i];
            } else if (c == quote) {
                quote = 0;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
            text += c;
        } else if (c == '/' && i + 1 < sheet.size() && sheet[i + 1] == '*') {
            const std::size_t end = sheet.find("*/", i + 2);
            i = end == std::string_view::npos ? sheet.size() : end + 1;
            text += ' ';
        } else {
            text += c;
        }
    }
    return text;
}

// A selector with its runs of spaces made one, so "QHeaderView::section" and "QWidget#Form1" compare as written.
std::string NormalSelector(std::string_view selector) {
    std::string normal;
    for (const char c : Trim(selector)) {
        if (IsSpace(c)) {
            if (!normal.empty() && normal.back() != ' ') {
                normal += ' ';
            }
        } else {
            normal += c;
        }
    }
    return normal;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(') {
            ++depth;
        } else if (text[i] == ')') {
            --depth;
        } else if (text[i] == separator && depth == 0) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::optional<int> Number(std::string_view text) {
    text = Trim(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) {
        return std::nullopt;
    }
    return value;
}

// Every colour named in a value, in order: "qlineargradient(..., stop: 0 #5482b3, stop: 1 #325b87)" gives two.
std::vector<SkinColor> ColorsIn(std::string_view value) {
    std::vector<SkinColor> colors;
    std::size_t i = 0;
    while (i < value.size()) {
        if (value[i] == '#') {
            std::size_t end = i + 1;
            while (end < value.size() && std::isxdigit(static_cast<unsigned char>(value[end])) != 0) {
                ++end;
            }
            if (const auto color = ParseSkinColor(value.substr(i, end - i))) {
                colors.push_back(*color);
            }
            i = end;
        } else if (value.substr(i, 4) == "rgb(") {
            const std::size_t end = value.find(')', i);
            if (end == std::string_view::npos) {
                break;
            }
            if (const auto color = ParseSkinColor(value.substr(i, end - i + 1))) {
                colors.push_back(*color);
            }
            i = end + 1;
        } else {
            ++i;
        }
    }
    if (colors.empty()) {
        if (const auto named = ParseSkinColor(Trim(value))) {
            colors.push_back(*named);
        }
    }
    return colors;
}

std::optional<int> Pixels(std::string_view word) {
    word = Trim(word);
    if (word.size() > 2 && word.substr(word.size() - 2) == "px") {
        word.remove_suffix(2);
    }
    return Number(word);
}

// "1px solid #264668": the width and the colour; a style of "none" is no border.
void ReadBorder(std::string_view value, SkinLook& look) {
    if (Lower(Trim(value)) == "none") {
        look.border.reset();
        look.borderWidth = 0;
        return;
    }
    for (const std::string_view word : Split(value, ' ')) {
        if (const auto width = Pixels(word);
            width && !word.empty() && std::isdigit(static_cast<unsigned char>(Trim(word)[0]))) {
            look.borderWidth = *width;
        }
    }
    const std::vector<SkinColor> colors = ColorsIn(value);
    if (!colors.empty()) {
        look.border = colors.front();
        if (look.borderWidth == 0) {
            look.borderWidth = 1;
        }
    }
}

void Apply(std::string_view property, std::string_view value, SkinLook& look) {
    const std::vector<SkinColor> colors = ColorsIn(value);
    if (property == "background-color" || property == "background") {
        if (!colors.empty()) {
            look.background = colors.front();
            look.backgroundEnd.reset();
            if (colors.size() > 1) {
                look.backgroundEnd = colors.back();
            }
        }
    } else if (property == "color") {
        if (!colors.empty()) {
            look.text = colors.front();
        }
    } else if (property == "border") {
        ReadBorder(value, look);
    } else if (property == "border-color") {
        if (!colors.empty()) {
            look.border = colors.front();
            look.borderWidth = std::max(look.borderWidth, 1);
        }
    } else if (property == "border-radius") {
        if (const auto radius = Pixels(value)) {
            look.borderRadius = *radius;
        }
    } else if (property == "selection-background-color") {
        if (!colors.empty()) {
            look.selectionBackground = colors.front();
        }
    } else if (property == "selection-color") {
        if (!colors.empty()) {
            look.selectionText = colors.front();
        }
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

std::optional<SkinColor> ParseSkinColor(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '#') {
        const std::string_view digits = text.substr(1);
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return HexDigit(c) >= 0; })) {
            return std::nullopt;
        }
        auto channel = [](int high, int low) { return static_cast<std::uint8_t>(high * 16 + low); };
        if (digits.size() == 3) {
            const int r = HexDigit(digits[0]), g = HexDigit(digits[1]), b = HexDigit(digits[2]);
            return SkinColor{channel(r, r), channel(g, g), channel(b, b)};
        }
        if (digits.size() == 6) {
            return SkinColor{channel(HexDigit(digits[0]), HexDigit(digits[1])),
                             channel(HexDigit(digits[2]), HexDigit(digits[3])),
                             channel(HexDigit(digits[4]), HexDigit(digits[5]))};
        }
        return std::nullopt;
    }
    if (text.substr(0, 4) == "rgb(" && text.back() == ')') {
        const std::vector<std::string_view> parts = Split(text.substr(4, text.size() - 5), ',');
        if (parts.size() != 3) {
            return std::nullopt;
        }
        std::array<std::uint8_t, 3> channels{};
        for (std::size_t i = 0; i < 3; ++i) {
            const auto value = Number(parts[i]);
            if (!value || *value < 0 || *value > 255) {
                return std::nullopt;
            }
            channels[i] = static_cast<std::uint8_t>(*value);
        }
        return SkinColor{channels[0], channels[1], channels[2]};
    }
    static constexpr std::pair<std::string_view, SkinColor> kNamed[] = {
        {"white", {255, 255, 255}}, {"black", {0, 0, 0}},      {"red", {255, 0, 0}},      {"green", {0, 128, 0}},
        {"blue", {0, 0, 255}},      {"gray", {128, 128, 128}}, {"grey", {128, 128, 128}}, {"yellow", {255, 255, 0}},
    };
    const std::string lower = Lower(text);
    for (const auto& [name, color] : kNamed) {
        if (lower == name) {
            return color;
        }
    }
    return std::nullopt;
}

SkinStyle SkinStyle::Parse(std::string_view sheet) {
    SkinStyle style;
    const std::string text = WithoutComments(sheet);
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t open = text.find('{', position);
        if (open == std::string::npos) {
            break;
        }
        const std::size_t close = text.find('}', open);
        if (close == std::string::npos) {
            break;
        }
        std::vector<std::string> selectors;
        for (const std::string_view selector : Split(std::string_view(text).substr(position, open - position), ',')) {
            if (std::string normal = NormalSelector(selector); !normal.empty()) {
                selectors.push_back(std::move(normal));
            }
        }
        Declarations declarations;
        for (const std::string_view declaration :
             Split(std::string_view(text).substr(open + 1, close - open - 1), ';')) {
            const std::size_t colon = declaration.find(':');
            if (colon == std::string_view::npos) {
                continue;
            }
            const std::string property = Lower(Trim(declaration.substr(0, colon)));
            const std::string_view value = Trim(declaration.substr(colon + 1));
            if (!property.empty() && !value.empty()) {
                declarations.emplace_back(property, std::string(value));
            }
        }
        if (!selectors.empty()) {
            style.m_rules.emplace_back(std::move(selectors), std::move(declarations));
        }
        position = close + 1;
    }
    return style;
}

SkinLook SkinStyle::LookOf(std::string_view selector) const {
    const std::string wanted = NormalSelector(selector);
    SkinLook look;
    for (const auto& [selectors, declarations] : m_rules) {
        if (std::find(selectors.begin(), selectors.end(), wanted) == selectors.end()) {
            continue;
        }
        for (const auto& [property, value] : declarations) {
            Apply(property, value, look);
        }
    }
    return look;
}

}  // namespace tabulane
