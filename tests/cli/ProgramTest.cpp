#include <gtest/gtest.h>

#include <sys/wait.h>

#include <csignal>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace tabulane {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

struct ProgramRun {
    int status = -1;
    std::string errors;
};

// Runs a bash script in the folder, the built program as $T, with no display or Qt platform unless the script
// names one; collects the script's error stream. The status is the script's exit status.
ProgramRun RunScript(const TempDir& dir, const std::string& script) {
    const std::string errors = dir.File("stderr.txt");
    WriteFileBytes(dir.File("script.sh"), "unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM\nT='" +
                                              std::string(TABULANE_PROGRAM) + "'\n" + script + "\n");
    const std::string command = "cd '" + dir.Path().string() + "' && bash script.sh 2> '" + errors + "'";
    ProgramRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.errors = ReadFileBytes(errors);
    return run;
}

// Runs the built program without a display, as a script or CI would, and collects its error stream.
ProgramRun RunProgram(const TempDir& dir, const std::string& arguments) {
    return RunScript(dir, "\"$T\" " + arguments);
}

// The names in the folder that are neither the script nor its error stream: what the program left behind.
std::vector<std::string> Leftovers(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        const std::string name = entry.path().filename().string();
        if (name != "script.sh" && name != "stderr.txt") {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Program, ConvertsOneFileWithoutADisplay) {
    TempDir dir;
    WriteFileBytes(dir.File("in.txt"), "a\tb\nc\td");
    const ProgramRun run = RunProgram(dir, "in.txt out.csv TABS -c");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ReadFileBytes(dir.File("out.csv")), "a,b\r\nc,d\r\n");
}

TEST(Program, QuotedPathsAndCharacterReachTheParserAsTyped) {
    TempDir dir;
    WriteFileBytes(dir.File("my in.txt"), "x;y");
    const ProgramRun run = RunProgram(dir, "'my in.txt' 'my out.csv' '\";\"' -cs");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(ReadFileBytes(dir.File("my out.csv")), "x, y\r\n");
}

TEST(Program, WrongArgumentsShowTheUsageAndExitWithTwo) {
    TempDir dir;
    const ProgramRun run = RunProgram(dir, "in.txt");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("Usage: tabulane <Input File> <Output File> "), std::string::npos);
}

TEST(Program, AMissingInputIsReportedAndExitsWithOne) {
    TempDir dir;
    const ProgramRun run = RunProgram(dir, "missing.txt out.csv TABS -c");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("Application Error"), std::string::npos);
    EXPECT_NE(run.errors.find("File not found"), std::string::npos);
}

TEST(Program, WithoutArgumentsOrDisplayItExplainsTheCommandLine) {
    TempDir dir;
    const ProgramRun run = RunProgram(dir, "");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("needs a display"), std::string::npos);
    EXPECT_NE(run.errors.find("tabulane in.txt out.csv TABS -c"), std::string::npos);
}

