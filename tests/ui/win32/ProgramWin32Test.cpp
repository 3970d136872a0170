// tabulane.exe started with arguments, as a script starts it: it converts without showing the window, its boxes are
// real message boxes (a Windows program always has a display), answered here from another thread as a person
// would answer them, and its exit status tells the script what happened.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/TextCodes.h"
#include "support/TempDir.h"
#include "ui/Form1Design.h"

namespace tabulane::test {
namespace {

// The program's path in the Windows form Wine gives the host's files (drive Z: is the host's root).
std::wstring ProgramPath() {
    std::string path = TABULANE_PROGRAM;
    if (!path.empty() && path.front() == '/') {
        path = "Z:" + path;
    }
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return WideFromUtf8(path);
}

struct Box {
    std::string caption;
    std::string text;
};

struct BoxSearch {
    DWORD process;
    HWND found = nullptr;
};

// The first message box of the process on the screen, or null.
HWND FindBox(DWORD process) {
    BoxSearch search{process};
    ::EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto& wanted = *reinterpret_cast<BoxSearch*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            wchar_t name[16] = {};
            ::GetClassNameW(hwnd, name, 16);
            if (owner == wanted.process && std::wstring_view(name) == L"#32770" && ::IsWindowVisible(hwnd)) {
                wanted.found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A window's text with WM_GETTEXT, which the system carries across processes (GetWindowText reads only the caption
// the system keeps, which a drop-down box does not have).
std::string WindowText(HWND hwnd) {
    wchar_t text[2048] = {};
    const auto length = ::SendMessageW(hwnd, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text));
    return Utf8FromWide(std::wstring_view(text, static_cast<std::size_t>(length)));
}

struct ProgramRun {
    DWORD exitStatus = STILL_ACTIVE;
    std::vector<Box> boxes;
};

// Starts the program with the argument text, answers every box it shows with OK and waits for its end.
ProgramRun RunProgram(const std::string& arguments, const std::wstring& program = ProgramPath()) {
    std::wstring commandLine = L"\"" + program + L"\" " + WideFromUtf8(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ProgramRun run;
    HWND answered = nullptr;  // a box stays on the screen a moment after it was answered
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process) == FALSE) {
        ADD_FAILURE() << "cannot start the program, error " << ::GetLastError();
        return run;
    }
    // Two minutes: a program's first start in a fresh Wine session is slow on a busy machine.
    for (int waited = 0; waited < 1200; ++waited) {
        if (::WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) {
            break;
        }
        HWND box = FindBox(process.dwProcessId);
        if (box != nullptr && box != answered) {
            answered = box;
            // The box's text is its static control (id 0xFFFF), as a screen reader reads it.
            run.boxes.push_back({WindowText(box), WindowText(::GetDlgItem(box, 0xFFFF))});
        }
        if (box != nullptr) {
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    ::GetExitCodeProcess(process.hProcess, &run.exitStatus);
    if (run.exitStatus == STILL_ACTIVE) {
        ::TerminateProcess(process.hProcess, 99);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return run;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(PathFromText(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(ProgramWin32Test, ConvertsFromTheCommandLineAndTellsTheScriptHowItWent) {
    TempDir folder;
    {
        std::ofstream in(PathFromText(folder.File("in put.txt")), std::ios::binary);
        in << "name\tcity\r\nAda\tLondon\r\n";
    }
    const std::string input = folder.File("in put.txt");
    const std::string output = folder.File("out.csv");

    // A quoted input path with spaces, the keyword TABS and the comma option: a file, no box, status 0.
    ProgramRun converted = RunProgram("\"" + input + "\" \"" + output + "\" \"TABS\" -c");
    EXPECT_EQ(converted.exitStatus, 0U);
    EXPECT_TRUE(converted.boxes.empty());
    EXPECT_EQ(ReadFile(output), "name,city\r\nAda,London\r\n");

    // Too few arguments: the usage box, captioned with the application title, and status 2.
    ProgramRun usage = RunProgram("\"" + input + "\"");
    EXPECT_EQ(usage.exitStatus, 2U);
    ASSERT_EQ(usage.boxes.size(), 1U);
    EXPECT_EQ(usage.boxes[0].caption, "Tabulane");
    EXPECT_EQ(usage.boxes[0].text.rfind("Usage: tabulane <Input File> <Output File> \"<Character>\"<option>", 0), 0U)
        << usage.boxes[0].text;

    // A missing input file: Application Error boxes (the conversion reports each step it could not do), the first
    // naming the file, no output, and status 1.
    ProgramRun failed = RunProgram(folder.File("missing.txt") + " " + folder.File("never.csv") + " , -cs");
    EXPECT_EQ(failed.exitStatus, 1U);
    ASSERT_FALSE(failed.boxes.empty());
    for (const Box& box : failed.boxes) {
        EXPECT_EQ(box.caption, "Application Error");
    }
    EXPECT_EQ(failed.boxes[0].text.rfind("File not found: " + folder.File("missing.txt"), 0), 0U)
        << failed.boxes[0].text;
    EXPECT_FALSE(std::filesystem::exists(PathFromText(folder.File("never.csv"))));

    // A copy of the program with a broken skin beside it: the skin step's one error, the conversion still done,
    // and status 1 for the error.
    std::filesystem::create_directories(folder.Path() / "program" / "x");
    std::filesystem::copy_file(std::filesystem::path(ProgramPath()), folder.Path() / "program" / "tabulane.exe");
    std::ofstream(folder.Path() / "program" / "x" / "o.cjs", std::ios::binary) << "QPushButton { color: red;";
    ProgramRun skinned = RunProgram("\"" + input + "\" \"" + folder.File("skinned.csv") + "\" \"TABS\" -c",
                                    (folder.Path() / "program" / "tabulane.exe").wstring());
    EXPECT_EQ(skinned.exitStatus, 1U);
    ASSERT_EQ(skinned.boxes.size(), 1U);
    EXPECT_NE(skinned.boxes[0].text.find("in Tabulane2021/08/31.Form1.Form_Load at line 100"), std::string::npos)
        << skinned.boxes[0].text;
    EXPECT_EQ(ReadFile(folder.File("skinned.csv")), "name,city\r\nAda,London\r\n");
}

// A text of the program's version resource, in its one language (US English, Unicode).
std::string VersionText(const std::wstring& program, const wchar_t* name) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(program.c_str(), &ignored);
    std::vector<char> block(size);
    if (size == 0 || ::GetFileVersionInfoW(program.c_str(), 0, size, block.data()) == FALSE) {
        return {};
    }
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (::VerQueryValueW(block.data(), path.c_str(), &value, &length) == FALSE || length == 0) {
        return {};
    }
    return Utf8FromWide(static_cast<const wchar_t*>(value));
}

TEST(ProgramWin32Test, TheVersionResourceNamesTheProductTheMakerAndTheProjectsVersion) {
    EXPECT_EQ(VersionText(ProgramPath(), L"ProductName"), "Tabulane");
    EXPECT_EQ(VersionText(ProgramPath(), L"CompanyName"), "Quillfen");
    EXPECT_EQ(VersionText(ProgramPath(), L"FileVersion"), TABULANE_VERSION);
}

struct WindowSearch {
    DWORD process;
    HWND found = nullptr;
};

// The program's main window, found from outside as a robot finds it.
HWND FindMainWindow(DWORD process) {
    WindowSearch search{process};
    ::EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto& wanted = *reinterpret_cast<WindowSearch*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner == wanted.process && ::IsWindowVisible(hwnd) && WindowText(hwnd) == "Tabulane") {
                wanted.found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(ProgramWin32Test, StartedWithoutArgumentsTheWindowReadsFromAnotherProcessAndClosingEndsIt) {
    // The window stores the mode and the folder it starts with: only in a Wine prefix of the test's own.
    if (!RunningUnderWine()) {
        GTEST_SKIP() << "the window would write the user's own settings";
    }
    // A copy of the program in a folder of its own, so what it finds beside it is known: nothing.
    TempDir folder;
    const std::filesystem::path program = folder.Path() / "tabulane.exe";
    std::filesystem::copy_file(std::filesystem::path(ProgramPath()), program);
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_NE(
        ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process),
        FALSE);
    HWND window = nullptr;
    for (int waited = 0; waited < 600 && window == nullptr; ++waited) {
        ::Sleep(100);
        window = FindMainWindow(process.dwProcessId);
    }
    ASSERT_NE(window, nullptr) << "no window came up";

    // Every control by the id its tab index gives it, read with WM_GETTEXT across the processes.
    for (const ControlDesign& design : kForm1Controls) {
        std::pair<int, HWND> wanted{100 + design.tabIndex, nullptr};
        ::EnumChildWindows(
            window,
            [](HWND child, LPARAM data) -> BOOL {
                auto& search = *reinterpret_cast<std::pair<int, HWND>*>(data);
                if (::GetDlgCtrlID(child) == search.first) {
                    search.second = child;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&wanted));
        ASSERT_NE(wanted.second, nullptr) << design.name;
        if (design.kind == ControlKind::ComboBox) {
            EXPECT_EQ(WindowText(wanted.second), "Tabs To Commas");
        } else if (design.kind != ControlKind::TextBox && design.kind != ControlKind::ListView) {
            EXPECT_EQ(WindowText(wanted.second), design.caption) << design.name;
        }
    }

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD status = STILL_ACTIVE;
    ::GetExitCodeProcess(process.hProcess, &status);
    EXPECT_EQ(status, 0U);
    if (status == STILL_ACTIVE) {
        ::TerminateProcess(process.hProcess, 99);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace tabulane::test
