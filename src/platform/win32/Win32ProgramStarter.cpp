#include "platform/win32/Win32ProgramStarter.h"

#include <windows.h>

#include "platform/TextCodes.h"

namespace tabulane {

void Win32ProgramStarter::StartProgram(const std::string& commandLine, WindowStyle style) {
    std::wstring line = WideFromUtf8(commandLine);
    if (line.empty()) {
        return;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(style);  // the styles are the show commands SW_HIDE to SW_SHOWMAXIMIZED
    PROCESS_INFORMATION started = {};
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        ::CloseHandle(started.hThread);
        ::CloseHandle(started.hProcess);
    }
}

}  // namespace tabulane
