#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "cli/ProgramStart.h"
#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "platform/TextCodes.h"
#include "support/CommandLineArguments.h"
#include "support/TempDir.h"
namespace tabulane {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::TextFromArguments;
using test::WriteFileBytes;

TEST(SplitArgumentText, SplitsAtEverySingleSpace) {
    struct Case {
        const char* description;
        std::string text;
        std::vector<std::string> tokens;
    };
    const std::vector<Case> cases = {
        {"empty text gives no token", "", {}},
        {"one word is one token", "in.txt", {"in.txt"}},
        {"a single space gives two empty tokens", " ", {"", ""}},
        {"two spaces between words give an empty token", "a  b", {"a", "", "b"}},
        {"a trailing space gives a final empty token", "a ", {"a", ""}},
        {"tabs do not separate", "a\tb c", {"a\tb", "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        EXPECT_EQ(SplitArgumentText(c.text), c.tokens);
    }
}

TEST(ArgumentTextFromArgv, JoinsWithSpacesAndQuotesEmptyOrSpacedArguments) {
    struct Case {
        const char* description;
        std::vector<std::string> arguments;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"no arguments give the empty text", {}, ""},
        {"an argument holding a space is quoted", {"my in.txt", "out.csv"}, "\"my in.txt\" out.csv"},
        {"an empty argument is quoted", {"in.txt", "", "x"}, "in.txt \"\" x"},
        {"quotes the user typed pass unchanged", {"in.txt", "\"TABS\""}, "in.txt \"TABS\""},
        {"a tab does not cause quoting", {"a\tb"}, "a\tb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        EXPECT_EQ(TextFromArguments(c.arguments), c.text);
    }
}

TEST(ArgumentTextFromRawCommandLine, DropsTheProgramNameAndKeepsTheRestAsTyped) {
    struct Case {
        const char* description;
        std::string commandLine;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"the name alone gives the empty text", R"(tabulane.exe)", ""},
        {"the user's quotes stay", R"(C:\bin\tabulane.exe "my in.txt" out.csv "TABS" -c)",
         R"("my in.txt" out.csv "TABS" -c)"},
        {"a quoted name may hold spaces", R"("C:\Program Files\tabulane.exe" in.txt out.csv " " -c)",
         R"(in.txt out.csv " " -c)"},
        {"blanks after the name go, blanks inside stay", "tabulane \t  a  b ", "a  b "},
        {"a quote inside an unquoted name is part of it", R"(tab"ulane x)", "x"},
        {"an unclosed quote makes everything the name", R"("C:\tabulane.exe x)", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        EXPECT_EQ(ArgumentTextFromRawCommandLine(c.commandLine), c.text);
    }
}

#ifdef _WIN32
// Started as a child with TABULANE_ARGUMENT_TEXT_FILE set, writes the argument text it was given into that file.
TEST(ProgramArgumentText, WrittenByAChildProcess) {
    char file[MAX_PATH] = {};
    if (::GetEnvironmentVariableA("TABULANE_ARGUMENT_TEXT_FILE", file, MAX_PATH) == 0) {
        GTEST_SKIP() << "run as a child by TheRawCommandLineReachesTheParserUnchanged";
    }
    WriteFileBytes(file, ProgramArgumentText(0, nullptr));
}

// A real process: the text is the command line as the starting program wrote it, quotes and characters outside the
// ANSI code page included, which argv would have lost.
TEST(ProgramArgumentText, TheRawCommandLineReachesTheParserUnchanged) {
    TempDir dir;
    const std::string out = dir.File("text.txt");
    const std::string arguments = "\"my in \xC4\x85.txt\" out.csv  \"TABS\" -c";
    wchar_t program[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(nullptr, program, MAX_PATH), 0U);
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\"  " + WideFromUtf8(arguments);

    ::SetEnvironmentVariableW(L"TABULANE_ARGUMENT_TEXT_FILE", WideFromUtf8(out).c_str());
    ::SetEnvironmentVariableW(L"GTEST_FILTER", L"ProgramArgumentText.WrittenByAChildProcess");
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE nul = ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;  // the child's test report would only clutter this one's
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    PROCESS_INFORMATION process{};
    const BOOL started =
        ::CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    ::CloseHandle(nul);
    ::SetEnvironmentVariableW(L"TABULANE_ARGUMENT_TEXT_FILE", nullptr);
    ::SetEnvironmentVariableW(L"GTEST_FILTER", nullptr);
    ASSERT_TRUE(started);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    ::GetExitCodeProcess(process.hProcess, &status);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);

    EXPECT_EQ(status, 0U);
    EXPECT_EQ(ReadFileBytes(out), arguments);
}
#endif

TEST(ArgumentsFitText, RefusesOnlyAnArgumentWithBothASpaceAndAQuote) {
    const char* fits[] = {"tabulane", "my in.txt", "\"TABS\"", "", "a\"b"};
    EXPECT_TRUE(ArgumentsFitText(5, fits));
    const char* spacedQuote[] = {"tabulane", "s.tsv", "my \"best\" out.csv", "TABS", "-c"};
    EXPECT_FALSE(ArgumentsFitText(5, spacedQuote));
}

}  // namespace
}  // namespace tabulane
