#include "platform/ProgramStarter.h"

#include <utility>

namespace tabulane {

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> items;
    std::string item;
    bool inItem = false;
    bool quoted = false;
    for (const char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inItem = true;  // "" is an empty argument, not nothing
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inItem) {
                items.push_back(std::move(item));
                item.clear();
                inItem = false;
            }
        } else {
            item += c;
            inItem = true;
        }
    }
    if (inItem) {
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace tabulane
