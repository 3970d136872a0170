#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tabulane {

// Colours as the window's design writes them: &H00BBGGRR for a plain colour, &H800000nn for system colour nn.
using OleColor = std::uint32_t;
inline constexpr OleColor kButtonFaceColor = 0x8000000F;

enum class ControlKind { PushButton, OptionButton, CheckBox, Frame, Label, TextBox, ComboBox, ListView, ProgressBar };

struct WindowControl {
    std::string name;
    ControlKind kind;
};

// The main window as the shell and a skin see it: its handle and the background colours of it and its controls.
class SkinnableWindow {
public:
    virtual ~SkinnableWindow() = default;
    // The window's handle, as a 32-bit number.
    virtual std::int32_t WindowHandle() = 0;
    virtual void SetBackColor(OleColor color) = 0;
    // Every control of the window, inner ones included.
    virtual std::vector<WindowControl> Controls() const = 0;
    virtual void SetControlBackColor(const std::string& name, OleColor color) = 0;
};

}  // namespace tabulane
