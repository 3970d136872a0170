#pragma once

#include <cstddef>
#include <string_view>

namespace tabulane {

// Letter case as listings, wildcards and stored words compare it: ASCII letters fold to lower case, every other
// byte (all of UTF-8 beyond ASCII) stays as it is, the same in every locale.
constexpr unsigned char FoldAsciiCase(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// Negative, zero or positive as a sorts before, with or after b once both are folded; a prefix sorts first.
constexpr int CompareIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const int difference = FoldAsciiCase(a[i]) - FoldAsciiCase(b[i]);
        if (difference != 0) {
            return difference;
        }
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareIgnoringAsciiCase(a, b) == 0;
}

// text without the leading and trailing characters that are among blanks; each caller names its own blanks.
constexpr std::string_view Trim(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace tabulane
