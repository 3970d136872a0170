#include "shell/Globals.h"

namespace tabulane {

std::string MakeApplicationTitle(const std::string& productTitle) {
    std::string title = productTitle;
    do {
        const auto space = title.find_last_of(' ');
        if (space == std::string::npos) {
            break;
        }
        title.erase(space);
    } while (title.size() > 40);
    return title;
}

}  // namespace tabulane
