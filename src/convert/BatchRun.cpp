#include "convert/BatchRun.h"

#include <functional>
#include <optional>

#include "convert/AddRemove.h"
#include "convert/Modes.h"
#include "shell/Main.h"

namespace tabulane {

namespace {

// Clears the run-in-progress flag however the run ends.
class FlagReset {
public:
    explicit FlagReset(bool& flag) : m_flag(flag) {}
    ~FlagReset() { m_flag = false; }
    FlagReset(const FlagReset&) = delete;
    FlagReset& operator=(const FlagReset&) = delete;

private:
    bool& m_flag;
};

}  // namespace

void BatchRun::PushButton2_Click(MainWindow& window, Platform& platform, FileList& list, ErrorReporter& reporter,
                                 const std::string& applicationTitle) {
    // A click that arrives through one of the run's own yields is ignored.
    if (m_runInProgress) {
        return;
    }
    m_runInProgress = true;
    const FlagReset flagReset(m_runInProgress);

    ErrorTrap trap(reporter, "Form1", "PushButton2_Click");
    const auto show = [&](const char* text) {
        platform.boxes.ShowMessage(text, applicationTitle, BoxIcon::None, BoxButtons::Ok);
    };
    bool proceed = true;
    trap.Step(100, [&] {
        if (list.Count() == 0) {
            proceed = false;
            show(kNoFilesAddedText);
        }
    });
    if (proceed) {
        trap.Step(102, [&] {
            if (!IsFolder(platform.files, window.Text1Text()) && !window.Option2Selected()) {
                proceed = false;
                show(kFolderDoesNotExistText);
            }
        });
    }
    if (!proceed) {
        return;
    }

    std::string x;
    trap.Step(104, [&] {
        if (IsXMode(window.ComboText())) {
            x = platform.boxes.InputBox(kEnterXPrompt, kEnterXTitle, "");
        }
    });
    // Outputs that were there before the run are replaced; one this run wrote is not.
    RunOutputs written;
    // Entries appended during the run are left for the next one.
    int n = 0;
    trap.Step(106, [&] { n = list.Count(); });
    for (int i = 1; i <= n; ++i) {
        trap.Step(108, [&] { platform.eventLoop.YieldToMessageLoop(); });
        trap.Step(110, [&] { window.SetPointer(MousePointer::Hourglass); });
        // The first yield comes before the hourglass, so the user may have removed entries in it. Positions
        // from here on no longer exist: stop rather than report each one or divide by an empty list.
        bool entryGone = false;
        trap.Step(112, [&] {
            const int count = list.Count();
            if (count < i) {
                entryGone = true;
                return;
            }
            window.SetProgressValue(static_cast<double>(i) / count * 100.0);
        });
        if (entryGone) {
            break;
        }
        // A path that cannot be read stays empty: the step is reported and the file skipped, never converted
        // under the previous file's path.
        std::string path;
        trap.Step(114, [&] { path = list.EntryText(i); });
        trap.Step(116, [&] { window.SetProgressText(kProcessingPrefix + GetFileName(path)); });
        trap.Step(118, [&] { platform.eventLoop.YieldToMessageLoop(); });
        if (path.empty()) {
            continue;
        }
        trap.Step(120, [&] { window.SetPointer(MousePointer::Hourglass); });
        // The mode is read again for every file, so a change made during the run applies to the rest.
        std::optional<ConversionArguments> arguments;
        trap.Step(122, [&] { arguments = ChooseArguments(window.ComboText(), x); });
        if (arguments) {
            trap.Step(124, [&] {
                ConversionServices services{reporter, platform.files, &window};
                services.inputs = InputKind::RegularFile;
                services.writtenThisRun = &written;
                // A long file lets the window run between its blocks, as the run does between files: the flag,
                // the hourglass set again after each yield and the progress of this file stay as they are.
                using SteadyClock = std::chrono::steady_clock;
                SteadyClock::time_point nextYield = SteadyClock::now() + m_pacing.first;
                const auto yieldInFile = [&] {
                    if (SteadyClock::now() < nextYield) {
                        return;
                    }
                    trap.Step(118, [&] { platform.eventLoop.YieldToMessageLoop(); });
                    trap.Step(120, [&] { window.SetPointer(MousePointer::Hourglass); });
                    nextYield = SteadyClock::now() + m_pacing.every;
                };
                services.betweenBlocks = std::ref(yieldInFile);  // by reference: no allocation per file
                ConvertToCSVInFile(services, path, arguments->separator, arguments->commaSpace, "",
                                   arguments->collapseSpaces);
            });
        }
    }
    trap.Step(126, [&] { window.SetPointer(MousePointer::Default); });
    trap.Step(128, [&] { window.SetProgressValue(0); });
    trap.Step(130, [&] { window.SetProgressText(kIdleProgressText); });
    trap.Step(132, [&] { show(kRunDoneText); });
}

}  // namespace tabulane
