// The settings file's truth values and numbers, against a regular-expression model of what is accepted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string>

#include "platform/PlatformError.h"
#include "platform/SettingsStore.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// 1 true, 0 false, -1 refused.
int Model(const std::string& text) {
    static const std::regex word(" *(true|false) *", std::regex::icase);
    static const std::regex number(" *[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)? *");
    std::smatch match;
    if (std::regex_match(text, match, word)) {
        return (match[1].str()[0] | 0x20) == 't' ? 1 : 0;
    }
    if (std::regex_match(text, match, number)) {
        return match[1].str().find_first_of("123456789") != std::string::npos ? 1 : 0;
    }
    return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 256) {
        return 0;  // the model's regular expressions recurse per character
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    int parsed = -1;
    try {
        parsed = tabulane::ParseTruthValue(text) ? 1 : 0;
    } catch (const tabulane::PlatformError& error) {
        Check(error.Number() == tabulane::ErrorNumber::kTypeMismatch);
    }
    Check(parsed == Model(text));
    Check(tabulane::ParseTruthValue(tabulane::TruthText(parsed == 1)) == (parsed == 1));
    return 0;
}
