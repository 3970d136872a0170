#pragma once

#include <string>
#include <vector>

#include "filelist/FileList.h"
#include "platform/Platform.h"
#include "shell/ErrorReport.h"
#include "shell/Main.h"

namespace tabulane {

// What a drag carries, as the list sees it.
struct DragData {
    // True only for the platform's file-drop format: a list of local file paths (remote addresses and text are not).
    bool offersFileList = false;
    std::vector<std::string> paths;  // full paths, in the order the drag source delivered them
};

// Drop effects as the platform numbers them; the list never picks one itself.
inline constexpr int kDropEffectNone = 0;

// Called while a drag moves over the list: refuses (effect none) anything that is not a file list, and leaves the
// effect the source proposed otherwise.
void DragOverList(const DragData& data, int& effect);

// Called once when files are released over the list: a file is appended unchanged, a folder is walked like
// "Add All File(s) In Folder" with "*.*", each dropped folder on its own, in the delivered order. A path that has
// vanished or cannot be examined is reported and skipped; the rest of the drop goes on. No busy state, no message.
void DropOnList(const DragData& data, FileList& list, Platform& platform, ErrorReporter& reporter,
                PathStyle style = kNativePathStyle);

}  // namespace tabulane
