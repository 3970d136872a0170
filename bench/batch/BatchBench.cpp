// Times the batch run ("Start Converting" clicked on the real window, offscreen) over many small files against
// the conversion engine alone and against a shell loop that runs tr once per file, and measures the resident
// memory of the program with a long file list shown in the window.
// Usage: tabulane_bench_batch [--files N] [--rounds R] [--entries M] [--keep] [--no-tr]
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>

#include "bench/BenchSupport.h"
#include "bench/WindowServices.h"
#include "cli/HiddenWindow.h"
#include "convert/AddRemove.h"
#include "filelist/FileList.h"
#include "platform/Platform.h"
#include "platform/qt/QtEventLoop.h"
#include "ui/qt/Form1.h"

namespace tabulane::bench {
namespace {

namespace fs = std::filesystem;

// Boxes go to standard error, so a failing conversion shows in the output instead of waiting for a click.
class PrintingBoxes final : public MessageBoxes {
public:
    BoxAnswer ShowMessage(const std::string& text, const std::string& caption, BoxIcon, BoxButtons) override {
        if (text != "Done.") {
            std::cerr << caption << ": " << text << '\n';
            ++failures;
        }
        return BoxAnswer::Ok;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override { return {}; }
    int failures = 0;
};

class NoFolderPicker final : public FolderPicker {
public:
    std::string BrowseForFolder(const std::string&, const std::string&) override { return {}; }
};

// The real yield, counted.
class CountingEventLoop final : public EventLoop {
public:
    void YieldToMessageLoop() override {
        ++yields;
        m_loop.YieldToMessageLoop();
    }
    long yields = 0;

private:
    QtEventLoop m_loop;
};

// prefix + number + suffix, built by appending (GCC 12 warns falsely on literal + std::string at -O3).
std::string Numbered(const char* prefix, long number, const char* suffix) {
    std::string text(prefix);
    text.append(std::to_string(number)).append(suffix);
    return text;
}

// A fixed-seed generator of our own, so every machine writes the same bytes.
class Generator {
public:
    std::uint32_t Next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(m_state >> 33);
    }
    std::uint32_t Below(std::uint32_t limit) { return Next() % limit; }

private:
    std::uint64_t m_state = 20210831;
};

// Tab-separated records of 1 to 20 KiB per file, LF line ends.
void WriteInputs(const fs::path& folder, int count) {
    Generator generator;
    for (int n = 0; n < count; ++n) {
        const std::size_t size = 1024 + generator.Below(19 * 1024 + 1);
        std::string bytes;
        bytes.reserve(size + 64);
        while (bytes.size() < size) {
            const std::uint32_t fields = 2 + generator.Below(8);
            for (std::uint32_t f = 0; f < fields; ++f) {
                const std::uint32_t length = generator.Below(12);
                for (std::uint32_t c = 0; c < length; ++c) {
                    bytes += static_cast<char>('a' + generator.Below(26));
                }
                bytes += f + 1 < fields ? '\t' : '\n';
            }
        }
        bytes.resize(size);
        std::ofstream out(folder / Numbered("f", n, ".txt"), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

void Refill(const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directory(folder);
}

bool SameBytes(const fs::path& a, const fs::path& b) {
    std::ifstream first(a, std::ios::binary);
    std::ifstream second(b, std::ios::binary);
    std::stringstream x;
    std::stringstream y;
    x << first.rdbuf();
    y << second.rdbuf();
    return first && second && x.str() == y.str();
}

int Run(int files, int rounds, int entries, bool keep, bool withTr) {
    PrintingBoxes boxes;
    NoSettings settings;
    NativeFileSystem fileSystem;
    NoFolderPicker folderPicker;
    NoEnvironment environment;
    CountingEventLoop eventLoop;
    WindowServices window;
    Platform platform = window.With(boxes, settings, fileSystem, folderPicker, environment, eventLoop);
    ErrorReporter reporter(boxes);

    // The program's memory with a long list shown in the window: the whole process, window included.
    {
        Form1 form(platform, [] {});
        FileList& list = form.Logic().List();
        form.Load({});
        form.ShowCentred();
        QCoreApplication::processEvents();
        const long before = ResidentKiB();
        std::size_t textBytes = 0;
        for (int n = 0; n < entries; ++n) {
            const std::string path =
                Numbered("/home/user/Documents/batch/folder", n % 1000, "/report_") + Numbered("", 1000000 + n, ".txt");
            textBytes += path.size();
            list.Append(path);
        }
        QCoreApplication::processEvents();
        const long after = ResidentKiB();
        std::printf(
            "list of %d entries shown in the window: path text %.1f MiB; process resident %.1f MiB before, "
            "%.1f MiB after (+%.1f MiB)\n",
            list.Count(), static_cast<double>(textBytes) / 1048576.0, before / 1024.0, after / 1024.0,
            (after - before) / 1024.0);
    }

    const char* temp = std::getenv("TMPDIR");
    const fs::path root = fs::path(temp != nullptr ? temp : "/tmp") / Numbered("tabulane-batch-bench-", ::getpid(), "");
    fs::create_directories(root / "in");
    WriteInputs(root / "in", files);
    std::vector<std::string> inputs;
    std::uintmax_t inputBytes = 0;
    for (int n = 0; n < files; ++n) {
        inputs.push_back((root / "in" / Numbered("f", n, ".txt")).string());
        inputBytes += fs::file_size(inputs.back());
    }
    std::printf("%d input files, %.1f MiB in all, %d rounds (median shown)\n", files,
                static_cast<double>(inputBytes) / 1048576.0, rounds);

    std::vector<double> engineTimes;
    std::vector<double> batchTimes;
    std::vector<double> trTimes;
    // Write-back of the previous case's outputs must not land in the next timing: sync first, and alternate
    // which of the two in-process cases goes first.
    const auto timeEngine = [&] {
        Refill(root / "engine");
        HiddenWindow engineControls;
        engineControls.SetText1Text((root / "engine").string());
        ConversionServices services{reporter, fileSystem, &engineControls};
        ::sync();
        engineTimes.push_back(Seconds([&] {
            for (const auto& input : inputs) {
                ConvertToCSVInFile(services, input, "\t", false, "", false);
            }
        }));
    };
    const auto timeBatch = [&] {
        Refill(root / "batch");
        ShownWindow shown(platform);
        Form1Logic& form = shown.logic;
        form.SetOption1Selected(true);
        form.SetText1Text((root / "batch").string());
        form.SetComboText(std::getenv("BENCH_UI_ONLY") != nullptr ? "X Character(s) To Commas" : "Tabs To Commas");
        for (const auto& input : inputs) {
            form.List().Append(input);
        }
        QCoreApplication::processEvents();
        ::sync();
        batchTimes.push_back(Seconds([&] { shown.Click("PushButton2"); }));
    };
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            timeEngine();
            timeBatch();
        } else {
            timeBatch();
            timeEngine();
        }
        if (!withTr) {
            trTimes.push_back(0);
            continue;
        }
        Refill(root / "tr");
        const std::string command =
            "bash -c 'for f in \"$1\"/*.txt; do n=${f##*/}; tr \"\\t\" , < \"$f\" > \"$2/${n%.txt}.csv\"; "
            "done' _ '" +
            (root / "in").string() + "' '" + (root / "tr").string() + "'";
        ::sync();
        trTimes.push_back(Seconds([&] {
            if (std::system(command.c_str()) != 0) {
                std::cerr << "the tr loop failed\n";
            }
        }));
    }

    for (int round = 0; round < rounds; ++round) {
        const auto at = static_cast<std::size_t>(round);
        std::printf("round %d: engine %.3f s, batch %.3f s, tr loop %.3f s\n", round + 1, engineTimes[at],
                    batchTimes[at], trTimes[at]);
    }
    int mismatches = 0;
    for (int n = 0; n < files; ++n) {
        const std::string name = Numbered("f", n, ".csv");
        mismatches += SameBytes(root / "engine" / name, root / "batch" / name) ? 0 : 1;
    }
    const double engine = Median(engineTimes);
    const double batch = Median(batchTimes);
    const double tr = Median(trTimes);
    // The machine is shared: the fastest round is the least disturbed one, so it is shown beside the median.
    const double engineBest = *std::min_element(engineTimes.begin(), engineTimes.end());
    const double batchBest = *std::min_element(batchTimes.begin(), batchTimes.end());
    std::printf("engine alone          median %8.3f s, best %8.3f s\n", engine, engineBest);
    std::printf("batch run             median %8.3f s, best %8.3f s  (%ld yields per run)\n", batch, batchBest,
                eventLoop.yields / rounds);
    std::printf("shell loop with tr    median %8.3f s\n", tr);
    std::printf("batch overhead over the engine alone: median %+.1f %%, best %+.1f %%\n", (batch / engine - 1) * 100,
                (batchBest / engineBest - 1) * 100);
    std::printf("batch run / tr loop: %.2f\n", batch / tr);
    std::printf("outputs differing between batch and engine: %d; error boxes: %d\n", mismatches, boxes.failures);
    if (!keep) {
        fs::remove_all(root);
    } else {
        std::printf("files kept in %s\n", root.c_str());
    }
    return mismatches == 0 && boxes.failures == 0 ? 0 : 2;
}

}  // namespace
}  // namespace tabulane::bench

int main(int argc, char** argv) {
    int files = 10000;
    int rounds = 5;
    int entries = 1000000;
    bool keep = false;
    bool withTr = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--keep") {
            keep = true;
        } else if (argument == "--no-tr") {
            withTr = false;
        } else if (i + 1 < argc && (argument == "--files" || argument == "--rounds" || argument == "--entries")) {
            const int value = std::atoi(argv[++i]);
            (argument == "--files" ? files : argument == "--rounds" ? rounds : entries) = value;
        } else {
            std::cerr << "Usage: tabulane_bench_batch [--files N] [--rounds R] [--entries M] [--keep] [--no-tr]\n";
            return 2;
        }
    }
    if (files < 1 || rounds < 1 || entries < 0) {
        std::cerr << "tabulane_bench_batch: counts must be positive\n";
        return 2;
    }
    // The real window, drawn nowhere.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return tabulane::bench::Run(files, rounds, entries, keep, withTr);
}
