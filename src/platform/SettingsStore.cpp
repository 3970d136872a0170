#include "platform/SettingsStore.h"

#include <optional>
#include <string>

#include "platform/AsciiText.h"
#include "platform/PlatformError.h"

namespace tabulane {
namespace {

// A stored truth value may carry spaces around it, as the runtime's conversion allows; no other blank.
constexpr std::string_view kTruthValueBlanks = " ";

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
    const std::string_view trimmed = Trim(text, kTruthValueBlanks);
    if (EqualsIgnoringAsciiCase(trimmed, "true")) {
        return true;
    }
    if (EqualsIgnoringAsciiCase(trimmed, "false")) {
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
