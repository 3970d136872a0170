#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "platform/MessageBoxes.h"

namespace tabulane {

// What the environment says about the screen: the values of DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM
// ("" when unset).
struct DisplayEnvironment {
    std::string display;
    std::string waylandDisplay;
    std::string qpaPlatform;
};

// True when no box can be shown on a screen: Qt was told to draw offscreen, or (where windows need a
// display server) neither an X11 nor a Wayland display is named.
bool IsHeadless(const DisplayEnvironment& environment);

// The current process's environment.
DisplayEnvironment ReadDisplayEnvironment();

// Writes a box as a headless run shows it: the caption (when there is one) and the text, each line break of the
// text (CR LF, lone CR or LF) as one new line.
void WriteHeadlessBox(std::ostream& out, const std::string& caption, const std::string& text);

// Message boxes through QMessageBox and input boxes through QInputDialog. Without a screen a box is written to
// the error stream instead and answered at once: OK for OK boxes, No for questions, "" for input boxes.
class QtMessageBoxes final : public MessageBoxes {
public:
    // Decides at every box whether a screen is available.
    explicit QtMessageBoxes(std::ostream& errors);
    QtMessageBoxes();
    // Forces the decision; tests pass true so that no real dialog can open.
    QtMessageBoxes(std::ostream& errors, bool headless);

    BoxAnswer ShowMessage(const std::string& text, const std::string& caption, BoxIcon icon,
                          BoxButtons buttons) override;
    std::string InputBox(const std::string& prompt, const std::string& title, const std::string& preset) override;

private:
    bool Headless() const;

    std::ostream& m_errors;
    std::optional<bool> m_forcedHeadless;
};

}  // namespace tabulane
