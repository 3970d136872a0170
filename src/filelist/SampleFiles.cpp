#include "filelist/SampleFiles.h"

#include "filelist/AddFolder.h"

namespace tabulane {

std::string SamplesFolder(Platform& platform, PathStyle style) {
    return JoinFolderAndName(platform.environment.ProgramFolder(), "Samples", style) + SeparatorOf(style);
}

void LoadSampleFiles(FileList& list, Platform& platform, const std::string& applicationTitle, PathStyle style) {
    const std::string folder = SamplesFolder(platform, style);
    for (const std::string& name : ListFilesInFolder(platform.files, folder, "*.*", style)) {
        const std::string path = folder + name;
        if (PathExists(platform.files, path) && !IsInFileList(list, path)) {
            list.Append(path);
        }
    }
    const BoxAnswer answer =
        platform.boxes.ShowMessage(kOpenSamplesQuestion, applicationTitle, BoxIcon::None, BoxButtons::YesNo);
    if (answer == BoxAnswer::Yes) {
        // The folder itself: wrapped in quotes, as a command line would want it, it names no folder.
        platform.shell.Open(folder);
    }
}

void PushButton7_Click(FileList& list, Platform& platform, ErrorReporter& reporter, const std::string& applicationTitle,
                       PathStyle style) {
    ErrorTrap trap(reporter, "Form1", "PushButton7_Click");
    trap.Step(100, [&] { LoadSampleFiles(list, platform, applicationTitle, style); });
}

}  // namespace tabulane
