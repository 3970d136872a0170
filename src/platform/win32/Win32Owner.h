#pragma once

#include <windows.h>

namespace tabulane {

// The main window as the owner of every box, dialog and shell call. It exists only once the window is built: the
// window sets itself here when it is created and clears itself when it goes. Before that (and in a command-line
// run) the handle is null and a box has no owner.
class Win32Owner {
public:
    HWND Window() const { return m_window; }
    void SetWindow(HWND window) { m_window = window; }

private:
    HWND m_window = nullptr;
};

}  // namespace tabulane
