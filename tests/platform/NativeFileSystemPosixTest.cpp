// NativeFileSystem as only POSIX has it: temporary files and signals, descriptors the program holds, entries that
// are neither files nor folders.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "support/FileSystemChecks.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

using test::ErrorNumberOf;
using test::NamesIn;
using test::ReadAll;

// Where the folder cannot hold an unnamed file, the hidden named one is removed when a signal ends the process,
// which then ends with that signal. Each signal is raised in a child process in the middle of a write.
TEST(NamedTemporaryFiles, AreRemovedWhenASignalEndsTheProcess) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGXFSZ}) {
        SCOPED_TRACE(signal);
        test::TempDir dir;
        test::WriteFileBytes(dir.File("out.csv"), "old");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            NativeFileSystem files(TemporaryFiles::Named);
            auto writer = files.CreateReplacing(dir.File("out.csv"));
            writer->Write("half a result", 13);
            ::raise(signal);
            ::_exit(0);  // not reached when the signal ends the process
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"out.csv"});
        EXPECT_EQ(test::ReadFileBytes(dir.File("out.csv")), "old");
    }
}

TEST(NamedTemporaryFiles, StillReplaceTheTargetOnCommit) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("out.csv"), "old");
    NativeFileSystem files(TemporaryFiles::Named);
    auto writer = files.CreateReplacing(dir.File("out.csv"));
    writer->Write("new", 3);
    EXPECT_EQ(NamesIn(dir.Path()).size(), 2U);  // the named file is visible until the commit
    writer->Commit();
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"out.csv"});
    EXPECT_EQ(test::ReadFileBytes(dir.File("out.csv")), "new");
}

TEST(UnnamedTemporaryFiles, ShowNoNameBeforeTheCommit) {
    test::TempDir dir;
    NativeFileSystem files;
    auto writer = files.CreateReplacing(dir.File("out.csv"));
    writer->Write("new", 3);
    EXPECT_TRUE(NamesIn(dir.Path()).empty());
    writer->Commit();
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"out.csv"});
}

// A descriptor the program holds is written in place: here a pipe, named as /dev/fd/N and /proc/self/fd/N.
TEST(HeldDescriptors, AreWrittenAndReadInPlace) {
    NativeFileSystem files;
    for (const std::string prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        SCOPED_TRACE(prefix);
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        auto writer = files.CreateReplacing(prefix + std::to_string(ends[1]));
        writer->Write("through the pipe", 16);
        writer->Commit();
        ::close(ends[1]);  // the writer closed its own copy; this closes the last one
        auto reader = files.OpenRead(prefix + std::to_string(ends[0]), InputKind::Any);
        EXPECT_EQ(ReadAll(*reader), "through the pipe");
        ::close(ends[0]);
    }
    EXPECT_NE(ErrorNumberOf([&] { files.CreateReplacing("/dev/fd/987654"); }), 0);  // not open
}

// The window's batch takes regular files only; a FIFO without a writer is refused at once instead of blocking.
TEST(RegularFilesOnly, RefuseFifosDevicesAndSockets) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    const std::string socketPath = dir.File("sock");
    const int listener = test::BindUnixSocket(socketPath);
    ASSERT_GE(listener, 0);
    test::WriteFileBytes(dir.File("file.txt"), "text");

    NativeFileSystem files;
    for (const std::string& path : {dir.File("fifo"), std::string("/dev/zero"), socketPath}) {
        SCOPED_TRACE(path);
        try {
            files.OpenRead(path, InputKind::RegularFile);
            ADD_FAILURE() << "opened";
        } catch (const PlatformError& error) {
            EXPECT_EQ(error.Number(), ErrorNumber::kPathFileAccess);
            EXPECT_NE(error.Description().find("not a regular file"), std::string::npos) << error.Description();
        }
    }
    EXPECT_EQ(ReadAll(*files.OpenRead(dir.File("file.txt"), InputKind::RegularFile)), "text");
    ::close(listener);
}

}  // namespace
}  // namespace tabulane

#endif  // _WIN32
