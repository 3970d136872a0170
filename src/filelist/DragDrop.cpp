#include "filelist/DragDrop.h"

#include "filelist/AddFolder.h"

namespace tabulane {

void DragOverList(const DragData& data, int& effect) {
    if (!data.offersFileList) {
        effect = kDropEffectNone;
    }
}

void DropOnList(const DragData& data, FileList& list, Platform& platform, ErrorReporter& reporter, PathStyle style) {
    if (!data.offersFileList) {
        return;
    }
    // The handler has no trap of its own in the design; without one a vanished path would end the program.
    ErrorTrap trap(reporter, "Form1", "DropOnList");
    for (const std::string& path : data.paths) {
        bool examined = false;
        bool isFolder = false;
        trap.Step(100, [&] {
            isFolder = (platform.files.GetAttributes(path) & FileAttribute::kDirectory) != 0;
            examined = true;
        });
        if (!examined) {
            continue;
        }
        if (!isFolder) {
            trap.Step(102, [&] { list.Append(path); });
            continue;
        }
        AppendFolderTree(trap, 104, path, "*.*", list, platform, reporter, style);
    }
}

}  // namespace tabulane
