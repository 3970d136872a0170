// Times "Add All File(s) In Folder" on the real window (offscreen) over a generated tree of 10,000 files in 500
// folders up to 6 levels deep, into the window's list, against `find DIR -type f` on the same tree in the same run.
// Usage: tabulane_bench_scan [--rounds R] [--keep]
// Exit status: 0 within 3 times find, 1 slower, 2 a wrong list or an error box.
#include <unistd.h>

#include <QApplication>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/WindowServices.h"
#include "platform/Platform.h"
#include "platform/qt/QtEventLoop.h"
#include "ui/qt/Form1.h"

namespace tabulane::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 500;
constexpr int kFilesPerFolder = 20;
constexpr double kBar = 3.0;

// Answers the extension prompt with "*"; any other box is a failure and goes to standard error.
class ScriptedBoxes final : public MessageBoxes {
public:
    BoxAnswer ShowMessage(const std::string& text, const std::string& caption, BoxIcon, BoxButtons) override {
        std::cerr << caption << ": " << text << '\n';
        ++failures;
        return BoxAnswer::Ok;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override { return "*"; }
    int failures = 0;
};

class FixedFolderPicker final : public FolderPicker {
public:
    std::string BrowseForFolder(const std::string&, const std::string&) override { return folder; }
    std::string folder;
};

// Folder k hangs below folder (k - 1) / 3, so 500 folders reach 6 levels below the root; 20 small files in each.
void WriteTree(const fs::path& root) {
    std::vector<fs::path> folders{root};
    for (int k = 1; k < kFolders; ++k) {
        folders.push_back(folders[static_cast<std::size_t>((k - 1) / 3)] / ("folder" + std::to_string(k)));
        fs::create_directory(folders.back());
    }
    const char* extensions[] = {".txt", ".csv", ".log", ".TXT", ""};
    for (std::size_t k = 0; k < folders.size(); ++k) {
        for (int n = 0; n < kFilesPerFolder; ++n) {
            std::ofstream(folders[k] / ("file" + std::to_string(n) + extensions[n % 5])) << "a\tb\n";
        }
    }
}

int Run(int rounds, bool keep) {
    const char* temp = std::getenv("TMPDIR");
    const fs::path root =
        fs::path(temp != nullptr ? temp : "/tmp") / ("tabulane-scan-bench-" + std::to_string(::getpid()));
    fs::create_directories(root);
    WriteTree(root);

    ScriptedBoxes boxes;
    NoSettings settings;
    NativeFileSystem files;
    FixedFolderPicker folderPicker;
    folderPicker.folder = root.string();
    NoEnvironment environment;
    QtEventLoop eventLoop;
    WindowServices window;
    Platform platform = window.With(boxes, settings, files, folderPicker, environment, eventLoop);

    ShownWindow shown(platform);
    Form1Logic& session = shown.logic;
    QCoreApplication::processEvents();

    const std::string find = "find '" + root.string() + "' -type f > /dev/null";
    std::vector<double> scanTimes;
    std::vector<double> findTimes;
    int wrongCounts = 0;
    // One untimed run of each first, so both start from warm caches.
    for (int round = -1; round < rounds; ++round) {
        session.List().Clear();
        QCoreApplication::processEvents();
        const double scan = Seconds([&] { shown.Click("PushButton3"); });
        wrongCounts += session.List().Count() == kFolders * kFilesPerFolder ? 0 : 1;
        const double found = Seconds([&] {
            if (std::system(find.c_str()) != 0) {
                std::cerr << "find failed\n";
            }
        });
        if (round >= 0) {
            scanTimes.push_back(scan);
            findTimes.push_back(found);
            std::printf("round %d: scan into the window %.3f s, find %.3f s\n", round + 1, scan, found);
        }
    }
    const double scan = Median(scanTimes);
    const double found = Median(findTimes);
    const double ratio = scan / found;
    std::printf("%d files in %d folders, 6 levels deep; median of %d rounds\n", kFolders * kFilesPerFolder, kFolders,
                rounds);
    std::printf("scan into the window  %8.3f s\nfind -type f          %8.3f s\n", scan, found);
    std::printf("scan / find: %.2f (bar: at most %.1f)\n", ratio, kBar);
    std::printf("rounds with a wrong entry count: %d; error boxes: %d\n", wrongCounts, boxes.failures);
    if (keep) {
        std::printf("tree kept in %s\n", root.c_str());
    } else {
        fs::remove_all(root);
    }
    if (wrongCounts != 0 || boxes.failures != 0) {
        return 2;
    }
    return ratio <= kBar ? 0 : 1;
}

}  // namespace
}  // namespace tabulane::bench

int main(int argc, char** argv) {
    int rounds = 5;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--keep") {
            keep = true;
        } else if (argument == "--rounds" && i + 1 < argc) {
            rounds = std::atoi(argv[++i]);
        } else {
            std::cerr << "Usage: tabulane_bench_scan [--rounds R] [--keep]\n";
            return 2;
        }
    }
    if (rounds < 1) {
        std::cerr << "tabulane_bench_scan: rounds must be positive\n";
        return 2;
    }
    // The real window, drawn nowhere.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return tabulane::bench::Run(rounds, keep);
}
