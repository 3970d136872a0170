#pragma once

#ifdef _WIN32

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/Win32Owner.h"

namespace tabulane::test {

// Finds and answers this process's dialogs from another thread, as a screen reader or a test robot does: by class
// and caption, reading texts with WM_GETTEXT and pressing buttons with BM_CLICK. Texts are UTF-8.

// A visible top-level window standing in for the main window, set as the owner of the boxes and dialogs under
// test.
class OwnerWindow {
public:
    OwnerWindow();
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Get() const { return m_owner.Window(); }
    const Win32Owner& Owner() const { return m_owner; }

private:
    Win32Owner m_owner;
};

// The first visible dialog (class "#32770") of this process that matches, waited for up to timeout; null if none.
HWND WaitForDialog(const std::function<bool(HWND)>& matches,
                   std::chrono::milliseconds timeout = std::chrono::seconds(20));
HWND WaitForDialog(const std::string& caption, std::chrono::milliseconds timeout = std::chrono::seconds(20));

std::string TextOf(HWND window);
std::string ClassOf(HWND window);
// The dialog's controls of a class ("Button", "Static", "Edit"), in the dialog's order; all of them when empty.
std::vector<HWND> ControlsOf(HWND dialog, const std::string& className = {});
// The texts of those controls, empty texts left out.
std::vector<std::string> TextsOf(HWND dialog, const std::string& className);

// Presses the dialog's button with this text; false when it has none.
bool ClickButton(HWND dialog, const std::string& text);
// Types text into an edit control, replacing what it holds, as the keyboard would: one WM_CHAR per UTF-16 unit.
void TypeInto(HWND edit, const std::string& text);

// Runs show (which opens a modal dialog and returns its answer) on this thread and robot on another; when the
// robot is done or gives up, any dialog still open is cancelled, so a robot that found nothing fails a test
// instead of hanging it.
void WithRobot(const std::function<void()>& show, const std::function<void()>& robot);

}  // namespace tabulane::test

#endif  // _WIN32
