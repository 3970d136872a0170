#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/win32/Win32CursorFile.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32EventLoop.h"
#include "platform/win32/Win32ProgramStarter.h"
#include "platform/win32/Win32Shell.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

// A cursor file of our own making: one 32 x 32 monochrome image, a filled square, hotspot (3, 4).
std::string MonochromeCursorFile() {
    std::string bytes;
    auto word = [&bytes](std::uint16_t value) {
        bytes.push_back(static_cast<char>(value & 0xFF));
        bytes.push_back(static_cast<char>(value >> 8));
    };
    auto dword = [&word](std::uint32_t value) {
        word(static_cast<std::uint16_t>(value & 0xFFFF));
        word(static_cast<std::uint16_t>(value >> 16));
    };
    constexpr std::uint32_t kMaskBytes = 32 * 32 / 8;
    constexpr std::uint32_t kImageBytes = 40 + 8 + 2 * kMaskBytes;
    word(0), word(2), word(1);                            // a cursor file with one image
    bytes += std::string{32, 32, 2, 0};                   // 32 x 32, two colours
    word(3), word(4), dword(kImageBytes), dword(6 + 16);  // the hotspot, the image's size and place
    dword(40), dword(32), dword(64), word(1), word(1), dword(0), dword(2 * kMaskBytes);  // the bitmap header
    for (int i = 0; i < 4; ++i) {
        dword(0);  // resolution and colour counts
    }
    dword(0x000000), dword(0xFFFFFF);              // black and white
    bytes += std::string(kMaskBytes, '\xFF');      // the picture: white
    bytes += std::string(kMaskBytes / 2, '\x00');  // the mask: the lower half shown...
    bytes += std::string(kMaskBytes / 2, '\xFF');  // ...the upper half transparent
    return bytes;
}

int ErrorNumberOfLoading(const std::string& path, std::string* description) {
    try {
        ::DestroyCursor(LoadCursorFile(path));
    } catch (const PlatformError& error) {
        *description = error.Description();
        return error.Number();
    }
    return 0;
}

TEST(Win32CursorFile, ACursorFileLoadsWithItsHotspotAndAnythingElseIsAnInvalidPicture) {
    const test::TempDir temp;
    const std::string cursorPath = temp.File("HAND-Ωmega.CUR");
    test::WriteFileBytes(cursorPath, MonochromeCursorFile());
    HCURSOR cursor = LoadCursorFile(cursorPath);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(cursor, &info));
    EXPECT_EQ(info.xHotspot, 3u);
    EXPECT_EQ(info.yHotspot, 4u);
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);
    ::DestroyCursor(cursor);

    const std::string textPath = temp.File("HAND-M.CUR");
    test::WriteFileBytes(textPath, "not a picture at all\r\n");
    for (const std::string& path : {textPath, temp.File("missing.cur")}) {
        SCOPED_TRACE(path);
        std::string description;
        EXPECT_EQ(ErrorNumberOfLoading(path, &description), ErrorNumber::kInvalidPicture);
        EXPECT_EQ(description, "Invalid picture");
    }
}

// Counts the messages WM_APP it is sent, in its window's user data.
LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, ::GetWindowLongPtrW(window, GWLP_USERDATA) + 1);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST(Win32EventLoop, AYieldDispatchesWhatIsWaitingAndKeepsAQuitRequestForTheMainLoop) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = CountingProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TabulaneTestCounter";
    ::RegisterClassExW(&windowClass);
    HWND window = ::CreateWindowExW(0, L"TabulaneTestCounter", L"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                    windowClass.hInstance, nullptr);
    ::PostMessageW(window, WM_APP, 0, 0);
    ::PostMessageW(window, WM_APP, 0, 0);
    ::PostQuitMessage(3);

    Win32EventLoop().YieldToMessageLoop();

    EXPECT_EQ(::GetWindowLongPtrW(window, GWLP_USERDATA), 2);
    MSG message;
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 3u);
    ::DestroyWindow(window);
}

TEST(Win32Environment, TheProgramFolderHoldsTheProgramAndTheDesktopFolderExists) {
    const Win32Environment environment;
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    EXPECT_EQ(test::PathFromText(environment.ProgramFolder()), std::filesystem::path(program).parent_path());
    const std::string desktop = environment.DesktopFolder();
    EXPECT_FALSE(desktop.empty());
    EXPECT_TRUE(std::filesystem::is_directory(test::PathFromText(desktop))) << desktop;
}

// Whether a file appears within a while: what is started goes on without us.
bool AppearsSoon(const std::string& path) {
    for (int i = 0; i < 200; ++i) {
        if (std::filesystem::exists(test::PathFromText(path))) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST(Win32ShellCalls, AStartedProgramGetsItsCommandLineAndAShellCallItsParametersAndFolder) {
    const test::TempDir temp;
    const std::string folder = temp.File("Ωmega-日本 folder");
    std::filesystem::create_directory(test::PathFromText(folder));

    Win32ProgramStarter().StartProgram("cmd /c echo started> \"" + folder + "\\started.txt\"", WindowStyle::Hidden);
    EXPECT_TRUE(AppearsSoon(folder + "\\started.txt"));

    const Win32Owner noWindow;
    Win32ShellExecutor(noWindow).ShellExecute({.owner = 0,
                                               .operation = "open",
                                               .file = "cmd.exe",
                                               .parameters = "/c echo made> made-here.txt",
                                               .directory = folder,
                                               .showCommand = SW_HIDE});
    EXPECT_TRUE(AppearsSoon(folder + "\\made-here.txt"));
}

}  // namespace
}  // namespace tabulane
