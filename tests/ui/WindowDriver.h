#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/MainWindow.h"
#include "shell/Startup.h"
#include "support/FakePlatform.h"

namespace tabulane::test {

// One window driven as a person drives it, for the scenarios in tests/ui/scenarios, which run unchanged against
// every native window (the Qt one through tests/ui/qt/QtWindowDriver.cpp; the Win32 one through its own driver).
// A driver must:
// - build a fresh window over the fakes in Fake(), its program folder a fresh temporary folder;
// - act only through the window's real input: mouse presses and releases at the middle of the control named by its
//   design name (or of a list row), keystrokes sent to that control, the platform's own drop data over the list;
// - read back what the window shows, by design name, never the logic's own state.
// Keys are Windows virtual-key codes, whatever the window's toolkit.
class WindowDriver {
public:
    static constexpr int kDelete = 46;
    static constexpr int kDown = 40;
    static constexpr int kBackspace = 8;
    static constexpr int kReturn = 13;

    virtual ~WindowDriver() = default;

    // The fakes the window runs on (boxes, store, pickers, shell, event loop, ...) and the program's folder.
    virtual FakePlatform& Fake() = 0;
    virtual std::string ProgramFolder() const = 0;

    // The load step with this argument text, then the window shown centred unless the command line ran.
    virtual StartupResult Start(const std::string& argumentText = {}) = 0;
    virtual bool Visible() = 0;
    // The user closes the window; the count of the program's ends that closing asked for so far.
    virtual void Close() = 0;
    virtual int EndProgramCalls() = 0;

    // A left click in the middle of the control; a test failure when it is not there or not enabled.
    virtual void Click(const std::string& control) = 0;
    // Keystrokes into the control (the folder box, the mode box), one per character, at the end of its text.
    virtual void TypeInto(const std::string& control, const std::string& text) = 0;
    // Selects all of the control's text and deletes it with the keyboard.
    virtual void ClearText(const std::string& control) = 0;
    // One key pressed and released in the control.
    virtual void PressKey(const std::string& control, int virtualKey) = 0;
    // A click on the list's row (from 1).
    virtual void ClickListRow(int row) = 0;
    // A double-click with every event a real one delivers, on the row (from 1), or on the empty part of the list
    // below the rows for 0.
    virtual void DoubleClickList(int row) = 0;
    // The mouse moved onto the middle of the control (the window by its own name), no button held.
    virtual void MoveMouseOver(const std::string& control) = 0;
    // Local files and folders dragged from the file browser and released over the list, in this order.
    virtual void Drop(const std::vector<std::string>& paths) = 0;

    // The list's rows as shown, top to bottom, and its column's header.
    virtual std::vector<std::string> ListRows() = 0;
    virtual std::string ListHeader() = 0;
    // The caption of the window or of a button, option or frame; the text of the folder box, of the mode box's
    // edit field, or of the progress bar's text line.
    virtual std::string Text(const std::string& control) = 0;
    // The mode box's entries, and its selected one from 0 (-1 for none).
    virtual std::vector<std::string> ComboItems() = 0;
    virtual int ComboSelection() = 0;
    virtual bool IsChecked(const std::string& control) = 0;
    // Whether the user can use the control (a control in a disabled frame cannot).
    virtual bool IsEnabled(const std::string& control) = 0;
    virtual int ProgressValue() = 0;
    // The window's pointer value (0 arrow, 11 hourglass, 99 the hand), which the image shown may not tell apart
    // (the hand shows as the arrow without its file).
    virtual MousePointer Pointer() = 0;
};

// A fresh window of the toolkit the suite is built for, with its driver.
std::unique_ptr<WindowDriver> MakeWindowDriver();

}  // namespace tabulane::test
