#include "shell/Globals.h"

#include "platform/Utf8.h"

namespace tabulane {

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
