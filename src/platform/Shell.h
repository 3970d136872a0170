#pragma once

#include <string>

namespace tabulane {

// The desktop's opener: web pages in the browser, folders in the file browser.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens a URL ("https://...") or a local folder or file path with its default handler. The outcome is not
    // examined: a target that cannot be opened is not an error.
    virtual void Open(const std::string& target) = 0;
};

}  // namespace tabulane
