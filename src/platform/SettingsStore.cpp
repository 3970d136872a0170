#include "platform/SettingsStore.h"

#include <cctype>
#include <cstdlib>
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

}  // namespace

bool ParseTruthValue(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    if (EqualsIgnoringCase(trimmed, "true")) {
        return true;
    }
    if (EqualsIgnoringCase(trimmed, "false")) {
        return false;
    }
    if (!trimmed.empty()) {
        const std::string number(trimmed);
        char* end = nullptr;
        const double value = std::strtod(number.c_str(), &end);
        if (end == number.c_str() + number.size()) {
            return value != 0.0;
        }
    }
    throw PlatformError(ErrorNumber::kTypeMismatch, "Type mismatch");
}

std::string TruthText(bool value) { return value ? "True" : "False"; }

}  // namespace tabulane
