#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tabulane {

// What a mode replaces. X is the string the user types at the start of a run.
enum class SeparatorKind { Tab, Space, LineFeed, X };

struct ConversionMode {
    std::string_view caption;  // the mode's identity: shown in the box and stored under "Combo"
    SeparatorKind separator;
    bool commaSpace;
};

// The eight modes in the order the mode box lists them.
inline constexpr std::array<ConversionMode, 8> kConversionModes{{
    {"Tabs To Commas", SeparatorKind::Tab, false},
    {"Spaces To Commas", SeparatorKind::Space, false},
    {"Enters To Commas", SeparatorKind::LineFeed, false},
    {"X Character(s) To Commas", SeparatorKind::X, false},
    {"Tabs To Comma-spaces", SeparatorKind::Tab, true},
    {"Spaces To Comma-spaces", SeparatorKind::Space, true},
    {"Enters To Comma-spaces", SeparatorKind::LineFeed, true},
    {"X Character(s) To Comma-spaces", SeparatorKind::X, true},
}};

inline constexpr std::string_view kDefaultMode = "Tabs To Commas";

// The arguments one file is converted with.
struct ConversionArguments {
    std::string separator;
    bool commaSpace = false;
    bool collapseSpaces = false;
};

// True when the text is one of the two X modes (the run then asks for X).
bool IsXMode(std::string_view modeText);

// The arguments for the mode whose caption equals modeText exactly (first match); none when the text matches
// no caption or names an X mode while X is empty: such a file is not converted.
std::optional<ConversionArguments> ChooseArguments(std::string_view modeText, const std::string& x);

}  // namespace tabulane
