// The program users start on Windows: the window, or with arguments the command line, which converts one file and
// ends without showing the window. One program for both, so a script calls the same tabulane.exe a user starts.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>

#include "cli/CommandLine.h"
#include "cli/ProgramStart.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/StyleSheetFile.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32EventLoop.h"
#include "platform/win32/Win32FilePicker.h"
#include "platform/win32/Win32FolderPicker.h"
#include "platform/win32/Win32MessageBoxes.h"
#include "platform/win32/Win32Owner.h"
#include "platform/win32/Win32ProgramStarter.h"
#include "platform/win32/Win32SettingsStore.h"
#include "platform/win32/Win32Shell.h"
#include "shell/Main.h"
#include "ui/win32/Form1.h"
#include "ui/win32/Win32SkinFramework.h"

namespace tabulane {
namespace {

// The implementations of the platform interfaces the program runs on. Boxes, dialogs and shell calls are owned by
// the window once it exists.
struct NativePlatform {
    Win32Owner owner;
    NativeFileSystem files;
    Win32SettingsStore settings;
    Win32MessageBoxes boxes{owner};
    Win32FolderPicker folderPicker{owner};
    Win32FilePicker filePicker{owner};
    Win32Environment environment;
    Win32EventLoop eventLoop;
    Win32Shell shell{owner};
    Win32ShellExecutor shellExecutor{owner};
    Win32ProgramStarter programStarter;
    SeededRandomSource random;
    Win32Clock clock;
    win32::Win32SkinFramework skinFramework;
    Platform platform{boxes, settings,      files,          folderPicker, filePicker, environment,  eventLoop,
                      shell, shellExecutor, programStarter, random,       clock,      skinFramework};
};

}  // namespace
}  // namespace tabulane

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace tabulane;

    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The list takes drops from Explorer through OLE; the dialogs need the apartment too.
    ::OleInitialize(nullptr);

    const std::string argumentText = ProgramArgumentText(0, nullptr);
    NativePlatform native;
    if (!argumentText.empty()) {
        // The command line: boxes have a display on Windows, and no window is built.
        // The skin step as far as the command line sees it: the skin is never applied without the window, but a
        // skin file that fails to load is reported, as the window would report it, and the run ends with status 1.
        Platform& platform = native.platform;
        return ConvertOnHiddenWindow(platform, argumentText, true, [&platform] {
            const std::string path = SkinFilePath(platform.environment.ProgramFolder());
            if (platform.files.Exists(path) && !IsFolder(platform.files, path)) {
                ReadStyleSheetFile(path);
            }
        });
    }

    // Closing the window ends the program at once, even in the middle of a run: every setting is already stored.
    win32::Form1 form(native.platform, [] {
        std::fflush(nullptr);
        std::exit(0);
    });
    native.owner.SetWindow(form.Handle());
    // A yield in the middle of a run keeps the keyboard's walk through the controls.
    native.eventLoop.SetMessageFilter(
        [&form](MSG& message) { return ::IsDialogMessageW(form.Handle(), &message) != FALSE; });
    const StartupResult started = form.Load(argumentText);
    if (started.commandLineRan) {
        return started.exitStatus;
    }
    form.ShowCentred();

    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The dialog keys: Tab and the arrows walk the controls in the design's order.
        if (::IsDialogMessageW(form.Handle(), &message) == FALSE) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
