#pragma once

#include <string>

namespace tabulane {

// The desktop's opener: shows a web page in the user's browser, a folder in the file browser, a file in its program.
class Shell {
public:
    virtual ~Shell() = default;
    // target is a web address or a local folder or file path; whether anything opened is not reported.
    virtual void Open(const std::string& target) = 0;
};

}  // namespace tabulane
