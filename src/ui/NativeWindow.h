#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/MainWindow.h"
#include "platform/SkinnableWindow.h"

namespace tabulane {

// What a native window (Qt on Linux, Win32 on Windows) must do for the window's logic, Form1Logic:
// - build every control of kForm1Controls (ui/Form1Design.h) with its name, kind, container, rectangle, caption,
//   font and tab order, and show Form1Logic::List() in the list view, keeping its rows in step through a
//   FileListObserver;
// - hand every user event to Form1Logic by the control's design name (Click, Change, DoubleClick, KeyDown with the
//   Windows virtual-key code, DragOver, Drop, MouseMove, Close), and nothing for events the program causes itself;
// - answer the primitives below. They are plain: none runs a handler, none applies a rule of the window (the logic
//   does that: which option clears the other, what a program-made change stores, the progress range, which
//   controls a disabled frame holds, what a move over a disabled control means).
// Controls are named as the design names them; the window itself by kForm1Design.name ("Form1").
class NativeWindow {
public:
    virtual ~NativeWindow() = default;

    // The caption of the window or of a control; the text of a text box, of the mode box's edit field and of the
    // progress bar's text line. Setting it notifies no handler.
    virtual std::string ControlText(std::string_view control) const = 0;
    virtual void SetControlText(std::string_view control, const std::string& text) = 0;

    // An option button's check mark, set on that button alone: the other one of its group is left as it is.
    virtual bool IsChecked(std::string_view control) const = 0;
    virtual void SetChecked(std::string_view control, bool checked) = 0;

    // Enables or disables the one control named; the logic names the controls inside a frame itself.
    virtual void SetEnabled(std::string_view control, bool enabled) = 0;

    // The mode box's entries. Adding one may leave the selection and the text changed; the logic puts them back.
    virtual void AddComboItem(std::string_view control, const std::string& text) = 0;
    // The selected entry's index from 0, or -1 for none; selecting may change the text, which the logic sets after.
    virtual int ComboSelection(std::string_view control) const = 0;
    virtual void SetComboSelection(std::string_view control, int index) = 0;

    // The list view's one column, its width in twips; and the selected row from 1, 0 when none is selected.
    virtual void SetListColumn(const std::string& header, int widthTwips) = 0;
    virtual int SelectedListRow() const = 0;

    // The progress bar's value, already within 0 to 100.
    virtual void SetProgressValue(int value) = 0;

    // Loads a cursor file as the custom pointer's image; throws PlatformError 481 "Invalid picture" when it cannot.
    virtual void LoadPointerImage(const std::string& path) = 0;
    // Shows the pointer over the whole window and every control in it (the custom one as the arrow until an image
    // is loaded).
    virtual void ShowPointer(MousePointer pointer) = 0;

    // The window's handle as a 32-bit number, the one a skin component is applied to.
    virtual std::int32_t WindowHandle() = 0;
    // The background colour of the window or of a control, as the design writes colours.
    virtual void SetBackColor(std::string_view control, OleColor color) = 0;
};

}  // namespace tabulane
