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

std::string WindowText(HWND hwnd) {
    wchar_t text[2048] = {};
    ::GetWindowTextW(hwnd, text, 2048);
    return Utf8FromWide(text);
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

}  // namespace
}  // namespace tabulane::test
