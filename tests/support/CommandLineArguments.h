#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace tabulane::test {

// The argument text a shell start produces for these arguments (the program name is added here).
inline std::string TextFromArguments(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv{"tabulane"};
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);
    return ArgumentTextFromArgv(static_cast<int>(argv.size()) - 1, argv.data());
}

}  // namespace tabulane::test
