#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "platform/DisplayProbe.h"
#include "platform/HeadlessBoxes.h"
#include "platform/MessageBoxes.h"

namespace tabulane {

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
