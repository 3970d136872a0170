#include "shell/Globals.h"

namespace tabulane {

namespace {

// The length in characters of UTF-8 text: continuation bytes do not start a character.
std::size_t CountCharacters(const std::string& text) {
    std::size_t count = 0;
    for (const char byte : text) {
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

}  // namespace

std::string MakeApplicationTitle(const std::string& productTitle) {
    constexpr std::size_t kMaxTitleCharacters = 40;
    std::string title = productTitle;
    do {
        const auto space = title.find_last_of(' ');
        if (space == std::string::npos) {
            break;
        }
        title.erase(space);
    } while (CountCharacters(title) > kMaxTitleCharacters);
    return title;
}

}  // namespace tabulane