TEST(Program, StreamsAsInputConvertInFull) {
    const std::string tabbed = "a\tb\tc\nd\te\tf\n";
    const std::string expected = "a,b,c\r\nd,e,f\r\n";
    const std::string utf16 = std::string("\xFF\xFE", 2) + std::string("x\0\t\0y\0\n\0", 8);
    struct Case {
        const char* description;
        std::string script;
        std::string output;
    };
    const std::vector<Case> cases = {
        {"a pipe through /dev/stdin", "printf 'a\\tb\\tc\\nd\\te\\tf\\n' | \"$T\" /dev/stdin out.csv TABS -c",
         expected},
        {"a redirected file through /dev/stdin", "\"$T\" /dev/stdin out.csv TABS -c < in.txt", expected},
        {"a FIFO with a writer", "mkfifo f && { cat in.txt > f & } && \"$T\" f out.csv TABS -c && wait", expected},
        {"a marked file through a process substitution", "\"$T\" <(cat u16.txt) out.csv TABS -c",
         std::string("\xFF\xFE", 2) + std::string("x\0,\0y\0\r\0\n\0", 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        TempDir dir;
        WriteFileBytes(dir.File("in.txt"), tabbed);
        WriteFileBytes(dir.File("u16.txt"), utf16);
        const ProgramRun run = RunScript(dir, c.script);
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(ReadFileBytes(dir.File("out.csv")), c.output);
    }
}

TEST(Program, StandardOutputIsWrittenInPlace) {
    TempDir dir;
    WriteFileBytes(dir.File("in.txt"), "a\tb\n");
    WriteFileBytes(dir.File("log.csv"), "old\r\n");
    WriteFileBytes(dir.File("over.csv"), "replaced entirely");
    const ProgramRun run = RunScript(dir,
                                     "\"$T\" in.txt /dev/stdout TABS -c | cat > piped.csv\n"
                                     "\"$T\" in.txt /dev/stdout TABS -c >> log.csv\n"
                                     "\"$T\" in.txt /dev/fd/1 TABS -c >> log.csv\n"
                                     "\"$T\" in.txt /proc/self/fd/1 TABS -c > over.csv\n"
                                     "\"$T\" in.txt /dev/stderr TABS -c 2> err.csv");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(ReadFileBytes(dir.File("piped.csv")), "a,b\r\n");
    EXPECT_EQ(ReadFileBytes(dir.File("log.csv")), "old\r\na,b\r\na,b\r\n");
    EXPECT_EQ(ReadFileBytes(dir.File("over.csv")), "a,b\r\n");
    EXPECT_EQ(ReadFileBytes(dir.File("err.csv")), "a,b\r\n");
}

// A signal in the middle of a conversion (the program waits for the rest of its input from a FIFO) ends the
// program with that signal's status, the old output untouched and no temporary file left in the folder.
TEST(Program, SignalsMidwayLeaveNoTemporaryFileAndTheOldOutput) {
    for (const char* signal : {"TERM", "INT", "HUP", "KILL"}) {
        SCOPED_TRACE(signal);
        TempDir dir;
        WriteFileBytes(dir.File("out.csv"), "old output");
        // Job control, so the program in the background keeps SIGINT as a terminal would deliver it.
        const ProgramRun run =
            RunScript(dir, std::string("set -m\nmkfifo in.fifo\n"
                                       "{ head -c 300000 /dev/zero | tr '\\0' a; sleep 20; } > in.fifo &\n"
                                       "writer=$!\n"
                                       "\"$T\" in.fifo out.csv TABS -c & program=$!\n"
                                       // Mid-way: once the program holds its output open.
                                       "for i in $(seq 200); do\n"
                                       "  ls -l /proc/$program/fd | grep -qE '/(#|\\.out\\.csv\\.)' && break\n"
                                       "  sleep 0.05\n"
                                       "done\n"
                                       "kill -") +
                               signal +
                               " $program\n"
                               "wait $program; status=$?\n"
                               "pkill -P $writer; kill $writer; rm in.fifo\n"
                               "exit $status");
        EXPECT_EQ(run.status, 128 + (std::string(signal) == "TERM"  ? SIGTERM
                                     : std::string(signal) == "INT" ? SIGINT
                                     : std::string(signal) == "HUP" ? SIGHUP
                                                                    : SIGKILL))
            << run.errors;
        const std::string output = ReadFileBytes(dir.File("out.csv"));
        EXPECT_TRUE(output == "old output") << output.size() << " bytes";
        EXPECT_EQ(Leftovers(dir), std::vector<std::string>{"out.csv"});
    }
}

TEST(Program, AFileSizeLimitEndsTheRunWithTheOldOutputKept) {
    TempDir dir;
    WriteFileBytes(dir.File("out.csv"), "old output");
    WriteFileBytes(dir.File("in.txt"), std::string(400000, 'a'));
    const ProgramRun run = RunScript(dir, "ulimit -c 0; ulimit -f 100; \"$T\" in.txt out.csv TABS -c");
    EXPECT_EQ(run.status, 128 + SIGXFSZ) << run.errors;
    EXPECT_EQ(ReadFileBytes(dir.File("out.csv")), "old output");
    EXPECT_EQ(Leftovers(dir), (std::vector<std::string>{"in.txt", "out.csv"}));
}

TEST(Program, AStaleDisplayIsTreatedAsNone) {
    TempDir dir;
    WriteFileBytes(dir.File("in.txt"), "a\tb\n");
    const ProgramRun converted =
        RunScript(dir, "unset QT_QPA_PLATFORM WAYLAND_DISPLAY; DISPLAY=:7391 \"$T\" in.txt out.csv TABS -c");
    EXPECT_EQ(converted.status, 0) << converted.errors;
    EXPECT_EQ(ReadFileBytes(dir.File("out.csv")), "a,b\r\n");
    const ProgramRun window = RunScript(dir, "unset QT_QPA_PLATFORM WAYLAND_DISPLAY; DISPLAY=:7391 \"$T\"");
    EXPECT_EQ(window.status, 1);
    EXPECT_EQ(std::count(window.errors.begin(), window.errors.end(), '\n'), 1) << window.errors;
    EXPECT_NE(window.errors.find("does not answer"), std::string::npos) << window.errors;
}

TEST(Program, OptionWordsInsideQuotedPathsStayInThePath) {
    TempDir dir;
    WriteFileBytes(dir.File("s.tsv"), "a\tb\n");
    WriteFileBytes(dir.File("rep -c in.tsv"), "c\td\n");
    const ProgramRun quotedOutput = RunProgram(dir, "s.tsv 'report -c final.csv' TABS -c");
    EXPECT_EQ(quotedOutput.status, 0) << quotedOutput.errors;
    EXPECT_EQ(ReadFileBytes(dir.File("report -c final.csv")), "a,b\r\n");
    const ProgramRun quotedInput = RunProgram(dir, "'rep -c in.tsv' o.csv '\"TABS\"' -c");
    EXPECT_EQ(quotedInput.status, 0) << quotedInput.errors;
    EXPECT_EQ(ReadFileBytes(dir.File("o.csv")), "c,d\r\n");

    const ProgramRun unwritable = RunProgram(dir, "s.tsv 'my \"best\" out.csv' TABS -c");
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_NE(unwritable.errors.find("Usage: tabulane"), std::string::npos);
    EXPECT_EQ(Leftovers(dir), (std::vector<std::string>{"o.csv", "rep -c in.tsv", "report -c final.csv", "s.tsv"}));
}

// A display the program takes as reachable without a server to ask: a platform plugin it has no check for. The
// programs below never start Qt with it: the window program is a stand-in and no box reaches the module.
constexpr const char* kUncheckedDisplay = "DISPLAY=:0 QT_QPA_PLATFORM=linuxfb";

// The built front program copied alone into the folder, so what lies beside it is the test's to choose.
void CopyProgramInto(const TempDir& dir) {
    std::filesystem::copy_file(TABULANE_PROGRAM, dir.File("tabulane"));
}

TEST(Program, AConversionLoadsNoQtLibraryWithOrWithoutADisplay) {
    TempDir dir;
    WriteFileBytes(dir.File("in.txt"), "a\tb\n");
    // The dynamic loader names every library it opens, needed or opened later on demand.
    for (const std::string display : {"", kUncheckedDisplay}) {
        const ProgramRun run = RunScript(dir, display + " LD_DEBUG=files \"$T\" in.txt out.csv TABS -c");
        EXPECT_EQ(run.status, 0) << display << run.errors;
        EXPECT_NE(run.errors.find("libc.so"), std::string::npos) << "the loader reported nothing";
        EXPECT_EQ(run.errors.find("libQt6"), std::string::npos) << display << run.errors;
        EXPECT_EQ(ReadFileBytes(dir.File("out.csv")), "a,b\r\n");
    }
}

TEST(Program, WithoutArgumentsOnADisplayTheWindowProgramBesideItTakesOver) {
    TempDir dir;
    CopyProgramInto(dir);
    WriteFileBytes(dir.File("tabulane-window"), "#!/bin/sh\necho \"$0|$#\" > handed.txt\nexit 7\n");
    std::filesystem::permissions(dir.File("tabulane-window"), std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    const ProgramRun run = RunScript(dir, std::string(kUncheckedDisplay) + " ./tabulane");
    EXPECT_EQ(run.status, 7) << run.errors;
    EXPECT_EQ(ReadFileBytes(dir.File("handed.txt")), dir.File("tabulane-window") + "|0\n");

    std::filesystem::remove(dir.File("tabulane-window"));
    const ProgramRun missing = RunScript(dir, std::string(kUncheckedDisplay) + " ./tabulane");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.errors.find("cannot start the window program"), std::string::npos) << missing.errors;
}

TEST(Program, ABrokenSkinIsReportedBeforeTheConversionOnADisplay) {
    TempDir dir;
    CopyProgramInto(dir);
    std::filesystem::create_directory(dir.File("x"));
    WriteFileBytes(dir.File("x/o.cjs"), "QWidget { color: red; ");
    WriteFileBytes(dir.File("in.txt"), "a\tb\n");
    // Without the box module beside it, the box it would show comes to the error stream.
    const ProgramRun run = RunScript(dir, std::string(kUncheckedDisplay) + " ./tabulane in.txt out.csv TABS -c");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("cannot show boxes on the display"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("Form_Load"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("braces do not balance"), std::string::npos) << run.errors;
    EXPECT_EQ(ReadFileBytes(dir.File("out.csv")), "a,b\r\n");
}

// The hand pointer is checked by the command line as the window checks it: a file beside the program that is not a
// cursor is one error box of the load step (on the error stream without a display), the file is still converted,
// and the status says an error was shown.
TEST(Program, AHandPointerThatIsNoCursorIsReportedAndTheFileStillConverts) {
    const std::string drawn =
        ReadFileBytes((std::filesystem::path(TABULANE_PROGRAM).parent_path() / "HAND-M.CUR").string());
    ASSERT_GT(drawn.size(), 100U);
    std::string icon = drawn;
    icon[2] = 1;  // the header's type: an icon, not a cursor
    std::string beyondTheFile = drawn;
    beyondTheFile[6 + 8] = static_cast<char>(0xFF);  // the image's size reaches past the end
    struct Case {
        const char* description;
        std::string cursor;
        bool reported;
    };
    const std::vector<Case> cases = {
        {"the drawn cursor", drawn, false},
        {"a text file", "not a cursor\n", true},
        {"an empty file", "", true},
        {"an icon", icon, true},
        {"a cursor cut short", drawn.substr(0, 100), true},
        {"an image that overruns the file", beyondTheFile, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        TempDir dir;
        CopyProgramInto(dir);
        WriteFileBytes(dir.File("HAND-M.CUR"), c.cursor);
        WriteFileBytes(dir.File("in.txt"), "a\tb\n");
        const ProgramRun run = RunScript(dir, "./tabulane in.txt out.csv TABS -c");
        EXPECT_EQ(ReadFileBytes(dir.File("out.csv")), "a,b\r\n");
        if (!c.reported) {
            EXPECT_EQ(run.status, 0) << run.errors;
            EXPECT_EQ(run.errors, "");
            continue;
        }
        EXPECT_EQ(run.status, 1) << run.errors;
        std::size_t boxes = 0;
        for (std::size_t at = run.errors.find("Application Error"); at != std::string::npos;
             at = run.errors.find("Application Error", at + 1)) {
            ++boxes;
        }
        EXPECT_EQ(boxes, 1U) << run.errors;
        EXPECT_NE(run.errors.find("Invalid picture\nin Tabulane2021/08/31.Form1.Form_Load at line 106"),
                  std::string::npos)
            << run.errors;
    }
}

}  // namespace
}  // namespace tabulane
