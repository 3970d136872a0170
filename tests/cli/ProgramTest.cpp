#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

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

// Runs the built program without a display, as a script or CI would, and collects its error stream.
ProgramRun RunProgram(const TempDir& dir, const std::string& arguments) {
    const std::string errors = dir.File("stderr.txt");
    const std::string command = "cd '" + dir.Path().string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" +
                                TABULANE_PROGRAM + "' " + arguments + " 2> '" + errors + "'";
    ProgramRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.errors = ReadFileBytes(errors);
    return run;
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

}  // namespace
}  // namespace tabulane
