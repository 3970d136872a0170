#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "platform/SkinnableWindow.h"

namespace tabulane {

// The main window's design as data, for every window that renders it (Qt on Linux, Win32 on Windows): one row per
// control, in the design's order, positions in twips relative to the control's container.

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

struct FontDesign {
    std::string_view face;
    double points;
    bool bold;
    int charset;
};

struct ControlDesign {
    std::string_view name;
    ControlKind kind;
    std::string_view parent;  // the window's name for a control placed on the window itself
    TwipsRect rect;
    int tabIndex;
    std::string_view caption;  // empty for a control without one
    FontDesign font;
};

struct WindowDesign {
    std::string_view name;
    std::string_view caption;  // replaced by the product title at start-up
    int clientWidth;           // twips
    int clientHeight;
    OleColor backColor;
    FontDesign font;  // inherited by every control that names no font of its own
};

inline constexpr FontDesign kForm1Font{"Arial", 9.0, true, 204};
inline constexpr FontDesign kPushButtonFont{"Arial", 11.25, true, 204};

inline constexpr WindowDesign kForm1Design{"Form1", "Form1", 8040, 8955, 0x00FFFFFF, kForm1Font};

inline constexpr OleColor kDesignBackColor = 0x00FFFFFF;  // window, frames, option buttons and push buttons
inline constexpr OleColor kButtonTextColor = 0x80000012;  // the push buttons' captions
inline constexpr int kProgressMinimum = 0;
inline constexpr int kProgressMaximum = 100;
inline constexpr std::string_view kListToolTip =
    "Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal "
    "full names.";

inline constexpr std::array<ControlDesign, 18> kForm1Controls{{
    {"PushButton5", ControlKind::PushButton, "Form1", {120, 120, 7800, 405}, 7, "Help", kPushButtonFont},
    {"ListView1", ControlKind::ListView, "Form1", {120, 630, 7800, 2490}, 0, "", kForm1Font},
    {"PushButton1", ControlKind::PushButton, "Form1", {120, 3210, 3840, 405}, 2, "Add File(s)", kPushButtonFont},
    {"PushButton3",
     ControlKind::PushButton,
     "Form1",
     {4080, 3210, 3840, 405},
     3,
     "Add All File(s) In Folder",
     kPushButtonFont},
    {"PushButton6", ControlKind::PushButton, "Form1", {120, 3720, 3840, 405}, 10, "Clear List", kPushButtonFont},
    {"PushButton7",
     ControlKind::PushButton,
     "Form1",
     {4080, 3720, 3840, 405},
     11,
     "Load Sample/Example Files",
     kPushButtonFont},
    {"Frame1", ControlKind::Frame, "Form1", {120, 4185, 7800, 820}, 5, "Convert Options", kForm1Font},
    {"Combo1", ControlKind::ComboBox, "Frame1", {240, 300, 7320, 345}, 6, "", kForm1Font},
    {"Frame5", ControlKind::Frame, "Form1", {120, 5085, 7800, 1815}, 12, "Save Option", kForm1Font},
    {"Option1",
     ControlKind::OptionButton,
     "Frame5",
     {240, 300, 3615, 255},
     14,
     "Save results to this folder:",
     kForm1Font},
    {"Frame3", ControlKind::Frame, "Frame5", {480, 510, 6840, 810}, 15, "", kForm1Font},
    {"Text1", ControlKind::TextBox, "Frame3", {240, 300, 5670, 345}, 16, "", kForm1Font},
    {"PushButton8", ControlKind::PushButton, "Frame3", {6000, 300, 600, 345}, 17, "...", kPushButtonFont},
    {"Option2",
     ControlKind::OptionButton,
     "Frame5",
     {240, 1410, 3615, 255},
     13,
     "Save results in folder of original file",
     kForm1Font},
    {"PushButton2", ControlKind::PushButton, "Form1", {120, 7020, 7800, 405}, 4, "Start Converting", kPushButtonFont},
    {"Frame2", ControlKind::Frame, "Form1", {120, 7455, 7800, 855}, 8, "Additional Feature", kForm1Font},
    {"PushButton4",
     ControlKind::PushButton,
     "Frame2",
     {240, 300, 7320, 405},
     9,
     "How To Use This Software As Command-Line",
     kPushButtonFont},
    {"ProgressBar1", ControlKind::ProgressBar, "Form1", {120, 8430, 7800, 405}, 1, "Progress Bar", kForm1Font},
}};

// The option button that the design shows selected.
inline constexpr std::string_view kSelectedInDesign = "Option1";

// The control of that name, or null for a name of none.
const ControlDesign* FindControlDesign(std::string_view name);

// Every control in tab-index order. Frames and the progress bar hold a place but take no focus.
std::vector<const ControlDesign*> ControlsInTabOrder();

// Whether the user can move the focus to a control of this kind with the keyboard.
bool TakesFocus(ControlKind kind);

// Twips in device pixels at a resolution: pixels = twips x dpi / 1440, rounded to the nearest pixel.
int TwipsToPixels(int twips, int dotsPerInch);

// The rectangle of a control relative to the window's client area, in twips: its own plus its containers' offsets.
TwipsRect RectInWindow(const ControlDesign& control);

}  // namespace tabulane
