#pragma once

#include <string>

#include "platform/MessageBoxes.h"
#include "platform/win32/Win32Owner.h"

namespace tabulane {

// Message boxes through MessageBoxW, owned by the main window; input boxes as a dialog of our own, built from an
// in-memory template: the prompt as a static text with its line breaks, an edit holding the preset, OK and
// Cancel. Both are dialogs of the class "#32770" whose texts a screen reader or a test robot reads with
// WM_GETTEXT. Cancelling an input box (Cancel, Escape or the close box) gives "".
class Win32MessageBoxes final : public MessageBoxes {
public:
    explicit Win32MessageBoxes(const Win32Owner& owner) : m_owner(owner) {}

    BoxAnswer ShowMessage(const std::string& text, const std::string& caption, BoxIcon icon,
                          BoxButtons buttons) override;
    std::string InputBox(const std::string& prompt, const std::string& title, const std::string& preset) override;

private:
    const Win32Owner& m_owner;
};

// Control identifiers of the input box, for whoever reads it from outside.
inline constexpr int kInputBoxPromptId = 100;
inline constexpr int kInputBoxEditId = 101;

}  // namespace tabulane
