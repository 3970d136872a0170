#pragma once

#include <QUrl>

#include "platform/Shell.h"

namespace tabulane {

// Opens targets through QDesktopServices (xdg-open on Linux, the shell on Windows).
class QtShell final : public Shell {
public:
    void Open(const std::string& target) override;

    // The URL a target opens as: a text with a scheme ("https://", "mailto:") as it is, anything else as a local path.
    static QUrl UrlFor(const std::string& target);
};

}  // namespace tabulane
