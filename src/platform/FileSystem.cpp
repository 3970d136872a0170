#include "platform/FileSystem.h"

#include <algorithm>

namespace tabulane {

namespace {

int CompareFolded(const std::string& a, const std::string& b) {
    const auto fold = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
    };
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int difference = fold(a[i]) - fold(b[i]);
        if (difference != 0) {
            return difference;
        }
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace

void SortListing(std::vector<FolderEntry>& entries) {
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const int folded = CompareFolded(a.name, b.name);
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
