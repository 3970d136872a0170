#include "filelist/AddFiles.h"

#include <vector>

#include "platform/PlatformError.h"

namespace tabulane {

void PushButton1_Click(CommonDialog& commonDialog1, FileList& list, Platform& platform, ErrorReporter& reporter,
                       const std::string& applicationTitle) {
    ErrorTrap trap(reporter, "Form1", "PushButton1_Click");
    trap.Step(100, [&] { commonDialog1.FileNames.clear(); });
    trap.Step(102, [&] { commonDialog1.Flags = kAddFilesDialogFlags; });
    trap.Step(104, [&] { commonDialog1.DialogTitle = kAddFilesDialogTitle; });
    trap.Step(106, [&] { commonDialog1.Filter = kAddFilesDialogFilter; });
    bool tooManyFiles = false;
    trap.Step(108, [&] {
        try {
            commonDialog1.ShowOpen();
        } catch (const PlatformError& error) {
            if (error.Number() != ErrorNumber::kBufferTooSmall) {
                throw;
            }
            tooManyFiles = true;
            platform.boxes.ShowMessage(kTooManyFilesText, applicationTitle, BoxIcon::None, BoxButtons::Ok);
        }
    });
    if (tooManyFiles) {
        return;
    }
    std::vector<std::string> picked;
    trap.Step(110, [&] { picked = commonDialog1.FileNames; });
    // The dialog hands over full paths, in its order.
    const int appendStep = picked.size() == 1 ? 114 : 118;
    for (const std::string& path : picked) {
        trap.Step(appendStep, [&] { list.Append(path); });
    }
}

}  // namespace tabulane
