#pragma once

#include <chrono>
#include <string>

#include "filelist/FileList.h"
#include "platform/MainWindow.h"
#include "platform/Platform.h"
#include "shell/ErrorReport.h"

namespace tabulane {

inline constexpr const char* kNoFilesAddedText = "No files added.";
inline constexpr const char* kFolderDoesNotExistText = "Folder does not exist. Please select another folder.";
inline constexpr const char* kRunDoneText = "Done.";
inline constexpr const char* kIdleProgressText = "Progress Bar";
inline constexpr const char* kProcessingPrefix = "Processing: ";
inline constexpr const char* kEnterXPrompt = "Enter X:";
inline constexpr const char* kEnterXTitle = "Enter X";

// "Start Converting": converts every entry of the list, top to bottom, into its ".csv" file. The window stays
// alive through two yields to the message loop per file, and more between the blocks of a file that takes long;
// the hourglass pointer marks the run as busy.
// One object lives as long as the window: it holds the run-in-progress flag that ignores a click during a run.
class BatchRun {
public:
    // When a file that is still converting first lets the window run, and how often after that.
    struct YieldPacing {
        std::chrono::milliseconds first{100};
        std::chrono::milliseconds every{50};
    };

    void PushButton2_Click(MainWindow& window, Platform& platform, FileList& list, ErrorReporter& reporter,
                           const std::string& applicationTitle);

    bool RunInProgress() const { return m_runInProgress; }
    void SetYieldPacing(YieldPacing pacing) { m_pacing = pacing; }

private:
    bool m_runInProgress = false;
    YieldPacing m_pacing;
};

}  // namespace tabulane
