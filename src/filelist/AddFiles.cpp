#include "filelist/AddFiles.h"

#include <vector>

#include "platform/PlatformError.h"

namespace tabulane {

namespace {

std::vector<std::string> SplitAtNul(const std::string& text) {
    std::vector<std::string> parts;
    std::string::size_type begin = 0;
    for (;;) {
        const auto end = text.find('\0', begin);
        parts.push_back(text.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
        if (end == std::string::npos) {
            return parts;
        }
        begin = end + 1;
    }
}

}  // namespace

void PushButton1_Click(CommonDialog& commonDialog1, FileList& list, Platform& platform, ErrorReporter& reporter,
                       const std::string& applicationTitle, PathStyle style) {
    ErrorTrap trap(reporter, "Form1", "PushButton1_Click");
    trap.Step(100, [&] { commonDialog1.FileName.clear(); });
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
    std::string fileName;
    trap.Step(110, [&] { fileName = commonDialog1.FileName; });
    if (fileName.empty()) {
        return;
    }
    std::vector<std::string> parts;
    trap.Step(112, [&] { parts = SplitAtNul(fileName); });
    if (parts.size() == 1) {
        trap.Step(114, [&] { list.Append(parts.front()); });
        return;
    }
    // A multiple selection may end with an empty part; it names no file.
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].empty()) {
            continue;
        }
        std::string path;
        trap.Step(116, [&] { path = JoinFolderAndName(parts.front(), parts[i], style); });
        if (!path.empty()) {
            trap.Step(118, [&] { list.Append(path); });
        }
    }
}

}  // namespace tabulane
