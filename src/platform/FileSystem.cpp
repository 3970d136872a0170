#include "platform/FileSystem.h"

#include <algorithm>

#include "platform/AsciiText.h"

namespace tabulane {

void SortListing(std::vector<FolderEntry>& entries) {
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const int folded = CompareIgnoringAsciiCase(a.name, b.name);
        return folded != 0 ? folded < 0 : a.name < b.name;
    });
}

// Both platforms list through the one List of their own.
std::vector<FolderEntry> NativeFileSystem::ListFolder(const std::string& path) {
    return List(path, false);
}

std::vector<FolderEntry> NativeFileSystem::ListSubFolders(const std::string& path) {
    return List(path, true);
}

}  // namespace tabulane
