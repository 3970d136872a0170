#include "platform/SettingsStore.h"

#include <cctype>
#include <optional>
#include <string>

#include "platform/PlatformError.h"

namespace tabulane {
namespace {

bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(word[i]))) {
            return false;
        }
    }
    return true;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether text written as a decimal number ([+-]digits[.digits][e[+-]digits]) is zero; nullopt for any other
// text. Checked by hand rather than with strtod, which also takes hex, "inf" and "nan" and follows the locale.
std::optional<bool> DecimalIsZero(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    bool anyDigit = false;
    bool allZero = true;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            anyDigit = true;
            allZero = allZero && text[i] == '0';
        } else if (text[i] == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const std::size_t exponentStart = i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
        if (i == exponentStart) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return allZero;
}

}  // namespace

bool ParseTruthValue(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    if (EqualsIgnoringCase(trimmed, "true")) {
        return true;
    }
    if (EqualsIgnoringCase(trimmed, "false")) {
        return false;
    }
    if (const auto isZero = DecimalIsZero(trimmed)) {
        return !*isZero;
    }
    throw PlatformError(ErrorNumber::kTypeMismatch, "Type mismatch");
}

std::string TruthText(bool value) {
    return value ? "True" : "False";
}

}  // namespace tabulane
