// The program users start on Windows: the window, or with arguments the command line, which converts one file and
// ends without showing the window. One program for both, so a script calls the same tabulane.exe a user starts.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "cli/CommandLine.h"
#include "cli/ProgramStart.h"
#include "platform/FileSystem.h"
#include "platform/NativeEnvironment.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/TextCodes.h"
#include "ui/win32/Form1.h"
#include "ui/win32/Win32SkinFramework.h"

namespace tabulane {
namespace {

// Interim services until the Win32 platform parts land: boxes are MessageBoxW owned by the window, settings live
// for the session only, and the dialogs and the shell refuse.
struct InterimServices final : MessageBoxes,
                               SettingsStore,
                               FolderPicker,
                               FilePicker,
                               EventLoop,
                               Shell,
                               ProgramStarter,
                               Clock {
    HWND owner = nullptr;
    std::map<std::string, std::string> values;

    BoxAnswer ShowMessage(const std::string& text, const std::string& caption, BoxIcon icon,
                          BoxButtons buttons) override {
        UINT style = buttons == BoxButtons::YesNo ? MB_YESNO : MB_OK;
        switch (icon) {
            case BoxIcon::Exclamation:
                style |= MB_ICONEXCLAMATION;
                break;
            case BoxIcon::Information:
                style |= MB_ICONINFORMATION;
                break;
            case BoxIcon::Question:
                style |= MB_ICONQUESTION;
                break;
            case BoxIcon::Critical:
                style |= MB_ICONHAND;
                break;
            case BoxIcon::None:
                break;
        }
        const int answer =
            ::MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), style | MB_SETFOREGROUND);
        if (buttons == BoxButtons::Ok) {
            return BoxAnswer::Ok;
        }
        return answer == IDYES ? BoxAnswer::Yes : BoxAnswer::No;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::string GetSetting(const std::string& key, const std::string& defaultValue) override {
        const auto found = values.find(key);
        return found != values.end() ? found->second : defaultValue;
    }
    void SaveSetting(const std::string& key, const std::string& value) override { values[key] = value; }
    std::string BrowseForFolder(const std::string&, const std::string&) override { return {}; }
    std::vector<std::string> PickFiles(const std::string&, const std::string&, bool) override { return {}; }
    void YieldToMessageLoop() override {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (message.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    void Open(const std::string&) override {}
    void StartProgram(const std::string&, WindowStyle) override {}
    double SecondsSinceMidnight() const override {
        const auto now = std::chrono::system_clock::now();
        return std::chrono::duration<double>(now - std::chrono::floor<std::chrono::days>(now)).count();
    }
};

struct NativePlatform {
    NativeFileSystem files;
    NativeEnvironment environment;
    InterimServices services;
    OpeningShellExecutor shellExecutor{services};
    SeededRandomSource random;
    win32::Win32SkinFramework skinFramework;
    Platform platform{services, services,      files,    services, services, environment,  services,
                      services, shellExecutor, services, random,   services, skinFramework};
};

}  // namespace
}  // namespace tabulane

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace tabulane;

    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);

    const std::string argumentText = ProgramArgumentText(0, nullptr);
    NativePlatform native;
    if (!argumentText.empty()) {
        // The command line: boxes have a display on Windows, and no window is built.
        return ConvertOnHiddenWindow(native.platform, argumentText, true);
    }

    FileList list;
    win32::Form1Events events;
    // Closing the window ends the program at once, even in the middle of a run: every setting is already stored.
    win32::Form1 form(native.platform, std::move(events), &list, [] {
        std::fflush(nullptr);
        std::exit(0);
    });
    native.services.owner = form.Handle();
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
