#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "convert/TextConverter.h"
#include "platform/qt/QtEventLoop.h"
#include "ui/qt/Form1Harness.h"

namespace tabulane {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

constexpr const char* kOldResult = "old result\r\n";

// True while a temporary of an output in folder is open: a hidden named file there, or an unnamed one, whose
// descriptor reads "<folder>/#<inode> (deleted)".
bool TemporaryOutputOpen(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with(".")) {
            return true;
        }
    }
    const std::string prefix = fs::canonical(folder).string() + "/";
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const std::string target = fs::read_symlink(entry.path(), error).string();
        if (!error && target.starts_with(prefix) && target.ends_with(" (deleted)")) {
            return true;
        }
    }
    return false;
}

// The program as it runs: the real window and event loop, the real file system, and closing the window ends the
// process on the spot. The run yields after every block of big.txt; a timer counts the events it gets while
// that file is processed and, once the file is under way with its temporary open, closes the window.
void ConvertAndCloseInTheMiddle(const TempDir& dir, TemporaryFiles temporaries) {
#if defined(__SANITIZE_ADDRESS__)
    // Ending at once leaves the window and the font caches below it unfreed, as it does in the program.
    __lsan_disable();
#endif
    test::FakePlatform fake;
    fake.environment.programFolder = dir.Path().string();
    NativeFileSystem files(temporaries);
    QtEventLoop loop;
    Platform platform{fake.boxes,         fake.settings,       files,       fake.folderPicker,
                      fake.filePicker,    fake.environment,    loop,        fake.shell,
                      fake.shellExecutor, fake.programStarter, fake.random, fake.clock,
                      fake.skinFramework};
    Form1 form(platform, [] {
        std::fflush(nullptr);
        std::exit(0);
    });
    form.Load({});
    form.ShowCentred();
    form.Logic().Batch().SetYieldPacing({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
    form.Logic().List().Append(dir.File("in/big.txt"));
    form.Logic().SetOption1Selected(true);
    form.Logic().SetText1Text(dir.File("out"));
    form.Logic().SetComboText("Tabs To Commas");

    int eventsInFile = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (test::FindControl<QProgressBar>(form, "ProgressBar1")->text() != QStringLiteral("Processing: big.txt") ||
            ++eventsInFile < 3) {
            return;
        }
        if (!TemporaryOutputOpen(dir.Path() / "out")) {
            std::fprintf(stderr, "no temporary output open at the third event in the file\n");
            std::exit(3);
        }
        form.close();
    });
    timer.start(0);
    test::Click(test::FindControl<QPushButton>(form, "PushButton2"));
    std::fprintf(stderr, "the run ended with %d events in the file and the window open\n", eventsInFile);
}

class LongFileRunTest : public ::testing::TestWithParam<TemporaryFiles> {};

TEST_P(LongFileRunTest, ClosingTheWindowInTheMiddleOfAFileLeavesNothingBehind) {
    TempDir dir;
    fs::create_directory(dir.Path() / "in");
    fs::create_directory(dir.Path() / "out");
    std::string big;
    while (big.size() < 8 * kDefaultBufferSize) {
        big += "alpha\tbeta\t\tgamma\n";
    }
    WriteFileBytes(dir.File("in/big.txt"), big);
    WriteFileBytes(dir.File("out/big.csv"), kOldResult);

    // Earlier tests of the suite leave Qt's threads running; a plain fork of this process could then hang on a
    // lock one of them held, so the child starts the test binary afresh.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ConvertAndCloseInTheMiddle(dir, GetParam()), ::testing::ExitedWithCode(0), "");

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path() / "out")) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"big.csv"});
    const std::string result = ReadFileBytes(dir.File("out/big.csv"));
    EXPECT_TRUE(result == kOldResult) << result.size() << " bytes, beginning " << result.substr(0, 40);
    EXPECT_TRUE(ReadFileBytes(dir.File("in/big.txt")) == big);
}

INSTANTIATE_TEST_SUITE_P(Temporaries, LongFileRunTest,
                         ::testing::Values(TemporaryFiles::Unnamed, TemporaryFiles::Named),
                         [](const auto& row) { return row.param == TemporaryFiles::Unnamed ? "Unnamed" : "Named"; });

}  // namespace
}  // namespace tabulane
